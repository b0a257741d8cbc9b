#include "MountWatcher.h"

#include <QSocketNotifier>

MountWatcher::MountWatcher(QObject *parent) : MountWatcher(QStringLiteral("/proc/self/mountinfo"), parent)
{}

MountWatcher::MountWatcher(const QString &mountinfoPath, QObject *parent)
    : QObject(parent), m_file(mountinfoPath)
{
    // Unbuffered: each reading must come from the kernel, not from a buffer
    // filled before the change.
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return;
    m_text = m_file.readAll();
    m_notifier = new QSocketNotifier(m_file.handle(), QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MountWatcher::reread);
}

void MountWatcher::reread()
{
    // The seq file is generated afresh from offset 0; polling it cleared the
    // mark, so a change made while we read signals again.
    if (!m_file.isOpen() || !m_file.seek(0))
        return;
    const QByteArray text = m_file.readAll();
    if (text == m_text)
        return;
    m_text = text;
    emit mountsChanged();
}
