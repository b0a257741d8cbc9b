#include "MainWindow.h"

#include "AppIdentity.h"

#include "CategoryTreeModel.h"
#include "CommentsController.h"
#include "GeneralController.h"
#include "ImportController.h"
#include "IndexingController.h"
#include "MediaController.h"
#include "NamedEditorDelegate.h"
#include "PrintController.h"
#include "QueriesController.h"
#include "TableController.h"
#include "TableToolsController.h"
#include "ToolPanel.h"
#include "TreeController.h"
#include "VisualTableDelegate.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QSplitter>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

const QString MainWindow::Caption = AppIdentity::caption();

MainWindow::MainWindow(const QString &libraryRoot, Dialogs &dialogs, const DateFormats &formats,
                       QWidget *parent)
    : QMainWindow(parent), m_ctx(libraryRoot, dialogs, formats, this, Caption)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Caption);
    createWidgets();
    createMenus();
    createMenuBarKey();
    createTrayIcon();
    startUp();
}

MainWindow::~MainWindow()
{}

void MainWindow::StatusLine(const QString &text)
{
    m_ctx.setStatus(text);
}

QAction *MainWindow::action(const QString &objectName) const
{
    return m_ctx.action(objectName);
}

HelpWindow *MainWindow::helpWindow() const
{
    return m_general->helpWindow();
}

template <typename Feature, typename... Views>
Feature *MainWindow::addFeature(Views *...views)
{
    auto *feature = new Feature(m_ctx, views..., this);
    m_features << feature;
    return feature;
}

ToolPanel *MainWindow::panel(const QString &objectName) const
{
    return m_ctx.panel(objectName);
}

void MainWindow::createWidgets()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setChildrenCollapsible(false);

    m_panel1 = new QWidget(m_splitter);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    auto *treeLayout = new QVBoxLayout(m_panel1);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    m_treeView = new QTreeView(m_panel1);
    m_treeView->setObjectName(QStringLiteral("TreeView1"));
    m_treeView->setAccessibleName(QStringLiteral("Categories And Catalogs"));
    m_treeView->setHeaderHidden(true);
    m_treeView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_treeView->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_treeView->setDragDropMode(QAbstractItemView::DragDrop);
    m_treeView->setDefaultDropAction(Qt::MoveAction);
    m_treeView->setDropIndicatorShown(true);
    m_treeModel = new CategoryTreeModel(m_ctx.state().tree, this);
    m_treeView->setModel(m_treeModel);
    // The column is as wide as the longest name shown: a narrow pane scrolls
    // sideways rather than cutting names short.
    m_treeView->header()->setStretchLastSection(false);
    m_treeView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_treeView->setTextElideMode(Qt::ElideNone);
    m_treeView->setItemDelegate(new NamedEditorDelegate(m_treeView));
    treeLayout->addWidget(m_treeView);
    m_treeView->installEventFilter(this);

    m_tableModel = new VisualTableModel(m_ctx.formats(), this);
    m_tableView = new QTableView(m_splitter);
    m_tableView->setObjectName(QStringLiteral("VisualTable"));
    m_tableView->setAccessibleName(QStringLiteral("Visual Table"));
    m_tableView->setModel(m_tableModel);
    m_tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tableView->verticalHeader()->setDefaultSectionSize(18);
    m_tableView->verticalHeader()->hide();
    m_tableView->setShowGrid(true);
    m_tableView->setToolTip(QStringLiteral("Right Click For More Options."));
    m_tableView->horizontalHeader()->setSortIndicatorShown(true);
    m_tableView->horizontalHeader()->setSectionsClickable(true);
    m_tableView->setWordWrap(false);
    m_tableView->setItemDelegate(new VisualTableDelegate(m_tableView));
    m_tableView->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                 QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_tableView->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: blue; color: yellow; font-weight: bold; }"));
    m_tableView->installEventFilter(this);
    m_ctx.setTable(m_tableView, m_tableModel);

    m_splitter->addWidget(m_panel1);
    m_splitter->addWidget(m_tableView);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);
}

QMenu *MainWindow::addMenu(const QString &objectName, const QString &caption)
{
    QMenu *menu = menuBar()->addMenu(caption);
    menu->setObjectName(objectName);
    return menu;
}

QAction *MainWindow::addCommand(QMenu *menu, const QString &objectName, const QString &caption)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(objectName);
    if (menu)
        menu->addAction(a);
    return a;
}

void MainWindow::connectCommand(const QString &objectName, void (MainWindow::*handler)())
{
    if (QAction *a = action(objectName))
        connect(a, &QAction::triggered, this, handler);
}

void MainWindow::createMenus()
{
    QMenu *catalogs = addMenu(QStringLiteral("Catalogs1"), QStringLiteral("&Catalogs"));
    addCommand(catalogs, QStringLiteral("Create1"), QStringLiteral("Create"));
    addCommand(catalogs, QStringLiteral("View1"), QStringLiteral("View Selected"));
    addCommand(catalogs, QStringLiteral("Delete1"), QStringLiteral("Delete Selected"));
    addCommand(catalogs, QStringLiteral("Rename1"), QStringLiteral("Rename Selected"));
    addCommand(catalogs, QStringLiteral("ViewAddEditSelectedComment1"),
               QStringLiteral("View/Add/Edit Selected Comment"));
    catalogs->addSeparator();
    addCommand(catalogs, QStringLiteral("SaveChanges1"), QStringLiteral("Save Changes"));
    addCommand(catalogs, QStringLiteral("Update1"), QStringLiteral("Update Selected"));
    catalogs->addSeparator();
    addCommand(catalogs, QStringLiteral("FindDuplicates1"), QStringLiteral("Find Duplicates"));
    addCommand(catalogs, QStringLiteral("FindSingleCopies1"), QStringLiteral("Find Single Copies"));
    addCommand(catalogs, QStringLiteral("Report1"), QStringLiteral("Report"));
    addCommand(catalogs, QStringLiteral("ViewAllCatalogs1"), QStringLiteral("View All Catalogs"));

    QAction *search = addCommand(nullptr, QStringLiteral("Search1"), QStringLiteral("&Search"));
    menuBar()->addAction(search);

    QMenu *table = addMenu(QStringLiteral("VisualTable1"), QStringLiteral("&Visual Table"));
    addCommand(table, QStringLiteral("SaveColumnsWidths1"), QStringLiteral("Save Columns Widths"));
    addCommand(table, QStringLiteral("SearchTable1"), QStringLiteral("Search Table"));
    addCommand(table, QStringLiteral("PrintTable1"), QStringLiteral("Print Table"));
    QMenu *saveAs = table->addMenu(QStringLiteral("Save Contents As"));
    saveAs->setObjectName(QStringLiteral("SaveContentsAs1"));
    addCommand(saveAs, QStringLiteral("TextFileFormatted1"), QStringLiteral("Text File (Formatted)"));
    addCommand(saveAs, QStringLiteral("HTMLFile1"), QStringLiteral("HTML File"));

    QMenu *comments = addMenu(QStringLiteral("FileComments1"), QStringLiteral("&File Comments"));
    addCommand(comments, QStringLiteral("AddEdit1"), QStringLiteral("Add/Edit"));
    addCommand(comments, QStringLiteral("Delete2"), QStringLiteral("Delete Comment"));
    addCommand(comments, QStringLiteral("UndoDelete1"), QStringLiteral("Undo Delete"))->setEnabled(false);
    comments->addSeparator();
    addCommand(comments, QStringLiteral("SearchAndReplace1"), QStringLiteral("Search And Replace"));

    QMenu *categories = addMenu(QStringLiteral("Categories1"), QStringLiteral("C&ategories"));
    addCommand(categories, QStringLiteral("Add1"), QStringLiteral("Add"));
    addCommand(categories, QStringLiteral("RenameSelectedCategory1"),
               QStringLiteral("Rename Selected Category"));
    addCommand(categories, QStringLiteral("DeleteSelectedCategory1"),
               QStringLiteral("Delete Selected Category"));
    addCommand(categories, QStringLiteral("ViewAddEditSelectedComment2"),
               QStringLiteral("View/Add/Edit Selected Comment"));

    QMenu *general = addMenu(QStringLiteral("General1"), QStringLiteral("&General"));
    QAction *tooltips = addCommand(general, QStringLiteral("TooltipsOn1"), QStringLiteral("Tooltips On"));
    tooltips->setCheckable(true);
    tooltips->setChecked(true);
    addCommand(general, QStringLiteral("SetTooltipAndTextColor1"),
               QStringLiteral("Set Tooltip And Text Color"));
    addCommand(general, QStringLiteral("UpgradeTov2xx1"), QStringLiteral("Upgrade To v2.xx"));
    general->addSeparator();
    addCommand(general, QStringLiteral("Help1"), QStringLiteral("Help"));
    addCommand(general, QStringLiteral("About1"), QStringLiteral("About"));

    auto *treeFeature = addFeature<TreeController>(m_treeView, m_treeModel);
    auto *tableFeature = addFeature<TableController>();
    m_ctx.setServices(treeFeature, tableFeature);
    addFeature<IndexingController>();
    addFeature<QueriesController>();
    addFeature<TableToolsController>();
    addFeature<ImportController>();
    addFeature<CommentsController>();
    addFeature<PrintController>();
    addFeature<MediaController>();
    m_general = addFeature<GeneralController>();
}

void MainWindow::createTrayIcon()
{
    // Tray menu commands exist even without a tray, so Exit is always there.
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu2"));
    addCommand(menu, QStringLiteral("ShowKestrovane1"), QStringLiteral("Show Kestrovane"));
    addCommand(menu, QStringLiteral("Exit1"), QStringLiteral("Exit"));
    connectCommand(QStringLiteral("ShowKestrovane1"), &MainWindow::showFromTray);
    connectCommand(QStringLiteral("Exit1"), &MainWindow::exitProgram);
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    // A tray entry without an icon would be invisible; the drive icon stands in
    // until the program has an icon of its own.
    const QIcon icon = windowIcon().isNull() ? style()->standardIcon(QStyle::SP_DriveCDIcon) : windowIcon();
    m_tray = new QSystemTrayIcon(icon, this);
    m_tray->setToolTip(AppIdentity::trayHint());
    m_tray->setContextMenu(menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && !isVisible())
            showFromTray();
    });
    m_tray->show();
}
