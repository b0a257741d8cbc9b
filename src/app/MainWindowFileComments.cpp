// File comments: the comment window (Filecommentdlg) with its pre-defined
// list, Delete Comment and its one-level undo.
#include "MainWindow.h"

#include "FileCommentPanel.h"
#include "ToolPanel.h"
#include "queries/FileComments.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace {

const QString kPanel = QStringLiteral("Filecommentdlg");
const QString kPredefinedKey = QStringLiteral("predefinedbox_Items");

// The current row's file-name cell as far as it shows, in the window's
// coordinates: the comment window leaves it visible.
QRect shownNameCell(QWidget *window, const QTableView *view)
{
    const QModelIndex name = view->currentIndex().siblingAtColumn(0);
    const QRect cell = view->visualRect(name).intersected(view->viewport()->rect());
    return QRect(view->viewport()->mapTo(window, cell.topLeft()), cell.size());
}

} // namespace

void MainWindow::connectFileCommentCommands()
{
    for (const char *name : {"AddEdit1", "AddEditComment1"})
        connectCommand(QLatin1String(name), &MainWindow::openCommentWindow);
    for (const char *name : {"Delete2", "DeleteComment1"})
        connectCommand(QLatin1String(name), &MainWindow::deleteFileComment);
    m_ctx.holdBackWhileRunning({"AddEdit1", "Delete2"});
    for (const char *name : {"UndoDelete1", "UndoDelete2"})
        connectCommand(QLatin1String(name), &MainWindow::undoDeleteComment);
}

void MainWindow::createCommentWindow()
{
    ToolPanel *p =
        m_ctx.addPanel(kPanel, QStringLiteral("Enter Your Comment To Add Or Use Pre-Defined Comments"));
    if (auto *status = p->findChild<QLabel *>(kPanel + QStringLiteral("Status")))
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

    connect(m_fileComment->acceptButton(), &QPushButton::clicked, this, &MainWindow::acceptFileComment);
    connect(m_fileComment->cancelButton(), &QPushButton::clicked, p, &QWidget::hide);
    connect(m_fileComment->clearButton(), &QPushButton::clicked, this, [this] {
        if (!m_fileComment->text().isEmpty())
            m_fileComment->setText(QString());
    });
    connect(m_fileComment->addToListButton(), &QPushButton::clicked, this,
            &MainWindow::addCommentToPredefined);
    connect(m_fileComment, &FileCommentPanel::addSelectedRequested, this, &MainWindow::usePredefinedComment);
    connect(m_fileComment, &FileCommentPanel::editSelectedRequested, this,
            &MainWindow::editPredefinedComment);
    connect(m_fileComment, &FileCommentPanel::deleteSelectedRequested, this,
            &MainWindow::removePredefinedComment);

    // The undo record and the row an open comment window was opened for
    // belong to the rows the table holds now; a refill invalidates both.
    connect(m_tableModel, &QAbstractItemModel::modelReset, this, [this] {
        ++m_tableFills;
        checkUndoTarget();
    });
    connect(m_tableModel, &QAbstractItemModel::rowsRemoved, this, &MainWindow::checkUndoTarget);
    connect(m_tableModel, &QAbstractItemModel::dataChanged, this, &MainWindow::checkUndoTarget);
}

bool MainWindow::isCommentableRow(int row) const
{
    // The one-catalog layout only; the empty row of an empty table is no entry.
    return m_tableModel->columnCount() == 5 && row >= 1 && !m_tableModel->cell(0, row).isEmpty();
}

void MainWindow::openCommentWindow()
{
    const int row = m_ctx.selectedTableRow();
    if (!isCommentableRow(row))
        return;
    m_fileComment->setText(m_tableModel->cell(4, row));
    m_commentWindowFill = m_tableFills;
    panel(kPanel)->showPanel(shownNameCell(this, m_tableView));
    m_fileComment->memo()->setFocus();
}

void MainWindow::acceptFileComment()
{
    // Written into another catalog's row, the text would be lost or misplaced.
    if (m_commentWindowFill != m_tableFills)
        return;
    const QString text = FileComments::oneLine(m_fileComment->text());
    if (!text.isEmpty()) {
        const int row = m_ctx.selectedTableRow();
        if (!isCommentableRow(row))
            return;
        m_tableModel->setCell(4, row, text);
        m_ctx.state().pendingCommentEdits = true;
    }
    panel(kPanel)->hide();
}

void MainWindow::addCommentToPredefined()
{
    QStringList items = m_fileComment->items();
    if (FileComments::addPredefined(items, FileComments::oneLine(m_fileComment->text())))
        showPredefined(items);
}

void MainWindow::usePredefinedComment()
{
    const int row = m_fileComment->selectedRow();
    if (row < 0)
        return;
    m_fileComment->setText(
        FileComments::withPredefined(m_fileComment->text(), m_fileComment->items().at(row)));
}

void MainWindow::editPredefinedComment()
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

void MainWindow::removePredefinedComment()
{
    const int row = m_fileComment->selectedRow();
    if (row < 0 || !m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to delete comment?")))
        return;
    QStringList items = m_fileComment->items();
    items.removeAt(row);
    showPredefined(items);
}

void MainWindow::showPredefined(const QStringList &items, int selectRow)
{
    m_fileComment->setItems(items, selectRow);
    m_ctx.form().setList(kPredefinedKey, items);
}

void MainWindow::deleteFileComment()
{
    const int row = m_ctx.selectedTableRow();
    if (!isCommentableRow(row) || m_tableModel->cell(4, row).isEmpty())
        return;
    const QString comment = m_tableModel->cell(4, row);
    m_tableModel->setCell(4, row, QString());
    // The record follows its row through sorting and row deletions.
    m_undoText = comment;
    m_undoRow = QPersistentModelIndex(m_tableModel->index(row - 1, 4));
    setUndoEnabled(true);
}

void MainWindow::undoDeleteComment()
{
    if (m_undoRow.isValid())
        m_tableModel->setCell(4, m_undoRow.row() + 1, m_undoText);
    setUndoEnabled(false);
}

void MainWindow::checkUndoTarget()
{
    if (!m_undoRow.isValid() || !isCommentableRow(m_undoRow.row() + 1))
        setUndoEnabled(false);
}

void MainWindow::setUndoEnabled(bool enabled)
{
    if (!enabled) {
        m_undoRow = QPersistentModelIndex();
        m_undoText.clear();
    }
    for (const char *name : {"UndoDelete1", "UndoDelete2"})
        action(QLatin1String(name))->setEnabled(enabled);
}
