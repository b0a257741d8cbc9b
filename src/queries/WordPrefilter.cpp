#include "WordPrefilter.h"

#include "TextLower.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

inline bool isAsciiLetter(char b)
{
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

// needle equals the bytes at hay, ASCII letters in any case when foldCase
// (needle is then in lower case).
bool sameBytes(const char *hay, const QByteArray &needle, bool foldCase)
{
    if (!foldCase)
        return std::memcmp(hay, needle.constData(), size_t(needle.size())) == 0;
    for (qsizetype j = 0; j < needle.size(); ++j) {
        if (foldAscii(hay[j]) != needle[j])
            return false;
    }
    return true;
}

// The first place at or after from where needle occurs in text, or -1.
// Compares its first and last bytes sixteen places at a time and checks the
// rest only where both agree.
qsizetype findNeedle(QByteArrayView text, qsizetype from, const QByteArray &needle, bool foldCase)
{
    const qsizetype k = needle.size();
    const char *hay = text.data();
    const qsizetype n = text.size();
    qsizetype i = from;
#ifdef __SSE2__
    // Setting bit 0x20 lowers an ASCII letter; other bytes are compared as
    // they are.
    const char firstBit = foldCase && isAsciiLetter(needle[0]) ? 0x20 : 0;
    const char lastBit = foldCase && isAsciiLetter(needle[k - 1]) ? 0x20 : 0;
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i last = _mm_set1_epi8(needle[k - 1]);
    const __m128i firstOr = _mm_set1_epi8(firstBit);
    const __m128i lastOr = _mm_set1_epi8(lastBit);
    for (; i + k - 1 + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i + k - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(
            _mm_cmpeq_epi8(_mm_or_si128(a, firstOr), first), _mm_cmpeq_epi8(_mm_or_si128(b, lastOr), last))));
        while (mask) {
            const int bit = __builtin_ctz(mask);
            if (sameBytes(hay + i + bit, needle, foldCase))
                return i + bit;
            mask &= mask - 1;
        }
    }
#endif
    for (; i + k <= n; ++i) {
        if (sameBytes(hay + i, needle, foldCase))
            return i;
    }
    return -1;
}

} // namespace

WordPrefilter::WordPrefilter(const QString &run, bool caseSensitive) : m_foldCase(!caseSensitive)
{
    if (m_foldCase && !asciiLowersPlainly())
        return;
    const QString stretch = longestAsciiStretch(run);
    m_needle = stretch.toLatin1();
    if (m_needle.isEmpty())
        return;
    m_probes.push_back({m_needle, m_foldCase});
    if (!m_foldCase)
        return;
    // Characters beyond ASCII whose lower case is in the stretch. Surrogate
    // halves lower to themselves, so only the BMP needs looking at.
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        if (stretch.contains(QChar(TextLower::lowerChar(char16_t(c)))))
            m_probes.push_back({QString(QChar(char16_t(c))).toUtf8(), false});
    }
}

void WordPrefilter::prepare(QByteArrayView text)
{
    m_text = text;
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
    probe.next = findNeedle(m_text, from, probe.bytes, probe.foldCase);
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
