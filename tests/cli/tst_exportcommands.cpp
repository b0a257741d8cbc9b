#include "CliProcess.h"
#include "TestSupport.h"

#include "library/CommaText.h"
#include "table/HtmlExport.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"
#include "table/VisualTableModel.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString entry(const QString &name, const QString &size, const QString &path,
              const QString &comment = QString())
{
    return CommaText::join({name, size, "06/14/1998 10:00:00", path, comment});
}

// Games holds Backup and Disc; both hold readme.txt, Backup a ZIP member,
// a hostile name and a comment outside ASCII.
void writeLibrary(const QString &root)
{
    const QString info =
        "\"2\",\"1\",\"/\",\"/media/disc/\",\"20 GB\",\"1 GB\",\"Fixed\",\"06/14/1998 10:00:00\","
        "\"True\",\"True\",\"True\",\"True\",\"True\",\"True\",\"0\"";
    TestSupport::writeLines(root + "/Master.TXT", {"\"2\",\"0Games\",\"3Backup\",\"1Disc\""});
    TestSupport::writeLines(root + "/Catalogs/Master", {"Backup", info, "Disc", info});
    TestSupport::writeLines(root + "/Comments.TXT", {"Backup", "weekly & safe"});
    TestSupport::writeLines(root + "/Catalogs/Backup.TXT",
                            {entry("readme.txt", "10", "/media/disc/", "café"),
                             entry("<script>alert(1)</script>.txt", "300", "/media/disc/"),
                             entry("inner.doc", "5", "/media/disc/pack.zip/")});
    TestSupport::writeLines(root + "/Catalogs/Disc.TXT", {entry("readme.txt", "10", "/cdrom/")});
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

class TestExportCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void writesTheTableAsListed_data();
    void writesTheTableAsListed();
    void libraryFilesRefused_data();
    void libraryFilesRefused();

private:
    QTemporaryDir m_library;
    QTemporaryDir m_out;
};

void TestExportCommands::initTestCase()
{
    writeLibrary(m_library.path());
}

void TestExportCommands::writesTheTableAsListed_data()
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

void TestExportCommands::writesTheTableAsListed()
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

void TestExportCommands::libraryFilesRefused_data()
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
void TestExportCommands::libraryFilesRefused()
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

QTEST_GUILESS_MAIN(TestExportCommands)
#include "tst_exportcommands.moc"
