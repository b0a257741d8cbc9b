#include "AppFixture.h"
#include "TestSupport.h"

#include "CategoryTreeModel.h"
#include "ToolPanel.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QTableView>
#include <QTest>
#include <QTreeView>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void firstStartInEmptyLibrary();
    void captionAndStatusLine();
    void menusHoldEveryCommand_data();
    void menusHoldEveryCommand();
    void storedPropertiesSurviveRestart();
    void nonsenseFilesDoNotStopStartUp();
    void catalogsFolderCannotBeCreated();
    void tooltipsToggle();
    void windowsLibraryShownAndWrittenBack();
};

void TestStartup::firstStartInEmptyLibrary()
{
    AppFixture app;
    MainWindow &w = app.start();
    QVERIFY(QFileInfo(app.path("Catalogs")).isDir());
    QCOMPARE(w.treeModel()->rowCount(), 1);
    QCOMPARE(w.treeModel()->nodeText(w.treeModel()->index(0, 0)), QString("Sample Category"));
    QCOMPARE(w.tableModel()->columnCount(), 5);
    QCOMPARE(w.tableModel()->tableRowCount(), 2);
    QCOMPARE(w.tableView()->columnWidth(4), 100);
    app.close();
    QCOMPARE(TestSupport::readFile(app.path("Master.TXT")), QByteArray("\"0\",\"0Sample Category\"\r\n"));
    QVERIFY(QFile::exists(app.path("Catalogs/Master")));
    QCOMPARE(QFileInfo(app.path("Catalogs/Master")).size(), 0);
    QVERIFY(QFile::exists(app.path("Comments.TXT")));
    QCOMPARE(QFileInfo(app.path("Comments.TXT")).size(), 0);
    const QByteArray ini = TestSupport::readFile(app.path("Kestrovane.INI"));
    for (const char *key : {"[Global]", "NormPos=", "ShowCmd=", "PixelsPerInch=", "Panel1_Width=",
                            "TooltipsOn1_Checked=True", "Catcommdlg_Left=88", "Searchcatdlg_Top=24",
                            "[Global.Masklistbox_Items]", "Count=0", "FontDialog1_FontName=MS Sans Serif"})
        QVERIFY2(ini.contains(key), key);
    QVERIFY(app.dialogs().shown().isEmpty());
}

void TestStartup::captionAndStatusLine()
{
    AppFixture app;
    MainWindow &w = app.start();
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01"));
    w.StatusLine("Column Widths Saved");
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Column Widths Saved"));
    w.StatusLine(QString());
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01"));
    w.setBusy(true);
    w.setBusy(true);
    w.setBusy(false); // not counted: one end restores the arrow
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestStartup::menusHoldEveryCommand_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char *const commands[][2] = {
        {"Create1", "Create"}, {"View1", "View Selected"}, {"Delete1", "Delete Selected"},
        {"Rename1", "Rename Selected"}, {"SaveChanges1", "Save Changes"}, {"Update1", "Update Selected"},
        {"FindDuplicates1", "Find Duplicates"}, {"Report1", "Report"}, {"ViewAllCatalogs1", "View All Catalogs"},
        {"Search1", "&Search"}, {"SaveColumnsWidths1", "Save Columns Widths"}, {"SearchTable1", "Search Table"},
        {"PrintTable1", "Print Table"}, {"TextFileFormatted1", "Text File (Formatted)"}, {"HTMLFile1", "HTML File"},
        {"AddEdit1", "Add/Edit"}, {"Delete2", "Delete Comment"}, {"UndoDelete1", "Undo Delete"},
        {"SearchAndReplace1", "Search And Replace"}, {"Add1", "Add"},
        {"RenameSelectedCategory1", "Rename Selected Category"}, {"DeleteSelectedCategory1", "Delete Selected Category"},
        {"TooltipsOn1", "Tooltips On"}, {"SetTooltipAndTextColor1", "Set Tooltip And Text Color"},
        {"UpgradeTov2xx1", "Upgrade To v2.xx"}, {"Help1", "Help"}, {"About1", "About"},
        {"ViewCatalog1", "View Selected Catalog"}, {"UpdateSelectedCatalog1", "Update Selected Catalog"},
        {"ViewCatalogInformation1", "View Catalog Information"}, {"AddCategory1", "Add Category"},
        {"CopySelectionToClipboard1", "Copy Selection To Clipboard"}, {"PasteFromClipboard1", "Paste From Clipboard"},
        {"DeleteSelectedFile1", "Delete Selected File"}, {"ExpandSelectedColumn1", "Expand Selected Column"},
        {"ShowKestrovane1", "Show Kestrovane"}, {"Exit1", "Exit"},
    };
    for (const auto &c : commands)
        QTest::newRow(c[0]) << QString(c[0]) << QString(c[1]);
}

void TestStartup::menusHoldEveryCommand()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    AppFixture app;
    MainWindow &w = app.start();
    QAction *a = w.action(name);
    QVERIFY(a);
    QCOMPARE(a->text(), caption);
}

void TestStartup::storedPropertiesSurviveRestart()
{
    AppFixture app;
    app.start();
    QVERIFY(app.trigger("TooltipsOn1"));
    app.window().panel("Catcommdlg")->setHomePosition(QPoint(300, 200));
    MainWindow &w = app.restart();
    QCOMPARE(w.action("TooltipsOn1")->text(), QString("Tooltips Off"));
    QCOMPARE(w.panel("Catcommdlg")->homePosition(), QPoint(300, 200));
}

void TestStartup::nonsenseFilesDoNotStopStartUp()
{
    AppFixture app;
    TestSupport::writeFile(app.path("Kestrovane.INI"), QByteArray("\x01\x02[Colsizes\nCol0=\xff\xff\n[[x]]\n=\n", 24));
    TestSupport::writeFile(app.path("Master.TXT"), QByteArray("\"z\",\"0X\"\r\n\x89PNG\x1a\x01\r\n\"1\",\"0Kept\",\"3Disk\"\r\n"));
    TestSupport::writeFile(app.path("Catalogs/Master"), "Disk\r\n");
    MainWindow &w = app.start();
    QVERIFY(w.startedUp());
    QCOMPARE(w.treeModel()->rowCount(), 1);
    QCOMPARE(app.treeCatalogs("Kept"), QStringList{"Disk"});
    QCOMPARE(w.tableView()->columnWidth(0), 100);
    app.close();
    // The two lines that could not be loaded are written back with the tree.
    const QByteArray tree = TestSupport::readFile(app.path("Master.TXT"));
    QCOMPARE(tree.count("\r\n"), 3);
    QVERIFY(tree.contains("\"1\",\"0Kept\",\"3Disk\"\r\n"));
    QVERIFY(tree.contains("\"z\",\"0X\"\r\n"));
    QCOMPARE(TestSupport::readFile(app.path("Catalogs/Master")), QByteArray("Disk\r\n"));
}

void TestStartup::catalogsFolderCannotBeCreated()
{
    AppFixture app;
    TestSupport::writeFile(app.path("Catalogs"), "a file in the way");
    TestSupport::writeFile(app.path("Comments.TXT"), "Games\r\nkeep me\r\n");
    MainWindow &w = app.start();
    QVERIFY(!w.startedUp());
    QVERIFY(app.dialogs().lastShown().startsWith("error: "));
    app.close();
    // Nothing of the library was overwritten.
    QCOMPARE(TestSupport::readFile(app.path("Comments.TXT")), QByteArray("Games\r\nkeep me\r\n"));
    QVERIFY(!QFile::exists(app.path("Master.TXT")));
}

void TestStartup::tooltipsToggle()
{
    AppFixture app;
    MainWindow &w = app.start();
    QVERIFY(app.trigger("TooltipsOn1"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Tooltips Off"));
    QVERIFY(!w.action("TooltipsOn1")->isChecked());
    QVERIFY(app.trigger("TooltipsOn1"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Tooltips On"));
    QCOMPARE(w.action("TooltipsOn1")->text(), QString("Tooltips On"));
}

void TestStartup::windowsLibraryShownAndWrittenBack()
{
    AppFixture app;
    // As the Windows version left it: Windows-1252 text, a lower-case
    // extension, backslash paths, CR LF.
    TestSupport::writeFile(app.path("Master.TXT"), "\"1\",\"0Fotos\",\"2R\xe9sum\xe9\"\r\n");
    const QByteArray catalog("\"a.zip\",\"10\",\"\",\"E:\\\",\"\"\r\n"
                             "\"IMG 1.JPG\",\"2048\",\"12/31/1999 23:59:58\",\"E:\\DCIM\\\",\"Caf\xe9\"\r\n");
    TestSupport::writeFile(app.path("Catalogs/r\xc3\xa9sum\xc3\xa9.txt"), catalog);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog(QString::fromUtf8("Résumé")));
    QCOMPARE(w.tableModel()->tableRowCount(), 3);
    QCOMPARE(w.tableModel()->cell(3, 2), QString("E:\\DCIM\\"));
    QCOMPARE(w.tableModel()->cell(4, 2), QString::fromUtf8("Café"));
    QVERIFY(w.tableModel()->data(w.tableModel()->index(0, 0), VisualTableModel::IsZipFileRole).toBool());
    w.state().pendingCommentEdits = true;
    app.dialogs().answerYes();
    QVERIFY(app.trigger("SaveChanges1"));
    QCOMPARE(TestSupport::readFile(app.path("Catalogs/r\xc3\xa9sum\xc3\xa9.txt")), QString::fromLatin1(catalog).toUtf8());
    app.dialogs().answerNo();
    app.close();
    // The tree did not change, so it keeps the bytes the Windows version wrote.
    QCOMPARE(TestSupport::readFile(app.path("Master.TXT")), QByteArray("\"1\",\"0Fotos\",\"2R\xe9sum\xe9\"\r\n"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
