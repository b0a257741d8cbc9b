#include "CliProcess.h"
#include "TestSupport.h"
#include "library/CatalogInfo.h"
#include "library/CommaText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The command-line tool on a full disk, with list files it cannot read and
// lines of Master.TXT it cannot load, and several programs on one library at
// once.
namespace {

using Result = CliProcess::TextResult;
const auto runCli = &CliProcess::runText;

const QStringList kTree{"\"1\",\"0Games\",\"3Disc\"", "\"0\",\"0Music\""};

void writeLibrary(const QString &root)
{
    TestSupport::writeLines(root + "/Master.TXT", kTree);
    TestSupport::writeLines(root + "/Catalogs/Master", {"Disc", "\"1\""});
    TestSupport::writeLines(root + "/Comments.TXT", {"Games", "fun"});
    TestSupport::writeLines(root + "/Catalogs/Disc.TXT", {"\"a.txt\",\"1\",\"\",\"/m/\",\"note\""});
}

QMap<QString, QByteArray> libraryFiles(const QString &root)
{
    QMap<QString, QByteArray> files;
    for (const char *name : {"Master.TXT", "Comments.TXT", "Catalogs/Master", "Catalogs/Disc.TXT"})
        files[name] = TestSupport::readFile(root + "/" + name);
    return files;
}

} // namespace

class TestCliStorage : public QObject
{
    Q_OBJECT
private slots:
    void fullDiskFails();
    void unreadableListFile_data();
    void unreadableListFile();
    void unloadedLinesKeptAndReported();
    void emptyRescanNeedsYes();
    void concurrentWritersLoseNothing();
    void busyLibraryRefused();
    void deadHolderBlocksNobody();
    void readersChangeNothing();
    void changeWritesOnlyItsFiles();
};

// The library's writers have their own full-disk tests; here the tool
// reports the failure and leaves no catalog behind.
void TestCliStorage::fullDiskFails()
{
    QTemporaryDir disk;
    QString reason;
    if (!TestSupport::mountTmpfs(disk.path(), 256, &reason))
        QSKIP(qPrintable(reason));
    QTemporaryDir source;
    TestSupport::writeFile(source.filePath("one.txt"), "1");
    TestSupport::writeFile(source.filePath("two.txt"), "22");
    const QStringList args{"index", source.path(), "--name", "B", "--category", "Music"};
    writeLibrary(disk.path());
    const QMap<QString, QByteArray> before = libraryFiles(disk.path());
    TestSupport::fillDisk(disk.path());
    const Result r = runCli(disk.path(), args);
    const QMap<QString, QByteArray> after = libraryFiles(disk.path());
    const bool catalogB = QFile::exists(disk.filePath("Catalogs/B.TXT"));
    TestSupport::unmount(disk.path());
    QVERIFY2(r.code != 0, qPrintable(r.out));
    QVERIFY(!r.err.isEmpty());
    QVERIFY(!r.out.contains("Saved"));
    QVERIFY(after == before);
    QVERIFY(!catalogB);
}

void TestCliStorage::unreadableListFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("args");
    for (const char *file : {"Master.TXT", "Catalogs/Master", "Comments.TXT"}) {
        QTest::addRow("%s, tree", file) << QString(file) << QStringList{"tree"};
        QTest::addRow("%s, add-category", file) << QString(file) << QStringList{"add-category", "Films"};
    }
}

void TestCliStorage::unreadableListFile()
{
    QFETCH(QString, file);
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    writeLibrary(dir.path());
    QVERIFY(QFile::remove(dir.filePath(file)));
    QVERIFY(QDir().mkpath(dir.filePath(file)));
    const Result r = runCli(dir.path(), args);
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.contains(dir.filePath(file)), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    QVERIFY(QFileInfo(dir.filePath(file)).isDir());
}

void TestCliStorage::unloadedLinesKeptAndReported()
{
    QTemporaryDir dir;
    writeLibrary(dir.path());
    const QString broken = "\"1\",\"0Old\",\"Disc Without Digit\"";
    TestSupport::writeLines(dir.filePath("Master.TXT"), kTree + QStringList{broken});
    Result r = runCli(dir.path(), {"tree"});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.contains("1 Line(s) Of Master.TXT Could Not Be Read"), qPrintable(r.err));
    QCOMPARE(runCli(dir.path(), {"add-category", "Films"}).code, 0);
    QVERIFY(TestSupport::readFile(dir.filePath("Master.TXT")).contains(broken.toUtf8() + "\r\n"));
}

void TestCliStorage::emptyRescanNeedsYes()
{
    QTemporaryDir dir;
    QTemporaryDir source;
    CatalogInfo info;
    info.path = source.path() + "/";
    info.driveType = "Fixed";
    const auto entry = [&](const QString &name) { return CommaText::join({name, "1", "", info.path, ""}); };
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Games\",\"3Stick\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Master"), {"Stick", info.toLine()});
    TestSupport::writeLines(dir.filePath("Catalogs/Stick.TXT"), {entry("kept.txt"), entry("other.txt")});
    const auto before = TestSupport::librarySnapshot(dir.path());
    Result r = runCli(dir.path(), {"update", "Stick"});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("No files were found in " + info.path + ", but catalog Stick holds 2 entries."),
             qPrintable(r.err));
    QVERIFY(r.err.contains("(answer with --yes)"));
    QCOMPARE(TestSupport::librarySnapshot(dir.path()), before);

    r = runCli(dir.path(), {"update", "Stick", "--yes"});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.startsWith("0 New Addition(s) 2 Removed\n"), qPrintable(r.out));
    QVERIFY(TestSupport::readFile(dir.filePath("Catalogs/Stick.TXT")).isEmpty());
}

namespace {

// Runs a bash loop of the tool's commands in the background; ROUND is each
// round's number. The loop prints "FAIL <args> <status>" for a failed run.
QProcess *startLoop(const QString &library, int rounds, const QStringList &commands)
{
    QString script = QStringLiteral("for ROUND in $(seq 1 %1); do\n").arg(rounds);
    for (const QString &command : commands)
        script += QStringLiteral(
                      "  \"$CLI\" --library \"$LIB\" %1 >/dev/null 2>>\"$LIB.err\" || echo \"FAIL %1 $?\"\n")
                      .arg(command);
    script += QStringLiteral("done\n");
    auto *p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CLI", KESTROVANE_CLI);
    env.insert("LIB", library);
    p->setProcessEnvironment(env);
    p->start("bash", {"-c", script});
    return p;
}

QString finish(QProcess *p)
{
    p->waitForFinished(300000);
    const QString out = QString::fromUtf8(p->readAllStandardOutput());
    delete p;
    return out;
}

} // namespace

// Several runs of the tool on one library at once: one writer at a time,
// no lost change, readers that change nothing, and a busy library refused.
void TestCliStorage::concurrentWritersLoseNothing()
{
    QTemporaryDir dir;
    QTemporaryDir source;
    TestSupport::writeFile(source.filePath("f.txt"), "x");
    const QString lib = dir.filePath("lib");
    QVERIFY(CliProcess::run(lib, {"add-category", "Start"}).code == 0);
    // 2 x 50 rounds of mixed writes beside a reader loop.
    const auto writer = [&](const QString &w) {
        return QStringList{"add-category " + w + "$ROUND", "comment " + w + "$ROUND note" + w + "$ROUND",
                           "index " + source.path() + " --name " + w + "cat$ROUND --category " + w + "$ROUND",
                           "rename-catalog " + w + "cat$ROUND " + w + "disc$ROUND"};
    };
    QProcess *a = startLoop(lib, 50, writer("A"));
    QProcess *b = startLoop(lib, 50, writer("B"));
    QProcess *reader = startLoop(lib, 60, {"tree"});
    const QString failures = finish(a) + finish(b) + finish(reader);
    QVERIFY2(failures.isEmpty(), qPrintable(failures + TestSupport::readFile(lib + ".err")));

    const QByteArray tree = TestSupport::readFile(lib + "/Master.TXT");
    const QByteArray comments = TestSupport::readFile(lib + "/Comments.TXT");
    const QByteArray info = TestSupport::readFile(lib + "/Catalogs/Master");
    for (const char *w : {"A", "B"}) {
        for (int i = 1; i <= 50; ++i) {
            const QByteArray n = QByteArray(w) + QByteArray::number(i);
            QVERIFY2(tree.contains("\"0" + n + "\",\"3" + w + "disc" + QByteArray::number(i) + "\""), n);
            QVERIFY2(comments.contains(n + "\r\nnote" + n + "\r\n"), n);
            QVERIFY2(info.contains(w + QByteArray("disc") + QByteArray::number(i) + "\r\n"), n);
            QVERIFY(QFile::exists(lib + "/Catalogs/" + w + "disc" + QString::number(i) + ".TXT"));
        }
    }
}

void TestCliStorage::busyLibraryRefused()
{
    QTemporaryDir dir;
    QVERIFY(CliProcess::run(dir.path(), {"add-category", "Games"}).code == 0);
    // Another program holds the lock for longer than anyone waits.
    QProcess holder;
    holder.start("flock", {"-o", dir.filePath("Kestrovane.lock"), "sleep", "30"});
    QVERIFY(holder.waitForStarted());
    const auto held = [&] {
        return QProcess::execute("flock", {"-n", dir.filePath("Kestrovane.lock"), "true"}) != 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(held(), 10000);
    QElapsedTimer timer;
    timer.start();
    for (const QStringList &args : {QStringList{"add-category", "Films"}, QStringList{"tree"}}) {
        const CliProcess::Result r = CliProcess::run(dir.path(), args);
        QCOMPARE(r.code, 4);
        QVERIFY2(r.err.contains("is in use by"), qPrintable(r.err));
    }
    QVERIFY(timer.elapsed() < 20000);
    holder.kill();
    holder.waitForFinished();
    QCOMPARE(CliProcess::run(dir.path(), {"add-category", "Films"}).code, 0);
}

void TestCliStorage::deadHolderBlocksNobody()
{
    QTemporaryDir dir;
    QVERIFY(CliProcess::run(dir.path(), {"add-category", "Games"}).code == 0);
    // A holder killed while it holds the lock (and left its name behind).
    QProcess::execute("python3", {"-c",
                                  "import fcntl,os,sys; f=open(sys.argv[1],'w'); "
                                  "fcntl.flock(f, fcntl.LOCK_EX); f.write('dead (process 1)'); f.flush(); "
                                  "os.kill(os.getpid(), 9)",
                                  dir.filePath("Kestrovane.lock")});
    QCOMPARE(CliProcess::run(dir.path(), {"add-category", "Films"}).code, 0);
}

// A reading command neither completes a change record nor removes staged
// files: they may belong to a writer at work.
void TestCliStorage::readersChangeNothing()
{
    QTemporaryDir dir;
    QVERIFY(CliProcess::run(dir.path(), {"add-category", "Games"}).code == 0);
    TestSupport::writeFile(dir.filePath("Master.TXT.kvnew"), "\"0\",\"0Staged\"\r\n");
    TestSupport::writeFile(dir.filePath("Kestrovane.commit"),
                           "Kestrovane commit record\r\nrename Master.TXT.kvnew Master.TXT\r\nend\r\n");
    const QByteArray tree = TestSupport::readFile(dir.filePath("Master.TXT"));
    for (const char *command : {"tree", "report", "search"}) {
        CliProcess::run(dir.path(), {command, "--word", "x"});
        CliProcess::run(dir.path(), {command});
    }
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")), tree);
    QVERIFY(QFile::exists(dir.filePath("Master.TXT.kvnew")));
    QVERIFY(QFile::exists(dir.filePath("Kestrovane.commit")));
}

// A command writes the files it changes and no other: a library made by the
// Windows version keeps its other files byte for byte.
void TestCliStorage::changeWritesOnlyItsFiles()
{
    QTemporaryDir dir;
    const QByteArray master("\"1\",\"0M\xfasica\",\"1Caf\xe9 CD\"\r\n");
    const QByteArray info(
        "Caf\xe9 CD\r\n\"2\",\"1\",\"D:\",\"D:\\\",\"650 MB\",\"0 Bytes\",\"CdRom\","
        "\"06/14/1998 10:00:00\",\"True\",\"True\",\"True\",\"True\",\"True\",\"False\",\"0\"\r\n");
    TestSupport::writeFile(dir.filePath("Master.TXT"), master);
    TestSupport::writeFile(dir.filePath("Catalogs/Master"), info);
    const CliProcess::Result r =
        CliProcess::run(dir.path(), {"comment", QString::fromUtf8("Música"), "old songs"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")), master);
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Master")), info);
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")),
             QString::fromUtf8("Música\r\nold songs\r\n").toUtf8());
}

QTEST_MAIN(TestCliStorage)
#include "tst_clistorage.moc"
