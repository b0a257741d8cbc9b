#include "AppRunControl.h"

#include <QCoreApplication>

AppRunControl::AppRunControl(const bool &running, TextSink status, TextSink progress)
    : m_running(running), m_status(std::move(status)), m_progress(std::move(progress))
{}

AppRunControl::AppRunControl(TextSink status, TextSink progress, const bool &running, int intervalMs)
    : m_running(running), m_status(std::move(status)), m_progress(std::move(progress)),
      m_intervalMs(intervalMs)
{}

void AppRunControl::status(const QString &text)
{
    if (m_status)
        m_status(text);
}

void AppRunControl::progress(const QString &text)
{
    // A run reports every file; only the latest text is shown, when the
    // window gets to paint.
    m_pendingProgress = text;
}

bool AppRunControl::keepGoing()
{
    // The first call always yields, so a Stop pressed just before the run
    // is seen at its first check.
    if (!m_sinceYield.isValid() || m_sinceYield.elapsed() >= m_intervalMs) {
        if (m_progress && !m_pendingProgress.isNull())
            m_progress(m_pendingProgress);
        m_pendingProgress = QString();
        QCoreApplication::processEvents();
        m_sinceYield.start();
    }
    return m_running;
}
