#include "CheckTreeView.h"

#include "CategoryTreeModel.h"

#include <QHeaderView>

namespace {

Qt::CheckState stateOf(bool checked)
{
    return checked ? Qt::Checked : Qt::Unchecked;
}

QTreeWidgetItem *nodeItem(const CheckTree::Node &node)
{
    auto *item = new QTreeWidgetItem(QStringList{node.text});
    item->setIcon(0, CategoryTreeModel::nodeIcon(node.image));
    item->setToolTip(0, node.text);
    // No Qt::ItemIsAutoTristate: a category's box carries to its catalogs
    // by our own rule, never back up from them.
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    return item;
}

} // namespace

CheckTreeView::CheckTreeView(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    // Hidden, but screen readers still read the column's name.
    setHeaderLabel(QStringLiteral("Categories And Catalogs"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (column == 0 && !m_syncing)
            itemCheckChanged(item);
    });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { categorySelected(item); });
}

void CheckTreeView::rebuild(const CategoryTree &tree)
{
    m_syncing = true;
    clear();
    m_tree.rebuild(tree);
    for (const CheckTree::Category &category : m_tree.categories()) {
        QTreeWidgetItem *top = nodeItem(category.node);
        for (const CheckTree::Node &catalog : category.catalogs)
            top->addChild(nodeItem(catalog));
        addTopLevelItem(top);
    }
    expandAll();
    m_syncing = false;
}

void CheckTreeView::setAllChecked(bool checked)
{
    m_tree.setAllChecked(checked);
    syncItems();
}

void CheckTreeView::setCategoryChecked(int category, bool checked)
{
    m_tree.setCategoryChecked(category, checked);
    syncItems();
}

void CheckTreeView::setCatalogChecked(int category, int catalog, bool checked)
{
    m_tree.setCatalogChecked(category, catalog, checked);
    syncItems();
}

void CheckTreeView::itemCheckChanged(QTreeWidgetItem *item)
{
    const bool checked = item->checkState(0) == Qt::Checked;
    if (QTreeWidgetItem *parent = item->parent())
        m_tree.setCatalogChecked(indexOfTopLevelItem(parent), parent->indexOfChild(item), checked);
    else
        m_tree.setCategoryChecked(indexOfTopLevelItem(item), checked);
    syncItems();
}

void CheckTreeView::categorySelected(QTreeWidgetItem *item)
{
    // A click on a category's text also brings its catalogs in line.
    if (item && !item->parent()) {
        m_tree.categoryClicked(indexOfTopLevelItem(item));
        syncItems();
    }
}

void CheckTreeView::syncItems()
{
    m_syncing = true;
    for (int c = 0; c < topLevelItemCount() && c < m_tree.categoryCount(); ++c) {
        QTreeWidgetItem *top = topLevelItem(c);
        const CheckTree::Category &category = m_tree.category(c);
        top->setCheckState(0, stateOf(category.node.checked));
        for (int k = 0; k < top->childCount() && size_t(k) < category.catalogs.size(); ++k)
            top->child(k)->setCheckState(0, stateOf(category.catalogs[size_t(k)].checked));
    }
    m_syncing = false;
}
