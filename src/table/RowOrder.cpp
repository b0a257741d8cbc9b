#include "RowOrder.h"

#include "DateKeyReader.h"
#include "LineFields.h"

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

// The first four characters packed so most comparisons end in one integer
// test; a shorter text pads with 0, below every character it could hold.
quint64 prefixOf(QStringView text, bool folded)
{
    quint64 p = 0;
    for (int i = 0; i < 4; ++i) {
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

int compareFolded(QStringView a, QStringView b)
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
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return compareCodes(a, b);
}

struct TextKey {
    quint64 prefix;
    QStringView text;
    int row;
};

struct NumberKey {
    qint64 value;
    int row;
};

struct SizeRowKey {
    SizeKey size;
    int row;
};

// Cells with doubled quotes are unescaped into owned copies so views stay
// valid for the whole sort.
class CellReader
{
public:
    QStringView cell(const QString &line, int column)
    {
        LineFields::Span span;
        if (!LineFields::find(line, column, span))
            return {};
        if (!span.escaped)
            return QStringView(line).mid(span.start, span.length);
        m_owned.push_back(LineFields::text(line, span));
        return m_owned.back();
    }

private:
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
    return order;
}

std::vector<int> orderByText(const QList<QString> &rows, int column, bool folded, bool descending)
{
    CellReader reader;
    std::vector<TextKey> keys;
    keys.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const QStringView text = reader.cell(rows.at(i), column);
        keys.push_back({prefixOf(text, folded), text, i});
    }
    auto compare = [folded](const TextKey &a, const TextKey &b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix ? -1 : 1;
        return folded ? compareFolded(a.text, b.text) : compareCodes(a.text, b.text);
    };
    return sortKeys(keys, compare, descending);
}

std::vector<int> orderBySize(const QList<QString> &rows, int column, bool descending)
{
    CellReader reader;
    std::vector<SizeRowKey> keys;
    keys.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        keys.push_back({sizeKey(reader.cell(rows.at(i), column)), i});
    auto compare = [](const SizeRowKey &a, const SizeRowKey &b) {
        return compareSize(a.size, b.size);
    };
    return sortKeys(keys, compare, descending);
}

std::vector<int> orderByDate(const QList<QString> &rows, int column, bool descending,
                             const DateKeyReader &dates)
{
    CellReader reader;
    std::vector<NumberKey> keys;
    keys.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        keys.push_back({dates.key(reader.cell(rows.at(i), column)), i});
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
