#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// This process's view of the mounted file systems, from /proc/self/mountinfo.
// A bind mount shares the device number of what it binds, so only the mount
// table tells that a directory is the top of another mount, and which part
// of a file system a mount shows.
class MountTable
{
public:
    struct Mount {
        QString mountPoint; // where it is mounted, without a trailing "/"
        QString root;       // the folder of the file system it shows ("/" unless bound)
        QString type;       // the file system type, "ext4", "vfat", ...
        QString source;     // the mounted device or its stand-in ("/dev/sdb1", "tmpfs")
        quint32 major = 0;
        quint32 minor = 0;
    };

    // Reads /proc/self/mountinfo; empty when it cannot be read.
    static MountTable current();
    // Parses mountinfo text. Paths have blanks and other special bytes
    // written as a backslash and three octal digits; lines that do not have
    // the fields of a mount are skipped.
    static MountTable fromText(const QByteArray &mountinfo);

    // The mount that holds absolutePath (clean, without symbolic links): the
    // one with the longest mount point that is the path or a folder above
    // it; of mounts stacked on one point, the last, which hides the others.
    std::optional<Mount> mountHolding(const QString &absolutePath) const;
    QList<Mount> mounts() const { return m_mounts; }

    // path: absolute, without symbolic links, no trailing "/", as bytes.
    bool isMountPoint(const QByteArray &path) const { return m_points.contains(path); }
    bool isEmpty() const { return m_mounts.isEmpty(); }

private:
    QList<Mount> m_mounts;
    QSet<QByteArray> m_points;
};
