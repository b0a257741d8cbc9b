#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

class CatalogLibrary;
class LineFields;

// Reading catalog files for the search and the duplicate finder, and the
// result line they both produce: the catalog line followed by the quoted
// catalog name as a sixth field.
namespace CatalogLines {

// The whole text of a catalog's file, found without regard to the case of
// its name; false when there is none. A file that exists but cannot be read
// is also named in unreadable.
bool readText(const CatalogLibrary &library, const QString &catalog, QString &text, QStringList &unreadable);

// The catalog name as the last field of a result line: quoted like any
// written field, so that it reads back whole.
QString quotedName(const QString &catalog);

// line, a comma and quotedName. A line with fewer than five fields is filled
// up with empty ones first, so the catalog name always lands in the sixth
// column. A blank line gives an empty text (no entry).
QString resultLine(QStringView line, const QString &quotedName, LineFields &scratch);
// The same from a UTF-8 line and name, written to out (emptied first);
// false for a blank line.
bool resultLineUtf8(QByteArrayView line, QByteArrayView quotedName, QByteArray &out);
// The result line of a UTF-8 line up to its catalog name (its fields
// filled up to five), written to out (emptied first); false for a blank
// line. The whole result line is this, a comma and the quoted name.
bool resultHeadUtf8(QByteArrayView line, QByteArray &out);

} // namespace CatalogLines
