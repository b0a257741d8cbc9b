#pragma once

#include <QStringList>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Puts a search's result lines in the order SortedLineList keeps, on a
// second thread, while the search reads on: each catalog's lines are sorted
// when handed over and merged with the ones before. A list added to a
// SortedLineList in that order needs no sort there. Equal lines are kept;
// the list drops them.
class ResultSorter
{
public:
    ResultSorter();
    ~ResultSorter();
    ResultSorter(const ResultSorter &) = delete;
    ResultSorter &operator=(const ResultSorter &) = delete;

    void add(QStringList lines);
    // Every line handed over, in order; waits for the second thread.
    QStringList takeSorted();

private:
    void work();
    void mergeTop();
    void finish();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QStringList> m_waiting;
    bool m_closed = false;
    // Sorted runs, each at least twice as long as the next, so that every
    // line takes part in few merges.
    std::vector<QStringList> m_runs;
    std::thread m_thread;
};
