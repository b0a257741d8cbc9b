#include "WordPrefilter.h"

#include "TextLower.h"

#include <cstring>

namespace {

bool isAscii(QChar c)
{
    return c.unicode() < 0x80;
}

// The longest stretch of ASCII characters in run.
QString longestAsciiStretch(const QString &run)
{
    QStringView best;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= run.size(); ++i) {
        if (i < run.size() && isAscii(run[i]))
            continue;
        if (i - start > best.size())
            best = QStringView(run).mid(start, i - start);
        start = i + 1;
    }
    return best.toString();
}

// TextLower lowers the ASCII letters A to Z and leaves every other ASCII
// character alone: what the byte folding below relies on.
bool asciiLowersPlainly()
{
    for (char16_t c = 0; c < 0x80; ++c) {
        const char16_t plain = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
        if (TextLower::lowerChar(c) != plain)
            return false;
    }
    return true;
}

inline char foldAscii(char b)
{
    return (b >= 'A' && b <= 'Z') ? char(b + 32) : b;
}

} // namespace

WordPrefilter::WordPrefilter(const QString &run, bool caseSensitive)
    : m_foldCase(!caseSensitive)
{
    if (m_foldCase && !asciiLowersPlainly())
        return;
    const QString stretch = longestAsciiStretch(run);
    m_needle = stretch.toLatin1();
    if (m_needle.isEmpty())
        return;
    m_probes.push_back({m_needle});
    if (!m_foldCase)
        return;
    // Characters beyond ASCII whose lower case is in the stretch. Surrogate
    // halves lower to themselves, so only the BMP needs looking at.
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        if (stretch.contains(QChar(TextLower::lowerChar(char16_t(c)))))
            m_probes.push_back({QString(QChar(char16_t(c))).toUtf8()});
    }
}

void WordPrefilter::prepare(QByteArrayView text)
{
    m_text = text;
    if (m_foldCase) {
        m_folded.resize(text.size());
        char *out = m_folded.data();
        const char *in = text.data();
        for (qsizetype i = 0; i < text.size(); ++i)
            out[i] = foldAscii(in[i]);
        m_text = m_folded;
    }
    for (Probe &probe : m_probes)
        probe.known = false;
}

qsizetype WordPrefilter::find(Probe &probe, qsizetype from) const
{
    // Searches go forward only, so a place found earlier stays good until
    // the search passes it, and a probe found nowhere is never looked for
    // again in this piece.
    if (probe.known && (probe.next < 0 || probe.next >= from))
        return probe.next;
    probe.known = true;
    probe.next = -1;
    if (from >= m_text.size())
        return -1;
    const void *hit = memmem(m_text.data() + from, size_t(m_text.size() - from),
                             probe.bytes.constData(), size_t(probe.bytes.size()));
    if (hit)
        probe.next = static_cast<const char *>(hit) - m_text.data();
    return probe.next;
}

qsizetype WordPrefilter::nextCandidate(qsizetype from)
{
    qsizetype best = -1;
    for (Probe &probe : m_probes) {
        const qsizetype at = find(probe, from);
        if (at >= 0 && (best < 0 || at < best))
            best = at;
    }
    return best;
}
