#pragma once

#include "MountTable.h"
#include "VolumeProbe.h"
#include "VolumeStore.h"

#include <QList>
#include <QString>

// Which catalogs a medium brings when it is mounted, and which catalog a
// medium already has: the rules between the mount table, the media's
// identities and the catalogs' recorded media.
class MountedCatalogs
{
public:
    // A catalog and the folder it was made from, as it can be reached now.
    struct Place {
        QString catalog;
        QString path;
        bool operator==(const Place &other) const { return catalog == other.catalog && path == other.path; }
    };

    // The catalogs that mounts of after show and mounts of before did not,
    // by the order of the new mounts, then of the stored lines. probe reads
    // after's mounts.
    static QList<Place> broughtBy(const MountTable &before, const MountTable &after, const VolumeProbe &probe,
                                  const VolumeStore &volumes);
    // The folders where a mount of after, and of no mount of before, shows
    // the folder catalog was made from.
    static QStringList newPlacesOf(const QString &catalog, const MountTable &before, const MountTable &after,
                                   const VolumeProbe &probe, const VolumeStore &volumes);
    // The catalog made from the nearest folder at or above the medium
    // identity's sub-path, the first of them on a tie; empty when the
    // medium has none (or no UUID).
    static QString catalogOf(const VolumeIdentity &medium, const VolumeStore &volumes);
    // "<catalog> Is Mounted At <path>", for each place.
    static QString caption(const QList<Place> &places);
};
