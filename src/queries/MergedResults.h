#pragma once

#include "ResultMerge.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// The walk of ResultMerge done ahead on a second thread, handed over in
// batches, so that writing the rows and ordering the next ones take a
// processor each.
class MergedResults
{
public:
    using Row = std::pair<const ResultRun *, qsizetype>;

    explicit MergedResults(const std::vector<ResultRun> &runs);
    ~MergedResults();
    MergedResults(const MergedResults &) = delete;
    MergedResults &operator=(const MergedResults &) = delete;

    // The next rows in order; empty after the last.
    std::vector<Row> next();

private:
    void work();

    ResultMerge m_merge;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<Row>> m_ready;
    bool m_done = false;
    bool m_stopped = false;
    std::thread m_thread;
};
