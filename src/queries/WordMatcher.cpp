#include "WordMatcher.h"

#include "TextLower.h"
#include "indexing/WildcardMatch.h"

#include <QStringDecoder>

namespace {

// A run that holds a quote is no use: a doubled quote in the file stands for
// one quote in the field.
QString longestPlainRun(QStringView pattern)
{
    QStringView best;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= pattern.size(); ++i) {
        if (i < pattern.size() && pattern[i] != u'*' && pattern[i] != u'?')
            continue;
        const QStringView run = pattern.mid(start, i - start);
        if (run.size() > best.size() && !run.contains(u'"'))
            best = run;
        start = i + 1;
    }
    return best.toString();
}

QString patternOf(const QString &word, bool caseSensitive)
{
    QString pattern = caseSensitive ? word : TextLower::lower(word);
    if (pattern.contains(u'?'))
        pattern += u'*';
    return pattern;
}

// The line of bytes around pos: from just after the line break before it
// to the line break after it (or the end).
QByteArrayView lineAround(QByteArrayView text, qsizetype pos)
{
    qsizetype start = pos;
    while (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r')
        --start;
    qsizetype end = pos;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r')
        ++end;
    return text.sliced(start, end - start);
}

} // namespace

WordMatcher::WordMatcher(const QString &word, bool caseSensitive)
    : m_pattern(patternOf(word, caseSensitive)), m_caseSensitive(caseSensitive),
      m_required(longestPlainRun(m_pattern)), m_prefilter(m_required, caseSensitive)
{
    m_finder.setPattern(m_required);
    m_finder.setCaseSensitivity(Qt::CaseSensitive);
}

bool WordMatcher::fieldsMatch(QStringView preparedLine)
{
    m_fields.parse(preparedLine);
    for (int k = 0; k < m_fields.count(); ++k) {
        if (WildcardMatch(m_fields.field(k), m_pattern))
            return true;
    }
    return false;
}

bool WordMatcher::matches(QStringView line)
{
    if (m_caseSensitive)
        return fieldsMatch(line);
    TextLower::lowerInto(line, m_loweredLine);
    return fieldsMatch(m_loweredLine);
}

void WordMatcher::findIn(QStringView text, const Found &found)
{
    if (m_required.isEmpty()) {
        LineMatcher::findIn(text, found);
        return;
    }
    // Lowering keeps every position, so a line found in the lowered text is
    // the same stretch of the original text.
    QStringView prepared = text;
    if (!m_caseSensitive) {
        TextLower::lowerInto(text, m_loweredText);
        prepared = m_loweredText;
    }
    qsizetype from = 0;
    while (from < prepared.size()) {
        const qsizetype hit = m_finder.indexIn(prepared, from);
        if (hit < 0)
            break;
        const qsizetype start = lineStart(prepared, hit);
        const qsizetype end = lineEnd(prepared, hit);
        if (fieldsMatch(prepared.mid(start, end - start)))
            found(text.mid(start, end - start));
        from = end + 1;
    }
}

// Decodes into the same buffer line after line: most candidates are
// dropped, and an allocation for each would cost more than the test.
void WordMatcher::decodeCandidate(QByteArrayView line)
{
    m_candidate.resize(line.size());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar *end = decoder.appendToBuffer(m_candidate.data(), line);
    m_candidate.truncate(end - m_candidate.constData());
}

template <typename Take>
void WordMatcher::findCandidates(QByteArrayView text, Take take)
{
    m_prefilter.prepare(text);
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype hit = m_prefilter.nextCandidate(from);
        if (hit < 0)
            break;
        const QByteArrayView line = lineAround(text, hit);
        decodeCandidate(line);
        if (matches(m_candidate))
            take(line);
        from = line.data() - text.data() + line.size() + 1;
    }
}

void WordMatcher::findInUtf8(QByteArrayView text, const Found &found)
{
    if (!m_prefilter.isUsable()) {
        LineMatcher::findInUtf8(text, found);
        return;
    }
    findCandidates(text, [&](QByteArrayView) { found(m_candidate); });
}

void WordMatcher::findLinesInUtf8(QByteArrayView text, const FoundUtf8 &found)
{
    if (!m_prefilter.isUsable()) {
        LineMatcher::findLinesInUtf8(text, found);
        return;
    }
    // The decoder passes over a byte order mark that opens the line, so
    // the line handed over leaves it out too.
    findCandidates(
        text, [&](QByteArrayView line) { found(line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line); });
}
