#include "CliProcess.h"
#include "TestSupport.h"

#include "library/CommaText.h"

#include <QTemporaryDir>
#include <QTest>

// Every listing command in every format, with names that break naive
// splitting, read back by Python's csv and json modules. Stored lines can
// hold no line break; tst_rowwriter covers those with the same writer.
namespace {

const QString kCategory = "Grüße, \"Q\"\tcat\\";
const QString kCatalog = "Dïsk\t\"1\", \\x";
const QString kComment = "comma, \"quote\"\ttab \\n not a break, 日本語";
const QString kDate = "06/14/1998 10:00:00";
const QStringList kInfo{"3", "2", "/media", "/media/d\tisk/", "1.44 MB", "10 KB", "Removable", kDate,
                        "True", "False", "True", "True", "True", "False", "1", "*.t\"x,t"};

QList<QStringList> entries()
{
    return {
        {"tab\there.txt", "10", kDate, "/media/d\tisk/", kComment},
        {"tab\there.txt", "10", kDate, "/media/d\tisk/sub, \"2\"/", ""},
        {"back\\slash \"q\", é.txt", "7", kDate, "/media/d\tisk/", "😀"},
    };
}

QList<QStringList> withCatalog(const QList<QStringList> &rows)
{
    QList<QStringList> result;
    for (const QStringList &row : rows)
        result << row + QStringList{kCatalog};
    return result;
}

void writeLibrary(const QTemporaryDir &dir)
{
    TestSupport::writeLines(dir.filePath("Master.TXT"), {CommaText::join({"1", "0" + kCategory, "2" + kCatalog})});
    TestSupport::writeLines(dir.filePath("Catalogs/Master"), {kCatalog, CommaText::join(kInfo)});
    TestSupport::writeLines(dir.filePath("Comments.TXT"), {kCatalog, kComment});
    QStringList lines;
    for (const QStringList &entry : entries())
        lines << CommaText::join(entry);
    TestSupport::writeLines(dir.filePath("Catalogs/" + kCatalog + ".TXT"), lines);
}

QList<QStringList> sorted(QList<QStringList> rows)
{
    std::sort(rows.begin(), rows.end(), [](const QStringList &a, const QStringList &b) {
        return a.join(QChar(0)) < b.join(QChar(0));
    });
    return rows;
}

} // namespace

class TestOutputFormats : public QObject
{
    Q_OBJECT
private slots:
    void readBack_data();
    void readBack();
};

void TestOutputFormats::readBack_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QList<QStringList>>("rows");

    const QStringList entryColumns{"name", "size", "date", "path", "comment"};
    const QStringList resultColumns = entryColumns + QStringList{"catalog"};
    QList<QStringList> info{{"Name", kCatalog}};
    const char *const labels[] = {"Number of files", "Number of Directories", "Drive", "Path", "Total Space",
                                  "Free Space", "Type", "Last Update", "Hidden Files", "Read-Only Files",
                                  "System Files", "Sub-Directories", "Hidden Directories", "ZIP Contents",
                                  "Number of Masks"};
    for (int i = 0; i < 15; ++i)
        info << QStringList{labels[i], kInfo.at(i)};
    info << QStringList{"Mask", kInfo.at(15)} << QStringList{"Comment", kComment};
    const QList<QStringList> all = entries();

    for (const QString format : {"tsv", "csv", "json"}) {
        auto row = [&format](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(format + ' ' + name));
        };
        const QStringList asked{"--format", format};
        row("tree") << QStringList{"tree"} + asked << QStringList{"category", "catalog"}
                    << QList<QStringList>{{kCategory, kCatalog}};
        row("info") << QStringList{"info", kCatalog} + asked << QStringList{"field", "value"} << info;
        row("show") << QStringList{"show", kCatalog} + asked << entryColumns << all;
        row("search") << QStringList{"search", "--word", "*", "--catalog", kCatalog} + asked << resultColumns
                      << withCatalog(all);
        row("search for a quote") << QStringList{"search", "--word", "*\"q\", é*"} + asked << resultColumns
                                  << withCatalog({all.at(2)});
        row("dupes") << QStringList{"dupes"} + asked << resultColumns << withCatalog({all.at(0), all.at(1)});
        row("report") << QStringList{"report"} + asked
                      << QStringList{"name", "type", "total_space", "free_space", "directory", "last_updated",
                                     "comment"}
                      << QList<QStringList>{{kCatalog, "Removable", "1.44 MB", "10 KB", "/media/d\tisk/", kDate,
                                             kComment}};
    }
}

void TestOutputFormats::readBack()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, columns);
    QFETCH(QList<QStringList>, rows);
    QTemporaryDir dir;
    writeLibrary(dir);
    const CliProcess::Result r = CliProcess::run(dir.path(), args);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QString format = args.at(args.indexOf("--format") + 1);
    const CliProcess::Rows read = CliProcess::readRows(format, r.out);
    QVERIFY2(read.ok, qPrintable(read.problem));
    QCOMPARE(sorted(read.rows), sorted(rows));
    if (format != "tsv")
        QCOMPARE(read.header, columns);
}

QTEST_GUILESS_MAIN(TestOutputFormats)
#include "tst_outputformats.moc"
