#pragma once

#include <QString>

// What a long loop (scan, update, search, duplicates) is handed: where to
// report progress, and the yield-and-test of its running flag. The program
// yields to the event loop and tests its flag; the command-line tool prints
// and never stops.
class RunControl
{
public:
    virtual ~RunControl() = default;
    // A phase change, count or outcome (the main window's status line).
    virtual void status(const QString &text) { (void)text; }
    // Per-item progress (the running panel's own status bar).
    virtual void progress(const QString &text) { (void)text; }
    // Processes pending events, then tells whether the run may go on.
    virtual bool keepGoing() { return true; }
};
