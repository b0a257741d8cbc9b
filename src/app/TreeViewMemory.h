#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class CategoryTree;
class CategoryTreeModel;
class QModelIndex;
class QTreeView;

// Keeps which categories the user expanded and which node is selected, by
// name, so a rebuild of the tree (a change of ours or of another program)
// shows the tree as the user left it.
class TreeViewMemory : public QObject
{
    Q_OBJECT
public:
    TreeViewMemory(QTreeView *view, CategoryTreeModel *model, const CategoryTree &tree);

    // Rebuilds the view from the tree, expanding what was expanded and
    // selecting selectName (a catalog when catalog is true), or else the node
    // selected before when it still exists.
    void rebuild(const QString &selectName = QString(), bool catalog = false);

private:
    QModelIndex find(const QString &name, bool catalog) const;
    void remember(const QModelIndex &current);

    QTreeView *m_view;
    CategoryTreeModel *m_model;
    const CategoryTree &m_tree;
    QSet<QString> m_expanded;
    QString m_selectedName;
    bool m_selectedCatalog = false;
    bool m_rebuilding = false;
};
