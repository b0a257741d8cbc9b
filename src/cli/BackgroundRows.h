#pragma once

#include "library/SortedLineList.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class RowWriter;

// Writes lists of result lines (comma text) as rows on a second thread, in
// the order they are handed over, while the caller finds the next ones.
// Each list is put in order there too. A few lists at most wait, so the
// rows waiting cost a few catalogs' results. Until finish() returns, only
// this thread may use the writer and its stream.
class BackgroundRows
{
public:
    explicit BackgroundRows(RowWriter &rows);
    ~BackgroundRows();
    BackgroundRows(const BackgroundRows &) = delete;
    BackgroundRows &operator=(const BackgroundRows &) = delete;

    // Waits while the writer is that many lists behind.
    static constexpr size_t MaxWaiting = 1;

    void add(SortedLineList &&lines);
    // Returns once every list handed over is written.
    void finish();

private:
    void work();

    RowWriter &m_rows;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<SortedLineList> m_waiting;
    bool m_closed = false;
    std::thread m_thread;
};
