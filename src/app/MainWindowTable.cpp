// The Visual Table: layouts, filling, keys, header clicks, the context menu
// and the column-width commands.
#include "MainWindow.h"

#include "VisualTableDelegate.h"
#include "settings/ColumnWidths.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>

#include <utility>

void MainWindow::setCatalogLayout()
{
    m_tableModel->setUpCatalogView();
    applyColumnWidths();
}

void MainWindow::setResultLayout()
{
    m_tableModel->setUpResultView();
    applyColumnWidths();
}

void MainWindow::setTableLayout()
{
    if (m_ctx.state().displayMode.singleCatalog())
        setCatalogLayout();
    else if (m_ctx.state().displayMode.results())
        setResultLayout();
    m_tableView->horizontalHeader()->setSortIndicatorShown(true);
}

void MainWindow::fillTableFromFileLines()
{
    m_tableModel->fill(std::move(m_ctx.state().fileLines));
}

void MainWindow::showFileLines()
{
    setTableLayout();
    fillTableFromFileLines();
}

void MainWindow::applyColumnWidths()
{
    const int columns = m_tableModel->columnCount();
    QList<int> widths;
    if (columns == 5 || columns == 6)
        widths = ColumnWidths::readCatalog(m_ctx.settings());
    else if (columns == 7)
        widths = ColumnWidths::readReport(m_ctx.settings());
    for (int c = 0; c < columns && c < widths.size(); ++c)
        m_tableView->setColumnWidth(c, widths.at(c));
    m_tableView->viewport()->update();
}

void MainWindow::selectTableCell(int column, int row)
{
    const QModelIndex index = m_tableModel->index(row - 1, column);
    if (index.isValid()) {
        m_tableView->setCurrentIndex(index);
        m_tableView->scrollTo(index);
    }
}

void MainWindow::emptyTable()
{
    m_tableModel->removeTableRows(1, m_tableModel->tableRowCount() - 1);
    applyColumnWidths();
}

void MainWindow::tableKeyPressed(QKeyEvent *event)
{
    const int columns = m_tableModel->columnCount();
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!TableRules::isCommentColumn(m_ctx.selectedTableColumn()))
            action(QStringLiteral("AddEditComment1"))->trigger();
        return;
    }
    if (key == Qt::Key_Delete) {
        if (!TableRules::deleteAllowed(columns) || m_ctx.selectedTableRow() < 1)
            return;
        if (!m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to delete this row?")))
            return;
        m_tableModel->removeTableRows(m_ctx.selectedTableRow(), 1);
        m_ctx.state().pendingRowDeletions = true;
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && TableRules::isJumpLetter(text.at(0)) &&
        !TableRules::isCommentColumn(m_ctx.selectedTableColumn())) {
        const int row = m_tableModel->firstRowStartingWith(text.at(0));
        if (row >= 1)
            selectTableCell(0, row);
    }
}

void MainWindow::sortTableByColumn(int column)
{
    m_tableModel->headerClicked(column);
    m_tableView->horizontalHeader()->setSortIndicator(m_tableModel->sortColumn(), m_tableModel->sortOrder());
}

void MainWindow::tableCellEdited()
{
    if (TableRules::editChangesCatalog(m_tableModel->columnCount()))
        m_ctx.state().pendingCommentEdits = true;
}

void MainWindow::showTableContextMenu(const QPoint &pos)
{
    m_tablePopup->popup(m_tableView->viewport()->mapToGlobal(pos));
}

void MainWindow::saveColumnWidths()
{
    const int columns = m_tableModel->columnCount();
    if (columns < 5 || columns > 7)
        return;
    QList<int> widths;
    for (int c = 0; c < columns; ++c)
        widths << m_tableView->columnWidth(c);
    if (!ColumnWidths::save(m_ctx.settings(), widths)) {
        m_ctx.dialogs().error(m_ctx.settings().lastError());
        return;
    }
    StatusLine(QStringLiteral("Column Widths Saved"));
}

void MainWindow::resizeAllColumnsToDefault()
{
    if (m_tableModel->columnCount() >= 5)
        applyColumnWidths();
}

void MainWindow::resizeSelectedColumnToDefault()
{
    const int columns = m_tableModel->columnCount();
    const int column = m_ctx.selectedTableColumn();
    if (column < 0 || column >= columns)
        return;
    m_tableView->setColumnWidth(column, ColumnWidths::readOne(m_ctx.settings(), columns, column));
}

void MainWindow::expandSelectedColumn()
{
    const int column = m_ctx.selectedTableColumn();
    const int row = m_ctx.selectedTableRow();
    const QString selected = row >= 1 ? m_tableModel->cell(column, row) : QString();
    if (selected.isEmpty() || selected == QStringLiteral(" "))
        return;
    const QFontMetrics metrics(m_tableView->font());
    int widest = 0;
    for (int r = 0; r < m_tableModel->tableRowCount(); ++r)
        widest = qMax(widest, metrics.horizontalAdvance(m_tableModel->cell(column, r)));
    m_tableView->setColumnWidth(column, widest + metrics.horizontalAdvance(QStringLiteral("xx")));
}
