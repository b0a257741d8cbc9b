#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "library/LibraryTransaction.h"
#include "library/TextFile.h"
#include "library/TreeOperations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCatalogLibrary : public QObject
{
    Q_OBJECT
private slots:
    void firstStart();
    void treeLoading();
    void treeSavingSortsAndDropsEqualLines();
    void emptyTreeKeepsOldFile();
    void malformedTreeLinesKept();
    void unreadableListFiles_data();
    void unreadableListFiles();
    void windowsLibraryRoundTrip();
    void catalogLookupIgnoresCase();
    void locatePrefersPortableFolder();
};

void TestCatalogLibrary::firstStart()
{
    QTemporaryDir dir;
    CatalogLibrary library(dir.path());
    LibraryState state;
    QVERIFY(library.startUp(state));
    QVERIFY(QDir(dir.filePath("Catalogs")).exists());
    QCOMPARE(state.tree.categoryCount(), 1);
    QCOMPARE(state.tree.category(0).name, QString("Sample Category"));
    QVERIFY(library.shutDown(state));
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")), QByteArray("\"0\",\"0Sample Category\"\r\n"));
    QVERIFY(QFile::exists(dir.filePath("Catalogs/Master")));
    QCOMPARE(QFileInfo(dir.filePath("Catalogs/Master")).size(), 0);
    QCOMPARE(QFileInfo(dir.filePath("Comments.TXT")).size(), 0);
}

void TestCatalogLibrary::treeLoading()
{
    CategoryTree tree;
    tree.loadLines({
        "\"1\",\"0Games\",\"1Disc 1\"",
        "\"0\",\"0Empty\",\"1Ghost\"",             // count 0: the extra field is ignored
        "\"2\",\"0Numbers\",\"37 Days\",\"2usb\"", // a name may begin with a digit
        "\"-1\",\"0Minus\",\"3Gone\"",
    });
    QCOMPARE(tree.categoryCount(), 4);
    QCOMPARE(tree.category(0).name, QString("Empty"));
    QVERIFY(tree.category(0).catalogs.empty());
    QCOMPARE(tree.category(1).catalogs.at(0).name, QString("Disc 1"));
    QCOMPARE(tree.category(1).catalogs.at(0).image, 1);
    QVERIFY(tree.category(2).catalogs.empty());
    const auto &numbers = tree.category(3).catalogs;
    QCOMPARE(numbers.size(), size_t(2));
    QCOMPARE(numbers.at(0).name, QString("7 Days"));
    QCOMPARE(numbers.at(0).image, 3);
    QCOMPARE(numbers.at(1).name, QString("usb"));
}

void TestCatalogLibrary::treeSavingSortsAndDropsEqualLines()
{
    CategoryTree tree;
    const int big = tree.addCategory("Big");
    for (int i = 0; i < 10; ++i)
        tree.addCatalog(big, QString("c%1").arg(i), 3);
    tree.addCategory("Small");
    tree.addCatalog(tree.findCategory(u"Small"), "one", 1);
    tree.addCatalog(tree.findCategory(u"Small"), "two", 2);
    tree.addCategory("small"); // equal line ignoring case? no: counts differ
    tree.addCategory("Twin");
    tree.addCategory("twin");
    // "10" sorts before "2" (text order of the counts); the two empty twins
    // are one line, the first in tree order.
    const QStringList expected{
        "\"0\",\"0small\"",
        "\"0\",\"0twin\"",
        "\"10\",\"0Big\",\"3c0\",\"3c1\",\"3c2\",\"3c3\",\"3c4\",\"3c5\",\"3c6\",\"3c7\",\"3c8\",\"3c9\"",
        "\"2\",\"0Small\",\"1one\",\"2two\"",
    };
    QCOMPARE(tree.saveLines(), expected);
}

void TestCatalogLibrary::emptyTreeKeepsOldFile()
{
    QTemporaryDir dir;
    CatalogLibrary library(dir.path());
    QVERIFY(TestSupport::writeFile(dir.filePath("Master.TXT"), "\"0\",\"0Old\"\r\n"));
    LibraryState state;
    QVERIFY(library.startUp(state));
    state.tree.removeCategory(0);
    QVERIFY(library.shutDown(state));
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")), QByteArray("\"0\",\"0Old\"\r\n"));
}

void TestCatalogLibrary::malformedTreeLinesKept()
{
    QTemporaryDir dir;
    const QStringList malformed{
        "\"x\",\"0Bad count\"",
        "\"99999999999\",\"0Huge\",\"1Disc\"", // too big for a number
        "\"1\",\"Games\",\"1Disc\"",           // category without its digit
        "\"1\",\"0Good\",\"2Stick\",\"\",\"XNoDigit\"",
        "\"1\"",
    };
    const QString good = "\"1\",\"0Fine\",\"3Kept\"";
    QVERIFY(TestSupport::writeLines(dir.filePath("Master.TXT"), malformed + QStringList{"", good}));
    QVERIFY(TestSupport::writeFile(dir.filePath("Comments.TXT"), "Fine\r\nnice\r\n"));
    CatalogLibrary library(dir.path());
    LibraryState state;
    QVERIFY(library.startUp(state));
    QCOMPARE(state.tree.categoryCount(), 1);
    QCOMPARE(state.tree.category(0).name, QString("Fine"));
    QCOMPARE(state.treeComments.value(u"fine"), QString("nice"));
    QCOMPARE(state.tree.unloadedLines(), malformed);
    QCOMPARE(CatalogLibrary::unloadedLinesMessage(state),
             QString("5 Line(s) Of Master.TXT Could Not Be Read And Are Kept Unchanged"));

    // An unrelated change writes them back as they were, in sorted place.
    state.tree.addCategory("New");
    QVERIFY(library.shutDown(state));
    QStringList written;
    QVERIFY(TextFile::readLines(dir.filePath("Master.TXT"), written));
    QCOMPARE(written.size(), 7);
    for (const QString &line : malformed)
        QVERIFY2(written.contains(line), qPrintable(line));
    QVERIFY(written.contains(good));
    LibraryState again;
    QVERIFY(library.startUp(again));
    QCOMPARE(again.tree.unloadedLines().size(), 5);
    QCOMPARE(again.tree.categoryCount(), 2);
}

void TestCatalogLibrary::unreadableListFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("loop");
    for (const char *file : {"Master.TXT", "Catalogs/Master", "Comments.TXT"}) {
        QTest::addRow("%s a folder", file) << QString(file) << false;
        QTest::addRow("%s a link to itself", file) << QString(file) << true;
    }
}

// A list file that is there but cannot be read is not taken for missing,
// and is left alone by every later write of the run.
void TestCatalogLibrary::unreadableListFiles()
{
    QFETCH(QString, file);
    QFETCH(bool, loop);
    QTemporaryDir dir;
    QVERIFY(TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Games\",\"3Disc\""}));
    QVERIFY(TestSupport::writeLines(dir.filePath("Catalogs/Master"), {"Disc", "\"1\""}));
    QVERIFY(TestSupport::writeLines(dir.filePath("Comments.TXT"), {"Games", "fun"}));
    const QString path = dir.filePath(file);
    QVERIFY(QFile::remove(path));
    if (loop)
        QVERIFY(QFile::link(path, path));
    else
        QVERIFY(QDir().mkpath(path));

    CatalogLibrary library(dir.path());
    LibraryState state;
    QVERIFY(library.startUp(state));
    QCOMPARE(state.unreadableFiles, QStringList{path});
    QVERIFY(CatalogLibrary::unreadableMessage(state).contains(path));
    // No sample category stands in for a tree that could not be read.
    QCOMPARE(state.tree.findCategory(u"Sample Category"), -1);

    state.tree.addCategory("Added");
    TreeOperations::setTreeComment(state, "Added", "new");
    QString error;
    QVERIFY2(LibraryTransaction::apply(
                 library, state, [](LibraryTransaction &) {}, &error),
             qPrintable(error));
    QVERIFY2(library.shutDown(state, &error), qPrintable(error));
    QCOMPARE(QFileInfo(path).isSymLink(), loop);
    QCOMPARE(QFileInfo(path).isDir(), !loop);
}

void TestCatalogLibrary::windowsLibraryRoundTrip()
{
    QTemporaryDir dir;
    // As the Windows version left it: CR LF, Windows-1252 names, backslash
    // paths and a lower-case extension on the catalog file.
    const QByteArray master("\"1\",\"0M\xfasica\",\"1Caf\xe9 CD\"\r\n");
    const QByteArray info(
        "Caf\xe9 CD\r\n\"2\",\"1\",\"D:\",\"D:\\\",\"650 MB\",\"0 Bytes\",\"CdRom\","
        "\"06/14/1998 10:00:00\",\"True\",\"True\",\"True\",\"True\",\"True\",\"False\",\"0\"\r\n");
    const QByteArray catalog("\"b.txt\",\"10\",\"06/14/1998\",\"D:\\docs\\\",\"\"\r\n"
                             "\"A.TXT\",\"5\",\"06/14/1998 10:00:00\",\"D:\\\",\"r\xe9sum\xe9\"\r\n");
    QVERIFY(TestSupport::writeFile(dir.filePath("Master.TXT"), master));
    QVERIFY(TestSupport::writeFile(dir.filePath("Catalogs/Master"), info));
    QVERIFY(TestSupport::writeFile(dir.filePath("Catalogs/Caf\xc3\xa9 cd.txt"), catalog));
    CatalogLibrary library(dir.path());
    LibraryState state;
    QVERIFY(library.startUp(state));
    QCOMPARE(state.tree.category(0).name, QString::fromUtf8("Música"));
    const QString name = state.tree.category(0).catalogs.at(0).name;
    QCOMPARE(name, QString::fromUtf8("Café CD"));
    QCOMPARE(CommaText::split(state.catalogInfo.value(name)).at(6), QString("CdRom"));
    SortedLineList lines;
    QVERIFY(library.loadCatalog(name, lines));
    QCOMPARE(lines.count(), 2);
    QCOMPARE(CommaText::split(lines.at(0)).at(4), QString::fromUtf8("résumé"));
    QCOMPARE(CommaText::split(lines.at(1)).at(3), QString("D:\\docs\\"));
    // Nothing changed, so nothing is rewritten: the files keep their bytes.
    QVERIFY(library.shutDown(state));
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")), master);
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Master")), info);
}

void TestCatalogLibrary::catalogLookupIgnoresCase()
{
    QTemporaryDir dir;
    CatalogLibrary library(dir.path());
    QVERIFY(TestSupport::writeFile(dir.filePath("Catalogs/MixedCase.txt"), "\"a\"\r\n"));
    QCOMPARE(library.catalogFilePath("mixedcase"), dir.filePath("Catalogs/MixedCase.txt"));
    QVERIFY(library.catalogFileExists("MIXEDCASE"));
    QCOMPARE(library.catalogFilePath("New One"), dir.filePath("Catalogs/New One.TXT"));
    QCOMPARE(library.catalogFileNames(), QStringList{"MixedCase"});
}

void TestCatalogLibrary::locatePrefersPortableFolder()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("Catalogs"));
    QCOMPARE(CatalogLibrary::locate(dir.path()), QDir::cleanPath(dir.path()));
    QTemporaryDir plain;
    qputenv("XDG_DATA_HOME", plain.filePath("data").toUtf8());
    QCoreApplication::setApplicationName("Kestrovane");
    QCOMPARE(CatalogLibrary::locate(plain.path()), plain.filePath("data/Kestrovane"));
    QVERIFY(QDir(plain.filePath("data/Kestrovane")).exists());
}

QTEST_GUILESS_MAIN(TestCatalogLibrary)
#include "tst_cataloglibrary.moc"
