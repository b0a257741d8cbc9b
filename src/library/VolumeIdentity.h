#pragma once

#include <QString>

// Who a medium is, however it is mounted: its file system's UUID, label and
// type, and the place of a scanned folder on it.
struct VolumeIdentity {
    QString uuid;
    QString label;
    QString type;
    // The scanned folder relative to the file system's top, "/" between
    // names, "" for the top itself.
    QString subPath;

    bool hasUuid() const { return !uuid.isEmpty(); }
    // Whether path, a sub-path of the same medium, lies in subPath or below.
    bool holds(const QString &path) const
    {
        return subPath.isEmpty() || path == subPath ||
               (path.startsWith(subPath) && path.at(subPath.size()) == u'/');
    }
};
