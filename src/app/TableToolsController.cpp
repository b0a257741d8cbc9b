#include "TableToolsController.h"

#include "AppContext.h"
#include "TableSearchPanel.h"
#include "TableService.h"
#include "ToolPanel.h"
#include "library/OutputTarget.h"
#include "settings/LastFolder.h"
#include "table/ClipboardText.h"
#include "table/FileDeletion.h"
#include "table/HtmlExport.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"
#include "table/VisualTableModel.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTableView>

namespace {

const QString kTableSearchPanel = QStringLiteral("Searchtabledlg");
const QString kTextFilter = QStringLiteral("Text Files(*.txt)");
const QString kHtmlFilter = QStringLiteral("HTML Files(*.htm)");

} // namespace

TableToolsController::TableToolsController(AppContext &context, QObject *parent)
    : FeatureController(context, parent)
{
    m_ctx.onCommand(QStringLiteral("SearchTable1"), this, &TableToolsController::showTableSearchPanel);
    m_ctx.onCommand(QStringLiteral("DeleteSelectedFile1"), this, &TableToolsController::deleteSelectedFile);
    m_ctx.onCommand(QStringLiteral("CopySelectionToClipboard1"), this, &TableToolsController::copyWholeTable);
    m_ctx.onCommand(QStringLiteral("CopySelectedRegionToClipboard1"), this,
                    &TableToolsController::copySelectedRegion);
    m_ctx.onCommand(QStringLiteral("PasteFromClipboard1"), this, &TableToolsController::pasteFromClipboard);
    m_ctx.onCommand(QStringLiteral("TextFileFormatted1"), this, &TableToolsController::exportTextFile);
    m_ctx.onCommand(QStringLiteral("HTMLFile1"), this, &TableToolsController::exportHtmlFile);
}

void TableToolsController::createPanels()
{
    ToolPanel *panel =
        m_ctx.addPanel(kTableSearchPanel, QStringLiteral("Search Visual Table For A Word/Phrase"));
    m_searchPanel = new TableSearchPanel(panel->body());
    panel->setContent(m_searchPanel);
    connect(m_searchPanel, &TableSearchPanel::findFirstClicked, this,
            &TableToolsController::findFirstInTable);
    connect(m_searchPanel, &TableSearchPanel::findNextClicked, this, &TableToolsController::findNextInTable);
}

void TableToolsController::showTableSearchPanel()
{
    m_ctx.panel(kTableSearchPanel)->showPanel();
    m_searchPanel->focusText();
}

void TableToolsController::findFirstInTable()
{
    const VisualTableModel *model = m_ctx.tableModel();
    const auto cell = [model](int column, int row) { return model->cell(column, row); };
    showTableSearchOutcome(m_search.findFirst(m_searchPanel->text(), m_searchPanel->options(),
                                              model->columnCount(), model->tableRowCount(), cell));
}

void TableToolsController::findNextInTable()
{
    const VisualTableModel *model = m_ctx.tableModel();
    const auto cell = [model](int column, int row) { return model->cell(column, row); };
    showTableSearchOutcome(
        m_search.findNext(m_searchPanel->text(), model->columnCount(), model->tableRowCount(), cell));
}

void TableToolsController::showTableSearchOutcome(TableSearch::Outcome outcome)
{
    if (outcome == TableSearch::Outcome::Found)
        m_ctx.table().selectTableCell(m_search.matchColumn(), m_search.matchRow());
    else if (outcome != TableSearch::Outcome::Ignored)
        m_ctx.dialogs().information(TableSearch::message(outcome));
}

void TableToolsController::deleteSelectedFile()
{
    VisualTableModel *model = m_ctx.tableModel();
    FileDeletion::Row target;
    target.columnCount = model->columnCount();
    target.row = m_ctx.selectedTableRow();
    target.selectedCell = model->cell(m_ctx.selectedTableColumn(), target.row);
    target.name = model->cell(0, target.row);
    target.path = model->cell(3, target.row);
    FileDeletion::Host host;
    host.driveType = [this](const QString &folder) { return m_ctx.readVolume(folder).driveTypeText(); };
    host.warning = [this](const QString &text) { m_ctx.dialogs().warning(text); };
    host.confirmOkCancel = [this](const QString &text) { return m_ctx.dialogs().confirmOkCancel(text); };
    host.confirmYesNo = [this](const QString &text) { return m_ctx.dialogs().confirmYesNo(text); };
    const FileDeletion::Result result = FileDeletion::run(target, host);
    if (result.removeRow)
        model->removeTableRows(target.row, 1);
    if (result.catalogChanged)
        m_ctx.state().pendingRowDeletions = true;
    if (!result.status.isEmpty())
        m_ctx.setStatus(result.status);
}

void TableToolsController::copyWholeTable()
{
    const VisualTableModel *model = m_ctx.tableModel();
    const auto cell = [model](int column, int row) { return model->cell(column, row); };
    QGuiApplication::clipboard()->setText(
        ClipboardText::wholeTable(cell, model->columnCount(), model->tableRowCount()));
}

void TableToolsController::copySelectedRegion()
{
    const QModelIndexList selected = m_ctx.tableView()->selectionModel()->selectedIndexes();
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
    const VisualTableModel *model = m_ctx.tableModel();
    const auto cell = [model](int column, int row) { return model->cell(column, row); };
    // The view counts data rows from 0; the table counts its title row.
    QGuiApplication::clipboard()->setText(ClipboardText::region(cell, left, top + 1, right, bottom + 1));
}

void TableToolsController::pasteFromClipboard()
{
    VisualTableModel *model = m_ctx.tableModel();
    const int column = m_ctx.selectedTableColumn();
    const int row = m_ctx.selectedTableRow();
    if (!ClipboardText::canPaste(model->columnCount(), column, row))
        return;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasText()) {
        const ClipboardText::PastePlan plan =
            ClipboardText::planPaste(data->text(), column, row, model->columnCount(), model->tableRowCount());
        model->setTableRowCount(plan.rowCount);
        for (const ClipboardText::CellWrite &write : plan.writes)
            model->setCell(write.column, write.row, write.text);
    }
    m_ctx.state().pendingCommentEdits = true;
}

void TableToolsController::exportTextFile()
{
    const QString path = askExportPath(kTextFilter, ExportFile::kTextExtension);
    if (path.isEmpty())
        return;
    const ModelTableCells cells(*m_ctx.tableModel());
    writeExport(path, [&cells](const ByteSink &sink) { return TextExport::write(cells, sink); });
}

void TableToolsController::exportHtmlFile()
{
    const QString path = askExportPath(kHtmlFilter, ExportFile::kHtmlExtension);
    if (path.isEmpty())
        return;
    // Asked before anything is written, so the page is written once, whole.
    const std::optional<QString> title =
        m_ctx.dialogs().inputBox(QStringLiteral("Saving Table Contents"),
                                 QStringLiteral("Enter a title for the HTML page (optional)"));
    // Cancel keeps the page but leaves it without a title.
    const QString pageTitle = title.value_or(QString());
    const ModelTableCells cells(*m_ctx.tableModel());
    writeExport(path, [&cells, &pageTitle](const ByteSink &sink) {
        return HtmlExport::write(cells, pageTitle, sink);
    });
}

// The save dialog opens on the filter of the kind being saved, and the name
// it gives gets that kind's extension. A file of the library is never
// written over: the user is told, and the path is empty as on Cancel.
QString TableToolsController::askExportPath(const QString &filter, const QString &extension)
{
    const QString name =
        m_ctx.dialogs().saveFileName(QStringLiteral("Save catalog as"), LastFolder::start(m_ctx.settings()),
                                     kTextFilter + QStringLiteral(";;") + kHtmlFilter, filter);
    if (name.isEmpty())
        return QString();
    const QString path = ExportFile::withExtension(name, extension);
    if (const QString refusal = OutputTarget::refusal(m_ctx.library(), path); !refusal.isEmpty()) {
        m_ctx.dialogs().error(refusal);
        return QString();
    }
    LastFolder::remember(m_ctx.settings(), path);
    return path;
}

// A failed write leaves any old file whole and the caption as it was.
void TableToolsController::writeExport(const QString &path, const ExportFile::Producer &produce)
{
    m_ctx.setBusy(true);
    QString error;
    const bool saved = ExportFile::write(path, produce, &error);
    m_ctx.setBusy(false);
    if (!saved) {
        m_ctx.dialogs().error(error);
        return;
    }
    m_ctx.setStatus(QDir::toNativeSeparators(path) + QStringLiteral(" Saved"));
}
