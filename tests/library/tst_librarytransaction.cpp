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
#include <QUrl>

#include <QTest>
#include <sys/stat.h>

namespace {

const QStringList kTree{"\"2\",\"0Games\",\"3Disc\",\"2Stick\"", "\"0\",\"0Music\""};
const QString kInfoLine = "\"1\",\"1\",\"/m\",\"/m/\",\"1 KB\",\"1 KB\",\"Fixed\",\"\",\"True\",\"True\","
                          "\"True\",\"True\",\"True\",\"False\",\"0\"";

void writeLibrary(const QString &root)
{
    TestSupport::writeLines(root + "/Master.TXT", kTree);
    TestSupport::writeLines(root + "/Catalogs/Master", {"Disc", kInfoLine, "Stick", kInfoLine});
    TestSupport::writeLines(root + "/Comments.TXT", {"Disc", "the disc", "Games", "all games"});
    TestSupport::writeLines(root + "/Catalogs/Volumes", {"\"Disc\",\"U1\",\"Disc\",\"iso9660\",\"\"",
                                                         "\"Stick\",\"U2\",\"\",\"vfat\",\"music\""});
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
    // The scan's medium: a new one, one without a UUID, the stored one.
    state.lastRunMedium = command == "save"     ? VolumeIdentity{"U9", "Fresh", "ext4", ""}
                          : command == "update" ? VolumeIdentity{"U1", "Disc", "iso9660", "sub"}
                                                : VolumeIdentity{};
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
        return TreeOperations::renameCatalog(state, library, "Disc", "Renamed").isValid();
    if (command == "delete") {
        QString error;
        TreeOperations::deleteCatalog(state, library, "Disc", &error);
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
    void foreignRecordIsRefused_data();
    void foreignRecordIsRefused();
    void linkedFilesStayLinks_data();
    void linkedFilesStayLinks();
    void mediaFollowTheirCatalogs_data();
    void mediaFollowTheirCatalogs();
    void renameNeverReplacesAFile();
    void failedCommitRestoresState();
};

void TestLibraryTransaction::commandStoresEveryFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("infoNames");
    QTest::addColumn<QString>("comments");
    QTest::addColumn<QStringList>("mediaNames");
    const QString comments = "Disc\r\nthe disc\r\nGames\r\nall games\r\n";
    QTest::newRow("save") << "save" << QStringList{"\"1\",\"0Music\",\"1Fresh\"", kTree.at(0)}
                          << QStringList{"Disc", "Stick", "Fresh"} << comments
                          << QStringList{"Disc", "Stick", "Fresh"};
    QTest::newRow("rename") << "rename"
                            << QStringList{kTree.at(1), "\"2\",\"0Games\",\"3Renamed\",\"2Stick\""}
                            << QStringList{"Renamed", "Stick"}
                            << "Renamed\r\nthe disc\r\nGames\r\nall games\r\n"
                            << QStringList{"Renamed", "Stick"};
    QTest::newRow("delete") << "delete" << QStringList{kTree.at(1), "\"1\",\"0Games\",\"2Stick\""}
                            << QStringList{"Stick"} << "Games\r\nall games\r\n"
                            << QStringList{"Stick"};
    QTest::newRow("move") << "move"
                          << QStringList{"\"1\",\"0Games\",\"2Stick\"", "\"1\",\"0Music\",\"3Disc\""}
                          << QStringList{"Disc", "Stick"} << comments << QStringList{"Disc", "Stick"};
    // A change of a comment leaves the tree file as it was.
    QTest::newRow("comment") << "comment" << kTree << QStringList{"Disc", "Stick"}
                             << "Disc\r\nthe disc\r\nGames\r\nnew comment\r\n"
                             << QStringList{"Disc", "Stick"};
}

void TestLibraryTransaction::commandStoresEveryFile()
{
    QFETCH(QString, command);
    QFETCH(QStringList, tree);
    QFETCH(QStringList, infoNames);
    QFETCH(QString, comments);
    QFETCH(QStringList, mediaNames);
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
    QStringList media;
    TextFile::readLines(library.volumesPath(), media);
    for (QString &line : media)
        line = line.section(u'"', 1, 1);
    QCOMPARE(media, mediaNames);
    QVERIFY(!QFile::exists(LibraryTransaction::recordPath(library)));
}

void TestLibraryTransaction::abandonedCommandIsWholeAfterStartUp_data()
{
    QTest::addColumn<QString>("command");
    for (const char *command :
         {"save", "overwrite", "update", "rename", "delete", "move", "comment", "add category"})
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
        QVERIFY2(
            recovered == expected,
            qPrintable(QString("point %1: %2").arg(point).arg(QStringList(recovered.keys()).join(", "))));
    }
    // Temporary files written, record written, then each file the change
    // altered, one at least.
    QVERIFY(point >= 4);
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
    for (const char *file :
         {"Master.TXT.BackUp", "Master.TXT.MyCopy", "Comments.TXT.OldOne", "Kestrovane.INI.iPhone",
          "Catalogs/A.TXT.DvdOne", "Catalogs/Music.txt.iCloud", "Catalogs/Notes.txt.McCann",
          "Catalogs/My.TXT.kvnew.backup", "Catalogs/Alpha.TXT.Qzplao", "Catalogs/Disc 2.TXT", "notes.abcdef",
          "Kestrovane.INI.kvnew", "Catalogs/notes.doc.kvnew", ".kvtmp-0123456789AB-Master.TXT.kvtmp",
          "Catalogs/.kvtmp-0123-Disc.TXT.kvtmp", "Catalogs/kvtmp-0123456789ab-Disc.TXT.kvtmp"})
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

void TestLibraryTransaction::foreignRecordIsRefused_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("catalogsLinkedOut");
    const QString outside = QUrl::toPercentEncoding("/tmp/outside-of-any-library/victim.txt");
    QTest::newRow("remove, up a folder") << QStringList{"remove ..%2Fvictim.txt"} << false;
    QTest::newRow("rename, up a folder") << QStringList{"rename ..%2Fsrc.txt ..%2Fdst.txt"} << false;
    QTest::newRow("staged rename, up a folder")
        << QStringList{"rename ..%2Fsrc.txt.kvnew ..%2Fsrc.txt"} << false;
    QTest::newRow("catalog up and back")
        << QStringList{"remove Catalogs%2F..%2FCatalogs%2FDisc.TXT"} << false;
    QTest::newRow("absolute") << QStringList{"remove " + outside} << false;
    QTest::newRow("folder linked out") << QStringList{"remove Catalogs%2FDisc.TXT"} << true;
    QTest::newRow("remove the tree") << QStringList{"remove Master.TXT"} << false;
    QTest::newRow("remove Catalogs") << QStringList{"remove Catalogs"} << false;
    QTest::newRow("onto a name not the library's")
        << QStringList{"rename Catalogs%2FDisc.TXT Catalogs%2Fnotes.doc"} << false;
    QTest::newRow("staged onto another file")
        << QStringList{"rename Catalogs%2FDisc.TXT.kvnew Master.TXT"} << false;
    QTest::newRow("a catalog over the tree") << QStringList{"rename Catalogs%2FDisc.TXT Master.TXT"} << false;
    // One good entry does not carry a bad one.
    QTest::newRow("after a good entry")
        << QStringList{"remove Catalogs%2FStick.TXT", "remove ..%2Fvictim.txt"} << false;
    QTest::newRow("unknown step") << QStringList{"copy Master.TXT Comments.TXT"} << false;
}

// Nothing of a record the program would not write is carried out: it stays
// for the user, and start-up says so and what to do.
void TestLibraryTransaction::foreignRecordIsRefused()
{
    QFETCH(QStringList, entries);
    QFETCH(bool, catalogsLinkedOut);
    QTemporaryDir outer;
    const QString root = outer.filePath("lib");
    writeLibrary(root);
    for (const char *name : {"victim.txt", "src.txt", "src.txt.kvnew"})
        TestSupport::writeFile(outer.filePath(name), name);
    if (catalogsLinkedOut) {
        QVERIFY(QDir().rename(root + "/Catalogs", outer.filePath("elsewhere")));
        QVERIFY(QFile::link(outer.filePath("elsewhere"), root + "/Catalogs"));
    }
    CatalogLibrary library(root);
    TestSupport::writeLines(LibraryTransaction::recordPath(library),
                            QStringList{"Kestrovane commit record"} + entries + QStringList{"end"});
    const QMap<QString, QByteArray> before = TestSupport::librarySnapshot(root);
    const QMap<QString, QByteArray> outside = TestSupport::librarySnapshot(outer.path());
    LibraryState state;
    QString error;
    QVERIFY(!library.startUp(state, &error));
    QCOMPARE(error, "The change record " + LibraryTransaction::recordPath(library) +
                        " does not come from Kestrovane and was not carried out. Move it out of the library "
                        "folder, then start again.");
    QCOMPARE(TestSupport::librarySnapshot(root), before);
    QCOMPARE(TestSupport::librarySnapshot(outer.path()), outside);
    // A change refuses to run over it as well.
    QVERIFY(!LibraryTransaction::apply(
        library, state, [](LibraryTransaction &) {}, &error));
    QCOMPARE(TestSupport::librarySnapshot(root), before);
}

void TestLibraryTransaction::linkedFilesStayLinks_data()
{
    QTest::addColumn<int>("stopAt"); // 0: the change runs to its end
    for (int point : {0, 1, 2, 3})
        QTest::newRow(qPrintable(QString("stopped at %1").arg(point))) << point;
}

// Libraries are linked into synced folders file by file: a change replaces
// the files the links lead to, with their modes, and keeps the links.
void TestLibraryTransaction::linkedFilesStayLinks()
{
    QFETCH(int, stopAt);
    QTemporaryDir outer;
    const QString root = outer.filePath("lib");
    writeLibrary(root);
    for (const QString &file : {QString("Master.TXT"), QString("Catalogs/Disc.TXT")}) {
        const QString synced = outer.filePath("sync/" + QFileInfo(file).fileName());
        QVERIFY(QDir().mkpath(outer.filePath("sync")));
        QVERIFY(QFile::rename(root + '/' + file, synced));
        QVERIFY(QFile::link(synced, root + '/' + file));
        QCOMPARE(::chmod(QFile::encodeName(synced).constData(), 0604), 0);
    }
    CatalogLibrary library(root);
    LibraryState state;
    QVERIFY(library.startUp(state));
    const QByteArray oldDisc = TestSupport::readFile(outer.filePath("sync/Disc.TXT"));
    LibraryTransaction::abandonAtCommitPoint(stopAt);
    LibraryTransaction::apply(library, state, [&](LibraryTransaction &t) {
        t.writeFile(library.catalogFilePath("Disc"), {"\"new.txt\",\"1\",\"\",\"/m/\",\"\""});
        state.tree.addCategory("Books");
    });
    LibraryTransaction::abandonAtCommitPoint(0);
    QVERIFY(library.startUp(state));
    const bool changed = stopAt != 1;
    QCOMPARE(TestSupport::readFile(outer.filePath("sync/Disc.TXT")),
             changed ? QByteArray("\"new.txt\",\"1\",\"\",\"/m/\",\"\"\r\n") : oldDisc);
    QCOMPARE(TestSupport::readFile(outer.filePath("sync/Master.TXT")).contains("Books"), changed);
    for (const QString &file : {QString("Master.TXT"), QString("Catalogs/Disc.TXT")})
        QVERIFY2(QFileInfo(root + '/' + file).isSymLink(), qPrintable(file));
    for (const char *file : {"sync/Master.TXT", "sync/Disc.TXT"}) {
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(outer.filePath(file)).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, 0604u);
    }
    // Nothing of the change is left beside the linked files.
    QCOMPARE(QDir(outer.filePath("sync")).entryList(QDir::Files | QDir::Hidden),
             QStringList({"Disc.TXT", "Master.TXT"}));
}

void TestLibraryTransaction::mediaFollowTheirCatalogs_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("volumesFile");
    QTest::addColumn<QStringList>("media"); // the lines' names and sub-paths
    QTest::newRow("update records the scan") << "update" << true << QStringList{"Disc sub", "Stick music"};
    QTest::newRow("overwrite without UUID") << "overwrite" << true << QStringList{"Stick music"};
    // A library made without the file (the Windows version, an older one).
    QTest::newRow("no file: rename") << "rename" << false << QStringList();
    QTest::newRow("no file: delete") << "delete" << false << QStringList();
    QTest::newRow("no file: overwrite") << "overwrite" << false << QStringList();
    QTest::newRow("no file: save") << "save" << false << QStringList{"Fresh "};
}

void TestLibraryTransaction::mediaFollowTheirCatalogs()
{
    QFETCH(QString, command);
    QFETCH(bool, volumesFile);
    QFETCH(QStringList, media);
    QTemporaryDir dir;
    writeLibrary(dir.path());
    CatalogLibrary library(dir.path());
    if (!volumesFile)
        QVERIFY(QFile::remove(library.volumesPath()));
    LibraryState state;
    QVERIFY(library.startUp(state));
    QVERIFY(runCommand(command, library, state));
    QCOMPARE(QFile::exists(library.volumesPath()), volumesFile || !media.isEmpty());
    LibraryState reloaded;
    QVERIFY(library.startUp(reloaded));
    QStringList found;
    for (const QString &name : QStringList{"Disc", "Stick", "Fresh", "Renamed"}) {
        if (const std::optional<VolumeIdentity> medium = reloaded.volumes.identityOf(name))
            found << name + u' ' + medium->subPath;
    }
    QCOMPARE(found, media);
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
    QVERIFY(!TreeOperations::renameCatalog(state, library, "Disc", "Taken", &error).isValid());
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
