// The window and the command-line tool on one library: neither undoes the
// other's change, and the window shows what the tool did.
#include "../cli/CliProcess.h"
#include "AppFixture.h"
#include "TestSupport.h"

#include "CategoryTreeModel.h"

#include <QTemporaryDir>
#include <QTest>

class TestSharedLibrary : public QObject
{
    Q_OBJECT
private slots:
    void commandLineChangesSurviveTheWindow();
    void windowChangeOnStaleTreeKeepsOthers();
};

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

void TestSharedLibrary::commandLineChangesSurviveTheWindow()
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
void TestSharedLibrary::windowChangeOnStaleTreeKeepsOthers()
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

QTEST_MAIN(TestSharedLibrary)
#include "tst_sharedlibrary.moc"
