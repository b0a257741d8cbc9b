#pragma once

#include "TableCells.h"

class VisualTableModel;

// The Visual Table's cells as an export reads them: every row and column,
// titles included, whatever the view.
class ModelTableCells : public TableCells
{
public:
    explicit ModelTableCells(const VisualTableModel &model);

    int columnCount() const override;
    int rowCount() const override;
    QString cell(int column, int row) const override;
    // Reads the row's line once rather than once per cell.
    void readRow(int row, QStringList &cells) const override;

private:
    const VisualTableModel &m_model;
};
