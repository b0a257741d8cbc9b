// `show` prints a catalog in its stored order straight from the compact
// list; its rows must be exactly those of the catalog opened in the table.
#include "CliProcess.h"
#include "HostileCatalog.h"
#include "TestSupport.h"

#include "cli/RowWriter.h"
#include "library/CommaText.h"
#include "library/TextCompare.h"
#include "library/TextFile.h"
#include "table/VisualTableModel.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

bool referenceLess(const QString &a, const QString &b)
{
    const int noCase = TextCompare::compareNoCase(a, b);
    return (noCase != 0 ? noCase : a.compare(b)) < 0;
}

// The rows as the catalog was printed through the table: read whole,
// sorted and deduplicated as QStrings, filled in, every cell asked for.
QByteArray referenceShow(const QString &catalogFile)
{
    QStringList lines;
    if (!TextFile::readLines(catalogFile, lines))
        return "unreadable";
    std::sort(lines.begin(), lines.end(), referenceLess);
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    VisualTableModel table;
    table.setUpCatalogView();
    table.fill(lines);
    QByteArray out;
    {
        QTextStream stream(&out);
        RowWriter rows(stream, RowWriter::Format::Tsv, {"name", "size", "date", "path", "comment"});
        for (int row = 1; row < table.tableRowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 5; ++column)
                cells << table.cell(column, row);
            if (!cells.join(QString()).isEmpty())
                rows.write(cells);
        }
    }
    return out;
}

} // namespace

class TestShowOrder : public QObject
{
    Q_OBJECT
private slots:
    void sameRowsAsTable_data();
    void sameRowsAsTable();
    void longLineShownAndFound_data();
    void longLineShownAndFound();
};

void TestShowOrder::sameRowsAsTable_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {2u, 13u, 77u})
        QTest::addRow("hostile %u", seed) << seed;
}

void TestShowOrder::sameRowsAsTable()
{
    QFETCH(quint32, seed);
    QTemporaryDir dir;
    const QStringList lines = HostileCatalog::lines(seed, 3000);
    const QString file = dir.filePath("Catalogs/Hostile.TXT");
    QVERIFY(
        TestSupport::writeFile(file, HostileCatalog::fileBytes(seed, lines + QStringList{"", "  ", "\"\""})));
    const CliProcess::Result r = CliProcess::run(dir.path(), {"show", "Hostile"});
    QCOMPARE(r.code, 0);
    const QByteArray expected = referenceShow(file);
    const QList<QByteArray> got = r.out.split('\n');
    const QList<QByteArray> want = expected.split('\n');
    for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
        QCOMPARE(got.at(i), want.at(i));
    QCOMPARE(got.size(), want.size());
}

void TestShowOrder::longLineShownAndFound_data()
{
    QTest::addColumn<qsizetype>("bytes");
    for (const qsizetype bytes : HostileCatalog::boundarySizes())
        QTest::addRow("%lld bytes", qlonglong(bytes)) << bytes;
}

// A line of every size where the stores and writers change their ways is
// shown in either order as the table shows it, and found whole.
void TestShowOrder::longLineShownAndFound()
{
    QFETCH(qsizetype, bytes);
    QTemporaryDir dir;
    const QString line = HostileCatalog::longLine(QStringLiteral("long.txt"), bytes);
    const QString file = dir.filePath("Catalogs/Long.TXT");
    QVERIFY(TestSupport::writeFile(dir.filePath("Master.TXT"), "\"1\",\"0Disks\",\"0Long\"\r\n"));
    QVERIFY(TestSupport::writeFile(
        file, HostileCatalog::fileBytes(quint32(bytes), {R"("a.txt","1","01/02/2003 04:05","/a/","")", line,
                                                         R"("z.txt","2","01/02/2003 04:05","/z/","")"})));
    const QByteArray shown = referenceShow(file);
    QVERIFY(shown.size() > bytes);
    for (const QStringList &args :
         {QStringList{"show", "Long"}, QStringList{"show", "Long", "--sort", "name"}}) {
        const CliProcess::Result r = CliProcess::run(dir.path(), args);
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out == shown, qPrintable(args.join(u' ')));
    }
    // CSV goes through the piecewise writer, which must not cut a character.
    QByteArray csv;
    {
        QTextStream stream(&csv);
        RowWriter rows(stream, RowWriter::Format::Csv, {"name", "size", "date", "path", "comment"});
        rows.write(CommaText::split(line));
    }
    csv.remove(0, csv.indexOf("\r\n") + 2); // the header row
    QVERIFY(CliProcess::run(dir.path(), {"show", "Long", "--format", "csv"}).out.contains(csv));
    QByteArray found;
    {
        QTextStream stream(&found);
        RowWriter rows(stream, RowWriter::Format::Tsv,
                       {"name", "size", "date", "path", "comment", "catalog"});
        rows.write(CommaText::split(line) << QStringLiteral("Long"));
    }
    const CliProcess::Result r = CliProcess::run(dir.path(), {"search", "--word", "*needle*"});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out == found);
}

QTEST_GUILESS_MAIN(TestShowOrder)
#include "tst_showorder.moc"
