#include "CatalogLibrary.h"

#include "LibraryLock.h"
#include "LibraryState.h"
#include "LibraryTransaction.h"
#include "SortedLineList.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

CatalogLibrary::CatalogLibrary(const QString &root) : m_root(root)
{
    while (m_root.size() > 1 && m_root.endsWith(u'/'))
        m_root.chop(1);
}

QString CatalogLibrary::locate(const QString &programDir)
{
    const QFileInfo dir(programDir);
    const bool portable = dir.isDir() && dir.isWritable() &&
                          (QFileInfo::exists(programDir + QLatin1String("/Kestrovane.INI")) ||
                           QFileInfo(programDir + QLatin1String("/Catalogs")).isDir());
    if (portable)
        return QDir::cleanPath(programDir);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

QString CatalogLibrary::catalogFilePath(const QString &name) const
{
    const QString wanted = name + QLatin1String(".TXT");
    const QString exact = catalogsDir() + u'/' + wanted;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(catalogsDir()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return catalogsDir() + u'/' + entry;
    }
    return exact;
}

bool CatalogLibrary::catalogFileExists(const QString &name) const
{
    return QFileInfo(catalogFilePath(name)).isFile();
}

bool CatalogLibrary::loadCatalog(const QString &name, SortedLineList &lines, QString *error) const
{
    SortedLineList read;
    if (!TextFile::readLines(catalogFilePath(name), read, error))
        return false;
    if (lines.isEmpty()) {
        lines = std::move(read);
        return true;
    }
    for (qsizetype i = 0; i < read.count(); ++i)
        lines.addUtf8(read.utf8At(i));
    return true;
}

bool CatalogLibrary::writeCatalog(const QString &name, const QStringList &lines, QString *error) const
{
    return TextFile::writeLines(catalogFilePath(name), lines, error);
}

bool CatalogLibrary::writeCatalogLines(const QString &name, const SortedLineList &lines, QString *error) const
{
    return TextFile::writeLineList(catalogFilePath(name), lines, error);
}

QStringList CatalogLibrary::catalogFileNames() const
{
    QStringList names;
    const QStringList entries = QDir(catalogsDir()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.size() > 4 && entry.endsWith(QLatin1String(".TXT"), Qt::CaseInsensitive))
            names << entry.left(entry.size() - 4);
    }
    return names;
}

bool CatalogLibrary::readListFile(const QString &path, QStringList &lines, LibraryState &state) const
{
    QString error;
    if (TextFile::readLines(path, lines, &error))
        return true;
    // A file that is there but cannot be read is not a missing one: taking
    // it for empty would replace the user's data at the next write.
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
        state.unreadableFiles << path;
        state.readErrors << error;
    }
    return false;
}

bool CatalogLibrary::startUp(LibraryState &state, QString *error, Access access) const
{
    const auto failed = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (access == Access::Reader) {
        const LibraryLock lock(m_root, LibraryLock::Kind::Shared);
        if (!lock.isLocked())
            return failed(lock.error());
        state = LibraryState();
        loadLists(state);
        return true;
    }
    if (!QDir().mkpath(catalogsDir()))
        return failed(QStringLiteral("Unable to create directory %1").arg(catalogsDir()));
    const LibraryLock lock(m_root);
    if (!lock.isLocked())
        return failed(lock.error());
    if (!LibraryTransaction::recover(*this, error))
        return false;
    state = LibraryState();
    loadLists(state);
    if (QFileInfo::exists(treePath()) || !state.unreadableFiles.isEmpty())
        return true;
    // A new library: the first tree and the two empty lists beside it.
    LibraryTransaction transaction(*this, state);
    transaction.createMissingLists();
    return transaction.commit(error);
}

void CatalogLibrary::loadLists(LibraryState &state) const
{
    const auto readable = [&state](const QString &path) { return !state.unreadableFiles.contains(path); };
    if (readable(treePath())) {
        state.tree.clear();
        state.storedTree.clear();
        if (QStringList lines; readListFile(treePath(), lines, state)) {
            state.tree.loadLines(lines);
            state.storedTree = state.tree.saveLines();
        } else if (readable(treePath())) {
            state.tree.addCategory(QStringLiteral("Sample Category"));
        }
    }
    if (readable(infoListPath())) {
        QStringList info;
        readListFile(infoListPath(), info, state);
        state.catalogInfo.setLines(info);
        state.storedInfo = state.catalogInfo.lines();
    }
    if (readable(commentsPath())) {
        QStringList comments;
        readListFile(commentsPath(), comments, state);
        state.treeComments.setLines(comments);
        state.storedComments = state.treeComments.lines();
    }
    if (readable(volumesPath())) {
        QStringList volumes;
        readListFile(volumesPath(), volumes, state);
        state.volumes.setLines(volumes);
        state.storedVolumes = state.volumes.lines();
    }
    state.listStamp = listStamp();
}

QByteArray CatalogLibrary::listStamp() const
{
    QByteArray stamp;
    for (const QString &path : {treePath(), infoListPath(), commentsPath(), volumesPath()}) {
        struct stat info;
        if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
            stamp += "-;";
            continue;
        }
        stamp += QByteArray::number(qulonglong(info.st_dev)) + ':' +
                 QByteArray::number(qulonglong(info.st_ino)) + ':' +
                 QByteArray::number(qlonglong(info.st_size)) + ':' +
                 QByteArray::number(qlonglong(info.st_mtim.tv_sec)) + '.' +
                 QByteArray::number(qlonglong(info.st_mtim.tv_nsec)) + ':' +
                 QByteArray::number(qlonglong(info.st_ctim.tv_sec)) + '.' +
                 QByteArray::number(qlonglong(info.st_ctim.tv_nsec)) + ';';
    }
    return stamp;
}

bool CatalogLibrary::refreshLists(LibraryState &state) const
{
    // A state that never read the library (one a caller built) is the
    // picture to store as it is.
    if (state.listStamp.isEmpty() || listStamp() == state.listStamp)
        return false;
    loadLists(state);
    ++state.listReloads;
    return true;
}

void CatalogLibrary::noteStoredLists(LibraryState &state) const
{
    state.storedTree = state.tree.saveLines();
    state.storedInfo = state.catalogInfo.lines();
    state.storedComments = state.treeComments.lines();
    state.storedVolumes = state.volumes.lines();
    state.listStamp = listStamp();
}

QString CatalogLibrary::unreadableMessage(const LibraryState &state)
{
    if (state.readErrors.isEmpty())
        return QString();
    return QStringLiteral("These library files exist but cannot be read:\n") + state.readErrors.join(u'\n') +
           QStringLiteral("\nThey will not be changed until the program starts again.");
}

QString CatalogLibrary::unloadedLinesMessage(const LibraryState &state)
{
    const qsizetype count = state.tree.unloadedLines().size();
    if (count == 0)
        return QString();
    return QStringLiteral("%1 Line(s) Of Master.TXT Could Not Be Read And Are Kept Unchanged").arg(count);
}

bool CatalogLibrary::shutDown(LibraryState &state, QString *error) const
{
    // Every change is stored as it is made; only what a caller changed in
    // state directly is left, and nothing at all in the usual case.
    const bool changed =
        state.tree.saveLines() != state.storedTree || state.catalogInfo.lines() != state.storedInfo ||
        state.treeComments.lines() != state.storedComments || state.volumes.lines() != state.storedVolumes;
    if (!changed)
        return true;
    LibraryTransaction transaction(*this, state);
    return transaction.commit(error);
}
