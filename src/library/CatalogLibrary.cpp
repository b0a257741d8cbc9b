#include "CatalogLibrary.h"

#include "LibraryState.h"
#include "LibraryTransaction.h"
#include "SortedLineList.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

CatalogLibrary::CatalogLibrary(const QString &root) : m_root(root)
{
    while (m_root.size() > 1 && m_root.endsWith(u'/'))
        m_root.chop(1);
}

QString CatalogLibrary::locate(const QString &programDir)
{
    const QFileInfo dir(programDir);
    const bool portable = dir.isDir() && dir.isWritable()
        && (QFileInfo::exists(programDir + QLatin1String("/Kestrovane.INI"))
            || QFileInfo(programDir + QLatin1String("/Catalogs")).isDir());
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

bool CatalogLibrary::startUp(LibraryState &state, QString *error) const
{
    if (!QDir().mkpath(catalogsDir())) {
        if (error)
            *error = QStringLiteral("Unable to create directory %1").arg(catalogsDir());
        return false;
    }
    if (!LibraryTransaction::recover(*this, error))
        return false;
    state = LibraryState();
    QStringList lines;
    if (readListFile(treePath(), lines, state))
        state.tree.loadLines(lines);
    else if (state.unreadableFiles.isEmpty())
        state.tree.addCategory(QStringLiteral("Sample Category"));
    if (QStringList info; readListFile(infoListPath(), info, state))
        state.catalogInfo.setLines(info);
    if (QStringList comments; readListFile(commentsPath(), comments, state))
        state.treeComments.setLines(comments);
    return true;
}

QString CatalogLibrary::unreadableMessage(const LibraryState &state)
{
    if (state.readErrors.isEmpty())
        return QString();
    return QStringLiteral("These library files exist but cannot be read:\n") + state.readErrors.join(u'\n')
        + QStringLiteral("\nThey will not be changed until the program starts again.");
}

QString CatalogLibrary::unloadedLinesMessage(const LibraryState &state)
{
    const qsizetype count = state.tree.unloadedLines().size();
    if (count == 0)
        return QString();
    return QStringLiteral("%1 Line(s) Of Master.TXT Could Not Be Read And Are Kept Unchanged").arg(count);
}

bool CatalogLibrary::shutDown(const LibraryState &state, QString *error) const
{
    // Every file is tried, and every failure is named.
    QStringList failures;
    const auto write = [&](const QString &path, const QStringList &lines) {
        if (state.unreadableFiles.contains(path))
            return;
        QString reason;
        if (!TextFile::writeLines(path, lines, &reason))
            failures << reason;
    };
    if (!state.tree.isEmpty())
        write(treePath(), state.tree.saveLines());
    write(infoListPath(), state.catalogInfo.lines());
    write(commentsPath(), state.treeComments.lines());
    if (error && !failures.isEmpty())
        *error = failures.join(u'\n');
    return failures.isEmpty();
}
