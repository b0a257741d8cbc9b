#pragma once

#include <QString>
#include <QStringList>

// Small helpers shared by the test programs.
namespace TestSupport {

// Writes bytes to path, creating folders; fails the caller's test on error.
bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// Lines written with CR LF endings.
bool writeLines(const QString &path, const QStringList &lines);

} // namespace TestSupport
