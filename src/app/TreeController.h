#pragma once

#include "FeatureController.h"
#include "TreeService.h"
#include "library/CategoryTree.h"

class LibraryWatch;
class PopupMenu;
class QKeyEvent;
class QPoint;
class QTreeView;
class TreeViewMemory;

// The category and catalog tree: selecting and clicking nodes, its keys and
// pop-up menus, adding, renaming and deleting categories and catalogs,
// moving a catalog by drag and drop, and rebuilding the view when the lists
// change, here or in another program. The window owns the view and the
// model.
class TreeController : public FeatureController, public TreeService
{
    Q_OBJECT
public:
    TreeController(AppContext &context, QTreeView *view, CategoryTreeModel *model, QObject *parent);

    CategoryTreeModel *treeModel() const override { return m_model; }
    QModelIndex selectedNode() const override;
    void refreshTree(const QString &selectName = QString(), bool catalog = false) override;
    void expandNode(const QModelIndex &node) override;
    int catalogCountOf(int category) const override;
    QString categoryStatus(const QModelIndex &category) const override;

    // Enter, Insert and Delete in the tree (the window routes them here).
    void keyPressed(QKeyEvent *event);
    // Shows the changes other programs make to the library, from the end of
    // start-up until shutdown.
    void startFollowingLibrary();
    void stopFollowingLibrary();

private:
    void connectView();
    void selectNode(const QModelIndex &index);
    void selectClickedNode(const QModelIndex &index);
    void showNodeStatus(const QModelIndex &node);
    void viewSelectedNode();
    void showContextMenu(const QPoint &pos);
    void addNewCategory();
    void renameSelectedCategory();
    void deleteSelectedCategory();
    void renameSelectedCatalog();
    void deleteSelectedCatalog();
    void renameNodeInPlace(const QModelIndex &index, const QString &text);
    // Both rename the node and show the tree; false after reporting why not.
    bool renameCatalog(const QString &oldName, const QString &newName);
    bool renameCategory(const QString &oldName, const QString &newName, const QString &takenWarning);
    // Renames a category found by name; why it cannot, or nothing.
    QString renameCategoryNamed(const QString &oldName, const QString &newName);
    void moveCatalogToCategory(CategoryTree::CatalogRef catalog, int category);
    // Reads the lists again when another program changed them; the table and
    // its unsaved edits stay as they are.
    void readChangedLists();
    // Rebuilds the view when the lists were read again underneath it.
    void showReloadedLists();

    QTreeView *m_view;
    CategoryTreeModel *m_model;
    TreeViewMemory *m_memory;
    PopupMenu *m_catalogMenu;  // PopupMenu3
    PopupMenu *m_categoryMenu; // PopupMenu7
    LibraryWatch *m_libraryWatch = nullptr;
    quint64 m_shownReloads = 0; // LibraryState::listReloads the view shows
};
