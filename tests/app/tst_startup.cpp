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
    void busyIsNotCounted();
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
    const QByteArray ini = TestSupport::readFile(app.path("Kestrovane.INI"));
    for (const char *key : {"[Global]", "NormPos=", "ShowCmd=", "PixelsPerInch=", "Panel1_Width=",
                            "TooltipsOn1_Checked=True", "Catcommdlg_Left=88", "Searchcatdlg_Top=24",
                            "[Global.Masklistbox_Items]", "Count=0", "FontDialog1_FontName=MS Sans Serif"})
        QVERIFY2(ini.contains(key), key);
    QVERIFY(app.dialogs().shown().isEmpty());
}

void TestStartup::busyIsNotCounted()
{
    AppFixture app;
    MainWindow &w = app.start();
    w.setBusy(true);
    w.setBusy(true);
    w.setBusy(false); // not counted: one end restores the arrow
    QVERIFY(!QGuiApplication::overrideCursor());
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
    TestSupport::writeFile(app.path("Kestrovane.INI"),
                           QByteArray("\x01\x02[Colsizes\nCol0=\xff\xff\n[[x]]\n=\n", 24));
    TestSupport::writeFile(app.path("Master.TXT"),
                           QByteArray("\"z\",\"0X\"\r\n\x89PNG\x1a\x01\r\n\"1\",\"0Kept\",\"3Disk\"\r\n"));
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
    QCOMPARE(TestSupport::readFile(app.path("Catalogs/r\xc3\xa9sum\xc3\xa9.txt")),
             QString::fromLatin1(catalog).toUtf8());
    app.dialogs().answerNo();
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
