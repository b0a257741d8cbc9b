#pragma once

#include <QString>

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
};
