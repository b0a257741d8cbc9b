#pragma once

#include "indexing/RunControl.h"
#include "library/LibraryState.h"

#include <QStringList>

// Records what a run reports and clears the state's running flag after a
// given number of keepGoing() tests, as the Stop button would.
class ScanTestControl : public RunControl
{
public:
    explicit ScanTestControl(LibraryState &state, qint64 stopAfter = -1)
        : m_state(state), m_stopAfter(stopAfter)
    {}

    void status(const QString &text) override { statuses << text; }
    void progress(const QString &) override { ++progressCount; }
    bool keepGoing() override
    {
        if (m_stopAfter >= 0 && ++m_tests > m_stopAfter)
            m_state.keepGoing = false;
        return m_state.keepGoing;
    }

    QStringList statuses;
    qint64 progressCount = 0;

private:
    LibraryState &m_state;
    qint64 m_stopAfter;
    qint64 m_tests = 0;
};
