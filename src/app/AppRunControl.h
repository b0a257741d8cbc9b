#pragma once

#include "indexing/RunControl.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>

// The program's side of a long loop on the user-interface thread: status
// texts go to the main window's caption, progress to the running panel's
// status bar, and keepGoing() lets pending events (a click on Stop) run
// before it reads the running flag. Events are processed at most every
// YieldInterval ms, so the yield does not dominate a fast loop; the flag is
// read at every call all the same.
class AppRunControl : public RunControl
{
public:
    static constexpr int YieldInterval = 15;

    using TextSink = std::function<void(const QString &)>;

    AppRunControl(const bool &running, TextSink status, TextSink progress = TextSink());
    // The same with events processed at most every intervalMs (0: at every
    // check, as tests that press Stop at a given point need).
    AppRunControl(TextSink status, TextSink progress, const bool &running, int intervalMs);

    void status(const QString &text) override;
    void progress(const QString &text) override;
    bool keepGoing() override;

private:
    const bool &m_running;
    TextSink m_status;
    TextSink m_progress;
    int m_intervalMs = YieldInterval;
    QElapsedTimer m_sinceYield;
    QString m_pendingProgress;
};
