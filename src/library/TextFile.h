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

// Reads a whole file's bytes; false (and error) when it cannot be read.
bool readBytes(const QString &path, QByteArray &bytes, QString *error = nullptr);

// Reads a file as lines. Returns false (and sets error) when it cannot be
// opened or read; a missing file is such a failure.
bool readLines(const QString &path, QStringList &lines, QString *error = nullptr);
// The same lines into a compact list, read as a stream: the file's bytes
// are never all held twice.
bool readLines(const QString &path, SortedLineList &lines, QString *error = nullptr);

// Where a write goes: the file replaced, the file whose permission bits
// (and owner, for root) the new one takes, and the path errors name.
struct Destination {
    QString path;
    QString modelPath;
    QString shownPath;
    // A rewrite of path: through its symbolic links to the file they lead
    // to, keeping that file's mode and owner.
    static Destination replacing(const QString &path);
    // A staged copy at path of target's new content: written at path
    // itself, with the mode and owner of target's final file.
    static Destination staged(const QString &path, const QString &target);
};

// Writes lines as UTF-8, each ended by CR LF, through a temporary file
// that replaces the old one only when everything was written. Every
// writer rewrites path as Destination::replacing does.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
bool writeLines(const Destination &destination, const QStringList &lines, QString *error = nullptr);
// The same file from a compact list, its bytes streamed without a UTF-16
// copy of the lines.
bool writeLineList(const QString &path, const SortedLineList &lines, QString *error = nullptr);
bool writeLineList(const Destination &destination, const SortedLineList &lines, QString *error = nullptr);
// Replaces a file's bytes the same way: the old file stays whole unless
// every byte was written.
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);
bool writeBytes(const Destination &destination, const QByteArray &bytes, QString *error = nullptr);

} // namespace TextFile
