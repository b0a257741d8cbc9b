// The command-line tool on a full disk, with list files it cannot read and
// with lines of Master.TXT it cannot load.
#include "CliProcess.h"
#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
    void fullDiskFails_data();
    void fullDiskFails();
    void unreadableListFile_data();
    void unreadableListFile();
    void unloadedLinesKeptAndReported();
    void interruptedChangeCompleted();
};

void TestCliStorage::fullDiskFails_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("index") << QStringList{"index", "SOURCE", "--name", "B", "--category", "Music"};
    QTest::newRow("comment") << QStringList{"comment", "Games", "x"};
}

void TestCliStorage::fullDiskFails()
{
    QFETCH(QStringList, args);
    QTemporaryDir disk;
    QString reason;
    if (!TestSupport::mountTmpfs(disk.path(), 256, &reason))
        QSKIP(qPrintable(reason));
    QTemporaryDir source;
    TestSupport::writeFile(source.filePath("one.txt"), "1");
    TestSupport::writeFile(source.filePath("two.txt"), "22");
    args.replaceInStrings("SOURCE", source.path());
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

// A change stopped after its commit record was written is completed by the
// next changing command before it reads anything.
void TestCliStorage::interruptedChangeCompleted()
{
    QTemporaryDir dir;
    writeLibrary(dir.path());
    TestSupport::writeLines(dir.filePath("Master.TXT.kvnew"),
                            {"\"0\",\"0Games\"", "\"1\",\"0Music\",\"3Disc\""});
    TestSupport::writeLines(dir.filePath("Kestrovane.commit"),
                            {"Kestrovane commit record", "rename Master.TXT.kvnew Master.TXT", "end"});
    TestSupport::writeFile(dir.filePath("Catalogs/.kvtmp-0123456789ab-Master.kvtmp"), "half");
    QCOMPARE(runCli(dir.path(), {"add-category", "Films"}).code, 0);
    const Result r = runCli(dir.path(), {"tree"});
    QCOMPARE(r.out, QString("Films\t\nGames\t\nMusic\tDisc\n"));
    QVERIFY(!QFile::exists(dir.filePath("Kestrovane.commit")));
    QVERIFY(!QFile::exists(dir.filePath("Master.TXT.kvnew")));
    QVERIFY(!QFile::exists(dir.filePath("Catalogs/.kvtmp-0123456789ab-Master.kvtmp")));
}

QTEST_GUILESS_MAIN(TestCliStorage)
#include "tst_clistorage.moc"
