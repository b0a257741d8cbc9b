#include "ResultRun.h"

#include "ResultOrder.h"

#include <algorithm>
#include <numeric>
#include <utility>

ResultRun::ResultRun(QByteArray tail) : m_tail(std::move(tail))
{}

void ResultRun::add(QByteArrayView head)
{
    m_starts.push_back(qsizetype(m_bytes.size()));
    m_bytes.insert(m_bytes.end(), head.begin(), head.end());
}

void ResultRun::clear()
{
    m_bytes = {};
    m_starts = {};
}

QByteArrayView ResultRun::head(qsizetype i) const
{
    const size_t at = size_t(i);
    const qsizetype end = at + 1 < m_starts.size() ? m_starts[at + 1] : qsizetype(m_bytes.size());
    return QByteArrayView(m_bytes.data() + m_starts[at], end - m_starts[at]);
}

void ResultRun::lineAt(qsizetype i, QByteArray &out) const
{
    out.resize(0);
    out.append(head(i)).append(m_tail);
}

void ResultRun::finish(ResultOrder &order)
{
    // Catalog files are stored sorted, so their hits usually come in order
    // and without repeats.
    if (!isSorted(order))
        sortAndDropRepeats(order);
    m_bytes.shrink_to_fit();
    m_starts.shrink_to_fit();
}

// Strictly ascending: no line equal to the one before.
bool ResultRun::isSorted(ResultOrder &order) const
{
    for (qsizetype i = 1; i < count(); ++i) {
        if (order.compare(head(i - 1), m_tail, head(i), m_tail) >= 0)
            return false;
    }
    return true;
}

void ResultRun::sortAndDropRepeats(ResultOrder &order)
{
    std::vector<qsizetype> byOrder(m_starts.size());
    std::iota(byOrder.begin(), byOrder.end(), 0);
    std::stable_sort(byOrder.begin(), byOrder.end(), [&](qsizetype a, qsizetype b) {
        return order.compare(head(a), m_tail, head(b), m_tail) < 0;
    });
    ResultRun sorted(m_tail);
    sorted.m_bytes.reserve(m_bytes.size());
    sorted.m_starts.reserve(m_starts.size());
    QByteArrayView previous;
    for (qsizetype i : byOrder) {
        const QByteArrayView line = head(i);
        if (sorted.count() > 0 && line == previous)
            continue;
        sorted.add(line);
        previous = line;
    }
    *this = std::move(sorted);
}
