#pragma once

#include "queries/CheckTree.h"

#include <QTreeWidget>

class CategoryTree;

// The ticked copy of the category tree shown by the search and duplicate
// panels: the categories that hold catalogs, each with its catalogs, a check
// box on every node. Ticking or unticking a category carries its state to
// its catalogs; a catalog's box changes that catalog alone.
class CheckTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CheckTreeView(QWidget *parent = nullptr);

    // Empties the view and fills it from tree, every box unticked.
    void rebuild(const CategoryTree &tree);
    const CheckTree &checkTree() const { return m_tree; }

    void setAllChecked(bool checked);
    void setCategoryChecked(int category, bool checked);
    void setCatalogChecked(int category, int catalog, bool checked);

private:
    void itemCheckChanged(QTreeWidgetItem *item);
    void categorySelected(QTreeWidgetItem *item);
    // Brings the boxes in line with m_tree.
    void syncItems();

    CheckTree m_tree;
    bool m_syncing = false;
};
