#pragma once

#include "ByteSink.h"
#include "TableCells.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <Qt>

// The formatted text file of a table: one line per row, each column padded
// to the width of its longest text and followed by one space, aligned as the
// grid aligns it (titles centred, sizes right-aligned, the rest left).
// Written as UTF-8 with CR LF line ends; control characters are written as
// their pictures, so showing the file runs nothing.
namespace TextExport {

// Display columns of a text, so a column holding wide (CJK, emoji) or
// combining characters still lines up in a terminal or monospace editor.
int length(QStringView text);
// The width a cell needs: its longest line.
int width(QStringView text);

// One line of a cell laid out in its column: width + 1 columns, except
// that a centred text one column short of the width ends one longer.
void appendAligned(QString &out, QStringView text, int width, Qt::Alignment alignment);

// A cell holding line breaks spreads its row over as many lines, each line
// of the cell in its own column position, so the columns stay aligned.
// False when the sink refused a piece.
bool write(const TableCells &table, const ByteSink &sink);
// The whole file in memory.
QByteArray formatted(const TableCells &table);

} // namespace TextExport
