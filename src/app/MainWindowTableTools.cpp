// Table tools: the table search panel, deleting the file behind a row and
// the clipboard commands of the table's context menu.
#include "MainWindow.h"

#include "TableSearchPanel.h"
#include "ToolPanel.h"
#include "table/ClipboardText.h"
#include "table/FileDeletion.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTableView>

namespace {

const QString kTableSearchPanel = QStringLiteral("Searchtabledlg");

} // namespace

void MainWindow::connectTableToolCommands()
{
    connectCommand(QStringLiteral("SearchTable1"), &MainWindow::showTableSearchPanel);
    connectCommand(QStringLiteral("DeleteSelectedFile1"), &MainWindow::deleteSelectedFile);
    connectCommand(QStringLiteral("CopySelectionToClipboard1"), &MainWindow::copySelection);
    connectCommand(QStringLiteral("CopySelectedRegionToClipboard1"), &MainWindow::copySelectedRegion);
    connectCommand(QStringLiteral("PasteFromClipboard1"), &MainWindow::pasteFromClipboard);
}

void MainWindow::createTableSearchPanel()
{
    ToolPanel *panel =
        m_ctx.addPanel(kTableSearchPanel, QStringLiteral("Search Visual Table For A Word/Phrase"));
    m_tableSearchPanel = new TableSearchPanel(panel->body());
    panel->setContent(m_tableSearchPanel);
    connect(m_tableSearchPanel, &TableSearchPanel::findFirstClicked, this, &MainWindow::findFirstInTable);
    connect(m_tableSearchPanel, &TableSearchPanel::findNextClicked, this, &MainWindow::findNextInTable);
}

void MainWindow::showTableSearchPanel()
{
    panel(kTableSearchPanel)->showPanel();
    m_tableSearchPanel->focusText();
}

void MainWindow::findFirstInTable()
{
    const auto cell = [this](int column, int row) { return m_tableModel->cell(column, row); };
    showTableSearchOutcome(m_tableSearch.findFirst(m_tableSearchPanel->text(), m_tableSearchPanel->options(),
                                                   m_tableModel->columnCount(), m_tableModel->tableRowCount(),
                                                   cell));
}

void MainWindow::findNextInTable()
{
    const auto cell = [this](int column, int row) { return m_tableModel->cell(column, row); };
    showTableSearchOutcome(m_tableSearch.findNext(m_tableSearchPanel->text(), m_tableModel->columnCount(),
                                                  m_tableModel->tableRowCount(), cell));
}

void MainWindow::showTableSearchOutcome(TableSearch::Outcome outcome)
{
    if (outcome == TableSearch::Outcome::Found)
        m_ctx.table().selectTableCell(m_tableSearch.matchColumn(), m_tableSearch.matchRow());
    else if (outcome != TableSearch::Outcome::Ignored)
        m_ctx.dialogs().information(TableSearch::message(outcome));
}

void MainWindow::deleteSelectedFile()
{
    FileDeletion::Row target;
    target.columnCount = m_tableModel->columnCount();
    target.row = m_ctx.selectedTableRow();
    target.selectedCell = m_tableModel->cell(m_ctx.selectedTableColumn(), target.row);
    target.name = m_tableModel->cell(0, target.row);
    target.path = m_tableModel->cell(3, target.row);
    FileDeletion::Host host;
    host.driveType = [this](const QString &folder) { return m_volumeReader(folder).driveTypeText(); };
    host.warning = [this](const QString &text) { m_ctx.dialogs().warning(text); };
    host.confirmOkCancel = [this](const QString &text) { return m_ctx.dialogs().confirmOkCancel(text); };
    host.confirmYesNo = [this](const QString &text) { return m_ctx.dialogs().confirmYesNo(text); };
    const FileDeletion::Result result = FileDeletion::run(target, host);
    if (result.removeRow)
        m_tableModel->removeTableRows(target.row, 1);
    if (result.catalogChanged)
        m_ctx.state().pendingRowDeletions = true;
    if (!result.status.isEmpty())
        StatusLine(result.status);
}

void MainWindow::copySelection()
{
    const auto cell = [this](int column, int row) { return m_tableModel->cell(column, row); };
    QGuiApplication::clipboard()->setText(
        ClipboardText::wholeTable(cell, m_tableModel->columnCount(), m_tableModel->tableRowCount()));
}

void MainWindow::copySelectedRegion()
{
    const QModelIndexList selected = m_tableView->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    int left = selected.first().column(), right = left;
    int top = selected.first().row(), bottom = top;
    for (const QModelIndex &index : selected) {
        left = qMin(left, index.column());
        right = qMax(right, index.column());
        top = qMin(top, index.row());
        bottom = qMax(bottom, index.row());
    }
    const auto cell = [this](int column, int row) { return m_tableModel->cell(column, row); };
    // The view counts data rows from 0; the table counts its title row.
    QGuiApplication::clipboard()->setText(ClipboardText::region(cell, left, top + 1, right, bottom + 1));
}

void MainWindow::pasteFromClipboard()
{
    const int column = m_ctx.selectedTableColumn();
    const int row = m_ctx.selectedTableRow();
    if (!ClipboardText::canPaste(m_tableModel->columnCount(), column, row))
        return;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasText()) {
        const ClipboardText::PastePlan plan = ClipboardText::planPaste(
            data->text(), column, row, m_tableModel->columnCount(), m_tableModel->tableRowCount());
        m_tableModel->setTableRowCount(plan.rowCount);
        for (const ClipboardText::CellWrite &write : plan.writes)
            m_tableModel->setCell(write.column, write.row, write.text);
    }
    m_ctx.state().pendingCommentEdits = true;
}
