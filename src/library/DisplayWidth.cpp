#include "DisplayWidth.h"

#include <utf8proc.h>

namespace {

// Hangul vowels and final consonants join the syllable's first letter.
bool isConjoiningJamo(char32_t c)
{
    return (c >= 0x1160 && c <= 0x11FF) || (c >= 0xD7B0 && c <= 0xD7FF);
}

} // namespace

namespace DisplayWidth {

int ofCharacter(char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 1;
    if (isConjoiningJamo(c))
        return 0;
    const auto codePoint = utf8proc_int32_t(c);
    // Spacing marks (Devanagari vowel signs and the like) advance the cursor,
    // as glibc and terminals count them; utf8proc counts them as none.
    if (utf8proc_category(codePoint) == UTF8PROC_CATEGORY_MC)
        return 1;
    return utf8proc_charwidth(codePoint);
}

int of(QStringView text)
{
    int columns = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            columns += ofCharacter(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (c.unicode() < 0x7F && c.unicode() >= 0x20) {
            ++columns; // the usual ASCII text needs no table
        } else {
            columns += ofCharacter(c.unicode());
        }
    }
    return columns;
}

} // namespace DisplayWidth
