// Changes of several library files are stored all or nothing, and a change
// a crash interrupted is completed at the next start.
#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/LibraryState.h"
#include "library/LibraryTransaction.h"
#include "library/SafeFileWriter.h"
#include "library/SaveNewCatalog.h"
#include "library/TextFile.h"
#include "library/TreeOperations.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList kTree{"\"2\",\"0Games\",\"3Disc\",\"2Stick\"", "\"0\",\"0Music\""};
const QString kInfoLine = "\"1\",\"1\",\"/m\",\"/m/\",\"1 KB\",\"1 KB\",\"Fixed\",\"\",\"True\",\"True\","
                          "\"True\",\"True\",\"True\",\"False\",\"0\"";

void writeLibrary(const QString &root)
{
    TestSupport::writeLines(root + "/Master.TXT", kTree);
    TestSupport::writeLines(root + "/Catalogs/Master", {"Disc", kInfoLine, "Stick", kInfoLine});
    TestSupport::writeLines(root + "/Comments.TXT", {"Disc", "the disc", "Games", "all games"});
    TestSupport::writeLines(root + "/Catalogs/Disc.TXT", {"\"a.txt\",\"1\",\"\",\"/m/\",\"kept comment\"",
                                                          "\"gone.txt\",\"1\",\"\",\"/m/\",\"\""});
    TestSupport::writeLines(root + "/Catalogs/Stick.TXT", {"\"s.txt\",\"1\",\"\",\"/s/\",\"\""});
}

// Runs one command of the library on a freshly loaded state; false when it
// did not finish (stopped at a commit point, or failed).
bool runCommand(const QString &command, const CatalogLibrary &library, LibraryState &state)
{
    const CatalogSaving::TableRows rows{{"a.txt", "9", "", "/m/", ""}, {"new.txt", "2", "", "/m/", ""}};
    const CategoryTree::CatalogRef disc = state.tree.findCatalog(u"Disc");
    const auto apply = [&](const std::function<void()> &change) {
        return LibraryTransaction::apply(library, state, [&](LibraryTransaction &) { change(); });
    };
    state.lastRunInfo = kInfoLine;
    if (command == "save" || command == "overwrite" || command == "update") {
        SaveNewCatalog save(state, library, {command == "save" ? "Fresh" : "Disc", 1, rows, "CdRom"});
        SaveNewCatalog::Result result = save.start();
        if (command == "overwrite")
            result = save.choose(SaveNewCatalog::Choice::Overwrite);
        if (command == "update")
            result = save.choose(SaveNewCatalog::Choice::Update);
        return result.outcome != SaveNewCatalog::Outcome::Failed;
    }
    if (command == "rename")
        return TreeOperations::renameCatalog(state, library, disc, "Renamed").isValid();
    if (command == "delete") {
        QString error;
        TreeOperations::deleteCatalog(state, library, disc, &error);
        return error.isEmpty();
    }
    if (command == "move")
        return apply([&] { state.tree.moveCatalog(disc, 1); });
    if (command == "comment")
        return apply([&] { TreeOperations::setTreeComment(state, "Games", "new comment"); });
    if (command == "add category")
        return apply([&] { state.tree.addCategory("Books"); });
    return false;
}

} // namespace

class TestLibraryTransaction : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { LibraryTransaction::abandonAtCommitPoint(0); }
    void commandStoresEveryFile_data();
    void commandStoresEveryFile();
    void abandonedCommandIsWholeAfterStartUp_data();
    void abandonedCommandIsWholeAfterStartUp();
    void unfinishedRecordIsDropped();
    void strayTemporariesRemoved_data();
    void strayTemporariesRemoved();
    void renameNeverReplacesAFile();
    void failedCommitRestoresState();
};

void TestLibraryTransaction::commandStoresEveryFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("infoNames");
    QTest::addColumn<QString>("comments");
    const QString comments = "Disc\r\nthe disc\r\nGames\r\nall games\r\n";
    QTest::newRow("save") << "save" << QStringList{"\"1\",\"0Music\",\"1Fresh\"", kTree.at(0)}
                          << QStringList{"Disc", "Stick", "Fresh"} << comments;
    QTest::newRow("rename") << "rename" << QStringList{kTree.at(1), "\"2\",\"0Games\",\"3Renamed\",\"2Stick\""}
                            << QStringList{"Renamed", "Stick"} << "Renamed\r\nthe disc\r\nGames\r\nall games\r\n";
    QTest::newRow("delete") << "delete" << QStringList{kTree.at(1), "\"1\",\"0Games\",\"2Stick\""}
                            << QStringList{"Stick"} << "Games\r\nall games\r\n";
    QTest::newRow("move") << "move" << QStringList{"\"1\",\"0Games\",\"2Stick\"", "\"1\",\"0Music\",\"3Disc\""}
                          << QStringList{"Disc", "Stick"} << comments;
    QTest::newRow("comment") << "comment" << QStringList{kTree.at(1), kTree.at(0)} << QStringList{"Disc", "Stick"}
                             << "Disc\r\nthe disc\r\nGames\r\nnew comment\r\n";
}

void TestLibraryTransaction::commandStoresEveryFile()
{
    QFETCH(QString, command);
    QFETCH(QStringList, tree);
    QFETCH(QStringList, infoNames);
    QFETCH(QString, comments);
    QTemporaryDir dir;
    writeLibrary(dir.path());
    CatalogLibrary library(dir.path());
    LibraryState state;
    QVERIFY(library.startUp(state));
    QVERIFY(runCommand(command, library, state));
    // Stored at once, without waiting for shutdown.
    QByteArray treeBytes;
    for (const QString &line : tree)
        treeBytes += line.toUtf8() + "\r\n";
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")), treeBytes);
    QStringList info;
    TextFile::readLines(dir.filePath("Catalogs/Master"), info);
    QStringList names;
    for (qsizetype i = 0; i < info.size(); i += 2)
        names << info.at(i);
    QCOMPARE(names, infoNames);
    QCOMPARE(QString::fromUtf8(TestSupport::readFile(dir.filePath("Comments.TXT"))), comments);
    QVERIFY(!QFile::exists(LibraryTransaction::recordPath(library)));
}

void TestLibraryTransaction::abandonedCommandIsWholeAfterStartUp_data()
{
    QTest::addColumn<QString>("command");
    for (const char *command : {"save", "overwrite", "update", "rename", "delete", "move", "comment", "add category"})
        QTest::newRow(command) << QString(command);
}

// The command stops at each commit point in turn, as a killed program would;
// start-up then finds the library exactly as before (stopped before the
// record was written) or exactly as after the command (stopped after it).
void TestLibraryTransaction::abandonedCommandIsWholeAfterStartUp()
{
    QFETCH(QString, command);
    QMap<QString, QByteArray> before;
    QMap<QString, QByteArray> after;
    {
        QTemporaryDir dir;
        writeLibrary(dir.path());
        before = TestSupport::librarySnapshot(dir.path());
        CatalogLibrary library(dir.path());
        LibraryState state;
        QVERIFY(library.startUp(state));
        QVERIFY(runCommand(command, library, state));
        after = TestSupport::librarySnapshot(dir.path());
        QVERIFY(after != before);
    }
    int point = 1;
    for (;; ++point) {
        QTemporaryDir dir;
        writeLibrary(dir.path());
        CatalogLibrary library(dir.path());
        LibraryState state;
        QVERIFY(library.startUp(state));
        LibraryTransaction::abandonAtCommitPoint(point);
        const bool finished = runCommand(command, library, state);
        LibraryTransaction::abandonAtCommitPoint(0);
        if (finished) {
            QVERIFY(!LibraryTransaction::lastCommitAbandoned());
            break;
        }
        QVERIFY2(LibraryTransaction::lastCommitAbandoned(), qPrintable(QString("point %1").arg(point)));
        LibraryState reloaded;
        QVERIFY(library.startUp(reloaded));
        const QMap<QString, QByteArray> recovered = TestSupport::librarySnapshot(dir.path());
        const QMap<QString, QByteArray> &expected = point == 1 ? before : after;
        QVERIFY2(recovered == expected,
                 qPrintable(QString("point %1: %2").arg(point).arg(QStringList(recovered.keys()).join(", "))));
    }
    // Temporary files written, record written, then at least the three lists.
    QVERIFY(point >= 6);
}

void TestLibraryTransaction::unfinishedRecordIsDropped()
{
    QTemporaryDir dir;
    writeLibrary(dir.path());
    const QMap<QString, QByteArray> before = TestSupport::librarySnapshot(dir.path());
    CatalogLibrary library(dir.path());
    // A record without its end was never committed: its files are strays.
    TestSupport::writeLines(dir.filePath("Master.TXT.kvnew"), {"\"0\",\"0Other\""});
    TestSupport::writeLines(LibraryTransaction::recordPath(library),
                            {"Kestrovane commit record", "rename Master.TXT.kvnew Master.TXT"});
    LibraryState state;
    QVERIFY(library.startUp(state));
    QCOMPARE(TestSupport::librarySnapshot(dir.path()), before);
    QCOMPARE(state.tree.categoryCount(), 2);
}

void TestLibraryTransaction::strayTemporariesRemoved_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("removed");
    // The program's own names: a writer's temporary, a staged new content.
    QTest::newRow("temporary of a list") << ".kvtmp-0123456789ab-Master.TXT.kvtmp" << true;
    QTest::newRow("temporary of the settings") << ".kvtmp-00000000ffff-Kestrovane.INI.kvtmp" << true;
    QTest::newRow("temporary of a long name") << "Catalogs/.kvtmp-abcdefabcdef-.kvtmp" << true;
    QTest::newRow("catalog temporary") << "Catalogs/.kvtmp-0123456789ab-Alpha.TXT.kvtmp" << true;
    QTest::newRow("writer's name") << "Catalogs/" + SafeFileWriter::temporaryName("Alpha.TXT") << true;
    QTest::newRow("writer's name, long") << SafeFileWriter::temporaryName(QString(250, u'x')) << true;
    QTest::newRow("staged list") << "Comments.TXT.kvnew" << true;
    QTest::newRow("staged information list") << "Catalogs/Master.kvnew" << true;
    QTest::newRow("staged catalog") << "Catalogs/My Disc.TXT.kvnew" << true;
    // Whatever else: the user's.
    for (const char *file : {"Master.TXT.BackUp", "Master.TXT.MyCopy", "Comments.TXT.OldOne", "Kestrovane.INI.iPhone",
                             "Catalogs/A.TXT.DvdOne", "Catalogs/Music.txt.iCloud", "Catalogs/Notes.txt.McCann",
                             "Catalogs/My.TXT.kvnew.backup", "Catalogs/Alpha.TXT.Qzplao", "Catalogs/Disc 2.TXT",
                             "notes.abcdef", "Kestrovane.INI.kvnew", "Catalogs/notes.doc.kvnew",
                             ".kvtmp-0123456789AB-Master.TXT.kvtmp", "Catalogs/.kvtmp-0123-Disc.TXT.kvtmp",
                             "Catalogs/kvtmp-0123456789ab-Disc.TXT.kvtmp"})
        QTest::newRow(file) << QString(file) << false;
}

void TestLibraryTransaction::strayTemporariesRemoved()
{
    QFETCH(QString, file);
    QFETCH(bool, removed);
    QTemporaryDir dir;
    writeLibrary(dir.path());
    TestSupport::writeLines(dir.filePath(file), {"x"});
    LibraryState state;
    QVERIFY(CatalogLibrary(dir.path()).startUp(state));
    QCOMPARE(QFile::exists(dir.filePath(file)), !removed);
    QVERIFY(QFile::exists(dir.filePath("Catalogs/Disc.TXT")));
}

void TestLibraryTransaction::renameNeverReplacesAFile()
{
    QTemporaryDir dir;
    writeLibrary(dir.path());
    TestSupport::writeLines(dir.filePath("Catalogs/Taken.TXT"), {"\"t.txt\",\"1\",\"\",\"/t/\",\"\""});
    const QMap<QString, QByteArray> before = TestSupport::librarySnapshot(dir.path());
    CatalogLibrary library(dir.path());
    LibraryState state;
    QVERIFY(library.startUp(state));
    QString error;
    QVERIFY(!TreeOperations::renameCatalog(state, library, state.tree.findCatalog(u"Disc"), "Taken", &error)
                 .isValid());
    QVERIFY(error.contains("Taken.TXT"));
    QCOMPARE(TestSupport::librarySnapshot(dir.path()), before);
    QVERIFY(state.tree.findCatalog(u"Disc").isValid());
    QCOMPARE(state.catalogInfo.nameAt(0), QString("Disc"));
}

void TestLibraryTransaction::failedCommitRestoresState()
{
    QTemporaryDir dir;
    writeLibrary(dir.path());
    const QMap<QString, QByteArray> before = TestSupport::librarySnapshot(dir.path());
    CatalogLibrary library(dir.path());
    LibraryState state;
    QVERIFY(library.startUp(state));
    state.openCatalogName = "Disc";
    QString error;
    const bool ok = LibraryTransaction::apply(
        library, state,
        [&](LibraryTransaction &transaction) {
            // A folder that does not exist: the new file cannot be written.
            transaction.writeFile(dir.filePath("Catalogs/missing/X.TXT"), {"x"});
            state.tree.removeCatalog(state.tree.findCatalog(u"Disc"));
            state.catalogInfo.remove(u"Disc");
            state.openCatalogName.clear();
        },
        &error);
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
    QCOMPARE(TestSupport::librarySnapshot(dir.path()), before);
    QVERIFY(state.tree.findCatalog(u"Disc").isValid());
    QVERIFY(state.catalogInfo.contains(u"Disc"));
    QCOMPARE(state.openCatalogName, QString("Disc"));
}

QTEST_GUILESS_MAIN(TestLibraryTransaction)
#include "tst_librarytransaction.moc"
