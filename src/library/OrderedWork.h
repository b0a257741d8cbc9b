#pragma once

#include <QThread>
#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Does the jobs 0 to count - 1 of a long run on a pool of threads while the
// caller takes their results one by one in that order. The caller alone
// reports progress and decides when to stop, so what a run shows and where
// a stop takes effect stay as if the jobs ran one after another on its own
// thread; the pool only works ahead.
template <typename Result>
class OrderedWork
{
public:
    // A job may look at stopped to give up early: its result is never
    // taken then.
    using Job = std::function<Result(qsizetype i, const std::atomic<bool> &stopped)>;

    // makeJob is called once on each thread, so a job can keep that
    // thread's own buffers and matchers. threads < 1: one per processor.
    // ahead > 0 holds back jobs that many places beyond the next one to be
    // taken, so results wait in memory only a few at a time.
    OrderedWork(qsizetype count, std::function<Job()> makeJob, int threads, qsizetype ahead = 0)
        : m_ahead(ahead), m_results(size_t(count))
    {
        if (threads < 1)
            threads = QThread::idealThreadCount();
        threads = int(std::min<qsizetype>(std::max(threads, 1), count));
        m_threads.reserve(size_t(threads));
        for (int t = 0; t < threads; ++t)
            m_threads.emplace_back([this, makeJob] { work(makeJob()); });
    }

    ~OrderedWork()
    {
        stop();
        for (std::thread &thread : m_threads)
            thread.join();
    }

    OrderedWork(const OrderedWork &) = delete;
    OrderedWork &operator=(const OrderedWork &) = delete;

    // The result of job i once it is done; each taken once.
    Result take(qsizetype i)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        std::optional<Result> &slot = m_results[size_t(i)];
        m_done.wait(lock, [&slot] { return slot.has_value(); });
        Result result = std::move(*slot);
        slot.reset();
        m_taken = i + 1;
        lock.unlock();
        m_room.notify_all();
        return result;
    }

    // Whether job i is done, waiting at most ms for it: a caller that must
    // answer a Stop meanwhile waits in steps.
    bool waitFor(qsizetype i, int ms)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const std::optional<Result> &slot = m_results[size_t(i)];
        return m_done.wait_for(lock, std::chrono::milliseconds(ms), [&slot] { return slot.has_value(); });
    }

    // Waits for job i, asking keepGoing() every few milliseconds meanwhile,
    // so that a Stop is answered while a long job runs; false when it said
    // no.
    template <typename KeepGoing>
    bool await(qsizetype i, const KeepGoing &keepGoing)
    {
        constexpr int checkMs = 20;
        while (!waitFor(i, checkMs)) {
            if (!keepGoing())
                return false;
        }
        return true;
    }

    // Jobs not begun are skipped.
    void stop()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopped = true;
        }
        m_room.notify_all();
    }

private:
    // Jobs are handed out in order, so the one the caller waits for is
    // always being done or done already.
    void work(const Job &job)
    {
        for (;;) {
            const qsizetype i = m_next++;
            if (size_t(i) >= m_results.size())
                return;
            if (m_ahead > 0) {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_room.wait(lock, [this, i] { return m_stopped || i < m_taken + m_ahead; });
            }
            Result result = m_stopped ? Result() : job(i, m_stopped);
            {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_results[size_t(i)] = std::move(result);
            }
            m_done.notify_all();
        }
    }

    const qsizetype m_ahead;
    std::atomic<qsizetype> m_next{0};
    std::atomic<bool> m_stopped{false};
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::condition_variable m_room;
    qsizetype m_taken = 0;                        // guarded by m_mutex
    std::vector<std::optional<Result>> m_results; // guarded by m_mutex
    std::vector<std::thread> m_threads;
};
