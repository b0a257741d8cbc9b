// The category and catalog tree: selection, categories, catalogs, in-place
// renaming and drag and drop.
#include "MainWindow.h"

#include "CategoryTreeModel.h"
#include "TreeViewMemory.h"
#include "library/CatalogName.h"
#include "library/CategoryName.h"
#include "library/TreeOperations.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeView>

void MainWindow::connectTree()
{
    m_treeView->installEventFilter(this);
    connect(m_treeView, &QTreeView::clicked, this, &MainWindow::treeNodeClicked);
    connect(m_treeView, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        selectNode(index);
        openSelectedNode();
    });
    connect(m_treeView, &QWidget::customContextMenuRequested, this, &MainWindow::showTreeContextMenu);
    connect(m_treeModel, &CategoryTreeModel::renameRequested, this, &MainWindow::treeNodeRenamed);
    // Queued: the tree is rebuilt after the view has finished its drop.
    connect(m_treeModel, &CategoryTreeModel::catalogDropped, this, &MainWindow::moveCatalogToCategory,
            Qt::QueuedConnection);
}

QModelIndex MainWindow::selectedNode() const
{
    return m_treeView->currentIndex();
}

void MainWindow::selectNode(const QModelIndex &index)
{
    m_treeView->setCurrentIndex(index);
}

void MainWindow::expandNode(const QModelIndex &node)
{
    m_treeView->expand(node);
}

int MainWindow::catalogCountOf(int category) const
{
    return int(m_ctx.state().tree.category(category).catalogs.size());
}

void MainWindow::treeNodeClicked(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    selectNode(index);
    const QString name = m_treeModel->nodeText(index);
    if (CategoryTreeModel::isCatalog(index)) {
        StatusLine(QStringLiteral("Double Click Or Press The Enter Key To View ") + name +
                   QStringLiteral(" Catalog"));
        return;
    }
    const int count = catalogCountOf(index.row());
    StatusLine(count > 0 ? QStringLiteral("%1 Category, Contains %2 Catalogs").arg(name).arg(count)
                         : QString());
}

void MainWindow::showTreeContextMenu(const QPoint &pos)
{
    const QModelIndex index = m_treeView->indexAt(pos);
    if (index.isValid())
        treeNodeClicked(index);
    const QModelIndex node = selectedNode();
    if (!node.isValid())
        return;
    QMenu *menu = CategoryTreeModel::isCatalog(node) ? m_catalogPopup : m_categoryPopup;
    menu->popup(m_treeView->viewport()->mapToGlobal(pos));
}

void MainWindow::treeKeyPressed(QKeyEvent *event)
{
    const QModelIndex node = selectedNode();
    const bool catalog = CategoryTreeModel::isCatalog(node);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openSelectedNode();
        break;
    case Qt::Key_Insert:
        if (catalog)
            action(QStringLiteral("Create1"))->trigger();
        else if (node.isValid())
            addNewCategory();
        break;
    case Qt::Key_Delete:
        if (catalog)
            deleteSelectedCatalog();
        else if (node.isValid())
            deleteSelectedCategory();
        break;
    default:
        break;
    }
}

void MainWindow::refreshTree(const QString &selectName, bool catalog)
{
    m_shownReloads = m_ctx.state().listReloads;
    m_treeMemory->rebuild(selectName, catalog);
}

void MainWindow::addNewCategory()
{
    const auto name =
        m_ctx.dialogs().inputBox(QStringLiteral("Add New Category"), QStringLiteral("Please enter a name"));
    if (!name || name->isEmpty())
        return;
    if (const QString problem = CategoryName::problem(*name); !problem.isEmpty()) {
        m_ctx.dialogs().warning(problem);
        return;
    }
    if (m_ctx.state().tree.findCategory(*name) >= 0) {
        StatusLine(*name + QStringLiteral(" Category Already Exists"));
        return;
    }
    const auto add = [&] {
        if (m_ctx.state().tree.findCategory(*name) < 0)
            m_ctx.state().tree.addCategory(*name);
        return QString();
    };
    if (!m_ctx.storeChange(add))
        return;
    refreshTree(*name, false);
    StatusLine(QStringLiteral("Category ") + *name + QStringLiteral(" Added"));
}

void MainWindow::renameSelectedCategory()
{
    const QModelIndex node = selectedNode();
    if (!node.isValid())
        return;
    if (!CategoryTreeModel::isCategory(node)) {
        StatusLine(QStringLiteral("Please Select A Category First"));
        return;
    }
    const QString oldName = m_treeModel->nodeText(node);
    const auto name =
        m_ctx.dialogs().inputBox(QStringLiteral("Rename Category"),
                                 QStringLiteral("Rename ") + oldName + QStringLiteral(" Category To:"));
    if (!name || name->isEmpty())
        return;
    if (const QString problem = CategoryName::problem(*name); !problem.isEmpty()) {
        m_ctx.dialogs().warning(problem);
        return;
    }
    if (m_ctx.state().tree.hasCategoryNamedAscii(*name)) {
        m_ctx.dialogs().warning(QStringLiteral("A caategory with the same name already exists!"));
        return;
    }
    if (!m_ctx.storeChange([&] { return renameCategoryNamed(oldName, *name); }))
        return;
    refreshTree(*name, false);
    StatusLine(QStringLiteral("Renamed ") + oldName + QStringLiteral(" Category To ") + *name +
               QStringLiteral(" Category"));
}

void MainWindow::deleteSelectedCategory()
{
    const QModelIndex node = selectedNode();
    if (!CategoryTreeModel::isCategory(node)) {
        StatusLine(QStringLiteral("Please Select A Category First"));
        return;
    }
    const QString name = m_treeModel->nodeText(node);
    if (const QString refusal = TreeOperations::deleteCategoryRefusal(m_ctx.state(), node.row());
        !refusal.isEmpty()) {
        m_ctx.dialogs().warning(refusal);
        return;
    }
    if (!m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to delete ") + name +
                                      QStringLiteral(" category?")))
        return;
    const auto remove = [&] {
        const int category = m_ctx.state().tree.findCategory(name);
        if (category < 0)
            return TreeOperations::goneMessage(name);
        if (QString refusal = TreeOperations::deleteCategoryRefusal(m_ctx.state(), category);
            !refusal.isEmpty())
            return refusal;
        TreeOperations::deleteCategory(m_ctx.state(), category);
        return QString();
    };
    if (!m_ctx.storeChange(remove))
        return;
    refreshTree();
    StatusLine(QStringLiteral("Deleted ") + name + QStringLiteral(" Category"));
}

void MainWindow::renameSelectedCatalog()
{
    const QModelIndex node = selectedNode();
    if (!CategoryTreeModel::isCatalog(node))
        return;
    const QString oldName = m_treeModel->nodeText(node);
    const auto name = m_ctx.dialogs().inputBox(QStringLiteral("Rename Catalog"),
                                               QStringLiteral("From ") + oldName + QStringLiteral(" To:"));
    if (!name || name->isEmpty())
        return;
    if (const QString problem = CatalogName::renameProblem(m_ctx.state(), m_ctx.library(), *name);
        !problem.isEmpty()) {
        m_ctx.dialogs().warning(problem);
        return;
    }
    QString error;
    if (!TreeOperations::renameCatalog(m_ctx.state(), m_ctx.library(), oldName, *name, &error).isValid()) {
        showReloadedLists();
        m_ctx.dialogs().error(error);
        return;
    }
    refreshTree(*name, true);
    StatusLine(QStringLiteral("Renamed ") + oldName + QStringLiteral(" To ") + *name);
}

void MainWindow::deleteSelectedCatalog()
{
    const QModelIndex node = selectedNode();
    if (!CategoryTreeModel::isCatalog(node))
        return;
    const QString name = m_treeModel->nodeText(node);
    const QString category = m_treeModel->nodeText(node.parent());
    if (!m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to delete ") + name +
                                      QStringLiteral(" catalog?")))
        return;
    QString error;
    if (TreeOperations::deleteCatalog(m_ctx.state(), m_ctx.library(), name, &error))
        emptyTable();
    if (!error.isEmpty()) {
        showReloadedLists();
        m_ctx.dialogs().error(error);
        return;
    }
    refreshTree(category, false);
    StatusLine(QStringLiteral("Catalog ") + name + QStringLiteral(" Deleted"));
}

void MainWindow::treeNodeRenamed(const QModelIndex &index, const QString &text)
{
    // An emptied label keeps the old name, as an empty input box does: a
    // nameless catalog would own the file ".TXT".
    if (!index.isValid() || text.isEmpty())
        return;
    if (CategoryTreeModel::isCatalog(index)) {
        if (const QString problem = CatalogName::renameProblem(m_ctx.state(), m_ctx.library(), text);
            !problem.isEmpty()) {
            m_ctx.dialogs().warning(problem);
            return;
        }
        QString error;
        if (!TreeOperations::renameCatalog(m_ctx.state(), m_ctx.library(), m_treeModel->nodeText(index), text,
                                           &error)
                 .isValid()) {
            showReloadedLists();
            m_ctx.dialogs().error(error);
            return;
        }
        refreshTree(text, true);
        return;
    }
    if (const QString problem = CategoryName::problem(text); !problem.isEmpty()) {
        m_ctx.dialogs().warning(problem);
        return;
    }
    if (m_ctx.state().tree.hasCategoryNamedAscii(text)) {
        m_ctx.dialogs().warning(QStringLiteral("A category with the same name already exists!"));
        return;
    }
    const QString oldName = m_treeModel->nodeText(index);
    if (!m_ctx.storeChange([&] { return renameCategoryNamed(oldName, text); }))
        return;
    refreshTree(text, false);
}

void MainWindow::moveCatalogToCategory(CategoryTree::CatalogRef catalog, int category)
{
    if (!catalog.isValid() || category < 0 || category >= m_ctx.state().tree.categoryCount())
        return;
    const QString name = m_ctx.state().tree.catalog(catalog).name;
    const QString target = m_ctx.state().tree.category(category).name;
    const auto move = [&] {
        const CategoryTree::CatalogRef now = m_ctx.state().tree.findCatalog(name);
        const int to = m_ctx.state().tree.findCategory(target);
        if (!now.isValid() || to < 0)
            return TreeOperations::goneMessage(now.isValid() ? target : name);
        m_ctx.state().tree.moveCatalog(now, to);
        return QString();
    };
    m_ctx.storeChange(move);
    refreshTree(name, true);
}

QString MainWindow::renameCategoryNamed(const QString &oldName, const QString &newName)
{
    const int category = m_ctx.state().tree.findCategory(oldName);
    if (category < 0)
        return TreeOperations::goneMessage(oldName);
    TreeOperations::renameCategory(m_ctx.state(), category, newName);
    return QString();
}
