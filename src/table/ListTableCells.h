#pragma once

#include "TableCells.h"

#include <QList>
#include <QStringList>

// Cells held as lists of texts, the first list being the titles: for tables
// that never reach the window, such as the command-line tool's results.
// Short rows read as empty cells; texts beyond the columns are not cells.
class ListTableCells : public TableCells
{
public:
    ListTableCells(const QStringList &titles, const QList<QStringList> &dataRows);

    int columnCount() const override;
    int rowCount() const override;
    QString cell(int column, int row) const override;

private:
    QList<QStringList> m_rows;
    int m_columnCount;
};
