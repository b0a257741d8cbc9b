#include "DuplicatePanel.h"

#include "ComparisonBoxes.h"
#include "PanelWidgets.h"

#include "CheckTreeView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using PanelWidgets::named;

DuplicatePanel::DuplicatePanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(new QLabel(QStringLiteral("Comparison can be based on name, size, and date"), this));
    m_tree = named(new CheckTreeView(this), "TreeView3");
    m_tree->setAccessibleName(QStringLiteral("Check Desired Categories"));
    m_tree->setMinimumSize(240, 140);
    layout->addWidget(m_tree, 1);

    m_comparison = std::make_unique<ComparisonBoxes>(this, layout, QStringLiteral("Compare"));

    auto *buttons = new QHBoxLayout;
    m_start = named(new QPushButton(QStringLiteral("Find Dupe"), this), "Dupstart");
    m_stop = named(new QPushButton(QStringLiteral("Stop"), this), "Dupstop");
    m_close = named(new QPushButton(QStringLiteral("Close"), this), "Dupclose");
    m_stop->setEnabled(false);
    for (QPushButton *b : {m_start, m_stop, m_close})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(m_start, &QPushButton::clicked, this, &DuplicatePanel::startClicked);
    connect(m_stop, &QPushButton::clicked, this, &DuplicatePanel::stopClicked);
    connect(m_close, &QPushButton::clicked, this, &DuplicatePanel::closeClicked);
}

DuplicateFinder::Criteria DuplicatePanel::criteria() const
{
    return m_comparison->criteria();
}

void DuplicatePanel::showCategories(const CategoryTree &tree)
{
    m_tree->rebuild(tree);
}

CheckTree DuplicatePanel::tickedCatalogs() const
{
    return m_tree->checkTree();
}

void DuplicatePanel::restore(const FormValues &form)
{
    m_comparison->restore(form);
}

void DuplicatePanel::store(FormValues &form) const
{
    m_comparison->store(form);
}

void DuplicatePanel::setRunning(bool running)
{
    m_start->setEnabled(!running);
    m_close->setEnabled(!running);
    m_stop->setEnabled(running);
}
