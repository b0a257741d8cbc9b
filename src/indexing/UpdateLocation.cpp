#include "UpdateLocation.h"

#include "library/VolumeProbe.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString withoutTrailingSlash(const QString &path)
{
    return path.size() > 1 ? QDir::cleanPath(path) : path;
}

} // namespace

UpdateLocation UpdateLocation::find(const QString &storedPath, const std::optional<VolumeIdentity> &medium,
                                    const VolumeProbe &probe)
{
    if (!medium || !medium->hasUuid())
        return {Kind::Stored, storedPath};
    const QStringList places = probe.mountPointsOf(*medium);
    const QString stored = withoutTrailingSlash(storedPath);
    if (places.contains(stored) || places.contains(QFileInfo(stored).canonicalFilePath()))
        return {Kind::Mounted, storedPath};
    if (!places.isEmpty())
        return {Kind::Moved, places.first()};
    // Not mounted, or not readable here. Only a stored path that is known to
    // hold another file system is refused; the rest goes on as before.
    const VolumeIdentity there = QFileInfo::exists(stored) ? probe.identify(stored) : VolumeIdentity();
    if (there.hasUuid() && there.uuid.compare(medium->uuid, Qt::CaseInsensitive) != 0)
        return {Kind::OtherMedium, storedPath};
    return {Kind::Stored, storedPath};
}

QString UpdateLocation::movedNote(const QString &catalogName, const QString &path)
{
    return QStringLiteral("%1 Is Mounted At %2").arg(catalogName, path);
}

QString UpdateLocation::otherMediumMessage(const QString &catalogName, const VolumeIdentity &medium,
                                           const QString &path)
{
    const QString name =
        medium.label.isEmpty() ? medium.uuid : medium.label + QStringLiteral(" (") + medium.uuid + u')';
    return QStringLiteral("The medium of catalog %1, %2, is not mounted: %3 is on another medium.\n"
                          "The catalog was not changed.")
        .arg(catalogName, name, QDir::toNativeSeparators(path));
}
