// `show` prints a catalog in its stored order straight from the compact
// list; its rows must be exactly those of the catalog opened in the table.
#include "CliProcess.h"
#include "HostileCatalog.h"
#include "TestSupport.h"

#include "cli/RowWriter.h"
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
    QVERIFY(TestSupport::writeFile(file, HostileCatalog::fileBytes(seed, lines + QStringList{"", "  ", "\"\""})));
    const CliProcess::Result r = CliProcess::run(dir.path(), {"show", "Hostile"});
    QCOMPARE(r.code, 0);
    const QByteArray expected = referenceShow(file);
    const QList<QByteArray> got = r.out.split('\n');
    const QList<QByteArray> want = expected.split('\n');
    for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
        QCOMPARE(got.at(i), want.at(i));
    QCOMPARE(got.size(), want.size());
}

QTEST_GUILESS_MAIN(TestShowOrder)
#include "tst_showorder.moc"
