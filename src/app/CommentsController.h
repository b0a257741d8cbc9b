#pragma once

#include "FeatureController.h"

#include <QPersistentModelIndex>
#include <QStringList>

class CommentReplacePanel;
class FileCommentPanel;
class TreeCommentPanel;
class VisualTableModel;

// Comments: the comment window of a table entry with its pre-defined list,
// Delete Comment and its one-level undo, search and replace in the file
// comments of every catalog, and the comments of categories and catalogs.
class CommentsController : public FeatureController
{
    Q_OBJECT
public:
    CommentsController(AppContext &context, QObject *parent);

    void createPanels() override;
    FileCommentPanel *fileCommentPanel() const { return m_fileComment; }

private:
    VisualTableModel &table() const;

    void createCommentWindow();
    // The undo record and an open comment window belong to the rows the
    // table holds now; a refill invalidates both.
    void followTableChanges();
    bool isCommentableRow(int row) const;
    void openCommentWindow();
    void acceptFileComment();
    void addCommentToPredefined();
    void usePredefinedComment();
    void editPredefinedComment();
    void removePredefinedComment();
    void showPredefined(const QStringList &items, int selectRow = -1);
    void deleteFileComment();
    void undoDeleteComment();
    // Disables Undo Delete once its row is gone or no longer an entry.
    void checkUndoTarget();
    void setUndoEnabled(bool enabled);

    void createReplacePanel();
    void showReplacePanel();
    void replaceInComments();
    void setReplaceRunning(bool running);

    void createTreeCommentPanel();
    void showTreeComment();
    void acceptTreeComment();

    FileCommentPanel *m_fileComment = nullptr;
    int m_tableFills = 0;        // table refills so far
    int m_commentWindowFill = 0; // m_tableFills when the window was opened
    QPersistentModelIndex m_undoRow;
    QString m_undoText;
    CommentReplacePanel *m_replace = nullptr;
    TreeCommentPanel *m_treeComment = nullptr;
};
