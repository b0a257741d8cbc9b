#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

// Table text for the clipboard and the reading of pasted text, free of any
// clipboard so both directions can be tested alone.
//
// Copied text has the cells of a row joined by tabs and the rows joined by
// CR LF, with no line break after the last row, as spreadsheets read it.
namespace ClipboardText {

using CellReader = std::function<QString(int column, int row)>;

// The rectangle of cells from (left, top) to (right, bottom), both
// included, in table numbering (row 0 holds the titles). An empty
// rectangle gives an empty text.
QString region(const CellReader &cell, int left, int top, int right, int bottom);
// Every row, titles included, and every column.
QString wholeTable(const CellReader &cell, int columnCount, int rowCount);

// Lines of pasted text, each split at its tabs. A line ends at CR LF, CR or
// LF, so text from any platform reads the same; a line break at the very
// end starts no further line.
QList<QStringList> pastedLines(QStringView text);

struct CellWrite {
    int column;
    int row;
    QString text;
};

struct PastePlan {
    QList<CellWrite> writes;
    // Rows the table needs, titles included; never fewer than it has.
    int rowCount = 0;
};

// Pasting writes comments of the catalog view only (five columns, the
// "Comments" column, a data row).
bool canPaste(int columnCount, int column, int row);

// Line i of the text goes to row + i, field j to column + j; fields that
// would fall right of the last column are left out rather than widening
// the table, and rows are added for lines past the last row.
PastePlan planPaste(QStringView text, int column, int row, int columnCount, int rowCount);

} // namespace ClipboardText
