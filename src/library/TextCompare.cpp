#include "TextCompare.h"

#include <array>
#include <cstring>

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

using TextCompare::upperUnit;

// Compares unit by unit after fold; a shorter text that is a prefix of the
// other comes first.
template <typename Fold>
int compareFolded(QStringView a, QStringView b, Fold fold)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y)
            continue;
        const char16_t fx = fold(x);
        const char16_t fy = fold(y);
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int comparePrimary(QStringView a, QStringView b)
{
    const FoldTable &t = table();
    return compareFolded(a, b, [&t](char16_t c) { return primary(c, t); });
}

// Reads valid UTF-8 as the UTF-16 code units of the same text. The three
// byte form of a lone surrogate reads as that surrogate, so text that held
// one round-trips exactly.
class Utf16Units
{
public:
    explicit Utf16Units(QByteArrayView bytes) : m_p(bytes.data()), m_end(bytes.data() + bytes.size()) {}

    bool atEnd() const { return m_low == 0 && m_p == m_end; }

    char16_t next()
    {
        if (m_low != 0) {
            const char16_t low = m_low;
            m_low = 0;
            return low;
        }
        const uchar lead = uchar(*m_p);
        if (lead < 0x80) {
            ++m_p;
            return lead;
        }
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (m_end - m_p < length) { // cut short: never read past the end
            m_p = m_end;
            return 0xFFFD;
        }
        char32_t code = lead & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            code = (code << 6) | (uchar(m_p[k]) & 0x3F);
        m_p += length;
        if (code < 0x10000)
            return char16_t(code);
        code -= 0x10000;
        m_low = char16_t(0xDC00 | (code & 0x3FF));
        return char16_t(0xD800 | (code >> 10));
    }

private:
    const char *m_p;
    const char *m_end;
    char16_t m_low = 0;
};

// Length of the common start of a and b, cut back to a character boundary
// so both rest parts start with whole characters.
qsizetype commonStart(QByteArrayView a, QByteArrayView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    const char *x = a.data();
    const char *y = b.data();
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 u;
        quint64 v;
        std::memcpy(&u, x + i, 8);
        std::memcpy(&v, y + i, 8);
        if (u != v)
            break;
    }
    while (i < n && x[i] == y[i])
        ++i;
    const char *rest = i < a.size() ? x : y;
    while (i > 0 && i < qMax(a.size(), b.size()) && (uchar(rest[i]) & 0xC0) == 0x80)
        --i;
    return i;
}

// The order of the first characters of x and y that differ in primary
// form, or 0 when one runs out first; both are left after what was read.
int firstPrimaryDifference(Utf16Units &x, Utf16Units &y)
{
    const FoldTable &t = table();
    while (!x.atEnd() && !y.atEnd()) {
        const char16_t cx = x.next();
        const char16_t cy = y.next();
        if (cx == cy)
            continue;
        const char16_t fx = primary(cx, t);
        const char16_t fy = primary(cy, t);
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    return 0;
}

// comparePrimary on UTF-8 rest parts that start at a character boundary.
int comparePrimaryUtf8(QByteArrayView a, QByteArrayView b)
{
    Utf16Units x(a);
    Utf16Units y(b);
    if (const int order = firstPrimaryDifference(x, y))
        return order;
    // The shorter text in UTF-16 units comes first.
    return x.atEnd() == y.atEnd() ? 0 : (x.atEnd() ? -1 : 1);
}

// Only reached for texts of equal primary form and length.
int compareSecondaryUtf8(QByteArrayView a, QByteArrayView b)
{
    Utf16Units x(a);
    Utf16Units y(b);
    while (!x.atEnd() && !y.atEnd()) {
        const char16_t cx = upperUnit(x.next());
        const char16_t cy = upperUnit(y.next());
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return 0;
}

int compareUnitsUtf8(QByteArrayView a, QByteArrayView b)
{
    Utf16Units x(a);
    Utf16Units y(b);
    while (!x.atEnd() && !y.atEnd()) {
        const char16_t cx = x.next();
        const char16_t cy = y.next();
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return x.atEnd() == y.atEnd() ? 0 : (x.atEnd() ? -1 : 1);
}

// The common start of two texts decides nothing in either order, so only
// the rest parts are decoded; sorted paths share long starts.
int compareRestUtf8(QByteArrayView a, QByteArrayView b, bool exact)
{
    const qsizetype common = commonStart(a, b);
    if (common == a.size() && common == b.size())
        return 0;
    a = a.sliced(common);
    b = b.sliced(common);
    // Most lines differ first in two ASCII letters of different folds,
    // which decide the order at once.
    if (!a.isEmpty() && !b.isEmpty() && uchar(a.front()) < 0x80 && uchar(b.front()) < 0x80) {
        const char16_t fx = upperUnit(uchar(a.front()));
        const char16_t fy = upperUnit(uchar(b.front()));
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    int c = comparePrimaryUtf8(a, b);
    if (c == 0)
        c = compareSecondaryUtf8(a, b);
    if (c == 0 && exact)
        c = compareUnitsUtf8(a, b);
    return c;
}

} // namespace

namespace TextCompare {

int comparePrimaryWithin(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = commonStart(a, b);
    if (common == a.size() || common == b.size())
        return 0;
    a = a.sliced(common);
    b = b.sliced(common);
    // The same first look as compareRestUtf8, so both decide alike.
    if (uchar(a.front()) < 0x80 && uchar(b.front()) < 0x80) {
        const char16_t fx = upperUnit(uchar(a.front()));
        const char16_t fy = upperUnit(uchar(b.front()));
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    Utf16Units x(a);
    Utf16Units y(b);
    return firstPrimaryDifference(x, y);
}

int compareNoCaseUtf8(QByteArrayView a, QByteArrayView b)
{
    return compareRestUtf8(a, b, false);
}

int compareLines(QStringView a, QStringView b)
{
    const int noCase = compareNoCase(a, b);
    return noCase != 0 ? noCase : a.compare(b);
}

int compareLinesUtf8(QByteArrayView a, QByteArrayView b)
{
    return compareRestUtf8(a, b, true);
}

int compareUpperCase(QStringView a, QStringView b)
{
    return compareFolded(a, b, upperUnit);
}

int compareNoCase(QStringView a, QStringView b)
{
    const int p = comparePrimary(a, b);
    return p != 0 ? p : compareUpperCase(a, b);
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
        out[i] = QChar(upperUnit(text[i].unicode()));
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
