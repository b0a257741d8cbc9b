#pragma once

#include "library/CategoryTree.h"

#include <QAbstractItemModel>
#include <QIcon>

// The category tree as a Qt model over the library state's CategoryTree.
// Changes go through the tree's controller, which then calls refresh();
// in-place renames and drops are handed on as signals for the same reason.
class CategoryTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit CategoryTreeModel(CategoryTree &tree, QObject *parent = nullptr);

    static QIcon nodeIcon(int image);

    // Index of a category, or of a catalog when ref.catalog >= 0.
    QModelIndex categoryIndex(int category) const;
    QModelIndex catalogIndex(CategoryTree::CatalogRef ref) const;
    static bool isCategory(const QModelIndex &index) { return index.isValid() && index.internalId() == 0; }
    static bool isCatalog(const QModelIndex &index) { return index.isValid() && index.internalId() > 0; }
    static int categoryOf(const QModelIndex &index);
    static CategoryTree::CatalogRef catalogRef(const QModelIndex &index);
    QString nodeText(const QModelIndex &index) const;
    int nodeImage(const QModelIndex &index) const;

    // Call after the tree changed.
    void refresh();

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    // The view hides its header, but screen readers still announce it.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

signals:
    // An in-place edit ended with text (the node still has its old text).
    void renameRequested(const QModelIndex &index, const QString &text);
    // A catalog was dropped onto a category.
    void catalogDropped(CategoryTree::CatalogRef catalog, int category);

private:
    bool holds(const QModelIndex &index) const;

    CategoryTree &m_tree;
};
