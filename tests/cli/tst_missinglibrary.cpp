#include "CliProcess.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestMissingLibrary : public QObject
{
    Q_OBJECT
private slots:
    void readingFails_data();
    void readingFails();
    void writingCreates_data();
    void writingCreates();
    void commandHelp();
};

void TestMissingLibrary::readingFails_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("tree") << QStringList{"tree"};
    QTest::newRow("info") << QStringList{"info", "X"};
    QTest::newRow("show") << QStringList{"show", "X"};
    QTest::newRow("search") << QStringList{"search", "--word", "a"};
    QTest::newRow("dupes") << QStringList{"dupes"};
    QTest::newRow("only-in") << QStringList{"only-in", "X"};
    QTest::newRow("report, as json") << QStringList{"report", "--format", "json"};
}

void TestMissingLibrary::readingFails()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const QString library = dir.filePath("library");
    const CliProcess::Result r = CliProcess::run(library, args);
    QCOMPARE(r.code, 3);
    QCOMPARE(r.err, "kestrovane-cli: no catalog library at " + library + "\n");
    QVERIFY(r.out.isEmpty());
    QVERIFY(!QFileInfo::exists(library));
}

void TestMissingLibrary::writingCreates_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("err");
    const QString created = "kestrovane-cli: created a new catalog library at %1\n";
    QTest::newRow("add-category") << QStringList{"add-category", "Audio"}
                                  << QStringList{"Audio\t", "Sample Category\t"} << created;
    QTest::newRow("index into a new category")
        << QStringList{"index", "SOURCE", "--name", "Music", "--category", "Audio"}
        << QStringList{"Audio\tMusic", "Sample Category\t"}
        << created + "kestrovane-cli: Category Audio Added\n";
    QTest::newRow("index into the first category")
        << QStringList{"index", "SOURCE", "--name", "Music", "--category", "sample category"}
        << QStringList{"Sample Category\tMusic"} << created;
    // The library is made before the command reads its arguments.
    QTest::newRow("a failing command")
        << QStringList{"delete-catalog", "Nothing"} << QStringList{"Sample Category\t"}
        << created + "kestrovane-cli: Catalog Nothing does not exist\n";
}

// A new library is what the program's first start leaves: Catalogs, a tree
// of "Sample Category", empty information and comment lists.
void TestMissingLibrary::writingCreates()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, tree);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QTemporaryDir source;
    TestSupport::writeFile(source.filePath("song.mp3"), "la");
    args.replaceInStrings("SOURCE", source.path());
    const QString library = dir.filePath("new/library");
    const CliProcess::Result r = CliProcess::run(library, args);
    QCOMPARE(r.err, err.arg(library));
    QVERIFY(QFileInfo(library + "/Catalogs").isDir());
    QVERIFY(QFileInfo::exists(library + "/Catalogs/Master"));
    QVERIFY(QFileInfo::exists(library + "/Comments.TXT"));
    QCOMPARE(TestSupport::readFile(library + "/Comments.TXT"), QByteArray());
    const CliProcess::Result read = CliProcess::run(library, {"tree"});
    QCOMPARE(read.code, 0);
    QCOMPARE(read.text(), tree.join('\n') + '\n');
    // Only the first writing command says so.
    const CliProcess::Result again = CliProcess::run(library, {"add-category", "Later"});
    QCOMPARE(again.code, 0);
    QVERIFY(again.err.isEmpty());
}

void TestMissingLibrary::commandHelp()
{
    QTemporaryDir dir;
    const QString library = dir.filePath("library");
    const QStringList names = CliProcess::commandNames();
    QVERIFY(names.size() >= 15 && names.contains("delete-category") && names.contains("search"));
    for (const QString &name : names) {
        const CliProcess::Result r = CliProcess::run(library, {name, "--help"});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.text().startsWith("Usage: kestrovane-cli [--library DIR] " + name), qPrintable(name));
        QVERIFY2(r.text().contains("\nExit status:\n  0 "), qPrintable(name));
        QVERIFY(r.err.isEmpty());
    }
    QVERIFY(CliProcess::run(library, {"search", "--help"}).text().contains("--format tsv|csv|json"));
    QVERIFY(!CliProcess::run(library, {"add-category", "--help"}).text().contains("--format"));
    QVERIFY(!QFileInfo::exists(library)); // asking for help changes nothing
}

QTEST_GUILESS_MAIN(TestMissingLibrary)
#include "tst_missinglibrary.moc"
