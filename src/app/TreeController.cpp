#include "TreeController.h"

#include "AppContext.h"
#include "CategoryTreeModel.h"
#include "LibraryWatch.h"
#include "PopupMenu.h"
#include "TableService.h"
#include "TreeViewMemory.h"
#include "library/CatalogName.h"
#include "library/CategoryName.h"
#include "library/LibraryLock.h"
#include "library/TreeOperations.h"

#include <QKeyEvent>
#include <QTimer>
#include <QTreeView>

namespace {

// The menu's rename and the in-place rename word a taken name differently.
const QString kCategoryTakenFromMenu = QStringLiteral("A caategory with the same name already exists!");
const QString kCategoryTakenInPlace = QStringLiteral("A category with the same name already exists!");

QList<PopupMenu::Entry> catalogMenuEntries()
{
    return {
        {"ViewCatalog1", "View Selected Catalog"},
        {"RenameSelectedCatalog1", "Rename Selected Catalog"},
        {"DeleteSelectedCatalog1", "Delete Selected Catalog"},
        {"ViewAddEditSelectedComment3", "View/Add/Edit Selected Comment"},
        {"UpdateSelectedCatalog1", "Update Selected Catalog"},
        {"ViewCatalogInformation1", "View Catalog Information"},
        {"FilesFoundNowhereElse1", "Files Found Nowhere Else"},
    };
}

QList<PopupMenu::Entry> categoryMenuEntries()
{
    return {
        {"AddCategory1", "Add Category"},
        {"RenameSelectedCategory2", "Rename Selected Category"},
        {"DeleteSelectedCategory2", "Delete Selected Category"},
        {"ViewAddEditSelectedComment4", "View/Add/Edit Selected Comment"},
    };
}

} // namespace

TreeController::TreeController(AppContext &context, QTreeView *view, CategoryTreeModel *model,
                               QObject *parent)
    : FeatureController(context, parent), m_view(view), m_model(model),
      m_memory(new TreeViewMemory(view, model, context.state().tree)),
      m_catalogMenu(new PopupMenu(QStringLiteral("PopupMenu3"), catalogMenuEntries(), context.window())),
      m_categoryMenu(new PopupMenu(QStringLiteral("PopupMenu7"), categoryMenuEntries(), context.window()))
{
    connectView();
    for (const char *name : {"Add1", "AddCategory1"})
        m_ctx.onCommand(QLatin1String(name), this, &TreeController::addNewCategory);
    for (const char *name : {"RenameSelectedCategory1", "RenameSelectedCategory2"})
        m_ctx.onCommand(QLatin1String(name), this, &TreeController::renameSelectedCategory);
    for (const char *name : {"DeleteSelectedCategory1", "DeleteSelectedCategory2"})
        m_ctx.onCommand(QLatin1String(name), this, &TreeController::deleteSelectedCategory);
    for (const char *name : {"Rename1", "RenameSelectedCatalog1"})
        m_ctx.onCommand(QLatin1String(name), this, &TreeController::renameSelectedCatalog);
    for (const char *name : {"Delete1", "DeleteSelectedCatalog1"})
        m_ctx.onCommand(QLatin1String(name), this, &TreeController::deleteSelectedCatalog);
    // The tree opens catalogs without a command.
    m_ctx.holdBackWhileRunning(m_view);
    m_ctx.holdBackWhileRunning({"Delete1", "DeleteSelectedCatalog1", "Rename1", "RenameSelectedCatalog1",
                                "DeleteSelectedCategory1", "DeleteSelectedCategory2",
                                "RenameSelectedCategory1", "RenameSelectedCategory2"});
}

void TreeController::connectView()
{
    connect(m_view, &QTreeView::clicked, this, &TreeController::selectClickedNode);
    connect(m_view, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        selectNode(index);
        viewSelectedNode();
    });
    connect(m_view, &QWidget::customContextMenuRequested, this, &TreeController::showContextMenu);
    connect(m_model, &CategoryTreeModel::renameRequested, this, &TreeController::renameNodeInPlace);
    // Queued: the tree is rebuilt after the view has finished its drop.
    connect(m_model, &CategoryTreeModel::catalogDropped, this, &TreeController::moveCatalogToCategory,
            Qt::QueuedConnection);
}

QModelIndex TreeController::selectedNode() const
{
    return m_view->currentIndex();
}

void TreeController::selectNode(const QModelIndex &index)
{
    m_view->setCurrentIndex(index);
}

void TreeController::expandNode(const QModelIndex &node)
{
    m_view->expand(node);
}

int TreeController::catalogCountOf(int category) const
{
    return int(m_ctx.state().tree.category(category).catalogs.size());
}

void TreeController::selectClickedNode(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    selectNode(index);
    showNodeStatus(index);
}

void TreeController::showNodeStatus(const QModelIndex &node)
{
    const QString name = m_model->nodeText(node);
    if (CategoryTreeModel::isCatalog(node)) {
        const QString note = m_ctx.catalogNote(name);
        m_ctx.setStatus(!note.isEmpty() ? note
                                        : QStringLiteral("Double Click Or Press The Enter Key To View ") +
                                              name + QStringLiteral(" Catalog"));
        return;
    }
    m_ctx.setStatus(categoryStatus(node));
}

QString TreeController::categoryStatus(const QModelIndex &category) const
{
    const int count = catalogCountOf(category.row());
    return count > 0 ? QStringLiteral("%1 Category, Contains %2 Catalogs")
                           .arg(m_model->nodeText(category))
                           .arg(count)
                     : QString();
}

// A double click and Enter do what View Selected does.
void TreeController::viewSelectedNode()
{
    m_ctx.action(QStringLiteral("View1"))->trigger();
}

void TreeController::showContextMenu(const QPoint &pos)
{
    const QModelIndex index = m_view->indexAt(pos);
    if (index.isValid())
        selectClickedNode(index);
    const QModelIndex node = selectedNode();
    if (!node.isValid())
        return;
    PopupMenu *menu = CategoryTreeModel::isCatalog(node) ? m_catalogMenu : m_categoryMenu;
    menu->popUpAt(m_view, pos);
}

void TreeController::keyPressed(QKeyEvent *event)
{
    const QModelIndex node = selectedNode();
    const bool catalog = CategoryTreeModel::isCatalog(node);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        viewSelectedNode();
        break;
    case Qt::Key_Insert:
        if (catalog)
            m_ctx.action(QStringLiteral("Create1"))->trigger();
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

void TreeController::refreshTree(const QString &selectName, bool catalog)
{
    m_shownReloads = m_ctx.state().listReloads;
    m_memory->rebuild(selectName, catalog);
}

void TreeController::addNewCategory()
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
        m_ctx.setStatus(*name + QStringLiteral(" Category Already Exists"));
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
    m_ctx.setStatus(QStringLiteral("Category ") + *name + QStringLiteral(" Added"));
}

void TreeController::renameSelectedCategory()
{
    const QModelIndex node = selectedNode();
    if (!node.isValid())
        return;
    if (!CategoryTreeModel::isCategory(node)) {
        m_ctx.setStatus(QStringLiteral("Please Select A Category First"));
        return;
    }
    const QString oldName = m_model->nodeText(node);
    const auto name =
        m_ctx.dialogs().inputBox(QStringLiteral("Rename Category"),
                                 QStringLiteral("Rename ") + oldName + QStringLiteral(" Category To:"));
    if (!name || name->isEmpty())
        return;
    if (!renameCategory(oldName, *name, kCategoryTakenFromMenu))
        return;
    m_ctx.setStatus(QStringLiteral("Renamed ") + oldName + QStringLiteral(" Category To ") + *name +
                    QStringLiteral(" Category"));
}

void TreeController::deleteSelectedCategory()
{
    const QModelIndex node = selectedNode();
    if (!CategoryTreeModel::isCategory(node)) {
        m_ctx.setStatus(QStringLiteral("Please Select A Category First"));
        return;
    }
    const QString name = m_model->nodeText(node);
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
    m_ctx.setStatus(QStringLiteral("Deleted ") + name + QStringLiteral(" Category"));
}

void TreeController::renameSelectedCatalog()
{
    const QModelIndex node = selectedNode();
    if (!CategoryTreeModel::isCatalog(node))
        return;
    const QString oldName = m_model->nodeText(node);
    const auto name = m_ctx.dialogs().inputBox(QStringLiteral("Rename Catalog"),
                                               QStringLiteral("From ") + oldName + QStringLiteral(" To:"));
    if (!name || name->isEmpty())
        return;
    if (!renameCatalog(oldName, *name))
        return;
    m_ctx.setStatus(QStringLiteral("Renamed ") + oldName + QStringLiteral(" To ") + *name);
}

void TreeController::deleteSelectedCatalog()
{
    const QModelIndex node = selectedNode();
    if (!CategoryTreeModel::isCatalog(node))
        return;
    const QString name = m_model->nodeText(node);
    const QString category = m_model->nodeText(node.parent());
    if (!m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to delete ") + name +
                                      QStringLiteral(" catalog?")))
        return;
    QString error;
    if (TreeOperations::deleteCatalog(m_ctx.state(), m_ctx.library(), name, &error))
        m_ctx.table().emptyTable();
    if (!error.isEmpty()) {
        showReloadedLists();
        m_ctx.dialogs().error(error);
        return;
    }
    refreshTree(category, false);
    m_ctx.setStatus(QStringLiteral("Catalog ") + name + QStringLiteral(" Deleted"));
}

void TreeController::renameNodeInPlace(const QModelIndex &index, const QString &text)
{
    // An emptied label keeps the old name, as an empty input box does: a
    // nameless catalog would own the file ".TXT".
    if (!index.isValid() || text.isEmpty())
        return;
    const QString oldName = m_model->nodeText(index);
    if (CategoryTreeModel::isCatalog(index))
        renameCatalog(oldName, text);
    else
        renameCategory(oldName, text, kCategoryTakenInPlace);
}

bool TreeController::renameCatalog(const QString &oldName, const QString &newName)
{
    if (const QString problem = CatalogName::renameProblem(m_ctx.state(), m_ctx.library(), newName);
        !problem.isEmpty()) {
        m_ctx.dialogs().warning(problem);
        return false;
    }
    QString error;
    if (!TreeOperations::renameCatalog(m_ctx.state(), m_ctx.library(), oldName, newName, &error).isValid()) {
        showReloadedLists();
        m_ctx.dialogs().error(error);
        return false;
    }
    refreshTree(newName, true);
    return true;
}

bool TreeController::renameCategory(const QString &oldName, const QString &newName,
                                    const QString &takenWarning)
{
    if (const QString problem = CategoryName::problem(newName); !problem.isEmpty()) {
        m_ctx.dialogs().warning(problem);
        return false;
    }
    if (m_ctx.state().tree.hasCategoryNamedAscii(newName)) {
        m_ctx.dialogs().warning(takenWarning);
        return false;
    }
    if (!m_ctx.storeChange([&] { return renameCategoryNamed(oldName, newName); }))
        return false;
    refreshTree(newName, false);
    return true;
}

QString TreeController::renameCategoryNamed(const QString &oldName, const QString &newName)
{
    const int category = m_ctx.state().tree.findCategory(oldName);
    if (category < 0)
        return TreeOperations::goneMessage(oldName);
    TreeOperations::renameCategory(m_ctx.state(), category, newName);
    return QString();
}

void TreeController::moveCatalogToCategory(CategoryTree::CatalogRef catalog, int category)
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

void TreeController::startFollowingLibrary()
{
    m_libraryWatch = new LibraryWatch(m_ctx.library().root(), this);
    connect(m_libraryWatch, &LibraryWatch::changed, this, &TreeController::readChangedLists);
    connect(&m_ctx, &AppContext::listsChanged, this, &TreeController::showReloadedLists);
}

void TreeController::stopFollowingLibrary()
{
    delete m_libraryWatch;
    m_libraryWatch = nullptr;
}

void TreeController::readChangedLists()
{
    if (!m_libraryWatch)
        return; // shut down since the change, or since a retry was timed
    {
        const LibraryLock lock(m_ctx.library().root(), LibraryLock::Kind::Shared, 0);
        if (!lock.isLocked()) {
            // A writer is at work; its last step may already have been seen.
            QTimer::singleShot(200, this, &TreeController::readChangedLists);
            return;
        }
        m_ctx.library().refreshLists(m_ctx.state());
    }
    showReloadedLists();
}

void TreeController::showReloadedLists()
{
    if (m_ctx.state().listReloads != m_shownReloads)
        refreshTree();
}
