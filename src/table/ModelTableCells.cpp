#include "ModelTableCells.h"

#include "VisualTableModel.h"

#include "library/CellFields.h"

ModelTableCells::ModelTableCells(const VisualTableModel &model) : m_model(model)
{}

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

void ModelTableCells::readRow(int row, QStringList &cells) const
{
    const int columns = columnCount();
    if (row <= 0 || row >= rowCount()) {
        TableCells::readRow(row, cells);
        return;
    }
    cells.resize(columns);
    const QString &line = m_model.rowLine(row);
    CellFields::Cursor cursor(line);
    CellFields::Span span;
    int column = 0;
    for (; column < columns && cursor.next(span); ++column)
        cells[column] = CellFields::text(line, span);
    for (; column < columns; ++column)
        cells[column].clear();
}
