#include "MountedCatalogs.h"

namespace {

// What tells one mount from another across two readings of the table.
QString mountKey(const MountTable::Mount &mount)
{
    return mount.mountPoint + u'\n' + mount.root + u'\n' + mount.source + u'\n' +
           QString::number(mount.major) + u':' + QString::number(mount.minor);
}

QSet<QString> mountKeys(const MountTable &table)
{
    QSet<QString> keys;
    for (const MountTable::Mount &mount : table.mounts())
        keys.insert(mountKey(mount));
    return keys;
}

} // namespace

QList<MountedCatalogs::Place> MountedCatalogs::broughtBy(const MountTable &before, const MountTable &after,
                                                         const VolumeProbe &probe, const VolumeStore &volumes)
{
    const QSet<QString> old = mountKeys(before);
    QStringList newMedia;
    for (const MountTable::Mount &mount : after.mounts()) {
        if (old.contains(mountKey(mount)))
            continue;
        const VolumeIdentity medium = probe.identifyMount(mount);
        if (medium.hasUuid() && !newMedia.contains(medium.uuid, Qt::CaseInsensitive))
            newMedia << medium.uuid;
    }
    QList<Place> brought;
    for (const QString &uuid : newMedia) {
        for (const QString &catalog : volumes.catalogsWithin(uuid, QString())) {
            for (const QString &path : newPlacesOf(catalog, before, after, probe, volumes))
                brought << Place{catalog, path};
        }
    }
    return brought;
}

// A place under a mount that was there before is not news.
QStringList MountedCatalogs::newPlacesOf(const QString &catalog, const MountTable &before,
                                         const MountTable &after, const VolumeProbe &probe,
                                         const VolumeStore &volumes)
{
    QStringList found;
    const std::optional<VolumeIdentity> identity = volumes.identityOf(catalog);
    if (!identity || !identity->hasUuid())
        return found;
    const QSet<QString> old = mountKeys(before);
    for (const QString &place : probe.mountPointsOf(*identity)) {
        const std::optional<MountTable::Mount> holder = after.mountHolding(place);
        if (holder && !old.contains(mountKey(*holder)))
            found << place;
    }
    return found;
}

QString MountedCatalogs::catalogOf(const VolumeIdentity &medium, const VolumeStore &volumes)
{
    QString nearest;
    qsizetype nearestDepth = -1;
    for (const QString &catalog : volumes.catalogsOf(medium.uuid, medium.subPath)) {
        const std::optional<VolumeIdentity> identity = volumes.identityOf(catalog);
        const qsizetype depth = identity ? identity->subPath.size() : 0;
        if (depth > nearestDepth) {
            nearest = catalog;
            nearestDepth = depth;
        }
    }
    return nearest;
}

QString MountedCatalogs::caption(const QList<Place> &places)
{
    QStringList parts;
    for (const Place &place : places)
        parts << place.catalog + QStringLiteral(" Is Mounted At ") + place.path;
    return parts.join(QStringLiteral("; "));
}
