#pragma once

#include "library/SortedLineList.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Puts a search's result lines in order on a second thread while the search
// reads on: each catalog's list is sorted when handed over and merged with
// the ones before, each line taking part in few merges.
class ResultSorter
{
public:
    ResultSorter();
    ~ResultSorter();
    ResultSorter(const ResultSorter &) = delete;
    ResultSorter &operator=(const ResultSorter &) = delete;

    void add(SortedLineList &&lines);
    // Every line handed over, in order; waits for the second thread.
    SortedLineList takeSorted();

private:
    void work();
    void mergeTop();
    void finish();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<SortedLineList> m_waiting;
    bool m_closed = false;
    // Sorted runs, each at least twice as long as the next.
    std::vector<SortedLineList> m_runs;
    std::thread m_thread;
};
