#pragma once

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>

class QSocketNotifier;

// Follows the mount table of this process. The kernel marks
// /proc/self/mountinfo with POLLPRI (and POLLERR) whenever a file system is
// mounted or unmounted in our namespace, so an exception notifier on the
// open file wakes us without polling on a timer.
class MountWatcher : public QObject
{
    Q_OBJECT
public:
    explicit MountWatcher(QObject *parent = nullptr);
    // Any mountinfo file, for tests; normally the process's own.
    MountWatcher(const QString &mountinfoPath, QObject *parent);

    // False when the table cannot be opened: nothing will ever be signalled.
    bool isWatching() const { return m_notifier != nullptr; }
    // The table as last read.
    const QByteArray &text() const { return m_text; }
    // Reads the table again; signals when it differs from the last reading.
    void reread();

signals:
    void mountsChanged();

private:
    QFile m_file;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_text;
};
