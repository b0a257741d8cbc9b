#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Small helpers shared by the test programs.
namespace TestSupport {

// Writes bytes to path, creating folders; fails the caller's test on error.
bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// Lines written with CR LF endings.
bool writeLines(const QString &path, const QStringList &lines);

// Every file of a library (its root and Catalogs) with its bytes.
QMap<QString, QByteArray> librarySnapshot(const QString &root);

// Ways a file can exist and yet not be read: "owner-only file" (mode 200,
// which root reads too unless readOverride(false)), "folder" and "link to
// itself". makeUnreadable turns the file at path (written before) into one.
QStringList unreadableKinds();
bool makeUnreadable(const QString &path, const QString &kind);
// A file's kind, permissions, modification time and bytes, to show that
// nothing touched it.
QByteArray fileState(const QString &path);
// Gives or takes root's power to read any file, for the calling thread
// (its effective capabilities); true for other users, who never have it.
bool readOverride(bool on);
// The command prefix that runs a program without that power (setpriv);
// empty for other users.
QStringList withoutReadOverride();

// Mounts a tmpfs of the given size on dir (the tests run as root where they
// may). False, with the reason, when mounting is not possible here.
bool mountTmpfs(const QString &dir, int kilobytes, QString *reason);
void unmount(const QString &dir);
// Fills the file system holding dir until a write fails.
void fillDisk(const QString &dir);

} // namespace TestSupport
