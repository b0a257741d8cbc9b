#include "ResultSorter.h"

#include "library/TextCompare.h"

#include <algorithm>

namespace {

// SortedLineList's order: without regard to case, then by the characters.
bool lessLine(const QString &a, const QString &b)
{
    const int noCase = TextCompare::compareNoCase(a, b);
    return noCase != 0 ? noCase < 0 : a.compare(b) < 0;
}

QStringList merged(const QStringList &a, const QStringList &b)
{
    QStringList out;
    out.reserve(a.size() + b.size());
    std::merge(a.cbegin(), a.cend(), b.cbegin(), b.cend(), std::back_inserter(out), lessLine);
    return out;
}

} // namespace

ResultSorter::ResultSorter() : m_thread([this] { work(); }) {}

ResultSorter::~ResultSorter()
{
    finish();
}

void ResultSorter::add(QStringList lines)
{
    if (lines.isEmpty())
        return;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.push_back(std::move(lines));
    }
    m_wake.notify_one();
}

void ResultSorter::finish()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

QStringList ResultSorter::takeSorted()
{
    finish();
    while (m_runs.size() > 1)
        mergeTop();
    return m_runs.empty() ? QStringList() : std::move(m_runs.back());
}

void ResultSorter::mergeTop()
{
    QStringList top = std::move(m_runs.back());
    m_runs.pop_back();
    m_runs.back() = merged(m_runs.back(), top);
}

void ResultSorter::work()
{
    for (;;) {
        QStringList lines;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_closed || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            lines = std::move(m_waiting.front());
            m_waiting.pop_front();
        }
        std::stable_sort(lines.begin(), lines.end(), lessLine);
        m_runs.push_back(std::move(lines));
        while (m_runs.size() > 1 && 2 * m_runs.back().size() > m_runs[m_runs.size() - 2].size())
            mergeTop();
    }
}
