#include "TextCompare.h"

#include <array>

namespace {

// Folded form of a character for the primary comparison: its base letter
// (diacritics removed) in upper case.
struct FoldTable {
    std::array<char16_t, 0x250> fold{};
    FoldTable()
    {
        for (char16_t c = 0; c < fold.size(); ++c) {
            QChar ch(c);
            QString base = ch.decomposition();
            QChar b = base.isEmpty() ? ch : base.at(0);
            if (ch.decompositionTag() != QChar::Canonical)
                b = ch;
            fold[c] = b.toUpper().unicode();
        }
        fold[0x00DF] = 0x00DF; // sharp s stays itself
    }
};

const FoldTable &table()
{
    static const FoldTable t;
    return t;
}

inline char16_t primary(char16_t c, const FoldTable &t)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? char16_t(c - 32) : c;
    if (c < t.fold.size())
        return t.fold[c];
    return QChar(c).toUpper().unicode();
}

inline char16_t secondary(char16_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? char16_t(c - 32) : c;
    return QChar(c).toUpper().unicode();
}

int comparePrimary(QStringView a, QStringView b)
{
    const FoldTable &t = table();
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y)
            continue;
        const char16_t fx = primary(x, t);
        const char16_t fy = primary(y, t);
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int compareSecondary(QStringView a, QStringView b)
{
    // Only reached for texts of equal length and equal primary form.
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = secondary(a[i].unicode());
        const char16_t y = secondary(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace

namespace TextCompare {

int compareNoCase(QStringView a, QStringView b)
{
    const int p = comparePrimary(a, b);
    return p != 0 ? p : compareSecondary(a, b);
}

QString foldNoCase(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    foldInto(text, folded.data());
    return folded;
}

void foldInPlace(QString &text)
{
    foldInto(text, text.data());
}

void foldInto(QStringView text, QChar *out)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = QChar(secondary(text[i].unicode()));
}

int compareTree(QStringView a, QStringView b)
{
    const int c = compareNoCase(a, b);
    if (c != 0)
        return c;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QChar x = a[i];
        const QChar y = b[i];
        if (x == y)
            continue;
        if (x.isLower() != y.isLower())
            return x.isLower() ? -1 : 1;
        return x.unicode() < y.unicode() ? -1 : 1;
    }
    return 0;
}

bool equalAsciiNoCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return false;
    }
    return true;
}

} // namespace TextCompare
