#include "CliProcess.h"
#include "TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Result = CliProcess::TextResult;
const auto runCli = &CliProcess::runText;

const QString kInfo =
    "\"2\",\"1\",\"/media\",\"/media/usb/\",\"1.44 MB\",\"10 KB\",\"Removable\","
    "\"06/14/1998 10:00:00\",\"True\",\"False\",\"True\",\"True\",\"True\",\"False\",\"1\",\"*.txt\"";

void writeLibrary(const QTemporaryDir &dir)
{
    TestSupport::writeLines(dir.filePath("Master.TXT"),
                            {"\"2\",\"0Games\",\"2Stick\",\"3Disk\"", "\"0\",\"0Music\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Master"), {"Stick", kInfo});
    TestSupport::writeLines(dir.filePath("Comments.TXT"), {"Stick", "blue one"});
    TestSupport::writeLines(dir.filePath("Catalogs/stick.txt"),
                            {"\"b.txt\",\"9\",\"06/14/1998\",\"/media/usb/\",\"\"",
                             "\"A.txt\",\"100\",\"01/02/1997 03:04:06\",\"/media/usb/\",\"note, with comma\"",
                             "\"A.txt\",\"100\",\"01/02/1997 03:04:06\",\"/media/usb/\",\"note, with comma\"",
                             "\"c.doc\",\"\",\"\",\"/media/usb/d/\",\"\""});
}

} // namespace

class TestCliLibrary : public QObject
{
    Q_OBJECT
private slots:
    void info();
    void showSorted_data();
    void showSorted();
    void renameAndMove();
    void addCategoryAndComment();
};

void TestCliLibrary::info()
{
    QTemporaryDir dir;
    writeLibrary(dir);
    const Result r = runCli(dir.path(), {"info", "STICK"});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.startsWith("Name\tStick\nNumber of files\t2\nNumber of Directories\t1\n"));
    QVERIFY(r.out.contains("\nType\tRemovable\n"));
    QVERIFY(r.out.contains("\nMask\t*.txt\n"));
    QVERIFY(r.out.endsWith("\nComment\tblue one\n"));
    const Result none = runCli(dir.path(), {"info", "Disk"});
    QCOMPARE(none.code, 1);
    QVERIFY(none.err.contains("No information is available for Disk catalog."));
    // A line cut before the option flags is refused, as the window refuses it.
    TestSupport::writeLines(dir.filePath("Catalogs/Master"), {"Stick", kInfo.section(',', 0, 7)});
    const Result cut = runCli(dir.path(), {"info", "Stick"});
    QCOMPARE(cut.code, 1);
    QVERIFY(cut.err.contains("Please update"));
}

void TestCliLibrary::showSorted_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("size") << QStringList{"--sort", "size"} << QStringList{"c.doc", "b.txt", "A.txt"};
    QTest::newRow("size reversed") << QStringList{"--sort", "1", "--reverse"}
                                   << QStringList{"A.txt", "b.txt", "c.doc"};
    QTest::newRow("date, empty earliest")
        << QStringList{"--sort", "date"} << QStringList{"c.doc", "A.txt", "b.txt"};
    QTest::newRow("path") << QStringList{"--reverse", "--sort", "path"}
                          << QStringList{"c.doc", "A.txt", "b.txt"};
}

void TestCliLibrary::showSorted()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    writeLibrary(dir);
    const Result r = runCli(dir.path(), QStringList{"show", "Stick"} + options);
    QCOMPARE(r.code, 0);
    QStringList got;
    for (const QString &line : r.out.split('\n', Qt::SkipEmptyParts))
        got << line.section('\t', 0, 0);
    if (QTest::currentDataTag() == QString("path"))
        QCOMPARE(got.first(), names.first()); // equal paths may come in any order
    else
        QCOMPARE(got, names);
}

void TestCliLibrary::renameAndMove()
{
    QTemporaryDir dir;
    writeLibrary(dir);
    const Result r = runCli(dir.path(), {"rename-catalog", "stick", "Pen Drive"});
    QCOMPARE(r.code, 0);
    QVERIFY(QFileInfo::exists(dir.filePath("Catalogs/Pen Drive.TXT")));
    QVERIFY(!QFileInfo::exists(dir.filePath("Catalogs/stick.txt")));
    QVERIFY(runCli(dir.path(), {"info", "pen drive"}).out.contains("Comment\tblue one"));
    QCOMPARE(runCli(dir.path(), {"move-catalog", "Pen Drive", "music"}).code, 0);
    QCOMPARE(runCli(dir.path(), {"tree"}).out, QString("Games\tDisk\nMusic\tPen Drive\n"));
}

void TestCliLibrary::addCategoryAndComment()
{
    QTemporaryDir dir;
    writeLibrary(dir);
    QCOMPARE(runCli(dir.path(), {"add-category", "Films"}).code, 0);
    QCOMPARE(runCli(dir.path(), {"comment", "films", "two\nlines"}).code, 0);
    QCOMPARE(runCli(dir.path(), {"comment", "Films"}).out, QString("two lines\n"));
    QCOMPARE(runCli(dir.path(), {"comment", "Films", ""}).code, 0);
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")), QByteArray("Stick\r\nblue one\r\n"));
}

QTEST_GUILESS_MAIN(TestCliLibrary)
#include "tst_clilibrary.moc"
