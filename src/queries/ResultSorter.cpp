#include "ResultSorter.h"

ResultSorter::ResultSorter() : m_thread([this] { work(); })
{}

ResultSorter::~ResultSorter()
{
    finish();
}

void ResultSorter::add(SortedLineList &&lines)
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

SortedLineList ResultSorter::takeSorted()
{
    finish();
    while (m_runs.size() > 1)
        mergeTop();
    return m_runs.empty() ? SortedLineList() : std::move(m_runs.back());
}

void ResultSorter::mergeTop()
{
    SortedLineList top = std::move(m_runs.back());
    m_runs.pop_back();
    m_runs.back().merge(std::move(top));
}

void ResultSorter::work()
{
    for (;;) {
        SortedLineList lines;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_closed || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            lines = std::move(m_waiting.front());
            m_waiting.pop_front();
        }
        lines.settle(); // on this thread
        m_runs.push_back(std::move(lines));
        while (m_runs.size() > 1 && 2 * m_runs.back().count() > m_runs[m_runs.size() - 2].count())
            mergeTop();
    }
}
