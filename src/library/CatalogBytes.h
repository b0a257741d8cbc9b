#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Edits a catalog file's bytes line by line. Lines that are not rebuilt keep
// their bytes, and so do the line ends, a byte-order mark and whatever
// follows a NUL. Rebuilt lines keep the file's code page (Windows-1252 for
// files of the Windows version) when it holds their characters; otherwise
// the whole text becomes UTF-8, as every file the program writes.
namespace CatalogBytes {

// The new text of a line, or a null text to keep it as it is.
using Rebuild = std::function<QString(const QString &line)>;

// Offers rebuild the lines of in whose bytes hold needle (every line when
// needle is empty: grep too looks closer only at lines holding its
// pattern) and returns how many it rebuilt; out then holds the whole new
// file. out keeps its room from call to call.
qsizetype editLines(const QByteArray &in, const QString &needle, const Rebuild &rebuild, QByteArray &out);

} // namespace CatalogBytes
