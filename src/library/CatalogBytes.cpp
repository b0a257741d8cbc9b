#include "CatalogBytes.h"

#include "Windows1252.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

// The bytes of a file that readers take as text: after a UTF-8 byte-order
// mark, up to the first NUL. What lies outside is written back untouched.
struct TextSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
};

TextSpan textSpan(const QByteArray &bytes)
{
    const auto *nul = static_cast<const char *>(std::memchr(bytes.constData(), 0, size_t(bytes.size())));
    const qsizetype end = nul ? nul - bytes.constData() : bytes.size();
    const bool bom = end >= 3 && bytes.startsWith("\xEF\xBB\xBF");
    return {bom ? 3 : 0, end};
}

// How one file's text is stored: UTF-8, or Windows-1252 when the file is
// not valid UTF-8 (written by the Windows version).
class Encoding
{
public:
    explicit Encoding(bool utf8) : m_utf8(utf8) {}

    QString decode(const char *bytes, qsizetype size) const
    {
        return m_utf8 ? QString::fromUtf8(bytes, size) : Windows1252::decode(QByteArray(bytes, size));
    }

    // False when the code page has no byte for one of the characters.
    bool encode(const QString &text, QByteArray &bytes) const
    {
        if (m_utf8) {
            bytes = text.toUtf8();
            return true;
        }
        bytes.resize(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!Windows1252::fromUnicode(text[i], bytes[i]))
                return false;
        }
        return true;
    }

private:
    bool m_utf8;
};

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

constexpr qsizetype kUnencodable = -1;

// Edits the lines of the text in span; kUnencodable when a rebuilt line has
// a character that the file's code page lacks.
qsizetype editText(const QByteArray &in, TextSpan span, const Encoding &encoding, const QString &needleText,
                   const CatalogBytes::Rebuild &rebuild, QByteArray &out)
{
    QByteArray needle;
    if (!encoding.encode(needleText, needle))
        return 0; // no line of this file can hold it
    const std::boyer_moore_horspool_searcher searcher(needle.cbegin(), needle.cend());
    const char *data = in.constData();
    const char *const textEnd = data + span.end;
    qsizetype count = 0;
    qsizetype copied = 0;
    qsizetype pos = span.begin;
    while (pos < span.end) {
        const char *hit = std::search(data + pos, textEnd, searcher);
        if (hit == textEnd)
            break;
        qsizetype start = hit - data;
        while (start > pos && !isLineBreak(data[start - 1]))
            --start;
        qsizetype end = hit - data + needle.size();
        while (end < span.end && !isLineBreak(data[end]))
            ++end;
        pos = end + 1; // past the line break, which no needle holds
        const QString line = rebuild(encoding.decode(data + start, end - start));
        if (line.isNull())
            continue;
        QByteArray bytes;
        if (!encoding.encode(line, bytes))
            return kUnencodable;
        if (count == 0) {
            out.resize(0); // keeps the room of an earlier file
            out.reserve(in.size() + in.size() / 8);
        }
        out.append(data + copied, start - copied);
        out.append(bytes);
        copied = end;
        ++count;
    }
    if (count > 0)
        out.append(data + copied, in.size() - copied);
    return count;
}

} // namespace

namespace CatalogBytes {

qsizetype editLines(const QByteArray &in, const QString &needle, const Rebuild &rebuild, QByteArray &out)
{
    const TextSpan span = textSpan(in);
    const bool utf8 = QByteArrayView(in).sliced(span.begin, span.end - span.begin).isValidUtf8();
    const qsizetype count = editText(in, span, Encoding(utf8), needle, rebuild, out);
    if (count != kUnencodable)
        return count;
    // A new line cannot be written in the old code page: the file becomes
    // UTF-8.
    out.resize(0);
    const QByteArray text = Windows1252::decode(in.sliced(span.begin, span.end - span.begin)).toUtf8();
    const QByteArray converted = in.first(span.begin) + text + in.sliced(span.end);
    const TextSpan convertedSpan{span.begin, span.begin + text.size()};
    return editText(converted, convertedSpan, Encoding(true), needle, rebuild, out);
}

} // namespace CatalogBytes
