#include "AppFixture.h"
#include "TestSupport.h"

#include "CategoryTreeModel.h"
#include "ToolPanel.h"
#include "library/CommaText.h"
#include "library/TextFile.h"
#include "table/VisualTableModel.h"

#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>

namespace {

QString entry(const QString &name, const QString &size, const QString &comment = QString())
{
    return QString("\"%1\",\"%2\",\"06/14/1998 10:00:00\",\"/media/disc/\",\"%3\"").arg(name, size, comment);
}

const QString kInfo = "\"3\",\"1\",\"/media/disc\",\"/media/disc/\",\"650 MB\",\"0 Bytes\",\"CdRom\","
                      "\"06/14/1998 10:00:00\",\"True\",\"True\",\"True\",\"True\",\"True\",\"False\",\"0\"";

// A library with the category Games holding the catalogs Backup and Disc.
void writeLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"1Backup\",\"3Disc\"", "\"0\",\"0Music\""});
    app.writeLines("Catalogs/Master", {"Backup", kInfo});
    app.writeLines("Catalogs/Backup.TXT",
                   {entry("b.txt", "20"), entry("a.txt", "10"), entry("a.txt", "10"), entry("c.doc", "5")});
    app.writeLines("Catalogs/Disc.TXT", {entry("x.iso", "700")});
}

} // namespace

class TestBrowse : public QObject
{
    Q_OBJECT
private slots:
    void openingDropsExactDuplicates();
    void openMissingCatalogWarns();
    void unsavedEditsOfferedAndNoDiscards();
    void yesSavesEditsIntoTheFile();
    void deletingOpenCatalogEmptiesTable();
    void deleteRowAsksAndMarksPending();
    void categoryRenameRefusesCaseChange();
    void categoryAddAndDelete();
    void catalogRenameFollowsTableOwner();
    void dragToCategorySurvivesRestart();
    void sharedCommentOfCategoryAndCatalog();
    void catalogInformation();
    void treeKeys();
};

void TestBrowse::openingDropsExactDuplicates()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    QCOMPARE(w.tableModel()->tableRowCount(), 4);
    QCOMPARE(w.tableModel()->cell(0, 1), QString("a.txt"));
    QCOMPARE(w.tableModel()->cell(0, 3), QString("c.doc"));
    QCOMPARE(w.state().openCatalogName, QString("Backup"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Backup Catalog 3 Files 1 Directories"));
    QVERIFY(app.openCatalog("Disc"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Disc Catalog"));
}

void TestBrowse::openMissingCatalogWarns()
{
    AppFixture app;
    writeLibrary(app);
    QFile::remove(app.path("Catalogs/Disc.TXT"));
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    QVERIFY(app.openCatalog("Disc"));
    QVERIFY(app.dialogs().shown().contains("warning: Catalog Disc does not exists!"));
    QCOMPARE(w.state().openCatalogName, QString("Backup"));
    QCOMPARE(w.tableModel()->tableRowCount(), 4);
}

void TestBrowse::unsavedEditsOfferedAndNoDiscards()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    const QByteArray before = TestSupport::readFile(app.path("Catalogs/Backup.TXT"));
    QVERIFY(w.tableModel()->setData(w.tableModel()->index(0, 4), "edited"));
    QVERIFY(w.state().pendingCommentEdits);
    app.dialogs().answerNo();
    QVERIFY(app.openCatalog("Disc"));
    QVERIFY(app.dialogs().shown().contains("confirm: Proceed to save changes to Backup catalog?"));
    QVERIFY(!w.state().pendingCommentEdits);
    QCOMPARE(TestSupport::readFile(app.path("Catalogs/Backup.TXT")), before);
    QCOMPARE(w.state().openCatalogName, QString("Disc"));
}

void TestBrowse::yesSavesEditsIntoTheFile()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    QVERIFY(w.tableModel()->setData(w.tableModel()->index(1, 4), "a, \"quoted\" note"));
    app.dialogs().answerYes();
    QVERIFY(app.trigger("SaveChanges1"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Changes To Backup Catalog Saved"));
    QStringList lines;
    QVERIFY(TextFile::readLines(app.path("Catalogs/Backup.TXT"), lines));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(CommaText::split(lines.at(1)).value(4), QString("a, \"quoted\" note"));
    // Closing asks again while the flag stays set; No keeps the file.
    app.dialogs().answerNo();
    app.close();
    QVERIFY(app.dialogs().allAnswersUsed());
}

void TestBrowse::deletingOpenCatalogEmptiesTable()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    QVERIFY(app.clickCatalog("Backup"));
    app.dialogs().answerYes();
    QVERIFY(app.trigger("DeleteSelectedCatalog1"));
    QVERIFY(!QFile::exists(app.path("Catalogs/Backup.TXT")));
    QCOMPARE(w.tableModel()->tableRowCount(), 2);
    QVERIFY(w.state().openCatalogName.isEmpty());
    QVERIFY(!w.state().catalogInfo.contains(u"Backup"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Catalog Backup Deleted"));
    QVERIFY(app.trigger("SaveChanges1"));
    QCOMPARE(app.dialogs().lastShown(), QString("warning: Please specify a catalog first!"));
}

void TestBrowse::deleteRowAsksAndMarksPending()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    w.tableView()->setCurrentIndex(w.tableModel()->index(1, 0));
    app.dialogs().answerNo();
    QTest::keyClick(w.tableView(), Qt::Key_Delete);
    QCOMPARE(w.tableModel()->tableRowCount(), 4);
    app.dialogs().answerYes();
    QTest::keyClick(w.tableView(), Qt::Key_Delete);
    QCOMPARE(w.tableModel()->tableRowCount(), 3);
    QCOMPARE(w.tableModel()->cell(0, 2), QString("c.doc"));
    QVERIFY(w.state().pendingRowDeletions);
    QCOMPARE(app.dialogs().shown().count("confirm: Proceed to delete this row?"), 2);
    app.dialogs().answerNo();
}

void TestBrowse::categoryRenameRefusesCaseChange()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.clickCategory("Games"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Games Category, Contains 2 Catalogs"));
    app.dialogs().answerText("GAMES");
    QVERIFY(app.trigger("RenameSelectedCategory1"));
    QCOMPARE(app.dialogs().lastShown(), QString("warning: A caategory with the same name already exists!"));
    QCOMPARE(w.state().tree.category(0).name, QString("Games"));
    app.dialogs().answerText("Play");
    QVERIFY(app.trigger("RenameSelectedCategory1"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Renamed Games Category To Play Category"));
    QCOMPARE(app.treeCatalogs("Play"), QStringList({"Backup", "Disc"}));
}

void TestBrowse::categoryAddAndDelete()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    app.dialogs().answerText("games");
    QVERIFY(app.trigger("Add1"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - games Category Already Exists"));
    QCOMPARE(w.state().tree.categoryCount(), 2);
    QVERIFY(app.clickCategory("Games"));
    QVERIFY(app.trigger("DeleteSelectedCategory1"));
    QCOMPARE(app.dialogs().lastShown(),
             QString("warning: Can not delete category!\r\nThis category contains 2 catalogs."));
    QVERIFY(app.clickCategory("Music"));
    app.dialogs().answerYes();
    QVERIFY(app.trigger("DeleteSelectedCategory1"));
    QCOMPARE(w.state().tree.categoryCount(), 1);
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Deleted Music Category"));
}

void TestBrowse::catalogRenameFollowsTableOwner()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    app.dialogs().answerText("disc");
    QVERIFY(app.trigger("RenameSelectedCatalog1"));
    QCOMPARE(app.dialogs().lastShown(), QString("warning: A catalog with the same name already exists!"));
    app.dialogs().answerText("Archive");
    QVERIFY(app.trigger("RenameSelectedCatalog1"));
    QVERIFY(QFile::exists(app.path("Catalogs/Archive.TXT")));
    QVERIFY(!QFile::exists(app.path("Catalogs/Backup.TXT")));
    QCOMPARE(w.state().openCatalogName, QString("Archive"));
    QVERIFY(w.state().catalogInfo.contains(u"Archive"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Renamed Backup To Archive"));
    QVERIFY(w.tableModel()->setData(w.tableModel()->index(0, 4), "after rename"));
    app.dialogs().answerYes();
    QVERIFY(app.trigger("SaveChanges1"));
    QVERIFY(TestSupport::readFile(app.path("Catalogs/Archive.TXT")).contains("after rename"));
    QVERIFY(!QFile::exists(app.path("Catalogs/Backup.TXT")));
}

void TestBrowse::dragToCategorySurvivesRestart()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    CategoryTreeModel *model = w.treeModel();
    QVERIFY(app.clickCatalog("Disc"));
    const QModelIndex disc = w.treeView()->currentIndex();
    std::unique_ptr<QMimeData> mime(model->mimeData({disc}));
    QVERIFY(mime);
    const QModelIndex backup = model->index(0, 0, disc.parent());
    QVERIFY(!model->canDropMimeData(mime.get(), Qt::MoveAction, -1, 0, backup));
    const QModelIndex music = model->index(1, 0);
    QCOMPARE(model->nodeText(music), QString("Music"));
    QVERIFY(model->canDropMimeData(mime.get(), Qt::MoveAction, -1, 0, music));
    model->dropMimeData(mime.get(), Qt::MoveAction, -1, 0, music);
    QCoreApplication::processEvents();
    QCOMPARE(app.treeCatalogs("Music"), QStringList{"Disc"});
    app.restart();
    QCOMPARE(app.treeCatalogs("Music"), QStringList{"Disc"});
    QCOMPARE(app.treeCatalogs("Games"), QStringList{"Backup"});
}

void TestBrowse::sharedCommentOfCategoryAndCatalog()
{
    AppFixture app;
    app.writeLines("Master.TXT", {"\"1\",\"0Same\",\"3Same\""});
    MainWindow &w = app.start();
    QVERIFY(app.clickCategory("Same"));
    QVERIFY(app.trigger("ViewAddEditSelectedComment2"));
    ToolPanel *panel = w.panel("Catcommdlg");
    QVERIFY(!panel->isHidden());
    QCOMPARE(panel->findChild<QLabel *>("Catcommcount")->text(), QString("Contains 1 Catalog(s)"));
    panel->findChild<QPlainTextEdit *>("Catcommmemo")->setPlainText("two\nlines");
    panel->findChild<QPushButton *>("Acceptcatcomm")->click();
    QVERIFY(panel->isHidden());
    QVERIFY(app.clickCatalog("Same"));
    QVERIFY(app.trigger("ViewAddEditSelectedComment3"));
    QCOMPARE(panel->findChild<QLabel *>("Catcommkind")->text(), QString("Catalog"));
    QCOMPARE(panel->findChild<QPlainTextEdit *>("Catcommmemo")->toPlainText(), QString("two lines"));
    app.close();
    QCOMPARE(TestSupport::readFile(app.path("Comments.TXT")), QByteArray("Same\r\ntwo lines\r\n"));
    // An emptied comment removes the pair.
    MainWindow &again = app.start();
    QVERIFY(app.clickCatalog("Same"));
    QVERIFY(app.trigger("ViewAddEditSelectedComment1"));
    again.panel("Catcommdlg")->findChild<QPushButton *>("Clearcatcomm")->click();
    again.panel("Catcommdlg")->findChild<QPushButton *>("Acceptcatcomm")->click();
    QVERIFY(again.state().treeComments.isEmpty());
}

void TestBrowse::catalogInformation()
{
    AppFixture app;
    writeLibrary(app);
    app.writeLines("Comments.TXT", {"backup", "my old disc"});
    app.start();
    QVERIFY(app.clickCatalog("Backup"));
    QVERIFY(app.trigger("ViewCatalogInformation1"));
    QCOMPARE(
        app.dialogs().lastShown(),
        QString("catalog information: Backup Catalog\nName: Backup\nNumber of files: 3\n"
                "Number of Directories: 1\nPath: /media/disc/\nTotal Space: 650 MB\nFree Space: 0 Bytes\n"
                "Type: CdRom\nLast Update: 06/14/1998 10:00:00\nComment: my old disc"));
    app.dialogs().clearShown();
    QVERIFY(app.clickCatalog("Disc"));
    QVERIFY(app.trigger("ViewCatalogInformation1"));
    QVERIFY(app.dialogs().shown().isEmpty());
}

void TestBrowse::treeKeys()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.clickCategory("Music"));
    app.dialogs().answerText("Films");
    QTest::keyClick(w.treeView(), Qt::Key_Insert);
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Category Films Added"));
    QVERIFY(app.clickCatalog("Disc"));
    app.dialogs().answerNo();
    QTest::keyClick(w.treeView(), Qt::Key_Delete);
    QCOMPARE(app.dialogs().lastShown(), QString("confirm: Proceed to delete Disc catalog?"));
    QCOMPARE(app.treeCatalogs("Games"), QStringList({"Backup", "Disc"}));
    QTest::keyClick(w.treeView(), Qt::Key_Return);
    QCOMPARE(w.state().openCatalogName, QString("Disc"));
}

QTEST_MAIN(TestBrowse)
#include "tst_browse.moc"
