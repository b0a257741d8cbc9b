#pragma once

#include "indexing/RunControl.h"

#include <QStringList>

// Records the status texts of a run and stops it at the given keepGoing call
// (counting from 1; 0 never stops).
class RecordingControl : public RunControl
{
public:
    explicit RecordingControl(int stopAtCall = 0) : m_stopAt(stopAtCall) {}

    void status(const QString &text) override { statuses << text; }
    bool keepGoing() override
    {
        ++calls;
        return m_stopAt == 0 || calls < m_stopAt;
    }

    QStringList statuses;
    int calls = 0;

private:
    int m_stopAt;
};
