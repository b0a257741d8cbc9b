#include "CellWildcardMatch.h"

namespace {

// UTF-16 units of the character at i: two for a surrogate pair.
qsizetype characterSize(QStringView text, qsizetype i)
{
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
}

} // namespace

// On a mismatch it goes back to the last star and lets it take one more
// character, which bounds the work by text length times pattern length
// however many stars there are. A star is tried before any literal
// comparison. "?" and a star's step take a whole character, so neither
// ever stops inside a surrogate pair.
bool CellWildcardMatch(QStringView text, QStringView pattern)
{
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starAt = -1;
    qsizetype starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            starText = t;
        } else if (p < pattern.size() && pattern[p] == u'?') {
            t += characterSize(text, t);
            ++p;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++t;
            ++p;
        } else if (starAt >= 0) {
            p = starAt + 1;
            starText += characterSize(text, starText);
            t = starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}
