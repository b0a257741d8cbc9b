#include "TreeViewMemory.h"

#include "CategoryTreeModel.h"

#include <QItemSelectionModel>
#include <QTreeView>

TreeViewMemory::TreeViewMemory(QTreeView *view, CategoryTreeModel *model, const CategoryTree &tree)
    : QObject(view), m_view(view), m_model(model), m_tree(tree)
{
    connect(view, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        if (!m_rebuilding && CategoryTreeModel::isCategory(index))
            m_expanded.insert(m_model->nodeText(index));
    });
    connect(view, &QTreeView::collapsed, this, [this](const QModelIndex &index) {
        if (!m_rebuilding && CategoryTreeModel::isCategory(index))
            m_expanded.remove(m_model->nodeText(index));
    });
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (!m_rebuilding)
                    remember(current);
            });
}

void TreeViewMemory::remember(const QModelIndex &current)
{
    m_selectedName = current.isValid() ? m_model->nodeText(current) : QString();
    m_selectedCatalog = CategoryTreeModel::isCatalog(current);
}

QModelIndex TreeViewMemory::find(const QString &name, bool catalog) const
{
    if (catalog)
        return m_model->catalogIndex(m_tree.findCatalog(name));
    for (int i = 0; i < m_tree.categoryCount(); ++i) {
        if (m_tree.category(i).name == name)
            return m_model->categoryIndex(i);
    }
    return {};
}

void TreeViewMemory::rebuild(const QString &selectName, bool catalog)
{
    m_rebuilding = true;
    m_model->refresh();
    for (int i = 0; i < m_tree.categoryCount(); ++i) {
        if (m_expanded.contains(m_tree.category(i).name))
            m_view->expand(m_model->categoryIndex(i));
    }
    QModelIndex selected = selectName.isEmpty() ? QModelIndex() : find(selectName, catalog);
    if (!selected.isValid() && !m_selectedName.isEmpty())
        selected = find(m_selectedName, m_selectedCatalog);
    if (selected.isValid()) {
        m_view->expand(selected.parent());
        if (selected.parent().isValid())
            m_expanded.insert(m_model->nodeText(selected.parent()));
        m_view->setCurrentIndex(selected);
    }
    m_rebuilding = false;
    remember(m_view->currentIndex());
}
