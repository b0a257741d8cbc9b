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

private:
    const VisualTableModel &m_model;
};
