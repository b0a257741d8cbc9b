#pragma once

#include "library/VolumeIdentity.h"

#include <QString>
#include <optional>

class VolumeProbe;

// Where an update scans a catalog: the folder it was made from, looked up on
// its recorded medium wherever that medium is mounted now. A path the user
// gives instead is taken as it is and never comes here.
struct UpdateLocation {
    enum class Kind {
        Stored,      // the stored path, the medium unknown or not to be told
        Mounted,     // the stored path, and the medium is there
        Moved,       // the medium is mounted elsewhere: path is where
        OtherMedium, // the stored path holds another medium: scanning it would drop the catalog
    };

    Kind kind = Kind::Stored;
    QString path;

    static UpdateLocation find(const QString &storedPath, const std::optional<VolumeIdentity> &medium,
                               const VolumeProbe &probe);

    // The medium is mounted now, so there is no disk to ask for.
    bool mediumFound() const { return kind == Kind::Mounted || kind == Kind::Moved; }
    static QString movedNote(const QString &catalogName, const QString &path);
    static QString otherMediumMessage(const QString &catalogName, const VolumeIdentity &medium,
                                      const QString &path);
};
