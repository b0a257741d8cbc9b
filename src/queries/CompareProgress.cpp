#include "CompareProgress.h"

#include "indexing/RunControl.h"

#include <QString>

CompareProgress::CompareProgress(RunControl &control, qsizetype total, qsizetype compared, qsizetype batch)
    : m_control(control), m_total(total), m_steps(qMax<qsizetype>(0, total - 1)),
      m_walked(qMax<qsizetype>(0, compared - 1)), m_batch(batch)
{}

bool CompareProgress::reportNext()
{
    m_control.status(QStringLiteral("Comparing %1 Files Out Of %2").arg(m_next + 1).arg(m_total));
    m_next += m_batch;
    return m_control.keepGoing();
}

bool CompareProgress::reach(qsizetype i)
{
    // Step s is due at walked comparison i once s / m_steps <= i / m_walked;
    // when nothing was left out that is simply s <= i.
    while (m_next < m_steps && m_next * m_walked <= i * m_steps) {
        if (!reportNext())
            return false;
    }
    return true;
}

bool CompareProgress::finish()
{
    while (m_next < m_steps) {
        if (!reportNext())
            return false;
    }
    return true;
}
