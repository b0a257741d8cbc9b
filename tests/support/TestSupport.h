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

// Mounts a tmpfs of the given size on dir (the tests run as root where they
// may). False, with the reason, when mounting is not possible here.
bool mountTmpfs(const QString &dir, int kilobytes, QString *reason);
void unmount(const QString &dir);
// Fills the file system holding dir until a write fails.
void fillDisk(const QString &dir);

} // namespace TestSupport
