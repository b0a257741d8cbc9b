#include "FileCommentPanel.h"

#include "PanelWidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The small buttons carry an image and a hint instead of a caption.
QPushButton *smallButton(QWidget *parent, const char *name, QStyle::StandardPixmap image, const QString &hint,
                         const QString &accessibleName)
{
    QPushButton *b = PanelWidgets::button(parent, QLatin1String(name), QString());
    b->setIcon(parent->style()->standardIcon(image));
    b->setToolTip(hint);
    b->setAccessibleName(accessibleName);
    return b;
}

} // namespace

FileCommentPanel::FileCommentPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(new QLabel(QStringLiteral("List Of Pre-Defined Comments:"), this));
    m_list = PanelWidgets::named(new QListWidget(this), "predefinedbox");
    m_list->setToolTip(QStringLiteral("Double click to add the selected pre-defined comment.\n"
                                      "Right click to use the context menu."));
    m_list->setAccessibleName(QStringLiteral("List Of Pre-Defined Comments"));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setMinimumSize(300, 90);
    m_list->installEventFilter(this);
    layout->addWidget(m_list);

    auto *listButtons = new QHBoxLayout;
    m_listToComment = smallButton(this, "Listtocomment", QStyle::SP_ArrowDown,
                                  QStringLiteral("Click or press the ENTER key\n"
                                                 "to add the selected pre-defined comment."),
                                  QStringLiteral("Add Selected Pre-Defined Comment"));
    m_addToList = smallButton(this, "Addtolist", QStyle::SP_ArrowUp,
                              QStringLiteral("Add this comment to the pre-defined list."),
                              QStringLiteral("Add Comment To Pre-Defined List"));
    m_edit = smallButton(this, "Editpredefined", QStyle::SP_FileDialogDetailedView,
                         QStringLiteral("Edit the selected pre-defined comment."),
                         QStringLiteral("Edit Selected Pre-Defined Comment"));
    m_delete = smallButton(this, "Deletepredefined", QStyle::SP_TrashIcon,
                           QStringLiteral("Click or press the DEL key\n"
                                          "to delete the selected pre-defined comment."),
                           QStringLiteral("Delete Selected Pre-Defined Comment"));
    m_clear = smallButton(this, "Clearmemo", QStyle::SP_DialogResetButton,
                          QStringLiteral("Clear this comment."), QStringLiteral("Clear Comment"));
    for (QPushButton *b : {m_listToComment, m_addToList, m_edit, m_delete, m_clear})
        listButtons->addWidget(b);
    listButtons->addStretch(1);
    layout->addLayout(listButtons);

    layout->addWidget(new QLabel(QStringLiteral("Comment:"), this));
    m_memo = PanelWidgets::named(new QPlainTextEdit(this), "Memo1");
    m_memo->setAccessibleName(QStringLiteral("Comment"));
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setMinimumHeight(60);
    m_memo->installEventFilter(this);
    layout->addWidget(m_memo);

    auto *buttons = new QHBoxLayout;
    m_accept = PanelWidgets::button(this, QStringLiteral("Addfilecomment"), QStringLiteral("Accept Comment"));
    m_accept->setToolTip(QStringLiteral("Add this comment."));
    m_cancel = PanelWidgets::button(this, QStringLiteral("Cancelcomment"), QStringLiteral("Cancel"));
    buttons->addWidget(m_accept);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    createListMenu();
    connect(m_accept, &QPushButton::clicked, this, &FileCommentPanel::acceptRequested);
    connect(m_cancel, &QPushButton::clicked, this, &FileCommentPanel::cancelRequested);
    connect(m_addToList, &QPushButton::clicked, this, &FileCommentPanel::addToListRequested);
    connect(m_clear, &QPushButton::clicked, this, &FileCommentPanel::clearComment);
    connect(m_listToComment, &QPushButton::clicked, this, &FileCommentPanel::addSelectedRequested);
    connect(m_edit, &QPushButton::clicked, this, &FileCommentPanel::editSelectedRequested);
    connect(m_delete, &QPushButton::clicked, this, &FileCommentPanel::deleteSelectedRequested);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &FileCommentPanel::addSelectedRequested);
}

void FileCommentPanel::createListMenu()
{
    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("PopupMenu4"));
    const struct {
        const char *name;
        const char *caption;
        void (FileCommentPanel::*signal)();
    } entries[] = {
        {"AddSelectedPreDefinedComment1", "Add Selected Pre-Defined Comment",
         &FileCommentPanel::addSelectedRequested},
        {"DeleteSelectedPreDefinedComment1", "Delete Selected Pre-Defined Comment",
         &FileCommentPanel::deleteSelectedRequested},
        {"EditSelectedPreDefinedComment1", "Edit Selected Pre-Defined Comment",
         &FileCommentPanel::editSelectedRequested},
    };
    for (const auto &entry : entries) {
        QAction *a = m_listMenu->addAction(QLatin1String(entry.caption));
        a->setObjectName(QLatin1String(entry.name));
        connect(a, &QAction::triggered, this, entry.signal);
    }
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_listMenu->popup(m_list->viewport()->mapToGlobal(pos)); });
}

QStringList FileCommentPanel::items() const
{
    QStringList items;
    for (int i = 0; i < m_list->count(); ++i)
        items << m_list->item(i)->text();
    return items;
}

void FileCommentPanel::setItems(const QStringList &items, int row)
{
    m_list->clear();
    m_list->addItems(items);
    if (row >= 0 && row < m_list->count())
        m_list->setCurrentRow(row);
}

int FileCommentPanel::selectedRow() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item && item->isSelected() ? m_list->row(item) : -1;
}

QString FileCommentPanel::text() const
{
    return m_memo->toPlainText();
}

void FileCommentPanel::setText(const QString &text)
{
    m_memo->setPlainText(text);
    m_memo->moveCursor(QTextCursor::End);
}

void FileCommentPanel::focusComment()
{
    m_memo->setFocus();
}

void FileCommentPanel::clearComment()
{
    if (!text().isEmpty())
        setText(QString());
}

bool FileCommentPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_memo && isEnter(key))
        return true; // a comment is one line
    if (watched == m_list && isEnter(key)) {
        emit addSelectedRequested();
        return true;
    }
    if (watched == m_list && key->key() == Qt::Key_Delete) {
        emit deleteSelectedRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
