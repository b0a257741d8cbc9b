#include "TableController.h"

#include "AppContext.h"
#include "CategoryTreeModel.h"
#include "PopupMenu.h"
#include "TableShortcuts.h"
#include "TreeService.h"
#include "library/CatalogInfo.h"
#include "library/CommaText.h"
#include "queries/ResultRun.h"
#include "settings/ColumnWidths.h"
#include "table/VisualTableModel.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

#include <utility>

namespace {

QList<PopupMenu::Entry> tableMenuEntries()
{
    return {
        {"CopySelectionToClipboard1", "Copy Selection To Clipboard"},
        {"CopySelectedRegionToClipboard1", "Copy Selected Region To Clipboard"},
        {},
        {"AddEditComment1", "Add/Edit Comment"},
        {"DeleteComment1", "Delete Comment"},
        {"UndoDelete2", "Undo Delete", false},
        {"PasteFromClipboard1", "Paste From Clipboard"},
        {},
        {"DeleteSelectedFile1", "Delete Selected File"},
        {},
        {"ExpandSelectedColumn1", "Expand Selected Column"},
        {"ResizeSelectedColumnToDefault1", "Resize Selected Column To Default"},
        {"ResizeAllColumnsToDefault1", "Resize All Columns To Default"},
    };
}

} // namespace

TableController::TableController(AppContext &context, QObject *parent)
    : FeatureController(context, parent), m_view(context.tableView()), m_model(context.tableModel()),
      m_menu(new PopupMenu(QStringLiteral("PopupMenu1"), tableMenuEntries(), context.window()))
{
    TableShortcuts::attach(m_view, m_menu);
    connectView();
    for (const char *name : {"View1", "ViewCatalog1"})
        m_ctx.onCommand(QLatin1String(name), this, &TableController::viewSelectedNode);
    m_ctx.onCommand(QStringLiteral("SaveChanges1"), this, &TableController::saveTableChanges);
    m_ctx.onCommand(QStringLiteral("ViewCatalogInformation1"), this,
                    &TableController::showCatalogInformation);
    m_ctx.onCommand(QStringLiteral("SaveColumnsWidths1"), this, &TableController::saveColumnWidths);
    m_ctx.onCommand(QStringLiteral("ResizeAllColumnsToDefault1"), this,
                    &TableController::resizeAllColumnsToDefault);
    m_ctx.onCommand(QStringLiteral("ResizeSelectedColumnToDefault1"), this,
                    &TableController::resizeSelectedColumnToDefault);
    m_ctx.onCommand(QStringLiteral("ExpandSelectedColumn1"), this, &TableController::expandSelectedColumn);
    // The table takes edits without a command.
    m_ctx.holdBackWhileRunning(m_view);
    m_ctx.holdBackWhileRunning({"View1", "ViewCatalog1", "SaveChanges1"});
}

void TableController::connectView()
{
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, &TableController::sortByColumn);
    connect(m_model, &VisualTableModel::cellEdited, this, &TableController::noteUnsavedEdit);
    connect(m_view, &QWidget::customContextMenuRequested, this, &TableController::showContextMenu);
}

void TableController::createPanels()
{
    setCatalogLayout();
}

void TableController::setCatalogLayout()
{
    m_model->setUpCatalogView();
    applyColumnWidths();
}

void TableController::setResultLayout()
{
    m_model->setUpResultView();
    applyColumnWidths();
}

void TableController::setTableLayout()
{
    if (m_ctx.state().displayMode.singleCatalog())
        setCatalogLayout();
    else if (m_ctx.state().displayMode.results())
        setResultLayout();
    m_view->horizontalHeader()->setSortIndicatorShown(true);
}

void TableController::fillTableFromFileLines()
{
    m_model->fill(std::move(m_ctx.state().fileLines));
}

void TableController::showFileLines()
{
    setTableLayout();
    fillTableFromFileLines();
}

void TableController::showResults(std::vector<ResultRun> &&runs)
{
    setTableLayout();
    // The run that found the results holds its gate closed until this
    // returns, so events processed here cannot start another command.
    m_model->fill(std::move(runs), [] { QCoreApplication::processEvents(); });
}

QList<int> TableController::storedColumnWidths() const
{
    const int columns = m_model->columnCount();
    switch (TableRules::widthSet(columns)) {
    case TableRules::WidthSet::Catalog:
        return ColumnWidths::readCatalog(m_ctx.settings());
    case TableRules::WidthSet::Report:
        return ColumnWidths::readReport(m_ctx.settings(), columns);
    case TableRules::WidthSet::None:
        break;
    }
    return {};
}

void TableController::applyColumnWidths()
{
    const int columns = m_model->columnCount();
    const QList<int> widths = storedColumnWidths();
    for (int c = 0; c < columns && c < widths.size(); ++c)
        m_view->setColumnWidth(c, widths.at(c));
    m_view->viewport()->update();
}

void TableController::selectTableCell(int column, int row)
{
    const QModelIndex index = m_model->index(row - 1, column);
    if (index.isValid()) {
        m_view->setCurrentIndex(index);
        m_view->scrollTo(index);
    }
}

void TableController::emptyTable()
{
    m_model->removeTableRows(1, m_model->tableRowCount() - 1);
    applyColumnWidths();
}

void TableController::keyPressed(QKeyEvent *event)
{
    const int key = event->key();
    const bool inComment = TableRules::isCommentColumn(m_ctx.selectedTableColumn());
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!inComment)
            m_ctx.action(QStringLiteral("AddEditComment1"))->trigger();
        return;
    }
    if (key == Qt::Key_Delete) {
        deleteSelectedRow();
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && TableRules::isJumpLetter(text.at(0)) && !inComment)
        jumpToRowStartingWith(text.at(0));
}

void TableController::deleteSelectedRow()
{
    if (!TableRules::deleteAllowed(m_model->columnCount()) || m_ctx.selectedTableRow() < 1)
        return;
    if (!m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to delete this row?")))
        return;
    m_model->removeTableRows(m_ctx.selectedTableRow(), 1);
    m_ctx.state().pendingRowDeletions = true;
}

void TableController::jumpToRowStartingWith(QChar letter)
{
    const int row = m_model->firstRowStartingWith(letter);
    if (row >= 1)
        selectTableCell(0, row);
}

void TableController::sortByColumn(int column)
{
    m_model->headerClicked(column);
    m_view->horizontalHeader()->setSortIndicator(m_model->sortColumn(), m_model->sortOrder());
}

void TableController::noteUnsavedEdit()
{
    if (TableRules::editChangesCatalog(m_model->columnCount()))
        m_ctx.state().pendingCommentEdits = true;
}

void TableController::showContextMenu(const QPoint &pos)
{
    m_menu->popUpAt(m_view, pos);
}

void TableController::saveColumnWidths()
{
    const int columns = m_model->columnCount();
    const TableRules::WidthSet set = TableRules::widthSet(columns);
    if (set == TableRules::WidthSet::None)
        return;
    QList<int> widths;
    for (int c = 0; c < columns; ++c)
        widths << m_view->columnWidth(c);
    const bool saved = set == TableRules::WidthSet::Report
                           ? ColumnWidths::saveReport(m_ctx.settings(), widths)
                           : ColumnWidths::saveCatalog(m_ctx.settings(), widths);
    if (!saved) {
        m_ctx.dialogs().error(m_ctx.settings().lastError());
        return;
    }
    m_ctx.setStatus(QStringLiteral("Column Widths Saved"));
}

void TableController::resizeAllColumnsToDefault()
{
    if (TableRules::widthSet(m_model->columnCount()) != TableRules::WidthSet::None)
        applyColumnWidths();
}

void TableController::resizeSelectedColumnToDefault()
{
    const int columns = m_model->columnCount();
    const int column = m_ctx.selectedTableColumn();
    if (column < 0 || column >= columns)
        return;
    m_view->setColumnWidth(column, storedColumnWidths().value(column, ColumnWidths::DefaultWidth));
}

void TableController::expandSelectedColumn()
{
    const int column = m_ctx.selectedTableColumn();
    const int row = m_ctx.selectedTableRow();
    const QString selected = row >= 1 ? m_model->cell(column, row) : QString();
    if (selected.isEmpty() || selected == QStringLiteral(" "))
        return;
    const QFontMetrics metrics(m_view->font());
    int widest = 0;
    for (int r = 0; r < m_model->tableRowCount(); ++r)
        widest = qMax(widest, metrics.horizontalAdvance(m_model->cell(column, r)));
    m_view->setColumnWidth(column, widest + metrics.horizontalAdvance(QStringLiteral("xx")));
}

void TableController::viewSelectedNode()
{
    offerSaveChanges();
    TreeService &tree = m_ctx.tree();
    const QModelIndex node = tree.selectedNode();
    if (!node.isValid())
        return;
    const QString name = tree.treeModel()->nodeText(node);
    if (CategoryTreeModel::isCatalog(node)) {
        m_ctx.setStatus(QStringLiteral("Attempting To Open ") + name + QStringLiteral(" Catalog"));
        openCatalog(name);
        m_ctx.setStatus(catalogSummary(name));
        return;
    }
    tree.expandNode(node);
    m_ctx.setStatus(tree.categoryStatus(node));
}

QString TableController::catalogSummary(const QString &name) const
{
    const QString info = m_ctx.state().catalogInfo.value(name);
    if (!m_ctx.state().catalogInfo.contains(name) || info.isEmpty())
        return name + QStringLiteral(" Catalog");
    const QStringList fields = CommaText::split(info);
    return QStringLiteral("%1 Catalog %2 Files %3 Directories")
        .arg(name, CommaText::field(fields, 0), CommaText::field(fields, 1));
}

void TableController::openCatalog(const QString &name)
{
    m_ctx.setBusy(true);
    if (!m_ctx.library().catalogFileExists(name)) {
        m_ctx.dialogs().warning(QStringLiteral("Catalog ") + name + QStringLiteral(" does not exists!"));
        m_ctx.setBusy(false);
        return;
    }
    LibraryState &state = m_ctx.state();
    state.displayMode.clear();
    state.displayMode.loading = true;
    state.keepGoing = false; // a search or duplicate run stops at its next check
    state.fileLines.clear();
    QString error;
    if (!m_ctx.library().loadCatalog(name, state.fileLines, &error)) {
        m_ctx.setBusy(false);
        m_ctx.dialogs().error(error);
        return;
    }
    showFileLines();
    state.displayMode.loading = false;
    state.fileLines.clear();
    state.openCatalogName = name;
    state.savedScanName.clear();
    m_ctx.setBusy(false);
}

void TableController::offerSaveChanges()
{
    if (!m_ctx.state().changesPending() || m_model->columnCount() != 5)
        return;
    const QString owner = m_ctx.state().tableOwner();
    if (owner.isEmpty())
        return;
    saveChangesTo(owner);
    m_ctx.state().pendingCommentEdits = false;
    m_ctx.state().pendingRowDeletions = false;
}

void TableController::saveChangesTo(const QString &name)
{
    if (!m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to save changes to ") + name +
                                      QStringLiteral(" catalog?")))
        return;
    m_ctx.setStatus(QStringLiteral("Attempting To Save Changes To ") + name + QStringLiteral(" Catalog"));
    if (writeTableRows(name))
        m_ctx.setStatus(QStringLiteral("Changes To ") + name + QStringLiteral(" Catalog Saved"));
}

bool TableController::writeTableRows(const QString &name)
{
    m_ctx.setBusy(true);
    QString error;
    const bool ok = CatalogSaving::WriteTableRows(m_ctx.library(), name, m_model->catalogRows(), &error);
    m_ctx.setBusy(false);
    if (!ok) {
        m_ctx.setStatus(QStringLiteral("Failed To Save Catalog"));
        m_ctx.dialogs().error(error);
    }
    return ok;
}

void TableController::saveTableChanges()
{
    if (m_model->columnCount() != 5)
        return;
    const QString owner = m_ctx.state().tableOwner();
    if (owner.isEmpty()) {
        m_ctx.dialogs().warning(QStringLiteral("Please specify a catalog first!"));
        return;
    }
    saveChangesTo(owner);
}

void TableController::showCatalogInformation()
{
    const QModelIndex node = m_ctx.tree().selectedNode();
    if (!CategoryTreeModel::isCatalog(node))
        return;
    const QString name = m_ctx.tree().treeModel()->nodeText(node);
    const qsizetype pair = m_ctx.state().catalogInfo.indexOf(name);
    if (pair < 0)
        return;
    const QString storedName = m_ctx.state().catalogInfo.lines().at(pair);
    const QString info = m_ctx.state().catalogInfo.lines().value(pair + 1);
    if (info.isEmpty()) {
        m_ctx.dialogs().warning(QStringLiteral("No information is available for ") + storedName +
                                QStringLiteral(" catalog.\nPlease update the catalog."));
        return;
    }
    const QStringList fields = CommaText::split(info);
    if (fields.size() < CatalogInfo::ShownFieldMinimum) {
        m_ctx.dialogs().information(
            QStringLiteral("No information is available for this catalog.\r\nPlease update."));
        return;
    }
    m_ctx.dialogs().catalogInformation(name + QStringLiteral(" Catalog"),
                                       CatalogInfo::dialogLines(name, fields),
                                       m_ctx.state().treeComments.value(name));
}

void TableController::closeQuery()
{
    if (m_ctx.state().changesPending() && m_model->columnCount() == 5) {
        const QString owner = m_ctx.state().tableOwner();
        if (!owner.isEmpty())
            saveChangesTo(owner);
    }
    m_ctx.state().pendingCommentEdits = false;
    m_ctx.state().pendingRowDeletions = false;
}
