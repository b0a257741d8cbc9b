#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// The single-byte code page of catalogs written by the Windows version, and
// the fallback for bytes of file names that are not UTF-8.
namespace Windows1252 {

QChar toUnicode(unsigned char byte);
QString decode(const QByteArray &bytes);
// The byte that decodes to c; false when the code page has none.
bool fromUnicode(QChar c, char &byte);

} // namespace Windows1252
