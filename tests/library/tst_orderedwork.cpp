#include "library/OrderedWork.h"

#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

class TestOrderedWork : public QObject
{
    Q_OBJECT
private slots:
    void awaitAnswersStopWhileJobRuns();
};

// A caller waiting for a long job hears a Stop before the job ends: the
// job here ends only once the caller was asked whether to go on, or after
// a long time, when the wait would have ignored the question.
void TestOrderedWork::awaitAnswersStopWhileJobRuns()
{
    std::atomic<bool> asked{false};
    OrderedWork<bool> work(
        1,
        [&]() -> OrderedWork<bool>::Job {
            return [&asked](qsizetype, const std::atomic<bool> &) {
                for (int ms = 0; ms < 5000 && !asked; ms += 10)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                return true;
            };
        },
        1);
    const bool done = work.await(0, [&asked] {
        asked = true;
        return false;
    });
    QVERIFY(!done);
    QVERIFY(asked);
}

QTEST_GUILESS_MAIN(TestOrderedWork)
#include "tst_orderedwork.moc"
