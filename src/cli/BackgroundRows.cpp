#include "BackgroundRows.h"

#include "RowWriter.h"

BackgroundRows::BackgroundRows(RowWriter &rows) : m_rows(rows), m_thread([this] { work(); })
{}

BackgroundRows::~BackgroundRows()
{
    finish();
}

void BackgroundRows::add(SortedLineList &&lines)
{
    if (lines.isEmpty())
        return;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.size() < MaxWaiting; });
    m_waiting.push_back(std::move(lines));
    lock.unlock();
    m_changed.notify_all();
}

void BackgroundRows::finish()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void BackgroundRows::work()
{
    for (;;) {
        SortedLineList lines;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return m_closed || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            lines = std::move(m_waiting.front());
            m_waiting.pop_front();
        }
        m_changed.notify_all();
        for (qsizetype i = 0; i < lines.count(); ++i)
            m_rows.writeCommaLine(lines.utf8At(i));
    }
}
