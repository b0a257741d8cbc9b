#include "CategoryTreeModel.h"

#include <QApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QStyle>

namespace {
const QString kCatalogMime = QStringLiteral("application/x-kestrovane-catalog");
}

CategoryTreeModel::CategoryTreeModel(CategoryTree &tree, QObject *parent)
    : QAbstractItemModel(parent), m_tree(tree)
{}

QIcon CategoryTreeModel::nodeIcon(int image)
{
    QStyle *style = QApplication::style();
    switch (image) {
    case CategoryTree::CategoryImage:
        return style->standardIcon(QStyle::SP_DirIcon);
    case CategoryTree::CdRomImage:
        return style->standardIcon(QStyle::SP_DriveCDIcon);
    case CategoryTree::RemovableImage:
        return style->standardIcon(QStyle::SP_DriveFDIcon);
    default:
        return style->standardIcon(QStyle::SP_DriveHDIcon);
    }
}

QModelIndex CategoryTreeModel::categoryIndex(int category) const
{
    if (category < 0 || category >= m_tree.categoryCount())
        return {};
    return createIndex(category, 0, quintptr(0));
}

QModelIndex CategoryTreeModel::catalogIndex(CategoryTree::CatalogRef ref) const
{
    if (!ref.isValid() || ref.category >= m_tree.categoryCount() ||
        ref.catalog >= int(m_tree.category(ref.category).catalogs.size()))
        return {};
    return createIndex(ref.catalog, 0, quintptr(ref.category + 1));
}

int CategoryTreeModel::categoryOf(const QModelIndex &index)
{
    if (!index.isValid())
        return -1;
    return isCategory(index) ? index.row() : int(index.internalId()) - 1;
}

CategoryTree::CatalogRef CategoryTreeModel::catalogRef(const QModelIndex &index)
{
    if (!isCatalog(index))
        return {};
    return {int(index.internalId()) - 1, index.row()};
}

// Another program's change can reach the tree before the view is rebuilt:
// an index of the old tree then reads as nothing.
bool CategoryTreeModel::holds(const QModelIndex &index) const
{
    if (isCategory(index))
        return index.row() < m_tree.categoryCount();
    return isCatalog(index) && catalogIndex(catalogRef(index)).isValid();
}

QString CategoryTreeModel::nodeText(const QModelIndex &index) const
{
    if (!holds(index))
        return {};
    if (isCategory(index))
        return m_tree.category(index.row()).name;
    if (isCatalog(index))
        return m_tree.catalog(catalogRef(index)).name;
    return {};
}

int CategoryTreeModel::nodeImage(const QModelIndex &index) const
{
    if (!holds(index))
        return -1;
    if (isCategory(index))
        return m_tree.category(index.row()).image;
    if (isCatalog(index))
        return m_tree.catalog(catalogRef(index)).image;
    return -1;
}

void CategoryTreeModel::refresh()
{
    beginResetModel();
    endResetModel();
}

QModelIndex CategoryTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < m_tree.categoryCount() ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (isCategory(parent) && holds(parent) && row < int(m_tree.category(parent.row()).catalogs.size()))
        return createIndex(row, 0, quintptr(parent.row() + 1));
    return {};
}

QModelIndex CategoryTreeModel::parent(const QModelIndex &child) const
{
    if (!isCatalog(child))
        return {};
    return createIndex(int(child.internalId()) - 1, 0, quintptr(0));
}

int CategoryTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return m_tree.categoryCount();
    if (isCategory(parent) && holds(parent))
        return int(m_tree.category(parent.row()).catalogs.size());
    return 0;
}

int CategoryTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant CategoryTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return nodeText(index);
    case Qt::DecorationRole:
        return nodeIcon(nodeImage(index));
    default:
        return {};
    }
}

bool CategoryTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    emit renameRequested(index, value.toString());
    return false;
}

QVariant CategoryTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Categories And Catalogs");
    return QAbstractItemModel::headerData(section, orientation, role);
}

Qt::ItemFlags CategoryTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    f |= isCatalog(index) ? Qt::ItemIsDragEnabled : Qt::ItemIsDropEnabled;
    return f;
}

Qt::DropActions CategoryTreeModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

QStringList CategoryTreeModel::mimeTypes() const
{
    return {kCatalogMime};
}

QMimeData *CategoryTreeModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.size() != 1 || !isCatalog(indexes.first()))
        return nullptr;
    const CategoryTree::CatalogRef ref = catalogRef(indexes.first());
    auto *mime = new QMimeData;
    QByteArray bytes;
    QDataStream(&bytes, QIODevice::WriteOnly) << ref.category << ref.catalog;
    mime->setData(kCatalogMime, bytes);
    return mime;
}

bool CategoryTreeModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int row, int,
                                        const QModelIndex &parent) const
{
    // Only onto a category node itself, never between nodes.
    return data && data->hasFormat(kCatalogMime) && isCategory(parent) && row < 0;
}

bool CategoryTreeModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                     const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    CategoryTree::CatalogRef ref;
    QDataStream(data->data(kCatalogMime)) >> ref.category >> ref.catalog;
    emit catalogDropped(ref, parent.row());
    // The main window moved the node itself; the view must not remove anything.
    return false;
}
