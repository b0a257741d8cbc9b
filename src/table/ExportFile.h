#pragma once

#include "ByteSink.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Names and writing of exported files.
namespace ExportFile {

inline const QString kTextExtension = QStringLiteral(".txt");
inline const QString kHtmlExtension = QStringLiteral(".htm");

// The name with the extension appended, unless it already ends in it in any
// letter case: "list" and "list.txt" both give "list.txt", "LIST.TXT" stays.
QString withExtension(const QString &name, const QString &extension);

// Hands a sink to a writer, which returns false when the sink refused.
using Producer = std::function<bool(const ByteSink &sink)>;

// Replaces the file through a temporary one, so a failed write (a full
// disk, a folder in the way, no permission) leaves any old file whole. The
// producer's pieces go straight to the temporary file. False on failure,
// with a message naming the file and the reason.
bool write(const QString &path, const Producer &produce, QString *error = nullptr);
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace ExportFile
