#include "RowOrder.h"

#include "DateKeyReader.h"
#include "library/CellFields.h"

#include <algorithm>
#include <cstdint>

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

inline char16_t fold(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    return QChar::toUpper(char32_t(c));
}

// Four characters from `from` packed into one integer; a text that ends
// pads with 0, below every character a cell can hold (cells never hold NUL).
quint64 prefixOf(QStringView text, qsizetype from, bool folded)
{
    quint64 p = 0;
    for (qsizetype i = from; i < from + 4; ++i) {
        const char16_t c = i < text.size() ? text[i].unicode() : 0;
        p = (p << 16) | (folded ? fold(c) : c);
    }
    return p;
}

int compareCodes(QStringView a, QStringView b)
{
    const int c = a.compare(b, Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Texts whose first `from` characters are equal when folded.
int compareFolded(QStringView a, QStringView b, qsizetype from = 0)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = from; i < n; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y)
            continue;
        const char16_t fx = fold(x);
        const char16_t fy = fold(y);
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return compareCodes(a, b);
}

// Sort keys are 16 bytes so a million rows add little to the table's own
// memory while sorting.
struct TextKey {
    quint64 prefix;
    qint32 row;
    // Where the cell lies in its line; kElsewhere marks a cell read into
    // CellStore::m_owned (unescaped quotes, or too long for 16 bits).
    quint16 start;
    quint16 length;
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

// The cells of one column for one sort: views into the rows' own lines,
// or owned copies for the few cells that cannot be viewed in place.
class CellStore
{
public:
    explicit CellStore(const QList<QString> &rows) : m_rows(rows) {}

    QStringView cell(int row, int column, quint16 &start, quint16 &length)
    {
        const QString &line = m_rows.at(row);
        CellFields::Span span;
        start = 0;
        length = 0;
        if (!CellFields::find(line, column, span))
            return {};
        if (!span.escaped && span.start < kElsewhere && span.length < kElsewhere) {
            start = quint16(span.start);
            length = quint16(span.length);
            return QStringView(line).mid(span.start, span.length);
        }
        start = kElsewhere;
        m_ownedRow.push_back(row);
        m_owned.push_back(CellFields::text(line, span));
        return m_owned.back();
    }

    QStringView view(const TextKey &key) const
    {
        if (key.start != kElsewhere)
            return QStringView(m_rows.at(key.row)).mid(key.start, key.length);
        const auto it = std::lower_bound(m_ownedRow.cbegin(), m_ownedRow.cend(), key.row);
        return m_owned.at(size_t(it - m_ownedRow.cbegin()));
    }

private:
    const QList<QString> &m_rows;
    std::vector<qint32> m_ownedRow; // ascending, as rows are read in order
    std::vector<QString> m_owned;
};

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

// Sorts text keys four characters at a time: rows are ordered by their
// packed prefix, and each run of equal prefixes is keyed again with the
// next four characters, so almost every comparison is one integer test even
// where a whole column shares a long beginning (paths).
class TextSorter
{
public:
    TextSorter(const CellStore &cells, bool folded, bool descending)
        : m_cells(cells), m_folded(folded), m_descending(descending)
    {
    }

    void sort(std::vector<TextKey> &keys) { sortRun(keys.begin(), keys.end(), 0, true); }

private:
    using It = std::vector<TextKey>::iterator;
    static constexpr ptrdiff_t kSmallRun = 16;

    int compareFrom(const TextKey &a, const TextKey &b, qsizetype from) const
    {
        const QStringView x = m_cells.view(a);
        const QStringView y = m_cells.view(b);
        return m_folded ? compareFolded(x, y, from) : compareCodes(x, y);
    }

    // Keys in [first, last) agree on their first `depth` characters and
    // their prefixes hold the next four; within equal keys rows ascend.
    void sortRun(It first, It last, qsizetype depth, bool mayBeMixed)
    {
        if (last - first <= kSmallRun) {
            std::sort(first, last, [&](const TextKey &a, const TextKey &b) {
                const int c = compareFrom(a, b, depth);
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
                sortEqualPrefix(run, end, depth);
            run = end;
        }
    }

    void sortEqualPrefix(It first, It last, qsizetype depth)
    {
        if ((first->prefix & 0xFFFF) == 0) {
            // The texts ended together and are equal when folded; only the
            // case-sensitive order is left to decide.
            if (m_folded)
                finishCase(first, last);
            return;
        }
        const qsizetype next = depth + 4;
        bool mixed = false;
        for (It k = first; k != last; ++k) {
            k->prefix = prefixOf(m_cells.view(*k), next, m_folded);
            mixed = mixed || k->prefix != first->prefix;
        }
        sortRun(first, last, next, mixed);
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

std::vector<int> orderByText(const QList<QString> &rows, int column, bool folded, bool descending)
{
    CellStore cells(rows);
    std::vector<TextKey> keys;
    keys.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        TextKey key{0, i, 0, 0};
        key.prefix = prefixOf(cells.cell(i, column, key.start, key.length), 0, folded);
        keys.push_back(key);
    }
    TextSorter(cells, folded, descending).sort(keys);
    std::vector<int> order;
    order.reserve(keys.size());
    for (const TextKey &k : keys)
        order.push_back(k.row);
    return order;
}

std::vector<int> orderBySize(const QList<QString> &rows, int column, bool descending)
{
    CellStore cells(rows);
    std::vector<SizeRowKey> keys;
    keys.reserve(rows.size());
    quint16 start, length;
    for (int i = 0; i < rows.size(); ++i) {
        const SizeKey size = sizeKey(cells.cell(i, column, start, length));
        keys.push_back({size.value, i, size.isNumber});
    }
    auto compare = [](const SizeRowKey &a, const SizeRowKey &b) {
        return compareSize({a.isNumber, a.value}, {b.isNumber, b.value});
    };
    return sortKeys(keys, compare, descending);
}

std::vector<int> orderByDate(const QList<QString> &rows, int column, bool descending,
                             const DateKeyReader &dates)
{
    CellStore cells(rows);
    std::vector<NumberKey> keys;
    keys.reserve(rows.size());
    quint16 start, length;
    for (int i = 0; i < rows.size(); ++i)
        keys.push_back({dates.key(cells.cell(i, column, start, length)), i});
    auto compare = [](const NumberKey &a, const NumberKey &b) {
        return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
    };
    return sortKeys(keys, compare, descending);
}

} // namespace

namespace RowOrder {

std::vector<int> order(const QList<QString> &rows, int column, SortKind kind, bool descending,
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
