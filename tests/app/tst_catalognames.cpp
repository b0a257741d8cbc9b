#include "AppFixture.h"
#include "TestSupport.h"

#include "CategoryTreeModel.h"
#include "library/CatalogName.h"
#include "library/CategoryName.h"
#include "library/CommaText.h"

#include <QDir>
#include <QTest>
#include <QTreeView>

namespace {

QString entry(const QString &name, const QString &comment = QString())
{
    return CommaText::join({name, "1", "06/14/1998 10:00:00", "/media/disc/", comment});
}

// Games holds Backup (with an information line) and été (without);
// Stray.TXT is a catalog file that no node names.
void writeLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"3Backup\",\"3\u00e9t\u00e9\""});
    app.writeLines("Catalogs/Master", {"Backup", "\"1\",\"0\""});
    app.writeLines("Catalogs/Backup.TXT", {entry("a.txt", "backup's comment")});
    app.writeLines("Catalogs/\u00e9t\u00e9.TXT", {entry("summer.jpg")});
    app.writeLines("Catalogs/Stray.TXT", {entry("stray.txt", "not Backup's")});
}

} // namespace

class TestCatalogNames : public QObject
{
    Q_OBJECT
private slots:
    void refusedRenames_data();
    void refusedRenames();
    void acceptedRenameMovesTheFileOnly();
    void refusedCategoryNames_data();
    void refusedCategoryNames();
};

void TestCatalogNames::refusedRenames_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("warning"); // empty: refused without a word

    const QString taken = CatalogName::TakenText;
    const QString slash = CatalogName::problem("/");
    for (const bool inPlace : {false, true}) {
        const char *how = inPlace ? "in place" : "menu";
        QTest::addRow("%s, %s", how, "onto a stray file") << inPlace << "stray" << taken;
        QTest::addRow("%s, %s", how, "case only") << inPlace << "BACKUP" << taken;
        QTest::addRow("%s, %s", how, "out of Catalogs") << inPlace << "../Escaped" << slash;
        QTest::addRow("%s, %s", how, "empty") << inPlace << "" << QString("");
    }
}

void TestCatalogNames::refusedRenames()
{
    QFETCH(bool, inPlace);
    QFETCH(QString, newName);
    QFETCH(QString, warning);
    AppFixture app;
    writeLibrary(app);
    // What a start and a shutdown without changes leave is the baseline.
    app.start();
    app.close();
    const auto before = TestSupport::librarySnapshot(app.root());
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
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
    QCOMPARE(app.treeCatalogs("Games"), (QStringList{"Backup", "\u00e9t\u00e9"}));
    QCOMPARE(w.state().openCatalogName, QString("Backup"));
    QVERIFY(w.state().catalogInfo.contains(u"Backup"));
    app.close();
    QCOMPARE(TestSupport::librarySnapshot(app.root()), before);
}

void TestCatalogNames::acceptedRenameMovesTheFileOnly()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.clickCatalog("\u00e9t\u00e9"));
    w.treeModel()->setData(w.treeView()->currentIndex(), "Hiver", Qt::EditRole);
    QCOMPARE(app.treeCatalogs("Games"), (QStringList{"Backup", "Hiver"}));
    QCOMPARE(TestSupport::readFile(app.path("Catalogs/Hiver.TXT")), (entry("summer.jpg") + "\r\n").toUtf8());
    QVERIFY(!QFile::exists(app.path("Catalogs/\u00e9t\u00e9.TXT")));
    QCOMPARE(TestSupport::readFile(app.path("Catalogs/Stray.TXT")),
             (entry("stray.txt", "not Backup's") + "\r\n").toUtf8());
}

void TestCatalogNames::refusedCategoryNames_data()
{
    QTest::addColumn<QString>("how"); // a command, or "in place"
    QTest::addColumn<QString>("name");
    for (const char *how : {"Add1", "RenameSelectedCategory1", "in place"}) {
        QTest::addRow("%s, CR LF", how) << QString(how) << "Two\r\nLines";
        QTest::addRow("%s, escape", how) << QString(how) << "Red\x1b[31m";
    }
}

void TestCatalogNames::refusedCategoryNames()
{
    QFETCH(QString, how);
    QFETCH(QString, name);
    AppFixture app;
    writeLibrary(app);
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
    QCOMPARE(w.state().tree.categoryCount(), 1);
    QCOMPARE(w.state().tree.category(0).name, QString("Games"));
    QCOMPARE(TestSupport::librarySnapshot(app.root()), before);
}

QTEST_MAIN(TestCatalogNames)
#include "tst_catalognames.moc"
