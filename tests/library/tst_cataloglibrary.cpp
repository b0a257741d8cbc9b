#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "library/TextFile.h"

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
    void malformedTreeLinesSkipped();
    void windowsLibraryRoundTrip();
    void catalogLookupIgnoresCase();
    void loadKeepsCaseTwins();
    void unreadableCatalogReported();
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
        "\"0\",\"0Empty\",\"1Ghost\"",          // count 0: the extra field is ignored
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
    for (int i = 0; i < 10; ++i)
        tree.addCatalog(tree.addCategory("Big") >= 0 ? tree.findCategory(u"Big") : 0, QString("c%1").arg(i), 3);
    tree.addCategory("Small");
    tree.addCatalog(tree.findCategory(u"Small"), "one", 1);
    tree.addCatalog(tree.findCategory(u"Small"), "two", 2);
    tree.addCategory("small"); // equal line ignoring case? no: counts differ
    tree.addCategory("Twin");
    tree.addCategory("twin");
    const QStringList lines = tree.saveLines();
    // "10" sorts before "2"; the two empty twins are one line.
    QVERIFY(lines.at(0).startsWith("\"0\",\"0small\"") || lines.at(0).startsWith("\"0\""));
    int twins = 0;
    for (const QString &line : lines)
        twins += line.contains("win\"", Qt::CaseInsensitive);
    QCOMPARE(twins, 1);
    const qsizetype big = lines.indexOf(QRegularExpression("^\"10\".*"));
    const qsizetype small = lines.indexOf(QRegularExpression("^\"2\".*"));
    QVERIFY(big >= 0 && small > big);
    QCOMPARE(lines.at(small), QString("\"2\",\"0Small\",\"1one\",\"2two\""));
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

void TestCatalogLibrary::malformedTreeLinesSkipped()
{
    QTemporaryDir dir;
    QByteArray garbage("\"x\",\"0Bad count\"\r\n\"1\",\"Games\",\"1Disc\"\r\n\xff\xfe\x01\x02garbage\r\n"
                       "\"1\",\"0Good\",\"2Stick\",\"\",\"XNoDigit\"\r\n\"1\"\r\n");
    QVERIFY(TestSupport::writeFile(dir.filePath("Master.TXT"), garbage));
    QVERIFY(TestSupport::writeFile(dir.filePath("Comments.TXT"), "Good\r\nnice\r\n"));
    CatalogLibrary library(dir.path());
    LibraryState state;
    QVERIFY(library.startUp(state));
    QCOMPARE(state.tree.categoryCount(), 1);
    QCOMPARE(state.tree.category(0).name, QString("Good"));
    QCOMPARE(state.tree.category(0).catalogs.size(), size_t(1));
    QCOMPARE(state.treeComments.value(u"good"), QString("nice"));
}

void TestCatalogLibrary::windowsLibraryRoundTrip()
{
    QTemporaryDir dir;
    // As the Windows version left it: CR LF, Windows-1252 names, backslash
    // paths and a lower-case extension on the catalog file.
    const QByteArray master("\"1\",\"0M\xfasica\",\"1Caf\xe9 CD\"\r\n");
    const QByteArray info("Caf\xe9 CD\r\n\"2\",\"1\",\"D:\",\"D:\\\",\"650 MB\",\"0 Bytes\",\"CdRom\","
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
    QVERIFY(library.shutDown(state));
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")), QString::fromLatin1(master).toUtf8());
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Master")), QString::fromLatin1(info).toUtf8());
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

void TestCatalogLibrary::loadKeepsCaseTwins()
{
    QTemporaryDir dir;
    CatalogLibrary library(dir.path());
    QVERIFY(TestSupport::writeLines(dir.filePath("Catalogs/C.TXT"),
                                    {"\"a.txt\",\"1\",\"\",\"/x/\",\"\"", "\"A.TXT\",\"1\",\"\",\"/X/\",\"\"",
                                     "\"a.txt\",\"1\",\"\",\"/x/\",\"\""}));
    SortedLineList lines;
    QVERIFY(library.loadCatalog("C", lines));
    // The exact copy goes; the line of another file in other letter case stays.
    QCOMPARE(lines.lines(), QStringList({"\"A.TXT\",\"1\",\"\",\"/X/\",\"\"",
                                         "\"a.txt\",\"1\",\"\",\"/x/\",\"\""}));
}

void TestCatalogLibrary::unreadableCatalogReported()
{
    QTemporaryDir dir;
    CatalogLibrary library(dir.path());
    SortedLineList lines;
    QString error;
    QVERIFY(!library.loadCatalog("missing", lines, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(lines.count(), 0);
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
