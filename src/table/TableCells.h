#pragma once

#include <QString>
#include <QStringList>

// The cells an export or a printout reads, counted as the grid counts them:
// row 0 holds the column titles and data rows start at 1. Writers see only
// this, so the window's table, the command-line tool's result lists and the
// tests all go through the same layout code.
class TableCells
{
public:
    virtual ~TableCells() = default;

    virtual int columnCount() const = 0;
    // Titles included.
    virtual int rowCount() const = 0;
    // Empty outside the table.
    virtual QString cell(int column, int row) const = 0;
    // All cells of a row at once, columnCount() of them; writers walk the
    // table row by row, and a source may read a row faster than its cells.
    virtual void readRow(int row, QStringList &cells) const
    {
        cells.resize(columnCount());
        for (int column = 0; column < columnCount(); ++column)
            cells[column] = cell(column, row);
    }
};
