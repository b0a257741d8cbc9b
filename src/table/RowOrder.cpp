#include "RowOrder.h"

#include "DateKeyReader.h"
#include "Utf8Rows.h"
#include "library/TextCompare.h"
#include "library/Utf8Fields.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

using TableRules::SortKind;

// Size keys: every non-number falls in a class below all numbers.
struct SizeKey {
    bool isNumber = false;
    qint64 value = 0;
};

SizeKey sizeKey(QStringView text)
{
    if (text.isEmpty())
        return {true, 0};
    bool ok = false;
    const qint64 v = text.toLongLong(&ok, 10);
    return ok ? SizeKey{true, v} : SizeKey{};
}

int compareSize(const SizeKey &a, const SizeKey &b)
{
    if (a.isNumber != b.isNumber)
        return a.isNumber ? 1 : -1;
    return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
}

int compareCodes(QStringView a, QStringView b)
{
    const int c = a.compare(b, Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// By upper-cased characters, then texts equal so by their own codes.
int compareFolded(QStringView a, QStringView b)
{
    const int c = TextCompare::compareUpperCase(a, b);
    return c != 0 ? c : compareCodes(a, b);
}

// Rows are UTF-8 but the column orders are those of UTF-16 text: texts
// compare by UTF-16 code units, and a character outside the BMP (two
// surrogate units, neither of which folds) sorts above U+D7FF and below
// U+E000. rank() maps a code point to a number with that order, in 21 bits.
constexpr int kRankBits = 21;
constexpr quint64 kRankMask = (quint64(1) << kRankBits) - 1;

inline quint32 rank(char32_t c)
{
    if (c < 0xD800)
        return c;
    if (c >= 0x10000)
        return 0xD800 + (c - 0x10000);
    return 0x10D800 + (c - 0xE000);
}

inline quint32 foldedRank(char32_t c)
{
    return c < 0x10000 ? rank(TextCompare::upperUnit(char16_t(c))) : rank(c);
}

// Reads the code point at p and moves past it. Rows hold valid UTF-8 (they
// are encoded here), so only a cut-off sequence needs a guard.
inline char32_t nextCodePoint(const uchar *&p, const uchar *end)
{
    const uchar c = *p++;
    if (c < 0x80)
        return c;
    const int more = c >= 0xF0 ? 3 : (c >= 0xE0 ? 2 : 1);
    if (end - p < more)
        return c;
    char32_t cp = c & (0x3F >> more);
    for (int i = 0; i < more; ++i)
        cp = (cp << 6) | (*p++ & 0x3F);
    return cp;
}

inline const uchar *bytesOf(QByteArrayView text)
{
    return reinterpret_cast<const uchar *>(text.data());
}

// The order of compareCodes on UTF-8: the first differing code points
// decide, a text that ends first comes first.
int compareCodes(QByteArrayView a, QByteArrayView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    if (i == n)
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    while (i > 0 && (uchar(a[i]) & 0xC0) == 0x80)
        --i;
    const uchar *pa = bytesOf(a) + i;
    const uchar *pb = bytesOf(b) + i;
    const quint32 x = rank(nextCodePoint(pa, bytesOf(a) + a.size()));
    const quint32 y = rank(nextCodePoint(pb, bytesOf(b) + b.size()));
    if (x != y)
        return x < y ? -1 : 1;
    return uchar(a[i]) < uchar(b[i]) ? -1 : 1; // cut-off bytes: any fixed order will do
}

// compareFolded on UTF-8, starting at a byte offset in each text where
// everything before is equal when folded.
int compareFolded(QByteArrayView a, QByteArrayView b, qsizetype fromA = 0, qsizetype fromB = 0)
{
    const uchar *pa = bytesOf(a) + fromA;
    const uchar *pb = bytesOf(b) + fromB;
    const uchar *endA = bytesOf(a) + a.size();
    const uchar *endB = bytesOf(b) + b.size();
    while (pa != endA && pb != endB) {
        const char32_t x = nextCodePoint(pa, endA);
        const char32_t y = nextCodePoint(pb, endB);
        if (x == y)
            continue;
        const quint32 fx = foldedRank(x);
        const quint32 fy = foldedRank(y);
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    // Characters equal when folded take as many UTF-16 units each, so the
    // text that ends first is the shorter one there too.
    if (pa != endA || pb != endB)
        return pa == endA ? -1 : 1;
    return compareCodes(a, b);
}

// Three characters from byte offset `from` packed into one integer, their
// ranks folded or not; a text that ends pads with 0, below every character
// a cell can hold (cells never hold NUL). `next` gets the offset after them.
quint64 prefixOf(QByteArrayView text, qsizetype from, bool folded, qsizetype &next)
{
    const uchar *p = bytesOf(text) + from;
    const uchar *end = bytesOf(text) + text.size();
    quint64 prefix = 0;
    for (int i = 0; i < 3; ++i) {
        quint32 r = 0;
        if (p != end) {
            const char32_t c = nextCodePoint(p, end);
            r = folded ? foldedRank(c) : rank(c);
        }
        prefix = (prefix << kRankBits) | r;
    }
    next = p - bytesOf(text);
    return prefix;
}

// Sort keys are 24 bytes so a million rows add little to the table's own
// memory while sorting.
struct TextKey {
    quint64 prefix;
    qint32 row;
    // Where the cell lies in its line; kElsewhere marks a cell read into
    // CellStore::m_owned (doubled quotes, too long for 16 bits, or reaching
    // from a row's own bytes into its tail).
    quint16 start;
    quint16 length;
    // Byte offset in the cell where the characters of prefix begin.
    quint32 at;
    // Byte offset in the cell after them.
    quint32 next;
};

struct NumberKey {
    qint64 value;
    qint32 row;
};

struct SizeRowKey {
    qint64 value;
    qint32 row;
    bool isNumber;
};

constexpr quint16 kElsewhere = 0xFFFF;

// The cells of one column for one sort: views into the rows' own bytes,
// or owned copies for the few cells that cannot be viewed in place.
class CellStore
{
public:
    explicit CellStore(const Utf8Rows &rows) : m_rows(rows) {}

    QByteArrayView cell(int row, int column, quint16 &start, quint16 &length)
    {
        const QByteArrayView line = m_rows.line(row, m_joined);
        Utf8Fields::Span span;
        start = 0;
        length = 0;
        if (!Utf8Fields::find(line, column, span))
            return {};
        if (!span.escaped && span.start < kElsewhere && span.length < kElsewhere &&
            m_rows.isInOnePart(row, span.start, span.length)) {
            start = quint16(span.start);
            length = quint16(span.length);
            return m_rows.part(row, span.start, span.length);
        }
        start = kElsewhere;
        m_ownedRow.push_back(row);
        m_owned.push_back(Utf8Fields::bytes(line, span));
        return m_owned.back();
    }

    QByteArrayView view(const TextKey &key) const
    {
        if (key.start != kElsewhere)
            return m_rows.part(key.row, key.start, key.length);
        const auto it = std::lower_bound(m_ownedRow.cbegin(), m_ownedRow.cend(), key.row);
        return m_owned.at(size_t(it - m_ownedRow.cbegin()));
    }

private:
    const Utf8Rows &m_rows;
    // A row with a tail is put together here to be read.
    QByteArray m_joined;
    std::vector<qint32> m_ownedRow; // ascending, as rows are read in order
    std::vector<QByteArray> m_owned;
};

// Size and date cells are short: they are read as UTF-16 on the stack.
template <typename Read>
auto readAsText(QByteArrayView cell, Read read)
{
    QVarLengthArray<char16_t, 64> text(cell.size());
    bool ascii = true;
    for (qsizetype i = 0; i < cell.size() && ascii; ++i) {
        text[i] = uchar(cell[i]);
        ascii = uchar(cell[i]) < 0x80;
    }
    if (ascii)
        return read(QStringView(text.constData(), text.size()));
    return read(QStringView(QString::fromUtf8(cell)));
}

template <typename Key, typename Compare>
std::vector<int> sortKeys(std::vector<Key> &keys, Compare compare, bool descending)
{
    std::sort(keys.begin(), keys.end(), [&](const Key &a, const Key &b) {
        const int c = compare(a, b);
        if (c != 0)
            return descending ? c > 0 : c < 0;
        return a.row < b.row;
    });
    std::vector<int> order;
    order.reserve(keys.size());
    for (const Key &k : keys)
        order.push_back(k.row);
    keys = std::vector<Key>(); // give the keys back before the rows move
    return order;
}

// Sorts text keys three characters at a time: rows are ordered by their
// packed prefix, and each run of equal prefixes is keyed again with the
// next three characters, so almost every comparison is one integer test
// even where a whole column shares a long beginning (paths).
class TextSorter
{
public:
    TextSorter(const CellStore &cells, bool folded, bool descending)
        : m_cells(cells), m_folded(folded), m_descending(descending)
    {}

    void sort(std::vector<TextKey> &keys) { sortRun(keys.begin(), keys.end(), true); }

private:
    using It = std::vector<TextKey>::iterator;
    static constexpr ptrdiff_t kSmallRun = 16;

    int compareRest(const TextKey &a, const TextKey &b) const
    {
        const QByteArrayView x = m_cells.view(a);
        const QByteArrayView y = m_cells.view(b);
        return m_folded ? compareFolded(x, y, a.at, b.at) : compareCodes(x, y);
    }

    // Keys in [first, last) are equal when folded up to their `at` offsets
    // and their prefixes hold the next three characters; within equal keys
    // rows ascend.
    void sortRun(It first, It last, bool mayBeMixed)
    {
        if (last - first <= kSmallRun) {
            std::sort(first, last, [&](const TextKey &a, const TextKey &b) {
                const int c = compareRest(a, b);
                if (c != 0)
                    return m_descending ? c > 0 : c < 0;
                return a.row < b.row;
            });
            return;
        }
        // One prefix for all keys leaves their row order as it is.
        if (mayBeMixed) {
            std::sort(first, last, [&](const TextKey &a, const TextKey &b) {
                if (a.prefix != b.prefix)
                    return m_descending ? a.prefix > b.prefix : a.prefix < b.prefix;
                return a.row < b.row;
            });
        }
        for (It run = first; run != last;) {
            It end = run + 1;
            while (end != last && end->prefix == run->prefix)
                ++end;
            if (end - run > 1)
                sortEqualPrefix(run, end);
            run = end;
        }
    }

    void sortEqualPrefix(It first, It last)
    {
        if ((first->prefix & kRankMask) == 0) {
            // The texts ended together and are equal when folded; only the
            // case-sensitive order is left to decide.
            if (m_folded)
                finishCase(first, last);
            return;
        }
        bool mixed = false;
        for (It k = first; k != last; ++k) {
            qsizetype next = 0;
            k->at = k->next;
            k->prefix = prefixOf(m_cells.view(*k), k->at, m_folded, next);
            k->next = quint32(next);
            mixed = mixed || k->prefix != first->prefix;
        }
        sortRun(first, last, mixed);
    }

    void finishCase(It first, It last)
    {
        std::sort(first, last, [&](const TextKey &a, const TextKey &b) {
            const int c = compareCodes(m_cells.view(a), m_cells.view(b));
            if (c != 0)
                return m_descending ? c > 0 : c < 0;
            return a.row < b.row;
        });
    }

    const CellStore &m_cells;
    bool m_folded;
    bool m_descending;
};

std::vector<int> orderByText(const Utf8Rows &rows, int column, bool folded, bool descending)
{
    CellStore cells(rows);
    std::vector<TextKey> keys;
    keys.reserve(size_t(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        TextKey key{0, i, 0, 0, 0, 0};
        qsizetype next = 0;
        key.prefix = prefixOf(cells.cell(i, column, key.start, key.length), 0, folded, next);
        key.next = quint32(next);
        keys.push_back(key);
    }
    TextSorter(cells, folded, descending).sort(keys);
    std::vector<int> order;
    order.reserve(keys.size());
    for (const TextKey &k : keys)
        order.push_back(k.row);
    return order;
}

std::vector<int> orderBySize(const Utf8Rows &rows, int column, bool descending)
{
    CellStore cells(rows);
    std::vector<SizeRowKey> keys;
    keys.reserve(size_t(rows.size()));
    quint16 start, length;
    for (int i = 0; i < rows.size(); ++i) {
        const SizeKey size = readAsText(cells.cell(i, column, start, length), sizeKey);
        keys.push_back({size.value, i, size.isNumber});
    }
    auto compare = [](const SizeRowKey &a, const SizeRowKey &b) {
        return compareSize({a.isNumber, a.value}, {b.isNumber, b.value});
    };
    return sortKeys(keys, compare, descending);
}

std::vector<int> orderByDate(const Utf8Rows &rows, int column, bool descending, const DateKeyReader &dates)
{
    CellStore cells(rows);
    std::vector<NumberKey> keys;
    keys.reserve(size_t(rows.size()));
    quint16 start, length;
    const auto key = [&](QStringView text) { return dates.key(text); };
    for (int i = 0; i < rows.size(); ++i)
        keys.push_back({readAsText(cells.cell(i, column, start, length), key), i});
    auto compare = [](const NumberKey &a, const NumberKey &b) {
        return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
    };
    return sortKeys(keys, compare, descending);
}

} // namespace

namespace RowOrder {

std::vector<int> order(const Utf8Rows &rows, int column, SortKind kind, bool descending,
                       const DateKeyReader &dates)
{
    switch (kind) {
    case SortKind::Size:
        return orderBySize(rows, column, descending);
    case SortKind::Date:
        return orderByDate(rows, column, descending, dates);
    case SortKind::TextNoCase:
        return orderByText(rows, column, true, descending);
    case SortKind::TextByCode:
        break;
    }
    return orderByText(rows, column, false, descending);
}

std::vector<int> order(const QList<QString> &rows, int column, SortKind kind, bool descending,
                       const DateKeyReader &dates)
{
    Utf8Rows utf8;
    for (const QString &row : rows)
        utf8.append(row);
    return order(utf8, column, kind, descending, dates);
}

int compareCells(const QString &a, const QString &b, SortKind kind, const DateKeyReader &dates)
{
    switch (kind) {
    case SortKind::Size:
        return compareSize(sizeKey(a), sizeKey(b));
    case SortKind::Date: {
        const qint64 x = dates.key(a);
        const qint64 y = dates.key(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case SortKind::TextNoCase:
        return compareFolded(a, b);
    case SortKind::TextByCode:
        break;
    }
    return compareCodes(a, b);
}

} // namespace RowOrder
