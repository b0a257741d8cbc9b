#pragma once

#include "MountTable.h"
#include "VolumeIdentity.h"

#include <QHash>
#include <QString>
#include <QStringList>

// Reads the identity of the medium that holds a path: the mount holding it,
// that mount's device found among udev's by-uuid and by-label links (by the
// device a link leads to, or by its path when it is the mount's source), and
// where udev gives nothing, the file system's super block through libblkid.
// A device that cannot be read, or a mount without one (network, tmpfs),
// gives no UUID.
class VolumeProbe
{
public:
    explicit VolumeProbe(const MountTable &mounts,
                         const QString &byUuidDir = QStringLiteral("/dev/disk/by-uuid"),
                         const QString &byLabelDir = QStringLiteral("/dev/disk/by-label"));

    // An empty identity when no mount holds the path.
    VolumeIdentity identify(const QString &scannedPath) const;
    // The file system of one mount (subPath stays empty).
    VolumeIdentity identifyMount(const MountTable::Mount &mount) const;
    // The existing folders where identity's subPath can be reached now, one
    // per mount of that medium that shows it, in mount table order; none for
    // an identity without a UUID.
    QStringList mountPointsOf(const VolumeIdentity &identity) const;

    // A name of a udev link, with the \xHH escapes of its bytes decoded.
    static QString decodeUdevName(const QString &name);

private:
    QString linkNameFor(const QString &dir, const MountTable::Mount &mount) const;

    MountTable m_mounts;
    QString m_byUuidDir;
    QString m_byLabelDir;
};
