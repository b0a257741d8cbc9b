#include "CommentReplacePanel.h"

#include "PanelWidgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit *textBox(QWidget *parent, const char *name, const QString &accessibleName)
{
    auto *box = PanelWidgets::named(new QLineEdit(parent), name);
    box->setAccessibleName(accessibleName);
    return box;
}

QPushButton *button(QWidget *parent, const QString &objectName, const QString &caption)
{
    QPushButton *b = PanelWidgets::button(parent, objectName, caption);
    b->setAccessibleName(caption);
    return b;
}

} // namespace

CommentReplacePanel::CommentReplacePanel(QWidget *parent) : QWidget(parent)
{
    m_search = textBox(this, "Edit1", QStringLiteral("Search For"));
    m_replacement = textBox(this, "Edit2", QStringLiteral("Replace With"));
    m_searchButton = button(this, QStringLiteral("Button1"), QStringLiteral("Search"));
    m_closeButton = button(this, QStringLiteral("Button2"), QStringLiteral("Close"));
    auto *searchLabel = new QLabel(QStringLiteral("Search For:"), this);
    auto *replaceLabel = new QLabel(QStringLiteral("Replace With:"), this);
    searchLabel->setBuddy(m_search);
    replaceLabel->setBuddy(m_replacement);
    auto *grid = new QGridLayout(this);
    grid->addWidget(searchLabel, 0, 0);
    grid->addWidget(m_search, 0, 1, 1, 2);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(m_replacement, 1, 1, 1, 2);
    grid->addWidget(m_searchButton, 2, 1);
    grid->addWidget(m_closeButton, 2, 2);
    m_search->setMinimumWidth(240);
    connect(m_searchButton, &QPushButton::clicked, this, &CommentReplacePanel::searchRequested);
    connect(m_closeButton, &QPushButton::clicked, this, &CommentReplacePanel::closeRequested);
}

void CommentReplacePanel::startNewSearch()
{
    m_search->clear();
    m_replacement->clear();
    m_search->setFocus();
}

QString CommentReplacePanel::searchText() const
{
    return m_search->text();
}

QString CommentReplacePanel::replacement() const
{
    return m_replacement->text();
}

void CommentReplacePanel::setRunning(bool running)
{
    m_searchButton->setEnabled(!running);
    m_closeButton->setEnabled(!running);
}
