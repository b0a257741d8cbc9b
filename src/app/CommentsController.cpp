#include "CommentsController.h"

#include "AppContext.h"
#include "CategoryTreeModel.h"
#include "CommentReplacePanel.h"
#include "FileCommentPanel.h"
#include "TableService.h"
#include "ToolPanel.h"
#include "TreeCommentPanel.h"
#include "TreeService.h"
#include "indexing/RunControl.h"
#include "library/TreeOperations.h"
#include "queries/CommentReplace.h"
#include "queries/FileComments.h"
#include "table/VisualTableModel.h"

#include <QLabel>
#include <QTableView>
#include <optional>

namespace {

const QString kCommentWindow = QStringLiteral("Filecommentdlg");
const QString kReplacePanel = QStringLiteral("SandRdlg");
const QString kTreeCommentPanel = QStringLiteral("Catcommdlg");
const QString kPredefinedKey = QStringLiteral("predefinedbox_Items");

// The current row's file-name cell as far as it shows, in the window's
// coordinates: the comment window leaves it visible.
QRect shownNameCell(QWidget *window, const QTableView *view)
{
    const QModelIndex name = view->currentIndex().siblingAtColumn(0);
    const QRect cell = view->visualRect(name).intersected(view->viewport()->rect());
    return QRect(view->viewport()->mapTo(window, cell.topLeft()), cell.size());
}

// The run never yields, so each text is painted at once.
class PanelProgress : public RunControl
{
public:
    explicit PanelProgress(ToolPanel *panel) : m_panel(panel) {}
    void progress(const QString &text) override
    {
        m_panel->setStatus(text);
        m_panel->repaint();
    }

private:
    ToolPanel *m_panel;
};

} // namespace

CommentsController::CommentsController(AppContext &context, QObject *parent)
    : FeatureController(context, parent)
{
    for (const char *name : {"AddEdit1", "AddEditComment1"})
        m_ctx.onCommand(QLatin1String(name), this, &CommentsController::openCommentWindow);
    for (const char *name : {"Delete2", "DeleteComment1"})
        m_ctx.onCommand(QLatin1String(name), this, &CommentsController::deleteFileComment);
    for (const char *name : {"UndoDelete1", "UndoDelete2"})
        m_ctx.onCommand(QLatin1String(name), this, &CommentsController::undoDeleteComment);
    m_ctx.onCommand(QStringLiteral("SearchAndReplace1"), this, &CommentsController::showReplacePanel);
    for (const char *name : {"ViewAddEditSelectedComment1", "ViewAddEditSelectedComment2",
                             "ViewAddEditSelectedComment3", "ViewAddEditSelectedComment4"})
        m_ctx.onCommand(QLatin1String(name), this, &CommentsController::showTreeComment);
    m_ctx.holdBackWhileRunning({"AddEdit1", "Delete2", "SearchAndReplace1"});
}

void CommentsController::createPanels()
{
    createTreeCommentPanel();
    createCommentWindow();
    createReplacePanel();
}

VisualTableModel &CommentsController::table() const
{
    return *m_ctx.tableModel();
}

// The comment window and its pre-defined list.

void CommentsController::createCommentWindow()
{
    ToolPanel *p = m_ctx.addPanel(kCommentWindow,
                                  QStringLiteral("Enter Your Comment To Add Or Use Pre-Defined Comments"));
    if (auto *status = p->findChild<QLabel *>(kCommentWindow + QStringLiteral("Status")))
        status->hide(); // this window has no status bar
    m_fileComment = new FileCommentPanel(p->body());
    p->setContent(m_fileComment);
    QStringList items = m_ctx.form().list(kPredefinedKey);
    FileComments::sortPredefined(items);
    showPredefined(items);
    // The import adds to the stored list from outside this window.
    connect(&m_ctx, &AppContext::storedListReplaced, this, [this](const QString &key) {
        if (key == kPredefinedKey)
            m_fileComment->setItems(m_ctx.form().list(key));
    });

    connect(m_fileComment, &FileCommentPanel::acceptRequested, this, &CommentsController::acceptFileComment);
    connect(m_fileComment, &FileCommentPanel::cancelRequested, p, &QWidget::hide);
    connect(m_fileComment, &FileCommentPanel::addToListRequested, this,
            &CommentsController::addCommentToPredefined);
    connect(m_fileComment, &FileCommentPanel::addSelectedRequested, this,
            &CommentsController::usePredefinedComment);
    connect(m_fileComment, &FileCommentPanel::editSelectedRequested, this,
            &CommentsController::editPredefinedComment);
    connect(m_fileComment, &FileCommentPanel::deleteSelectedRequested, this,
            &CommentsController::removePredefinedComment);
    followTableChanges();
}

void CommentsController::followTableChanges()
{
    connect(&table(), &QAbstractItemModel::modelReset, this, [this] {
        ++m_tableFills;
        checkUndoTarget();
    });
    connect(&table(), &QAbstractItemModel::rowsRemoved, this, &CommentsController::checkUndoTarget);
    connect(&table(), &QAbstractItemModel::dataChanged, this, &CommentsController::checkUndoTarget);
}

bool CommentsController::isCommentableRow(int row) const
{
    // The one-catalog layout only; the empty row of an empty table is no entry.
    return table().columnCount() == 5 && row >= 1 && !table().cell(0, row).isEmpty();
}

void CommentsController::openCommentWindow()
{
    const int row = m_ctx.selectedTableRow();
    if (!isCommentableRow(row))
        return;
    m_fileComment->setText(table().cell(4, row));
    m_commentWindowFill = m_tableFills;
    m_ctx.panel(kCommentWindow)->showPanel(shownNameCell(m_ctx.window(), m_ctx.tableView()));
    m_fileComment->focusComment();
}

void CommentsController::acceptFileComment()
{
    // Written into another catalog's row, the text would be lost or misplaced.
    if (m_commentWindowFill != m_tableFills)
        return;
    const QString text = FileComments::oneLine(m_fileComment->text());
    if (!text.isEmpty()) {
        const int row = m_ctx.selectedTableRow();
        if (!isCommentableRow(row))
            return;
        table().setCell(4, row, text);
        m_ctx.state().pendingCommentEdits = true;
    }
    m_ctx.panel(kCommentWindow)->hide();
}

void CommentsController::addCommentToPredefined()
{
    QStringList items = m_fileComment->items();
    if (FileComments::addPredefined(items, FileComments::oneLine(m_fileComment->text())))
        showPredefined(items);
}

void CommentsController::usePredefinedComment()
{
    const int row = m_fileComment->selectedRow();
    if (row < 0)
        return;
    m_fileComment->setText(
        FileComments::withPredefined(m_fileComment->text(), m_fileComment->items().at(row)));
}

void CommentsController::editPredefinedComment()
{
    const int row = m_fileComment->selectedRow();
    if (row < 0)
        return;
    QStringList items = m_fileComment->items();
    const std::optional<QString> edited = m_ctx.dialogs().inputBox(QStringLiteral("Edit Pre-Defined Comment"),
                                                                   QStringLiteral("Comment"), items.at(row));
    if (!edited)
        return;
    const QString text = FileComments::oneLine(*edited);
    if (FileComments::editPredefined(items, row, text))
        showPredefined(items, int(items.indexOf(text)));
}

void CommentsController::removePredefinedComment()
{
    const int row = m_fileComment->selectedRow();
    if (row < 0 || !m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to delete comment?")))
        return;
    QStringList items = m_fileComment->items();
    items.removeAt(row);
    showPredefined(items);
}

void CommentsController::showPredefined(const QStringList &items, int selectRow)
{
    m_fileComment->setItems(items, selectRow);
    m_ctx.form().setList(kPredefinedKey, items);
}

// Delete Comment and its undo.

void CommentsController::deleteFileComment()
{
    const int row = m_ctx.selectedTableRow();
    if (!isCommentableRow(row) || table().cell(4, row).isEmpty())
        return;
    const QString comment = table().cell(4, row);
    table().setCell(4, row, QString());
    // The record follows its row through sorting and row deletions.
    m_undoText = comment;
    m_undoRow = QPersistentModelIndex(table().index(row - 1, 4));
    setUndoEnabled(true);
}

void CommentsController::undoDeleteComment()
{
    if (m_undoRow.isValid())
        table().setCell(4, m_undoRow.row() + 1, m_undoText);
    setUndoEnabled(false);
}

void CommentsController::checkUndoTarget()
{
    if (!m_undoRow.isValid() || !isCommentableRow(m_undoRow.row() + 1))
        setUndoEnabled(false);
}

void CommentsController::setUndoEnabled(bool enabled)
{
    if (!enabled) {
        m_undoRow = QPersistentModelIndex();
        m_undoText.clear();
    }
    for (const char *name : {"UndoDelete1", "UndoDelete2"})
        m_ctx.action(QLatin1String(name))->setEnabled(enabled);
}

// Search and replace in the file comments of every catalog.

void CommentsController::createReplacePanel()
{
    ToolPanel *p =
        m_ctx.addPanel(kReplacePanel, QStringLiteral("Search And Replace File Comments (Case sensitive)"));
    m_replace = new CommentReplacePanel(p->body());
    p->setContent(m_replace);
    connect(m_replace, &CommentReplacePanel::searchRequested, this, &CommentsController::replaceInComments);
    connect(m_replace, &CommentReplacePanel::closeRequested, p, &QWidget::hide);
}

void CommentsController::showReplacePanel()
{
    m_ctx.table().offerSaveChanges();
    m_ctx.panel(kReplacePanel)->showPanel();
    m_replace->startNewSearch();
}

void CommentsController::setReplaceRunning(bool running)
{
    m_replace->setRunning(running);
    m_ctx.setBusy(running);
}

void CommentsController::replaceInComments()
{
    const QString search = m_replace->searchText();
    const QString replacement = m_replace->replacement();
    if (search.isEmpty() || replacement.isEmpty())
        return;
    // Table edits made since the panel opened would be saved over the new
    // comments later, or lost by the reload at the end.
    m_ctx.table().offerSaveChanges();
    ToolPanel *p = m_ctx.panel(kReplacePanel);
    setReplaceRunning(true);
    PanelProgress progress(p);
    const CommentReplace::Result result =
        CommentReplace(m_ctx.library(), m_ctx.state()).run(search, replacement, progress);
    setReplaceRunning(false);
    if (result.outcome == CommentReplace::Outcome::NoCatalogs) {
        m_ctx.dialogs().warning(result.message);
        p->hide();
        return;
    }
    if (result.outcome == CommentReplace::Outcome::Failed) {
        m_ctx.dialogs().error(result.message);
        return;
    }
    const QString owner = m_ctx.state().tableOwner();
    if (!owner.isEmpty())
        m_ctx.table().openCatalog(owner);
}

// The comments of categories and catalogs.

void CommentsController::createTreeCommentPanel()
{
    ToolPanel *p = m_ctx.addPanel(kTreeCommentPanel, QStringLiteral("Category/Catalog Comments"));
    m_treeComment = new TreeCommentPanel(p->body());
    p->setContent(m_treeComment);
    connect(m_treeComment, &TreeCommentPanel::acceptRequested, this, &CommentsController::acceptTreeComment);
    connect(m_treeComment, &TreeCommentPanel::cancelRequested, p, &QWidget::hide);
}

void CommentsController::showTreeComment()
{
    const QModelIndex node = m_ctx.tree().selectedNode();
    if (!node.isValid())
        return;
    const QString name = m_ctx.tree().treeModel()->nodeText(node);
    const QString comment = m_ctx.state().treeComments.value(name);
    if (CategoryTreeModel::isCategory(node))
        m_treeComment->showCategory(name, m_ctx.tree().catalogCountOf(node.row()), comment);
    else
        m_treeComment->showCatalog(name, comment);
    m_ctx.panel(kTreeCommentPanel)->showPanel();
}

void CommentsController::acceptTreeComment()
{
    const QString key = m_treeComment->nodeName();
    const QString comment = m_treeComment->comment();
    // A new name with an empty comment only hides the panel.
    if (m_ctx.state().treeComments.contains(key) || !comment.isEmpty()) {
        if (!m_ctx.storeChange([&] {
                TreeOperations::setTreeComment(m_ctx.state(), key, comment);
                return QString();
            }))
            return; // the panel stays open with the text
    }
    m_ctx.panel(kTreeCommentPanel)->hide();
}
