#include "AppFixture.h"
#include "TestSupport.h"

#include "CategoryTreeModel.h"
#include "IndexingController.h"
#include "ToolPanel.h"
#include "library/CommaText.h"
#include "library/TextFile.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

QString entry(const QString &name, const QString &size, const QString &dir,
              const QString &comment = QString())
{
    return CommaText::join({name, size, "06/14/1998 10:00:00", dir, comment});
}

QStringList catalogLines(AppFixture &app, const QString &name)
{
    QStringList lines;
    TextFile::readLines(app.path("Catalogs/" + name + ".TXT"), lines);
    return lines;
}

// A library with the category Disks holding the catalog Disc, and a folder
// to index holding kept.txt (grown since Disc was made) and new.txt.
class CreateFixture
{
public:
    CreateFixture()
    {
        m_source = m_sourceDir.path() + "/";
        TestSupport::writeFile(m_source + "kept.txt", "grown since");
        TestSupport::writeFile(m_source + "new.txt", "n");
        app.writeLines("Master.TXT", {"\"1\",\"0Disks\",\"1Disc\"", "\"0\",\"0Empty\""});
        app.writeLines("Catalogs/Master", {"Disc", "\"old info\""});
        app.writeLines("Catalogs/Disc.TXT", {entry("kept.txt", "1", m_source, "keep me"),
                                             entry("gone.txt", "2", m_source, "lost")});
    }

    MainWindow &start(const QString &driveType = "Fixed", const QString &label = "LABEL")
    {
        MainWindow &w = app.start();
        w.setVolumeReader([driveType, label](const QString &) {
            return VolumeInfo("/media/disc", driveType, 700LL << 20, 0, label);
        });
        w.feature<IndexingController>()->setRunYieldInterval(0);
        return w;
    }
    // Opens the create panel, picks the source folder and presses Index.
    void index()
    {
        QVERIFY(app.trigger("Create1"));
        pickAndStart();
    }
    void pickAndStart()
    {
        app.dialogs().answerText(m_source);
        button("CatDirBrowse")->click();
        button("Startscan")->click();
    }
    QPushButton *button(const QString &name) { return app.window().findChild<QPushButton *>(name); }
    QLineEdit *nameBox() { return app.window().findChild<QLineEdit *>("Catalogname"); }
    ToolPanel *panel() { return app.window().panel("CreateCat"); }
    QString status() { return app.window().statusText(); }
    void save(const QString &name)
    {
        nameBox()->setText(name);
        button("SaveCatbtn")->click();
    }
    // Indexes the source and saves it over Disc, answering Update.
    MainWindow &indexAndUpdateDisc()
    {
        MainWindow &w = start();
        index();
        [&] { QVERIFY(app.clickCategory("Disks")); }();
        app.dialogs().answerSameName(SaveNewCatalog::Choice::Update);
        save("Disc");
        return w;
    }

    AppFixture app;
    QTemporaryDir m_sourceDir;
    QString m_source;
};

} // namespace

class TestCreateCat : public QObject
{
    Q_OBJECT
private slots:
    void runFillsTableAndSaveFilesIt();
    void guard_data();
    void guard();
    void stopWhileListingDirectories();
    void updateThenEditKeepsStoredComments();
    void savedScanNameFollowsItsCatalog_data();
    void savedScanNameFollowsItsCatalog();
    void masksClearedAndReadBack();
    void createOffersPendingChanges();
};

void TestCreateCat::runFillsTableAndSaveFilesIt()
{
    CreateFixture f;
    MainWindow &w = f.start("Removable", "MYDISK");
    w.findChild<QAbstractButton *>("Readonly")->setChecked(false);
    TestSupport::writeFile(f.m_source + "locked.txt", "r");
    QFile::setPermissions(f.m_source + "locked.txt", QFile::ReadOwner);
    f.index();
    QCOMPARE(f.status(), QString("2 Files In 1 Directories"));
    QCOMPARE(w.tableModel()->tableRowCount(), 3);
    QCOMPARE(w.tableModel()->cell(0, 1), QString("kept.txt"));
    QCOMPARE(f.nameBox()->text(), QString("MYDISK"));
    QCOMPARE(f.panel()->title(), QString("/media/disc Removable, Size 700 MB, Free 0 Bytes"));
    QVERIFY(f.button("Disklabel")->isEnabled());
    QVERIFY(f.button("SaveCatbtn")->isEnabled());
    QVERIFY(w.feature<IndexingController>()->unsavedScan());

    QVERIFY(f.app.clickCategory("Empty"));
    f.save("Fresh");
    QCOMPARE(f.status(), QString("Saved Fresh Catalog"));
    QCOMPARE(catalogLines(f.app, "Fresh").size(), 2);
    QCOMPARE(f.app.treeCatalogs("Empty"), QStringList{"Fresh"});
    QCOMPARE(w.state().tree.catalog(w.state().tree.findCatalog(u"Fresh")).image, 2);
    const QStringList info = CommaText::split(w.state().catalogInfo.value(u"Fresh"));
    QCOMPARE(info.mid(0, 3), (QStringList{"2", "1", "/media/disc"}));
    QCOMPARE(info.value(6), QString("Removable"));
    QCOMPARE(info.mid(8), (QStringList{"True", "False", "True", "True", "True", "False", "0"}));
    QCOMPARE(w.state().savedScanName, QString("Fresh"));
    QVERIFY(f.nameBox()->text().isEmpty());
    QVERIFY(!w.feature<IndexingController>()->unsavedScan());
}

void TestCreateCat::guard_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<bool>("runs");

    QTest::newRow("no drops the result") << false << "Kept" << QString() << true;
    QTest::newRow("yes saves, then runs") << true << "Kept" << QString() << true;
    QTest::newRow("yes without a name") << true << ""
                                        << "Please specify a name for this catalog first!" << false;
}

void TestCreateCat::guard()
{
    QFETCH(bool, yes);
    QFETCH(QString, name);
    QFETCH(QString, warning);
    QFETCH(bool, runs);
    CreateFixture f;
    MainWindow &w = f.start();
    f.index();
    QVERIFY(w.feature<IndexingController>()->unsavedScan());
    f.nameBox()->setText(name);
    QVERIFY(f.app.clickCategory("Empty"));
    w.StatusLine("before");
    yes ? f.app.dialogs().answerYes() : f.app.dialogs().answerNo();
    f.app.dialogs().clearShown();
    f.button("Startscan")->click();

    QCOMPARE(f.app.dialogs().shown().value(0), QString("confirm: Proceed to save recently indexed volume?"));
    QCOMPARE(f.app.dialogs().shown().value(1), warning.isEmpty() ? QString() : "warning: " + warning);
    QCOMPARE(f.status(), runs ? QString("2 Files In 1 Directories") : QString("before"));
    QCOMPARE(QFile::exists(f.app.path("Catalogs/Kept.TXT")), yes && runs);
    QVERIFY(w.feature<IndexingController>()->unsavedScan()); // a new result, or the old one still unsaved
    QCOMPARE(w.tableModel()->tableRowCount(), 3);
}

void TestCreateCat::stopWhileListingDirectories()
{
    CreateFixture f;
    MainWindow &w = f.start();
    TestSupport::writeFile(f.m_source + "sub/inner.txt", "i");
    QVERIFY(f.app.openCatalog("Disc"));
    QVERIFY(f.app.trigger("Create1"));
    w.state().pendingCommentEdits = true;
    bool blocked = false;
    QTimer::singleShot(0, &w, [&] {
        blocked = !w.action("View1")->isEnabled() && !w.treeView()->isEnabled() &&
                  !w.panel("Updatedlg")->isEnabled();
        f.button("Stopscan")->click();
    });
    f.pickAndStart();
    QCOMPARE(f.status(), QString("0 Files Cataloged"));
    QVERIFY(blocked);
    QVERIFY(w.action("View1")->isEnabled() && w.treeView()->isEnabled());
    // The rows shown before belong to no catalog any more.
    QVERIFY(w.state().openCatalogName.isEmpty());
    QVERIFY(!w.state().changesPending());
    QVERIFY(!f.button("SaveCatbtn")->isEnabled());
    QVERIFY(f.button("Startscan")->isEnabled() && !f.button("Stopscan")->isEnabled());
    QVERIFY(!w.feature<IndexingController>()->unsavedScan());
    QVERIFY(!w.isBusy());
}

// After an Update the table shows the catalog as stored: editing it and
// saving must keep the comments the merge kept.
void TestCreateCat::updateThenEditKeepsStoredComments()
{
    CreateFixture f;
    MainWindow &w = f.indexAndUpdateDisc();
    VisualTableModel *m = w.tableModel();
    QCOMPARE(m->tableRowCount(), 3);
    QCOMPARE(m->cell(0, 1), QString("kept.txt"));
    QCOMPARE(m->cell(1, 1), QString("1")); // the stored size, not the run's
    QCOMPARE(m->cell(4, 1), QString("keep me"));
    QVERIFY(!w.state().changesPending());

    QVERIFY(m->setData(m->index(1, 4), "fresh note"));
    f.app.dialogs().answerYes();
    QVERIFY(f.app.trigger("SaveChanges1"));
    QCOMPARE(f.app.dialogs().lastShown(), QString("confirm: Proceed to save changes to Disc catalog?"));
    QCOMPARE(catalogLines(f.app, "Disc"),
             (QStringList{entry("kept.txt", "1", f.m_source, "keep me"),
                          CommaText::join({"new.txt", "1", m->cell(2, 2), f.m_source, "fresh note"})}));
    f.app.dialogs().answerNo(); // the close query asks while the flag stays set
}

void TestCreateCat::savedScanNameFollowsItsCatalog_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("rename from the menu") << "menu";
    QTest::newRow("rename in place") << "in place";
    QTest::newRow("delete") << "delete";
}

// A saved run's rows belong to their catalog through a rename; a deleted
// catalog takes them with it, and no later save revives its file.
void TestCreateCat::savedScanNameFollowsItsCatalog()
{
    QFETCH(QString, how);
    CreateFixture f;
    MainWindow &w = f.start();
    f.index();
    QVERIFY(f.app.clickCategory("Empty"));
    f.save("Fresh");
    QCOMPARE(w.state().savedScanName, QString("Fresh"));
    QVERIFY(w.state().openCatalogName.isEmpty());
    QVERIFY(f.app.clickCatalog("Fresh"));
    if (how == "delete") {
        f.app.dialogs().answerYes();
        QVERIFY(f.app.trigger("DeleteSelectedCatalog1"));
        QVERIFY(w.state().savedScanName.isEmpty());
        QCOMPARE(w.tableModel()->tableRowCount(), 2);
        QVERIFY(f.app.trigger("SaveChanges1"));
        QCOMPARE(f.app.dialogs().lastShown(), QString("warning: Please specify a catalog first!"));
        QVERIFY(!QFile::exists(f.app.path("Catalogs/Fresh.TXT")));
        return;
    }
    if (how == "menu") {
        f.app.dialogs().answerText("Renamed");
        QVERIFY(f.app.trigger("RenameSelectedCatalog1"));
    } else {
        w.treeModel()->setData(w.treeView()->currentIndex(), "Renamed", Qt::EditRole);
    }
    QCOMPARE(f.app.treeCatalogs("Empty"), QStringList{"Renamed"});
    QCOMPARE(w.state().savedScanName, QString("Renamed"));
    QVERIFY(w.tableModel()->setData(w.tableModel()->index(0, 4), "after rename"));
    f.app.dialogs().answerYes();
    QVERIFY(f.app.trigger("SaveChanges1"));
    QCOMPARE(f.app.dialogs().lastShown(), QString("confirm: Proceed to save changes to Renamed catalog?"));
    QCOMPARE(CommaText::split(catalogLines(f.app, "Renamed").value(0)).value(4), QString("after rename"));
    QVERIFY(!QFile::exists(f.app.path("Catalogs/Fresh.TXT")));
    f.app.dialogs().answerNo(); // the close query
}

void TestCreateCat::masksClearedAndReadBack()
{
    CreateFixture f;
    f.app.writeLines("Kestrovane.INI",
                     {"[Global.Masklistbox_Items]", "Count=2", "Item0=*.TXT", "Item1=*.doc"});
    MainWindow &w = f.start();
    QLineEdit *entryBox = w.findChild<QLineEdit *>("Maskname");
    QListWidget *list = w.findChild<QListWidget *>("Masklistbox");
    auto items = [list] {
        QStringList masks;
        for (int i = 0; i < list->count(); ++i)
            masks << list->item(i)->text();
        return masks;
    };
    QVERIFY(f.app.trigger("Create1"));
    QCOMPARE(items(), (QStringList{"*.doc", "*.TXT"}));

    // F5, then the close button: the saved list comes back.
    QTest::keyClick(entryBox, Qt::Key_F5);
    QVERIFY(items().isEmpty());
    QVERIFY(w.state().masksCleared);
    w.findChild<QAbstractButton *>("CreateCatClose")->click();
    QCOMPARE(items(), (QStringList{"*.doc", "*.TXT"}));
    QVERIFY(!w.state().masksCleared);

    // Typed masks are lowered, one held in another case is dropped, and F6
    // reads the saved list back, losing masks added since.
    QVERIFY(f.app.trigger("Create1"));
    QTest::keyClick(entryBox, Qt::Key_F5);
    entryBox->clear();
    QTest::keyClicks(entryBox, "*.JPG");
    QTest::keyClick(entryBox, Qt::Key_Return);
    QTest::keyClicks(entryBox, "*.jpg");
    QTest::keyClick(entryBox, Qt::Key_Return);
    QCOMPARE(items(), QStringList{"*.jpg"});
    QVERIFY(entryBox->text().isEmpty());
    QTest::keyClick(entryBox, Qt::Key_F6);
    QCOMPARE(items(), (QStringList{"*.doc", "*.TXT"}));

    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(items(), QStringList{"*.TXT"});
    f.app.restart();
    QCOMPARE(f.app.window().findChild<QListWidget *>("Masklistbox")->count(), 1);
}

void TestCreateCat::createOffersPendingChanges()
{
    CreateFixture f;
    MainWindow &w = f.start();
    QVERIFY(f.app.openCatalog("Disc"));
    QVERIFY(w.tableModel()->setData(w.tableModel()->index(0, 4), "edited"));
    f.app.dialogs().answerNo();
    QVERIFY(f.app.trigger("Create1"));
    QCOMPARE(f.app.dialogs().shown().last(), QString("confirm: Proceed to save changes to Disc catalog?"));
    QVERIFY(!w.state().changesPending());
}

QTEST_MAIN(TestCreateCat)
#include "tst_createcat.moc"
