#include "LastFolder.h"

#include "SettingsFile.h"

#include <QDir>
#include <QFileInfo>

const QString LastFolder::Key = QStringLiteral("LastFolder");

namespace {

const QString kGlobal = QStringLiteral("Global");

// Relative paths would resolve against the folder the program started in.
bool isFolder(const QString &path)
{
    return QDir::isAbsolutePath(path) && QFileInfo(path).isDir();
}

} // namespace

QString LastFolder::start(const SettingsFile &settings, const QString &preferred)
{
    if (isFolder(preferred))
        return preferred;
    const QString last = settings.readString(kGlobal, Key);
    return isFolder(last) ? last : QDir::homePath();
}

void LastFolder::remember(SettingsFile &settings, const QString &path)
{
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    settings.writeString(kGlobal, Key, info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}
