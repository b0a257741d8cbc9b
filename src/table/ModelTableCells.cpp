#include "ModelTableCells.h"

#include "VisualTableModel.h"

ModelTableCells::ModelTableCells(const VisualTableModel &model) : m_model(model) {}

int ModelTableCells::columnCount() const
{
    return m_model.columnCount();
}

int ModelTableCells::rowCount() const
{
    return m_model.tableRowCount();
}

QString ModelTableCells::cell(int column, int row) const
{
    return m_model.cell(column, row);
}
