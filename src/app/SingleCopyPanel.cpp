#include "SingleCopyPanel.h"

#include "ComparisonBoxes.h"
#include "PanelWidgets.h"

#include "CheckTreeView.h"
#include "library/CategoryTree.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using PanelWidgets::named;

SingleCopyPanel::SingleCopyPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_asked = named(new QLabel(this), "Singlecatalog");
    m_asked->setWordWrap(true);
    layout->addWidget(m_asked);
    layout->addWidget(new QLabel(QStringLiteral("Comparison can be based on name, size, and date"), this));
    m_tree = named(new CheckTreeView(this), "Singletree");
    m_tree->setMinimumSize(240, 140);
    layout->addWidget(m_tree, 1);

    m_comparison = std::make_unique<ComparisonBoxes>(this, layout, QStringLiteral("Single"));

    auto *buttons = new QHBoxLayout;
    m_start = PanelWidgets::button(this, QStringLiteral("Singlestart"), QStringLiteral("Find"));
    m_stop = PanelWidgets::button(this, QStringLiteral("Singlestop"), QStringLiteral("Stop"));
    m_close = PanelWidgets::button(this, QStringLiteral("Singleclose"), QStringLiteral("Close"));
    m_stop->setEnabled(false);
    for (QPushButton *b : {m_start, m_stop, m_close})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(m_start, &QPushButton::clicked, this, &SingleCopyPanel::startClicked);
    connect(m_stop, &QPushButton::clicked, this, &SingleCopyPanel::stopClicked);
    connect(m_close, &QPushButton::clicked, this, &SingleCopyPanel::closeClicked);
}

void SingleCopyPanel::askAcross(const CategoryTree &tree)
{
    m_catalog.clear();
    m_asked->hide();
    m_tree->setAccessibleName(QStringLiteral("Check Desired Categories"));
    showTree(tree);
}

void SingleCopyPanel::askAbout(const QString &catalog, const CategoryTree &tree)
{
    m_catalog = catalog;
    m_asked->setText(QStringLiteral("Files of %1 found nowhere else. Compare with:").arg(catalog));
    m_asked->show();
    m_tree->setAccessibleName(QStringLiteral("Check The Catalogs To Compare With"));
    CategoryTree others = tree;
    const CategoryTree::CatalogRef asked = others.findCatalog(catalog);
    if (asked.isValid())
        others.removeCatalog(asked);
    showTree(others);
}

void SingleCopyPanel::showTree(const CategoryTree &tree)
{
    m_tree->rebuild(tree);
    m_tree->setAllChecked(true);
}

CheckTree SingleCopyPanel::tickedCatalogs() const
{
    return m_tree->checkTree();
}

SingleCopyFinder::Criteria SingleCopyPanel::criteria() const
{
    return m_comparison->criteria();
}

void SingleCopyPanel::restore(const FormValues &form)
{
    m_comparison->restore(form);
}

void SingleCopyPanel::store(FormValues &form) const
{
    m_comparison->store(form);
}

void SingleCopyPanel::setRunning(bool running)
{
    m_start->setEnabled(!running);
    m_close->setEnabled(!running);
    m_stop->setEnabled(running);
}
