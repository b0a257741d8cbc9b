#include "TableSearchPanel.h"

#include "PanelWidgets.h"
#include "table/CellMatcher.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using PanelWidgets::named;

TableSearchPanel::TableSearchPanel(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    auto *label = new QLabel(QStringLiteral("Search For:"), this);
    m_text = named(new QLineEdit(this), "findtext");
    m_text->setAccessibleName(QStringLiteral("Search For"));
    m_text->setMinimumWidth(220);
    label->setBuddy(m_text);
    using PanelWidgets::checkBox;
    m_caseSensitive = checkBox(this, QStringLiteral("chkcase"), QStringLiteral("Case Sensitive"));
    m_wholeWords = checkBox(this, QStringLiteral("chkfull"), QStringLiteral("Whole Words Only"));
    m_wildCards = checkBox(this, QStringLiteral("chkregular"), QStringLiteral("Wild Cards"));
    m_wildCards->setToolTip(QStringLiteral("* and ?."));
    m_findFirst = PanelWidgets::button(this, QStringLiteral("Button3"), QStringLiteral("Find First"));
    m_findNext = PanelWidgets::button(this, QStringLiteral("Button4"), QStringLiteral("Find Next"));
    const std::initializer_list<QAbstractButton *> buttons{m_caseSensitive, m_wholeWords, m_wildCards,
                                                           m_findFirst, m_findNext};
    for (QAbstractButton *b : buttons)
        b->setAccessibleName(b->text());

    grid->addWidget(label, 0, 0);
    grid->addWidget(m_text, 0, 1, 1, 2);
    grid->addWidget(m_caseSensitive, 1, 0);
    grid->addWidget(m_wholeWords, 1, 1);
    grid->addWidget(m_wildCards, 1, 2);
    grid->addWidget(m_findFirst, 2, 1);
    grid->addWidget(m_findNext, 2, 2);

    connect(m_findFirst, &QPushButton::clicked, this, &TableSearchPanel::findFirstClicked);
    connect(m_findNext, &QPushButton::clicked, this, &TableSearchPanel::findNextClicked);
}

QString TableSearchPanel::text() const
{
    return m_text->text();
}

int TableSearchPanel::options() const
{
    return CellMatcher::optionsFrom(m_caseSensitive->isChecked(), m_wholeWords->isChecked(),
                                    m_wildCards->isChecked());
}

void TableSearchPanel::focusText()
{
    m_text->setFocus(Qt::OtherFocusReason);
}
