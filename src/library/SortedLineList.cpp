#include "SortedLineList.h"

#include "TextCompare.h"

#include <algorithm>

namespace {

// The case-insensitive order, with lines that differ only in letter case
// ordered by their characters so that equal lines always sit together.
int compareLines(QStringView a, QStringView b)
{
    const int noCase = TextCompare::compareNoCase(a, b);
    return noCase != 0 ? noCase : a.compare(b);
}

bool lessLine(const QString &a, const QString &b)
{
    return compareLines(a, b) < 0;
}

} // namespace

void SortedLineList::add(const QString &line)
{
    m_pending.append(line);
}

void SortedLineList::addAll(const QStringList &lines)
{
    // Sharing the list instead of copying it keeps a large load from
    // holding two arrays of its lines.
    if (m_pending.isEmpty())
        m_pending = lines;
    else
        m_pending.append(lines);
}

void SortedLineList::clear()
{
    m_sorted.clear();
    m_pending.clear();
}

void SortedLineList::settle() const
{
    if (m_pending.isEmpty())
        return;
    // Catalog files are stored sorted, so a load usually needs no sort.
    if (!std::is_sorted(m_pending.cbegin(), m_pending.cend(), lessLine))
        std::sort(m_pending.begin(), m_pending.end(), lessLine);
    m_pending.erase(std::unique(m_pending.begin(), m_pending.end()), m_pending.end());
    if (m_sorted.isEmpty()) {
        m_sorted.swap(m_pending);
        return;
    }
    QStringList merged;
    merged.reserve(m_sorted.size() + m_pending.size());
    auto a = m_sorted.cbegin();
    auto b = m_pending.cbegin();
    while (a != m_sorted.cend() || b != m_pending.cend()) {
        if (b == m_pending.cend() || (a != m_sorted.cend() && !lessLine(*b, *a))) {
            if (b != m_pending.cend() && *a == *b)
                ++b;
            merged.append(*a++);
        } else {
            merged.append(*b++);
        }
    }
    m_sorted.swap(merged);
    m_pending.clear();
}

qsizetype SortedLineList::count() const
{
    settle();
    return m_sorted.size();
}

const QString &SortedLineList::at(qsizetype i) const
{
    settle();
    return m_sorted.at(i);
}

qsizetype SortedLineList::indexOf(QStringView text) const
{
    settle();
    auto it = std::lower_bound(m_sorted.cbegin(), m_sorted.cend(), text,
                               [](const QString &line, QStringView t) {
                                   return compareLines(line, t) < 0;
                               });
    if (it != m_sorted.cend() && *it == text)
        return it - m_sorted.cbegin();
    return -1;
}

void SortedLineList::removeAt(qsizetype i)
{
    settle();
    m_sorted.removeAt(i);
}

const QStringList &SortedLineList::lines() const
{
    settle();
    return m_sorted;
}

QStringList SortedLineList::takeLines()
{
    settle();
    QStringList out;
    out.swap(m_sorted);
    return out;
}

QStringList SortedLineList::takeUnsorted()
{
    QStringList out;
    out.swap(m_sorted);
    out.append(m_pending);
    m_pending.clear();
    return out;
}
