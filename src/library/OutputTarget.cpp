#include "OutputTarget.h"

#include "CatalogLibrary.h"

#include <QDir>
#include <QFileInfo>

namespace {

// As the kernel gives up on a longer chain of links.
constexpr int kMaxLinkHops = 40;

QString realFolder(const QString &folder)
{
    const QString real = QFileInfo(folder).canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : real;
}

// The folder itself is no file; writing to it fails on its own.
bool isInside(const QString &path, const QString &folder)
{
    return path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

// The library's own names in its root, temporary files included: what its
// writers create there is always one of these followed by a suffix.
bool isRootFileName(const QString &name)
{
    for (const QLatin1String own : {QLatin1String("Master.TXT"), QLatin1String("Comments.TXT")}) {
        if (name == own || name.startsWith(own + u'.'))
            return true;
    }
    return name.startsWith(QLatin1String("Kestrovane."));
}

} // namespace

QString OutputTarget::landingPath(const QString &path)
{
    QFileInfo info(QFileInfo(path).absoluteFilePath());
    for (int hop = 0; info.isSymLink() && hop < kMaxLinkHops; ++hop)
        info.setFile(info.symLinkTarget());
    return QDir(realFolder(info.absolutePath())).filePath(info.fileName());
}

bool OutputTarget::isLibraryFile(const CatalogLibrary &library, const QString &target)
{
    const QString landing = landingPath(target);
    if (isInside(landing, realFolder(library.catalogsDir())))
        return true;
    const QFileInfo landed(landing);
    if (landed.path() == realFolder(library.root()) && isRootFileName(landed.fileName()))
        return true;
    // The library's files may themselves be links to files elsewhere.
    const QFileInfoList catalogs =
        QDir(library.catalogsDir()).entryInfoList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QFileInfo &file : catalogs) {
        if (file.isSymLink() && landingPath(file.filePath()) == landing)
            return true;
    }
    for (const QString &own : {library.settingsPath(), library.treePath(), library.commentsPath()}) {
        if (landingPath(own) == landing)
            return true;
    }
    return false;
}

QString OutputTarget::refusal(const CatalogLibrary &library, const QString &target)
{
    if (!isLibraryFile(library, target))
        return QString();
    return QStringLiteral("%1 is a file of the catalog library and cannot be overwritten").arg(target);
}
