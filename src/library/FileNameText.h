#pragma once

#include <QByteArray>
#include <QString>

// File names are bytes; catalogs hold text. A name is read as UTF-8 where
// its bytes are valid UTF-8, and every byte that is not is read as its
// Windows-1252 character, so names that differ in such bytes stay
// different and old media show their accents.
namespace FileNameText {

QString fromNative(const char *bytes, qsizetype size);
QString fromNative(const QByteArray &bytes);

// The bytes of the existing file or directory whose text is path (an
// absolute path as fromNative spells it, optionally ending in "/"). Each
// part is tried as UTF-8, then as Windows-1252, then looked up among its
// directory's entries. A path that leads to nothing gives its UTF-8 form.
QByteArray toNative(const QString &path);

} // namespace FileNameText
