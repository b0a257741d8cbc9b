#include "LibraryWatch.h"

LibraryWatch::LibraryWatch(const QString &root, QObject *parent) : QObject(parent)
{
    m_watcher.addPaths({root, root + QStringLiteral("/Catalogs")});
    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_settle, &QTimer::timeout, this, &LibraryWatch::changed);
}
