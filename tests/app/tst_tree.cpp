// The category tree: browsing, its commands and name rules, the import of
// an earlier version's catalogs into it, and the window beside the
// command-line tool on one library, neither undoing the other.
#include "../cli/CliProcess.h"
#include "AppFixture.h"
#include "CategoryTreeModel.h"
#include "DuplicateImportDialog.h"
#include "ImportController.h"
#include "TestSupport.h"
#include "ToolPanel.h"
#include "UpgradePanel.h"
#include "library/CatalogName.h"
#include "library/CategoryName.h"
#include "library/CommaText.h"
#include "table/VisualTableModel.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

QString browseEntry(const QString &name, const QString &size, const QString &comment = QString())
{
    return QString("\"%1\",\"%2\",\"06/14/1998 10:00:00\",\"/media/disc/\",\"%3\"").arg(name, size, comment);
}

const QString kInfo = "\"3\",\"1\",\"/media/disc\",\"/media/disc/\",\"650 MB\",\"0 Bytes\",\"CdRom\","
                      "\"06/14/1998 10:00:00\",\"True\",\"True\",\"True\",\"True\",\"True\",\"False\",\"0\"";

// A library with the category Games holding the catalogs Backup and Disc;
// Stray.TXT is a catalog file that no node names.
void writeBrowseLibrary(AppFixture &app)
{
    app.writeLines("Catalogs/Stray.TXT", {browseEntry("stray.txt", "1", "not Backup's")});
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"1Backup\",\"3Disc\"", "\"0\",\"0Music\""});
    app.writeLines("Catalogs/Master", {"Backup", kInfo});
    app.writeLines("Catalogs/Backup.TXT", {browseEntry("b.txt", "20"), browseEntry("a.txt", "10"),
                                           browseEntry("a.txt", "10"), browseEntry("c.doc", "5")});
    app.writeLines("Catalogs/Disc.TXT", {browseEntry("x.iso", "700")});
}

} // namespace

using Choice = Dialogs::DuplicateImportChoice;

namespace {

QString entry(const char *name)
{
    return CommaText::join({name, "10", "01/02/1999 10:00:00", "D:\\", ""});
}

const char *const kImportButtons[] = {"Colimport", "Commimport", "Maskimport", "Catimport"};

QStringList labels(UpgradePanel *p)
{
    QStringList texts;
    for (const char *button : kImportButtons)
        texts << p->findChild<QLabel *>(QLatin1String(button) + "label")->text();
    return texts;
}

} // namespace

class TestTree : public QObject
{
    Q_OBJECT
private slots:
    void openingDropsExactDuplicates();
    void openMissingCatalogWarns();
    void unsavedEditsOfferedAndNoDiscards();
    void deletingOpenCatalogEmptiesTable();
    void categoryCommands();
    void catalogRenameFollowsTableOwner();
    void dragToCategorySurvivesRestart();
    void sharedCommentOfCategoryAndCatalog();
    void catalogInformation();
    void treeKeys();
    void refusedRenames_data();
    void refusedRenames();
    void refusedCategoryNames_data();
    void refusedCategoryNames();
    void commandLineChangesSurviveTheWindow();
    void windowChangeOnStaleTreeKeepsOthers();
    void panelFlow();
    void duplicateDialogAnswers_data();
    void duplicateDialogAnswers();
};

void TestTree::openingDropsExactDuplicates()
{
    AppFixture app(writeBrowseLibrary);
    MainWindow &w = app.startWithOpen("Backup");
    QCOMPARE(w.tableModel()->tableRowCount(), 4);
    QCOMPARE(w.tableModel()->cell(0, 1), QString("a.txt"));
    QCOMPARE(w.tableModel()->cell(0, 3), QString("c.doc"));
    QCOMPARE(w.state().openCatalogName, QString("Backup"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Backup Catalog 3 Files 1 Directories"));
    QVERIFY(app.openCatalog("Disc"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Disc Catalog"));
}

void TestTree::openMissingCatalogWarns()
{
    AppFixture app(writeBrowseLibrary);
    QFile::remove(app.path("Catalogs/Disc.TXT"));
    MainWindow &w = app.startWithOpen("Backup");
    QVERIFY(app.openCatalog("Disc"));
    QVERIFY(app.dialogs().shown().contains("warning: Catalog Disc does not exists!"));
    QCOMPARE(w.state().openCatalogName, QString("Backup"));
    QCOMPARE(w.tableModel()->tableRowCount(), 4);
}

void TestTree::unsavedEditsOfferedAndNoDiscards()
{
    AppFixture app(writeBrowseLibrary);
    MainWindow &w = app.startWithOpen("Backup");
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

void TestTree::deletingOpenCatalogEmptiesTable()
{
    AppFixture app(writeBrowseLibrary);
    MainWindow &w = app.startWithOpen("Backup");
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

void TestTree::categoryCommands()
{
    AppFixture app(writeBrowseLibrary);
    MainWindow &w = app.start();
    app.dialogs().answerText("games");
    QVERIFY(app.trigger("Add1"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - games Category Already Exists"));
    QCOMPARE(w.state().tree.categoryCount(), 2);
    QVERIFY(app.clickCategory("Games"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Games Category, Contains 2 Catalogs"));
    QVERIFY(app.trigger("DeleteSelectedCategory1"));
    QCOMPARE(app.dialogs().lastShown(),
             QString("warning: Can not delete category!\r\nThis category contains 2 catalogs."));
    app.dialogs().answerText("GAMES");
    QVERIFY(app.trigger("RenameSelectedCategory1"));
    QCOMPARE(app.dialogs().lastShown(), QString("warning: A caategory with the same name already exists!"));
    QCOMPARE(w.state().tree.category(0).name, QString("Games"));
    app.dialogs().answerText("Play");
    QVERIFY(app.trigger("RenameSelectedCategory1"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Renamed Games Category To Play Category"));
    QCOMPARE(app.treeCatalogs("Play"), QStringList({"Backup", "Disc"}));
    QVERIFY(app.clickCategory("Music"));
    app.dialogs().answerYes();
    QVERIFY(app.trigger("DeleteSelectedCategory1"));
    QCOMPARE(w.state().tree.categoryCount(), 1);
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Deleted Music Category"));
}

void TestTree::catalogRenameFollowsTableOwner()
{
    AppFixture app(writeBrowseLibrary);
    MainWindow &w = app.startWithOpen("Backup");
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
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Changes To Archive Catalog Saved"));
    QVERIFY(TestSupport::readFile(app.path("Catalogs/Archive.TXT")).contains("after rename"));
    QVERIFY(!QFile::exists(app.path("Catalogs/Backup.TXT")));
}

void TestTree::dragToCategorySurvivesRestart()
{
    AppFixture app(writeBrowseLibrary);
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

void TestTree::sharedCommentOfCategoryAndCatalog()
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

void TestTree::catalogInformation()
{
    AppFixture app(writeBrowseLibrary);
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

void TestTree::treeKeys()
{
    AppFixture app(writeBrowseLibrary);
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

void TestTree::refusedRenames_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("warning"); // empty: refused without a word

    // The name rules are the catalog name's; here the window applies them.
    QTest::newRow("out of Catalogs") << true << "../Escaped" << CatalogName::problem("/");
    QTest::newRow("empty") << true << "" << QString("");
    QTest::newRow("menu, out of Catalogs") << false << "../Escaped" << CatalogName::problem("/");
}

void TestTree::refusedRenames()
{
    QFETCH(bool, inPlace);
    QFETCH(QString, newName);
    QFETCH(QString, warning);
    AppFixture app(writeBrowseLibrary);
    // What a start and a shutdown without changes leave is the baseline.
    app.start();
    app.close();
    const auto before = TestSupport::librarySnapshot(app.root());
    MainWindow &w = app.startWithOpen("Backup");
    QVERIFY(app.clickCatalog("Backup"));
    app.dialogs().clearShown();
    if (inPlace) {
        w.treeModel()->setData(w.treeView()->currentIndex(), newName, Qt::EditRole);
    } else {
        app.dialogs().answerText(newName);
        QVERIFY(app.trigger("RenameSelectedCatalog1"));
    }
    QStringList shown = app.dialogs().shown();
    shown.removeAll("input: Rename Catalog | From Backup To:");
    QCOMPARE(shown, warning.isEmpty() ? QStringList() : QStringList{"warning: " + warning});
    QCOMPARE(app.treeCatalogs("Games"), (QStringList{"Backup", "Disc"}));
    QCOMPARE(w.state().openCatalogName, QString("Backup"));
    QVERIFY(w.state().catalogInfo.contains(u"Backup"));
    app.close();
    QCOMPARE(TestSupport::librarySnapshot(app.root()), before);
}

void TestTree::refusedCategoryNames_data()
{
    QTest::addColumn<QString>("how"); // a command, or "in place"
    QTest::addColumn<QString>("name");
    QTest::newRow("add, CR LF") << "Add1"
                                << "Two\r\nLines";
    QTest::newRow("rename, escape") << "RenameSelectedCategory1"
                                    << "Red\x1b[31m";
    QTest::newRow("in place, CR LF") << "in place"
                                     << "Two\r\nLines";
}

void TestTree::refusedCategoryNames()
{
    QFETCH(QString, how);
    QFETCH(QString, name);
    AppFixture app(writeBrowseLibrary);
    MainWindow &w = app.start();
    const auto before = TestSupport::librarySnapshot(app.root());
    QVERIFY(app.clickCategory("Games"));
    app.dialogs().clearShown();
    if (how == "in place") {
        w.treeModel()->setData(w.treeView()->currentIndex(), name, Qt::EditRole);
    } else {
        app.dialogs().answerText(name);
        QVERIFY(app.trigger(how));
    }
    QCOMPARE(app.dialogs().lastShown(), "warning: " + CategoryName::problem(name));
    QCOMPARE(w.state().tree.categoryCount(), 2);
    QCOMPARE(w.state().tree.category(0).name, QString("Games"));
    QCOMPARE(TestSupport::librarySnapshot(app.root()), before);
}

namespace {

bool treeShows(MainWindow &w, const QString &name)
{
    const CategoryTreeModel *model = w.treeModel();
    for (int c = 0; c < model->rowCount(); ++c) {
        const QModelIndex category = model->index(c, 0);
        if (model->nodeText(category) == name)
            return true;
        for (int i = 0; i < model->rowCount(category); ++i) {
            if (model->nodeText(model->index(i, 0, category)) == name)
                return true;
        }
    }
    return false;
}

} // namespace

void TestTree::commandLineChangesSurviveTheWindow()
{
    AppFixture app;
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Disc\""});
    app.writeLines("Catalogs/Disc.TXT", {"\"a.txt\",\"1\",\"\",\"/m/\",\"\""});
    MainWindow &w = app.start();
    QTemporaryDir source;
    TestSupport::writeFile(source.filePath("one.txt"), "1");

    const QList<QStringList> commands{
        {"index", source.path(), "--name", "New", "--category", "Games"},
        {"comment", "Games", "all my games"},
        {"rename-catalog", "Disc", "Disk"},
        {"add-category", "Films"},
        {"predefined-comments", "--add", "Keep me"},
    };
    for (const QStringList &args : commands) {
        const CliProcess::Result r = CliProcess::run(app.root(), args);
        QVERIFY2(r.code == 0, qPrintable(args.join(' ') + ": " + r.err));
    }
    // The window follows within moments, without a restart.
    QTRY_VERIFY(treeShows(w, "New"));
    QTRY_VERIFY(treeShows(w, "Films"));
    QVERIFY(treeShows(w, "Disk"));
    QVERIFY(!treeShows(w, "Disc"));

    // A change of the window's own goes on top of them.
    app.dialogs().answerText("Music");
    QVERIFY(app.trigger("AddCategory1"));
    app.close();

    const QByteArray tree = TestSupport::readFile(app.path("Master.TXT"));
    for (const char *name : {"3New", "3Disk", "0Films", "0Music"})
        QVERIFY2(tree.contains(name), name);
    QVERIFY(!tree.contains("3Disc"));
    QVERIFY(TestSupport::readFile(app.path("Comments.TXT")).contains("all my games"));
    QVERIFY(TestSupport::readFile(app.path("Catalogs/Master")).contains("New\r\n"));
    QVERIFY(TestSupport::readFile(app.path("Kestrovane.INI")).contains("=Keep me"));
    QVERIFY2(app.dialogs().unexpected().isEmpty(), qPrintable(app.dialogs().unexpected()));
}

// A command given on a node another program has removed meanwhile says so
// and stores nothing; the tree then shows the library as it is.
void TestTree::windowChangeOnStaleTreeKeepsOthers()
{
    AppFixture app;
    app.writeLines("Master.TXT", {"\"0\",\"0Games\"", "\"0\",\"0Old\""});
    MainWindow &w = app.start();
    QVERIFY(app.clickCategory("Old"));
    // Another program renames the category before the window's rename is stored.
    QVERIFY(CliProcess::run(app.root(), {"rename-category", "Old", "Older"}).code == 0);
    app.dialogs().answerText("Newer");
    QVERIFY(app.trigger("RenameSelectedCategory1"));
    QVERIFY2(app.dialogs().lastShown().contains("Old no longer exists"),
             qPrintable(app.dialogs().lastShown()));
    QVERIFY(treeShows(w, "Older"));
    const QByteArray tree = TestSupport::readFile(app.path("Master.TXT"));
    QVERIFY(tree.contains("0Older") && tree.contains("0Games") && !tree.contains("Newer"));
}

// What is imported is the import's own tests'; here the window runs it: the
// rebuilt tree as the user left it, the lists in the settings at close.
void TestTree::panelFlow()
{
    AppFixture app;
    const QString old = app.path("prefix/drive_c/Old");
    QVERIFY(QDir().mkpath(old));
    QVERIFY(QFile::copy(KESTROVANE_TEST_DATA "/upgrade/user.reg", app.path("prefix/user.reg")));
    QVERIFY(
        TestSupport::writeLines(old + "/Catalogs/CdRom/Disc1.TXT", {"1 Files", "0 Directories", entry("a")}));
    QVERIFY(TestSupport::writeLines(old + "/Catalogs/Removable/Floppy.TXT",
                                    {"1 Files", "0 Directories", entry("b")}));
    app.writeLines("Master.TXT", {"\"1\",\"0Saved\",\"3Disc1\""});
    app.writeLines("Catalogs/Disc1.TXT", {entry("mine")});

    MainWindow &w = app.start();
    w.treeView()->expand(w.treeModel()->index(0, 0));
    QVERIFY(app.clickCategory("Saved"));
    QVERIFY(app.trigger("UpgradeTov2xx1"));
    UpgradePanel *p = w.feature<ImportController>()->upgradePanel();
    QVERIFY(!p->findChild<QPushButton *>("Catimport")->isEnabled());
    p->setDirectory(old);
    app.dialogs().answerDuplicateImport(Choice::Overwrite);
    for (const char *button : kImportButtons)
        p->findChild<QPushButton *>(button)->click();
    QCOMPARE(labels(p), (QStringList{"Pre-Set Column Widths Imported", "3 Pre-Defined Comments Imported",
                                     "2 File Mask(s) Imported", "Imported 2 Catalogs"}));
    QCOMPARE(app.dialogs().lastShown(), QStringLiteral("duplicate import: Disc1"));
    // The overwritten catalog stays where it was filed; Saved, now second,
    // is still open and selected.
    QCOMPARE(app.treeCatalogs("Saved"), QStringList{"Disc1"});
    QCOMPARE(w.treeModel()->nodeText(w.treeModel()->index(1, 0)), QStringLiteral("Saved"));
    QVERIFY(w.treeView()->isExpanded(w.treeModel()->index(1, 0)));
    QVERIFY(!w.treeView()->isExpanded(w.treeModel()->index(0, 0)));
    QCOMPARE(w.treeModel()->nodeText(w.treeView()->currentIndex()), QStringLiteral("Saved"));

    MainWindow &again = app.restart();
    QCOMPARE(again.settings().readString("Colsizes", "Col0"), QStringLiteral("120"));
    QCOMPARE(again.settings().readList("Global.predefinedbox_Items"),
             (QStringList{"Backup \"old\" disk", "KEEP", "tab\there\\back"}));
    QCOMPARE(again.settings().readList("Global.Masklistbox_Items"), (QStringList{"*.DOC", "*.txt"}));
}

void TestTree::duplicateDialogAnswers_data()
{
    QTest::addColumn<QString>("button"); // empty: press Escape
    QTest::addColumn<int>("expected");
    QTest::newRow("rename") << "Rename" << int(Choice::Rename);
    QTest::newRow("skip") << "Skip" << int(Choice::Skip);
    QTest::newRow("overwrite") << "Overwrite" << int(Choice::Overwrite);
    QTest::newRow("escape") << "" << int(Choice::Skip);
}

void TestTree::duplicateDialogAnswers()
{
    QFETCH(QString, button);
    QFETCH(int, expected);
    DuplicateImportDialog dialog;
    // A failed check inside the dialog would leave it open: read, then check.
    QString shown, spoken;
    QTimer::singleShot(0, &dialog, [&] {
        const QLabel *from = dialog.findChild<QLabel *>("Fromname");
        shown = from->text();
        spoken = from->accessibleName();
        QTest::keyClicks(dialog.findChild<QLineEdit *>("Toname"), "Disc2");
        if (button.isEmpty())
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.findChild<QPushButton *>(button)->click();
    });
    QCOMPARE(int(dialog.ask("Disc1")), expected);
    QCOMPARE(shown, QStringLiteral("Disc1"));
    QCOMPARE(spoken, QStringLiteral("Disc1"));
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(dialog.newName(), QStringLiteral("Disc2"));
}

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
