#include "LineMatcher.h"

#include "library/SortedLineList.h"

#include <QStringDecoder>

namespace {

inline bool isBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

void LineMatcher::findIn(QStringView text, const Found &found)
{
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        const qsizetype end = lineEnd(text, start);
        const QStringView line = text.mid(start, end - start);
        if (!line.isEmpty() && matches(line))
            found(line);
        start = end + 1;
    }
}

void LineMatcher::findInUtf8(QByteArrayView text, const Found &found)
{
    // Decoding into a buffer kept from piece to piece spares an allocation
    // per piece.
    m_decoded.resize(text.size());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar *end = decoder.appendToBuffer(m_decoded.data(), text);
    m_decoded.truncate(end - m_decoded.constData());
    findIn(m_decoded, found);
}

void LineMatcher::findLinesInUtf8(QByteArrayView text, const FoundUtf8 &found)
{
    findInUtf8(text, [&](QStringView line) {
        m_encoded.resize(0);
        SortedLineList::appendEncoded(m_encoded, line);
        found(m_encoded);
    });
}

qsizetype LineMatcher::lineStart(QStringView text, qsizetype pos)
{
    while (pos > 0 && !isBreak(text[pos - 1]))
        --pos;
    return pos;
}

qsizetype LineMatcher::lineEnd(QStringView text, qsizetype pos)
{
    const qsizetype n = text.size();
    while (pos < n && !isBreak(text[pos]))
        ++pos;
    return pos;
}
