#include "CatalogLibrary.h"

#include "LibraryState.h"
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
    QStringList raw;
    if (!TextFile::readLines(catalogFilePath(name), raw, error))
        return false;
    lines.addAll(raw);
    return true;
}

bool CatalogLibrary::writeCatalog(const QString &name, const QStringList &lines, QString *error) const
{
    return TextFile::writeLines(catalogFilePath(name), lines, error);
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

bool CatalogLibrary::startUp(LibraryState &state, QString *error) const
{
    if (!QDir().mkpath(catalogsDir())) {
        if (error)
            *error = QStringLiteral("Unable to create directory %1").arg(catalogsDir());
        return false;
    }
    state = LibraryState();
    QStringList lines;
    if (TextFile::readLines(treePath(), lines))
        state.tree.loadLines(lines);
    else
        state.tree.addCategory(QStringLiteral("Sample Category"));
    if (QStringList info; TextFile::readLines(infoListPath(), info))
        state.catalogInfo.setLines(info);
    if (QStringList comments; TextFile::readLines(commentsPath(), comments))
        state.treeComments.setLines(comments);
    return true;
}

bool CatalogLibrary::shutDown(const LibraryState &state, QString *error) const
{
    bool ok = true;
    if (!state.tree.isEmpty())
        ok = TextFile::writeLines(treePath(), state.tree.saveLines(), error) && ok;
    ok = TextFile::writeLines(infoListPath(), state.catalogInfo.lines(), error) && ok;
    ok = TextFile::writeLines(commentsPath(), state.treeComments.lines(), error) && ok;
    return ok;
}
