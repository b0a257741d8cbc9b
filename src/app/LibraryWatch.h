#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// Notices changes another program makes to the library. Every file of the
// library is replaced by a rename, so watching the two folders sees each
// change; a burst of them (one commit renames several files) is told once.
class LibraryWatch : public QObject
{
    Q_OBJECT
public:
    explicit LibraryWatch(const QString &root, QObject *parent = nullptr);

signals:
    void changed();

private:
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};
