#pragma once

#include <QString>
#include <QStringList>

class SortedLineList;

// Whole-file reading and writing of line files (catalogs, the tree file,
// the information and comment lists, exports).
namespace TextFile {

// Decodes file bytes: UTF-8 when valid, Windows-1252 otherwise (files of the
// Windows version). A NUL ends the text.
QString decode(const QByteArray &bytes);

// Splits text at CR LF, lone CR and lone LF. A final line break does not
// start another line.
QStringList splitLines(QStringView text);

// Reads a whole file as decoded text; false (and error) when it cannot be
// opened.
bool readText(const QString &path, QString &text, QString *error = nullptr);

// Reads a file as lines. Returns false (and sets error) when it cannot be
// opened or read; a missing file is such a failure.
bool readLines(const QString &path, QStringList &lines, QString *error = nullptr);
// The same lines into a compact list, read as a stream: the file's bytes
// are never all held twice.
bool readLines(const QString &path, SortedLineList &lines, QString *error = nullptr);

// Writes lines as UTF-8, each ended by CR LF, through a temporary file that
// replaces the old one only when everything was written.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
// The same file from a compact list, its bytes streamed without a UTF-16
// copy of the lines.
bool writeLineList(const QString &path, const SortedLineList &lines, QString *error = nullptr);
// Replaces a file's bytes the same way: the old file stays whole unless
// every byte was written.
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace TextFile
