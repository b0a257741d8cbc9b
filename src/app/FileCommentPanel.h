#pragma once

#include <QStringList>
#include <QWidget>

class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// The controls of the file-comment window (Filecommentdlg): the list of
// pre-defined comments with its context menu and keys, the comment box, in
// which ENTER inserts no line break, and the window's buttons. Every command
// but Clear is passed on as a signal; the comments controller does the rest.
class FileCommentPanel : public QWidget
{
    Q_OBJECT
public:
    explicit FileCommentPanel(QWidget *parent = nullptr);

    QStringList items() const;
    // Shows items in their order and selects row (none when out of range).
    void setItems(const QStringList &items, int row = -1);
    // The selected item's row, or -1 when none is selected.
    int selectedRow() const;
    QString text() const;
    void setText(const QString &text);
    void focusComment();

signals:
    void acceptRequested();
    void cancelRequested();
    // The comment is to be added to the pre-defined list.
    void addToListRequested();
    // The selected pre-defined comment is to be added to the comment.
    void addSelectedRequested();
    void editSelectedRequested();
    void deleteSelectedRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createListMenu();
    void clearComment();

    QListWidget *m_list = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QMenu *m_listMenu = nullptr;
    QPushButton *m_accept = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_addToList = nullptr;
    QPushButton *m_clear = nullptr;
    QPushButton *m_listToComment = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
};
