#include "TreeCommentPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QLabel *namedLabel(QWidget *parent, const QString &objectName)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    return label;
}

QPushButton *namedButton(QWidget *parent, const QString &objectName, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    return button;
}

} // namespace

TreeCommentPanel::TreeCommentPanel(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    m_kind = namedLabel(this, QStringLiteral("Catcommkind"));
    m_name = namedLabel(this, QStringLiteral("Catcommname"));
    m_count = namedLabel(this, QStringLiteral("Catcommcount"));
    m_comment = new QPlainTextEdit(this);
    m_comment->setObjectName(QStringLiteral("Catcommmemo"));
    m_comment->setAccessibleName(QStringLiteral("Comment"));
    m_comment->setMinimumSize(280, 100);
    QPushButton *accept =
        namedButton(this, QStringLiteral("Acceptcatcomm"), QStringLiteral("Accept Comment"));
    QPushButton *cancel = namedButton(this, QStringLiteral("Cancelcatcomm"), QStringLiteral("Cancel"));
    QPushButton *clear = namedButton(this, QStringLiteral("Clearcatcomm"), QStringLiteral("Clear"));
    grid->addWidget(m_kind, 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(m_count, 1, 0, 1, 3);
    grid->addWidget(m_comment, 2, 0, 1, 3);
    grid->addWidget(accept, 3, 0);
    grid->addWidget(cancel, 3, 1);
    grid->addWidget(clear, 3, 2);
    connect(accept, &QPushButton::clicked, this, &TreeCommentPanel::acceptRequested);
    connect(cancel, &QPushButton::clicked, this, &TreeCommentPanel::cancelRequested);
    connect(clear, &QPushButton::clicked, m_comment, &QPlainTextEdit::clear);
}

void TreeCommentPanel::showCategory(const QString &name, int catalogCount, const QString &comment)
{
    showNode(QStringLiteral("Category"), name, comment);
    m_count->setText(QStringLiteral("Contains %1 Catalog(s)").arg(catalogCount));
}

void TreeCommentPanel::showCatalog(const QString &name, const QString &comment)
{
    showNode(QStringLiteral("Catalog"), name, comment);
    m_count->clear();
}

void TreeCommentPanel::showNode(const QString &kind, const QString &name, const QString &comment)
{
    m_kind->setText(kind);
    m_name->setText(name);
    m_comment->setPlainText(comment);
}

QString TreeCommentPanel::nodeName() const
{
    return m_name->text();
}

QString TreeCommentPanel::comment() const
{
    return m_comment->toPlainText();
}
