#include "ListTableCells.h"

ListTableCells::ListTableCells(const QStringList &titles, const QList<QStringList> &dataRows)
    : m_rows(dataRows), m_columnCount(int(titles.size()))
{
    m_rows.prepend(titles);
}

int ListTableCells::columnCount() const
{
    return m_columnCount;
}

int ListTableCells::rowCount() const
{
    return int(m_rows.size());
}

QString ListTableCells::cell(int column, int row) const
{
    if (column < 0 || column >= m_columnCount || row < 0 || row >= m_rows.size())
        return QString();
    return m_rows.at(row).value(column);
}
