#pragma once

#include <QtGlobal>

class RunControl;

// The progress reports and stop tests of the duplicate finder's comparison,
// counted over all the lines it gathered even when it compares only some of
// them. Every batch-th step of that full count is reported as "Comparing I
// Files Out Of N" and followed by a stop test, each at the point of the
// shorter walk that lies as far through it; so a run reports the same texts
// and tests its flag as often whether or not lines were left out.
class CompareProgress
{
public:
    // total: the lines gathered; compared: the lines actually walked
    // (compared <= total).
    CompareProgress(RunControl &control, qsizetype total, qsizetype compared, qsizetype batch);

    // Before comparing walked line i with the next: the reports due by then.
    // False when the run is to stop.
    bool reach(qsizetype i);
    // After the walk: the reports still due.
    bool finish();

private:
    bool reportNext();

    RunControl &m_control;
    qsizetype m_total;
    qsizetype m_steps;  // comparisons over all gathered lines
    qsizetype m_walked; // comparisons actually made
    qsizetype m_batch;
    qsizetype m_next = 0; // the next step of m_steps to report
};
