#pragma once

#include <QByteArray>
#include <QSet>

// The mount points of this process's view of the file systems, as bytes.
// A bind mount shares the device number of what it binds, so only the mount
// table tells that a directory is the top of another mount.
class MountTable
{
public:
    // Reads /proc/self/mountinfo; empty when it cannot be read.
    static MountTable current();
    // Parses mountinfo text (field 5 is the mount point, with blanks and
    // other special bytes written as backslash and three octal digits).
    static MountTable parse(const QByteArray &mountinfo);

    // path: absolute, without symbolic links, no trailing "/".
    bool isMountPoint(const QByteArray &path) const { return m_points.contains(path); }
    bool isEmpty() const { return m_points.isEmpty(); }

private:
    QSet<QByteArray> m_points;
};
