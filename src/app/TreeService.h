#pragma once

#include <QModelIndex>
#include <QString>

class CategoryTreeModel;

// What the category and catalog tree does for the other features: they ask
// it for the selected node and have it rebuilt after a change, and never
// touch the tree view themselves.
class TreeService
{
public:
    virtual ~TreeService() = default;

    virtual CategoryTreeModel *treeModel() const = 0;
    // The selected node; invalid when there is none.
    virtual QModelIndex selectedNode() const = 0;
    // Rebuilds the tree from the lists, selecting the node named selectName
    // (a catalog when catalog is true) or keeping the selection.
    virtual void refreshTree(const QString &selectName = QString(), bool catalog = false) = 0;
    virtual void expandNode(const QModelIndex &node) = 0;
    virtual int catalogCountOf(int category) const = 0;
    // The status line for a selected category: its name and catalog count,
    // or nothing when it holds no catalog.
    virtual QString categoryStatus(const QModelIndex &category) const = 0;
};
