#include "MergedResults.h"

namespace {

constexpr size_t kBatchRows = 16384;
// Batches waiting at most: the rows are small, the runs hold the lines.
constexpr size_t kBatchesAhead = 8;

} // namespace

MergedResults::MergedResults(const std::vector<ResultRun> &runs) : m_merge(runs), m_thread([this] { work(); })
{}

MergedResults::~MergedResults()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void MergedResults::work()
{
    bool more = true;
    while (more) {
        std::vector<Row> batch;
        batch.reserve(kBatchRows);
        Row row;
        while (batch.size() < kBatchRows && (more = m_merge.next(row.first, row.second)))
            batch.push_back(row);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopped || m_ready.size() < kBatchesAhead; });
        if (m_stopped)
            return;
        if (!batch.empty())
            m_ready.push_back(std::move(batch));
        m_done = !more;
        lock.unlock();
        m_changed.notify_all();
    }
}

std::vector<MergedResults::Row> MergedResults::next()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_done || !m_ready.empty(); });
    if (m_ready.empty())
        return {};
    std::vector<Row> batch = std::move(m_ready.front());
    m_ready.pop_front();
    lock.unlock();
    m_changed.notify_all();
    return batch;
}
