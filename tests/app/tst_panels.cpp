#include "AppFixture.h"
#include "TestSupport.h"

#include "CheckTreeView.h"
#include "ToolPanel.h"
#include "library/CommaText.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace {

struct PanelCommand {
    const char *panel;
    const char *command;
    const char *title;
};

const PanelCommand kPanels[] = {
    {"CreateCat", "Create1", "Select A Drive Or Directory, Set Options, Then Start"},
    {"Filecommentdlg", "AddEdit1", "Enter Your Comment To Add Or Use Pre-Defined Comments"},
    {"SandRdlg", "SearchAndReplace1", "Search And Replace File Comments (Case sensitive)"},
    {"Printsetupdlg", "PrintTable1", "Setup Printing Options, Then Preview Or Print"},
    {"Searchtabledlg", "SearchTable1", "Search Visual Table For A Word/Phrase"},
    {"Searchcatdlg", "Search1", "Set Options, Then Start"},
    {"Dupdlg", "FindDuplicates1", "Check Desired Categories, Then Start"},
    {"Updatedlg", "Update1", "Set/Check Options, Then Start"},
    {"Catcommdlg", "ViewAddEditSelectedComment1", "Category/Catalog Comments"},
    {"Aboutdlg", "About1", "About Kestrovane"},
    {"Colordlg", "SetTooltipAndTextColor1", "Set Text And Hint Color"},
    {"Upgradedlg", "UpgradeTov2xx1", "Upgrade To v2.0"},
    {"Singledlg", "FindSingleCopies1", "Check Desired Categories, Then Start"},
};

void addPanelRows()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    for (const PanelCommand &p : kPanels)
        QTest::newRow(p.panel) << p.panel << p.command << p.title;
}

void writeLibrary(AppFixture &app)
{
    const QString info =
        "\"2\",\"1\",\"/\",\"/media/disc/\",\"20 GB\",\"1 MB\",\"Fixed\","
        "\"06/14/1998 10:00:00\",\"True\",\"True\",\"True\",\"True\",\"True\",\"False\",\"0\"";
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Backup\""});
    app.writeLines("Catalogs/Master", {"Backup", info});
    app.writeLines("Catalogs/Backup.TXT",
                   {CommaText::join({"alpha.txt", "10", "06/14/1998 10:00:00", "/media/disc/", "Readme"}),
                    CommaText::join({"beta.txt", "20", "06/14/1998 10:00:00", "/media/disc/", ""})});
}

// Shows a started window with a catalog open, a file row and the catalog
// selected, so every panel's command has what it needs.
MainWindow &ready(AppFixture &app, MainWindow &w)
{
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        qWarning("window not exposed");
    app.openCatalog("Backup");
    w.tableView()->setCurrentIndex(w.tableView()->model()->index(1, 0));
    app.clickCatalog("Backup");
    return w;
}

QRect clientArea(MainWindow &w)
{
    return w.centralWidget()->geometry();
}

// Whether the window shows the panel, not another one, at a point of it.
bool showsPanelAt(MainWindow &w, ToolPanel *p, const QPoint &inPanel)
{
    QWidget *hit = w.childAt(p->mapTo(&w, inPanel));
    return hit == p || p->isAncestorOf(hit);
}

// Focusable controls under an accessible node that carry no name.
void collectUnnamed(QAccessibleInterface *node, QStringList &unnamed)
{
    if (!node)
        return;
    auto *widget = qobject_cast<QWidget *>(node->object());
    const QAccessible::State state = node->state();
    if (widget && state.focusable && !state.invisible && node->text(QAccessible::Name).trimmed().isEmpty())
        unnamed << QString("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className());
    for (int i = 0; i < node->childCount(); ++i)
        collectUnnamed(node->child(i), unnamed);
}

// The panel's controls in Tab order, from the first after the panel itself.
QList<QWidget *> tabChain(ToolPanel *panel)
{
    QList<QWidget *> chain;
    for (QWidget *w = panel->nextInFocusChain(); w != panel; w = w->nextInFocusChain()) {
        if (panel->isAncestorOf(w) && w->isVisible() && (w->focusPolicy() & Qt::TabFocus) &&
            !w->focusProxy() && !chain.contains(w))
            chain << w;
    }
    return chain;
}

// A Tab step against the layout: back to a control on the same line to the
// left, or up to one that is not in a column further right.
bool stepsBack(const QRect &from, const QRect &to)
{
    const bool sameLine = to.top() < from.bottom() && from.top() < to.bottom();
    if (sameLine)
        return to.right() < from.left();
    return to.bottom() < from.top() && to.left() <= from.right();
}

} // namespace

class TestPanels : public QObject
{
    Q_OBJECT
private slots:
    void eachPanel_data() { addPanelRows(); }
    void eachPanel();
    void allPanelsOpenTogether();
    void chosenPositionKeptOverAnother();
    void clickInCoveredPanelRaisesIt_data();
    void clickInCoveredPanelRaisesIt();
    void commentWindowLeavesNameVisible_data();
    void commentWindowLeavesNameVisible();
    void storedDefaultsMeasuredBelowMenuBar();
    void offScreenPositionMovedInside();
    void mainWindowControlsNamed();
    void treeNamesNeverCut();
    void inPlaceEditorsNamed();
    void menusReachableFromKeyboard();
};

// Each panel opens from its command inside the client area, under its title,
// with every control named and in Tab order along its layout; its close
// button hides it, and where it was moved it comes back after a restart.
void TestPanels::eachPanel()
{
    QFETCH(QString, panel);
    QFETCH(QString, command);
    QFETCH(QString, title);
    AppFixture app(writeLibrary);
    MainWindow &w = ready(app, app.start());
    ToolPanel *p = w.panel(panel);
    QVERIFY(p && p->isHidden());
    QVERIFY(app.trigger(command));
    QVERIFY(p->isVisible());
    QCOMPARE(p->title(), title);
    QVERIFY(clientArea(w).contains(p->geometry()));
    QAccessibleInterface *node = QAccessible::queryAccessibleInterface(p);
    QCOMPARE(node->text(QAccessible::Name), title);
    QStringList unnamed;
    collectUnnamed(node, unnamed);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    const QList<QWidget *> chain = tabChain(p);
    QVERIFY(chain.size() > 1);
    auto where = [p](QWidget *c) { return QRect(c->mapTo(p, QPoint(0, 0)), c->size()); };
    for (int i = 1; i < chain.size(); ++i) {
        const QString step = chain.at(i - 1)->objectName() + " -> " + chain.at(i)->objectName();
        QVERIFY2(!stepsBack(where(chain.at(i - 1)), where(chain.at(i))), qPrintable(step));
    }
    p->setHomePosition(QPoint(21, 13));
    auto *close = p->findChild<QToolButton *>(panel + "Close");
    QVERIFY(close);
    QCOMPARE(close->accessibleName(), QString("Close"));
    close->click();
    QVERIFY(p->isHidden());

    MainWindow &again = ready(app, app.restart());
    QVERIFY(app.trigger(command));
    QCOMPARE(again.panel(panel)->pos(), clientArea(again).topLeft() + QPoint(21, 13));
    const QByteArray ini = TestSupport::readFile(app.path("Kestrovane.INI"));
    QVERIFY(ini.contains(panel.toLatin1() + "_Left=21"));
    QVERIFY(ini.contains(panel.toLatin1() + "_Top=13"));
}

void TestPanels::allPanelsOpenTogether()
{
    AppFixture app(writeLibrary);
    MainWindow &w = ready(app, app.start());
    for (const PanelCommand &p : kPanels)
        QVERIFY2(app.trigger(p.command), p.command);
    for (const PanelCommand &p : kPanels) {
        QVERIFY2(w.panel(p.panel)->isVisible(), p.panel);
        // Opened at their default places, they leave every title bar's corner in view.
        QVERIFY2(showsPanelAt(w, w.panel(p.panel), QPoint(4, 4)), p.panel);
        QVERIFY2(clientArea(w).contains(w.panel(p.panel)->geometry()), p.panel);
    }
}

void TestPanels::chosenPositionKeptOverAnother()
{
    AppFixture app(writeLibrary);
    app.writeLines("Kestrovane.INI", {"[Global]", "Searchcatdlg_Left=40", "Searchcatdlg_Top=8"});
    MainWindow &w = ready(app, app.start());
    QVERIFY(app.trigger("Create1"));
    QVERIFY(app.trigger("Search1"));
    QCOMPARE(w.panel("Searchcatdlg")->pos(), w.panel("CreateCat")->pos());
}

void TestPanels::clickInCoveredPanelRaisesIt_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("line edit") << "CatDir";
    QTest::newRow("status bar") << "CreateCatStatus";
    QTest::newRow("frame") << "CreateCat";
}

void TestPanels::clickInCoveredPanelRaisesIt()
{
    QFETCH(QString, control);
    AppFixture app(writeLibrary);
    MainWindow &w = ready(app, app.start());
    QVERIFY(app.trigger("Create1"));
    ToolPanel *covered = w.panel("CreateCat");
    QVERIFY(app.trigger("Search1"));
    const QPoint inBoth = covered->mapFrom(&w, w.panel("Searchcatdlg")->mapTo(&w, QPoint(10, 60)));
    QVERIFY(!showsPanelAt(w, covered, inBoth));
    auto *target = covered->objectName() == control ? covered : covered->findChild<QWidget *>(control);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(1, 1));
    QVERIFY(showsPanelAt(w, covered, inBoth));
}

void TestPanels::commentWindowLeavesNameVisible_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("nameWidth");
    QTest::newRow("first row") << 0 << 150;
    QTest::newRow("second row, wide names") << 1 << 1100;
}

void TestPanels::commentWindowLeavesNameVisible()
{
    QFETCH(int, row);
    QFETCH(int, nameWidth);
    AppFixture app(writeLibrary);
    MainWindow &w = ready(app, app.start());
    QTableView *table = w.tableView();
    table->setColumnWidth(0, nameWidth);
    table->setCurrentIndex(table->model()->index(row, 0));
    QVERIFY(app.trigger("AddEdit1"));
    const QRect cell = table->visualRect(table->currentIndex()).intersected(table->viewport()->rect());
    QVERIFY(!cell.isEmpty());
    const QRect nameCell(table->viewport()->mapTo(&w, cell.topLeft()), cell.size());
    ToolPanel *p = w.panel("Filecommentdlg");
    QVERIFY(!p->geometry().intersects(nameCell));
    QVERIFY(clientArea(w).contains(p->geometry()));
}

void TestPanels::storedDefaultsMeasuredBelowMenuBar()
{
    AppFixture app(writeLibrary);
    MainWindow &w = ready(app, app.start());
    QVERIFY(app.trigger("Create1"));
    QVERIFY(app.trigger("Update1"));
    QVERIFY(w.menuBar()->geometry().bottom() < clientArea(w).top());
    QCOMPARE(w.panel("CreateCat")->pos(), clientArea(w).topLeft() + QPoint(40, 8));
    QCOMPARE(w.panel("Updatedlg")->pos().y(), clientArea(w).top() + 8);
}

void TestPanels::offScreenPositionMovedInside()
{
    AppFixture app(writeLibrary);
    app.writeLines("Kestrovane.INI", {"[Global]", "Searchtabledlg_Left=5000", "Searchtabledlg_Top=4000",
                                      "SandRdlg_Left=-300", "SandRdlg_Top=-90"});
    MainWindow &w = ready(app, app.start());
    for (const char *command : {"SearchTable1", "SearchAndReplace1"})
        QVERIFY(app.trigger(command));
    for (const char *name : {"Searchtabledlg", "SandRdlg"})
        QVERIFY2(clientArea(w).contains(w.panel(name)->geometry()), name);
    QCOMPARE(w.panel("SandRdlg")->pos(), clientArea(w).topLeft());
    // A smaller window pulls an open panel back in.
    w.resize(w.width() / 2, w.height() / 2);
    QVERIFY(clientArea(w).contains(w.panel("Searchtabledlg")->geometry()));
}

void TestPanels::mainWindowControlsNamed()
{
    AppFixture app(writeLibrary);
    MainWindow &w = ready(app, app.start());
    QStringList unnamed;
    collectUnnamed(QAccessible::queryAccessibleInterface(&w), unnamed);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    // The trees' headers are hidden, but screen readers still read their column names.
    QList<QAbstractItemView *> trees{w.treeView()};
    for (CheckTreeView *checkTree : w.findChildren<CheckTreeView *>())
        trees << checkTree;
    QCOMPARE(trees.size(), 4); // the search, duplicate and single-copy panels' check trees
    for (QAbstractItemView *view : trees) {
        QAccessibleInterface *header = QAccessible::queryAccessibleInterface(view)->child(0);
        QVERIFY(header && header->role() == QAccessible::ColumnHeader);
        QCOMPARE(header->text(QAccessible::Name), QString("Categories And Catalogs"));
    }
}

void TestPanels::treeNamesNeverCut()
{
    AppFixture app(writeLibrary);
    const QString longest = "Games, Demos And Other Long-Named Things";
    app.writeLines("Master.TXT", {"\"1\",\"0" + longest + "\",\"3Backup\""});
    MainWindow &w = ready(app, app.start());
    QTreeView *tree = w.treeView();
    auto *splitter = w.findChild<QSplitter *>("Splitter1");
    splitter->setSizes({30, splitter->width() - 30});
    QCoreApplication::processEvents();
    const int name = tree->fontMetrics().horizontalAdvance(longest) + tree->indentation();
    QVERIFY2(tree->header()->sectionSize(0) >= name,
             qPrintable(QString::number(tree->header()->sectionSize(0))));
    QVERIFY(tree->horizontalScrollBar()->maximum() > 0);
    QCOMPARE(tree->textElideMode(), Qt::ElideNone);
}

void TestPanels::inPlaceEditorsNamed()
{
    AppFixture app(writeLibrary);
    MainWindow &w = ready(app, app.start());
    const QModelIndex node = w.treeView()->currentIndex();
    w.treeView()->edit(node);
    QWidget *treeEditor = w.treeView()->indexWidget(node);
    QVERIFY(treeEditor);
    QCOMPARE(treeEditor->accessibleName(), QString("Categories And Catalogs"));
    const QModelIndex cell = w.tableView()->model()->index(1, 4);
    w.tableView()->edit(cell);
    QWidget *cellEditor = w.tableView()->indexWidget(cell);
    QVERIFY(cellEditor);
    QCOMPARE(cellEditor->accessibleName(), w.tableView()->model()->headerData(4, Qt::Horizontal).toString());
    QVERIFY(!cellEditor->accessibleName().isEmpty());
}

void TestPanels::menusReachableFromKeyboard()
{
    AppFixture app(writeLibrary);
    MainWindow &w = ready(app, app.start());
    QApplication::setActiveWindow(&w);
    // Alt alone puts the focus on the first menu title.
    QTest::keyPress(&w, Qt::Key_Alt);
    QTest::keyRelease(&w, Qt::Key_Alt);
    QVERIFY(w.menuBar()->hasFocus());
    QCOMPARE(w.menuBar()->activeAction(), w.findChild<QMenu *>("Catalogs1")->menuAction());
    QTest::keyClick(w.menuBar(), Qt::Key_Escape);
    // F10 opens the first menu; the arrows and Enter run its commands.
    QTest::keyClick(&w, Qt::Key_F10);
    QCOMPARE(QApplication::activePopupWidget(), w.findChild<QMenu *>("Catalogs1"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
    QVERIFY(w.panel("CreateCat")->isVisible());
    // Every menu title can also be opened with Alt and its underlined letter.
    for (QAction *title : w.menuBar()->actions())
        QVERIFY2(title->text().contains('&'), qPrintable(title->text()));
}

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
