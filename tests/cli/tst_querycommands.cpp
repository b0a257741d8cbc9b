#include "CliProcess.h"
#include "TestSupport.h"
#include "library/CommaText.h"
#include "table/HtmlExport.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"
#include "table/VisualTableModel.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtTest>

namespace {

QString entry(const QString &name, const QString &size, const QString &date, const QString &path,
              const QString &comment = QString())
{
    return QString("\"%1\",\"%2\",\"%3\",\"%4\",\"%5\"").arg(name, size, date, path, comment);
}

// Games holds Backup and Disc, Music holds Tunes; Disc has no information
// line and Backup a comment.
void writeLibrary(const QString &root)
{
    const QString day = "06/14/1998 10:00:00";
    const QString info = "\"2\",\"1\",\"/\",\"/media/disc/\",\"20 GB\",\"1 GB\",\"Fixed\",\"" + day +
                         "\",\"True\",\"True\",\"True\",\"True\",\"True\",\"False\",\"0\"";
    TestSupport::writeLines(root + "/Master.TXT",
                            {"\"2\",\"0Games\",\"3Backup\",\"1Disc\"", "\"1\",\"0Music\",\"2Tunes\""});
    TestSupport::writeLines(root + "/Catalogs/Master", {"Tunes", "", "Backup", info, "Disc", ""});
    TestSupport::writeLines(root + "/Comments.TXT", {"backup", "weekly copy"});
    TestSupport::writeLines(root + "/Catalogs/Volumes",
                            {"\"backup\",\"1A2B-3C4D\",\"BACKUP\",\"vfat\",\"\""});
    TestSupport::writeLines(root + "/Catalogs/Backup.TXT",
                            {entry("Readme.txt", "10", day, "/media/disc/", "read me first"),
                             entry("setup.exe", "300", "01/01/1997 10:00:00", "/media/disc/")});
    TestSupport::writeLines(root + "/Catalogs/Disc.TXT",
                            {entry("README.TXT", "10", day, "/cdrom/"),
                             entry("photo.jpg", "2048", "12/25/1998 09:00:00", "/cdrom/")});
    TestSupport::writeLines(
        root + "/Catalogs/Tunes.TXT",
        {entry("readme.txt", "10", day, "/usb/"), entry("setup.exe", "300", "01/01/1997 10:00:00", "/usb/")});
}

QString exportEntry(const QString &name, const QString &size, const QString &path,
                    const QString &comment = QString())
{
    return CommaText::join({name, size, "06/14/1998 10:00:00", path, comment});
}

// Games holds Backup and Disc; both hold readme.txt, Backup a ZIP member,
// a hostile name and a comment outside ASCII.
void writeExportLibrary(const QString &root)
{
    const QString info =
        "\"2\",\"1\",\"/\",\"/media/disc/\",\"20 GB\",\"1 GB\",\"Fixed\",\"06/14/1998 10:00:00\","
        "\"True\",\"True\",\"True\",\"True\",\"True\",\"True\",\"0\"";
    TestSupport::writeLines(root + "/Master.TXT", {"\"2\",\"0Games\",\"3Backup\",\"1Disc\""});
    TestSupport::writeLines(root + "/Catalogs/Master", {"Backup", info, "Disc", info});
    TestSupport::writeLines(root + "/Comments.TXT", {"Backup", "weekly & safe"});
    TestSupport::writeLines(root + "/Catalogs/Backup.TXT",
                            {exportEntry("readme.txt", "10", "/media/disc/", "café"),
                             exportEntry("<script>alert(1)</script>.txt", "300", "/media/disc/"),
                             exportEntry("inner.doc", "5", "/media/disc/pack.zip/")});
    TestSupport::writeLines(root + "/Catalogs/Disc.TXT", {exportEntry("readme.txt", "10", "/cdrom/")});
}

// What the library's writers make of the rows a listing command printed,
// laid out in the table view their column count names.
QByteArray writersOutput(const QList<QStringList> &rows, bool html, const QString &title)
{
    VisualTableModel table;
    const int columns = rows.isEmpty() ? 0 : int(rows.first().size());
    if (columns == 5)
        table.setUpCatalogView();
    else if (columns == 6)
        table.setUpResultView();
    else
        table.setUpReportView();
    QStringList lines;
    for (const QStringList &row : rows)
        lines << CommaText::join(row);
    table.fill(lines);
    const ModelTableCells cells(table);
    return html ? HtmlExport::page(cells, title) : TextExport::formatted(cells);
}

} // namespace

class TestQueryCommands : public QObject
{
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void initTestCase();
    void writesTheTableAsListed_data();
    void writesTheTableAsListed();
    void libraryFilesRefused_data();
    void libraryFilesRefused();

private:
    QTemporaryDir m_library;
    QTemporaryDir m_out;
};

void TestQueryCommands::commands_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("rows"); // "name catalog" of each result
    QTest::addColumn<QString>("error");

    const QStringList readmes{"README.TXT Disc", "Readme.txt Backup", "readme.txt Tunes"};
    QTest::newRow("word") << QStringList{"search", "--word", "readme*"} << 0 << readmes << "Found 3 Matches";
    QTest::newRow("word, case") << QStringList{"search", "--word", "Readme*", "--case"} << 0
                                << QStringList{"Readme.txt Backup"} << "Found 1 Matches";
    QTest::newRow("dates") << QStringList{"search", "--from", "06/14/98", "--to", "12/26/98"} << 0
                           << QStringList{"photo.jpg Disc"} << "Found 1 Matches";
    QTest::newRow("one category") << QStringList{"search", "--word", "readme*", "--category", "music"} << 0
                                  << QStringList{"readme.txt Tunes"} << "Found 1 Matches";
    QTest::newRow("two catalogs") << QStringList{"search", "--ext",     "*.txt", "--catalog",
                                                 "tunes",  "--catalog", "DISC"}
                                  << 0 << QStringList{"README.TXT Disc", "readme.txt Tunes"}
                                  << "Found 2 Matches";
    QTest::newRow("ISO dates") << QStringList{"search", "--from", "1998-06-14", "--to", "1998-12-26"} << 0
                               << QStringList{"photo.jpg Disc"} << "Found 1 Matches";
    QTest::newRow("word is a whole field")
        << QStringList{"search", "--word", "readme"} << 1 << QStringList() << "Found 0 Matches";
    QTest::newRow("contains") << QStringList{"search", "--contains", "EADM"} << 0 << readmes
                              << "Found 3 Matches";
    QTest::newRow("extension without *")
        << QStringList{"search", "--ext", "jpg"} << 0 << QStringList{"photo.jpg Disc"} << "Found 1 Matches";
    QTest::newRow("extension with its dot")
        << QStringList{"search", "--ext", ".JPG"} << 0 << QStringList{"photo.jpg Disc"} << "Found 1 Matches";
    QTest::newRow("dupes") << QStringList{"dupes"} << 0 << QStringList{"setup.exe Backup", "setup.exe Tunes"}
                           << "Found 2 Duplicate Files";
    QTest::newRow("dupes, size and date")
        << QStringList{"dupes", "--no-name"} << 0
        << readmes + QStringList{"setup.exe Backup", "setup.exe Tunes"} << "Found 5 Duplicate Files";
    QTest::newRow("no dupes") << QStringList{"dupes", "--catalog", "Disc"} << 1 << QStringList()
                              << "Found 0 Duplicate Files";
    // Readme.txt, README.TXT and readme.txt are three files; setup.exe has two copies.
    QTest::newRow("only-in") << QStringList{"only-in", "backup"} << 0 << QStringList{"Readme.txt Backup"}
                             << "1 Files Of Backup Are Found Nowhere Else";
    QTest::newRow("only-in, chosen others")
        << QStringList{"only-in", "Backup", "--catalog", "Disc"} << 0
        << QStringList{"Readme.txt Backup", "setup.exe Backup"} << "2 Files Of Backup Are Found Nowhere Else";
    QTest::newRow("only-in, all elsewhere") << QStringList{"only-in", "Tunes", "--no-name"} << 1
                                            << QStringList() << "0 Files Of Tunes Are Found Nowhere Else";
    QTest::newRow("only-in, unknown catalog")
        << QStringList{"only-in", "Nope"} << 1 << QStringList() << "Catalog Nope does not exist";
    QTest::newRow("single copies, catalog by catalog")
        << QStringList{"single-copies"} << 0
        << QStringList{"Readme.txt Backup", "photo.jpg Disc", "README.TXT Disc", "readme.txt Tunes"}
        << "Found 4 Single Copies";
    QTest::newRow("single copies, size and date") << QStringList{"single-copies", "--no-name"} << 0
                                                  << QStringList{"photo.jpg Disc"} << "Found 1 Single Copies";
    QTest::newRow("no single copies")
        << QStringList{"single-copies", "--no-name", "--catalog", "Backup", "--catalog", "Tunes"} << 1
        << QStringList() << "Found 0 Single Copies";
}

void TestQueryCommands::commands()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, rows);
    QFETCH(QString, error);
    QTemporaryDir dir;
    writeLibrary(dir.path());
    const CliProcess::TextResult r = CliProcess::runText(dir.path(), args);
    QCOMPARE(r.code, exitCode);
    QStringList got;
    for (const QString &line : r.out.split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split('\t');
        QCOMPARE(fields.size(), 6);
        got << fields.first() + ' ' + fields.last();
    }
    QCOMPARE(got, rows);
    QVERIFY2(r.err.contains(error), qPrintable(error));
}

void TestQueryCommands::initTestCase()
{
    writeExportLibrary(m_library.path());
}

void TestQueryCommands::writesTheTableAsListed_data()
{
    QTest::addColumn<QStringList>("listing"); // the command that lists the same table
    QTest::addColumn<QStringList>("exportArgs");
    QTest::addColumn<bool>("html");
    QTest::addColumn<QString>("title");

    QTest::newRow("catalog as text") << QStringList{"show", "Backup"} << QStringList{"export", "Backup"}
                                     << false << QString();
    QTest::newRow("catalog as html, hostile title")
        << QStringList{"show", "backup"} << QStringList{"export", "backup", "--html", "--title", "Tom & <b>"}
        << true << "Tom & <b>";
    QTest::newRow("search") << QStringList{"search", "--word", "readme*"}
                            << QStringList{"search", "--word", "readme*", "--export"} << false << QString();
    QTest::newRow("dupes as html") << QStringList{"dupes"} << QStringList{"dupes", "--html", "--export"}
                                   << true << QString();
    QTest::newRow("single copies") << QStringList{"single-copies"} << QStringList{"single-copies", "--export"}
                                   << false << QString();
    QTest::newRow("report as html, empty title")
        << QStringList{"report"} << QStringList{"report", "--title", "", "--html", "--export"} << true
        << QString();
}

void TestQueryCommands::writesTheTableAsListed()
{
    QFETCH(QStringList, listing);
    QFETCH(QStringList, exportArgs);
    QFETCH(bool, html);
    QFETCH(QString, title);
    const QString file = m_out.filePath(QTest::currentDataTag());
    const CliProcess::Result listed =
        CliProcess::run(m_library.path(), listing + QStringList{"--format", "csv"});
    const CliProcess::Rows rows = CliProcess::readRows("csv", listed.out);
    QVERIFY2(rows.ok, qPrintable(rows.problem));
    QVERIFY(!rows.rows.isEmpty());

    const CliProcess::Result exported = CliProcess::run(m_library.path(), exportArgs + QStringList{file});
    QCOMPARE(exported.code, 0);
    QCOMPARE(exported.out, QByteArray());
    QCOMPARE(TestSupport::readFile(file), writersOutput(rows.rows, html, title));
    // "-" is standard output.
    QCOMPARE(CliProcess::run(m_library.path(), exportArgs + QStringList{"-"}).out,
             TestSupport::readFile(file));
}

void TestQueryCommands::libraryFilesRefused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("target"); // {lib} and {out} stand for the two folders
    const QStringList text{"export", "Backup"};
    QTest::newRow("export over a catalog") << text << "{lib}/Catalogs/Disc.TXT";
    QTest::newRow("export over the tree") << QStringList{"export", "Disc"} << "{lib}/Master.TXT";
    QTest::newRow("html export, new file in Catalogs")
        << QStringList{"export", "Disc", "--html"} << "{lib}/Catalogs/New.htm";
    QTest::newRow("report over the information list")
        << QStringList{"report", "--export"} << "{lib}/Catalogs/Master";
    QTest::newRow("search over the comments")
        << QStringList{"search", "--word", "*", "--export"} << "{lib}/Comments.TXT";
    QTest::newRow("dupes over the settings") << QStringList{"dupes", "--export"} << "{lib}/Kestrovane.INI";
    QTest::newRow("print over a catalog")
        << QStringList{"print", "Disc", "--pdf"} << "{lib}/Catalogs/Backup.TXT";
    QTest::newRow("through ..") << text
                                << "{out}/../" + QFileInfo(m_library.path()).fileName() + "/Master.TXT";
    QTest::newRow("through a linked folder") << text << "{out}/catalogs/Disc.TXT";
    QTest::newRow("a link to the tree") << text << "{out}/tree-link";
}

// Formatted text must never replace a file of the library.
void TestQueryCommands::libraryFilesRefused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, target);
    QTemporaryDir out(QDir::tempPath() + "/out-XXXXXX");
    QVERIFY(QFile::link(m_library.filePath("Catalogs"), out.filePath("catalogs")));
    QVERIFY(QFile::link(m_library.filePath("Master.TXT"), out.filePath("tree-link")));
    target.replace("{lib}", m_library.path()).replace("{out}", out.path());
    const QMap<QString, QByteArray> before = TestSupport::librarySnapshot(m_library.path());
    const CliProcess::Result r = CliProcess::run(m_library.path(), args + QStringList{target});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err,
             "kestrovane-cli: " + target + " is a file of the catalog library and cannot be overwritten\n");
    QCOMPARE(TestSupport::librarySnapshot(m_library.path()), before);
    QVERIFY(QFileInfo(out.filePath("tree-link")).isSymLink());
}

QTEST_GUILESS_MAIN(TestQueryCommands)
#include "tst_querycommands.moc"
