#pragma once

#include "ByteSink.h"
#include "CellStyle.h"
#include "TableCells.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <Qt>

// The HTML page of a table: one line per tag of the page and per cell, the
// titles bold on the header colour, data cells with the grid's alignment
// and colours. Every text is escaped and everything outside ASCII is written
// as a numeric character reference, so the page is plain ASCII: no name can
// add markup, and no browser can misread its encoding.
namespace HtmlExport {

// The header cells' background: the light grey of a window border in the
// standard colour scheme, not the blue of the screen.
inline constexpr quint32 kHeaderBackground = 0xC0C0C0;

// "#RRGGBB".
QString colour(quint32 rgb);
// & < > and " as entities, other characters beyond ASCII as "&#N;" by
// their code point, control characters as their pictures.
QString escaped(QStringView text);
// A cell's text as written: escaped, line breaks as "<br>" (a CR LF pair is
// one break), an empty cell as "<br>".
QString cellText(QStringView text);

QString headerCellLine(QStringView text);
// The text colour wraps the bold and italic tags.
QString dataCellLine(QStringView text, Qt::Alignment alignment, const CellStyle &style);

// The whole page, lines ended by CR LF, in pieces; the title line reads
// "<TITLE></TITLE>" when the title is empty. False when the sink refused a
// piece.
bool write(const TableCells &table, const QString &title, const ByteSink &sink);
// The whole page in memory.
QByteArray page(const TableCells &table, const QString &title);

} // namespace HtmlExport
