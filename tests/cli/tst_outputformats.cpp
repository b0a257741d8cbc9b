#include "CliProcess.h"
#include "TestSupport.h"

#include "library/CommaText.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Every listing command in every format, with names that break naive
// splitting, read back by Python's csv and json modules. Stored lines can
// hold no line break; tst_rowwriter covers those with the same writer.
namespace {

const QString kCategory = "Grüße, \"Q\"\tcat\\";
const QString kCatalog = "Dïsk\t\"1\", \\x";
const QString kComment = "comma, \"quote\"\ttab \\n not a break, 日本語";
const QString kLabel = "Stick \"Ünï\", 2";
const QString kUuid = "1A2B-3C4D";
const QString kDate = "06/14/1998 10:00:00";
// A file name that would recolour a terminal, with DEL and a C1 control.
const QString kHostileName = "red\x1b[31mname\x7f\u0085.txt";
const QStringList kInfo{"3",         "2",     "/media", "/media/d\tisk/", "1.44 MB", "10 KB",
                        "Removable", kDate,   "True",   "False",          "True",    "True",
                        "True",      "False", "1",      "*.t\"x,t"};

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
    TestSupport::writeLines(dir.filePath("Master.TXT"),
                            {CommaText::join({"1", "0" + kCategory, "2" + kCatalog})});
    TestSupport::writeLines(dir.filePath("Catalogs/Master"), {kCatalog, CommaText::join(kInfo)});
    TestSupport::writeLines(dir.filePath("Comments.TXT"), {kCatalog, kComment});
    TestSupport::writeLines(dir.filePath("Catalogs/Volumes"),
                            {CommaText::join({kCatalog, kUuid, kLabel, "vfat", ""})});
    QStringList lines;
    for (const QStringList &entry : entries())
        lines << CommaText::join(entry);
    TestSupport::writeLines(dir.filePath("Catalogs/" + kCatalog + ".TXT"), lines);
}

// JSON gives dates in ISO 8601.
QList<QStringList> asJsonGivesThem(QList<QStringList> rows, const QStringList &columns)
{
    for (const QString column : {"date", "last_updated"}) {
        if (const qsizetype at = columns.indexOf(column); at >= 0) {
            for (QStringList &row : rows)
                row[at] = "1998-06-14T10:00:00";
        }
    }
    return rows;
}

QList<QStringList> sorted(QList<QStringList> rows)
{
    std::sort(rows.begin(), rows.end(),
              [](const QStringList &a, const QStringList &b) { return a.join(QChar(0)) < b.join(QChar(0)); });
    return rows;
}

} // namespace

class TestOutputFormats : public QObject
{
    Q_OBJECT
private slots:
    void readBack_data();
    void readBack();
    void jsonTypes();
    void controlsOnTerminals_data();
    void controlsOnTerminals();
};

void TestOutputFormats::readBack_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QList<QStringList>>("rows");

    const QStringList entryColumns{"name", "size", "date", "path", "comment"};
    const QStringList resultColumns = entryColumns + QStringList{"catalog"};
    QList<QStringList> info{{"Name", kCatalog}};
    const char *const labels[] = {"Number of files",
                                  "Number of Directories",
                                  "Drive",
                                  "Path",
                                  "Total Space",
                                  "Free Space",
                                  "Type",
                                  "Last Update",
                                  "Hidden Files",
                                  "Read-Only Files",
                                  "System Files",
                                  "Sub-Directories",
                                  "Hidden Directories",
                                  "ZIP Contents",
                                  "Number of Masks"};
    for (int i = 0; i < 15; ++i)
        info << QStringList{labels[i], kInfo.at(i)};
    info << QStringList{"Mask", kInfo.at(15)} << QStringList{"Label", kLabel} << QStringList{"UUID", kUuid}
         << QStringList{"Comment", kComment};
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
        row("only-in") << QStringList{"only-in", kCatalog} + asked << resultColumns << withCatalog(all);
        row("report") << QStringList{"report"} + asked
                      << QStringList{"name",         "type",    "total_space", "free_space", "directory",
                                     "last_updated", "comment", "label",       "uuid"}
                      << QList<QStringList>{{kCatalog, "Removable", "1.44 MB", "10 KB", "/media/d\tisk/",
                                             kDate, kComment, kLabel, kUuid}};
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
    QCOMPARE(sorted(read.rows), sorted(format == "json" ? asJsonGivesThem(rows, columns) : rows));
    if (format != "tsv")
        QCOMPARE(read.header, columns);
}

// Sizes are numbers, dates ISO 8601 with their time only when one is stored.
void TestOutputFormats::jsonTypes()
{
    QTemporaryDir dir;
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Games\",\"2Disc\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Disc.TXT"),
                            {CommaText::join({"a", "0012", "06/14/1998", "/m/", ""}),
                             CommaText::join({"b", "", kDate, "/m/", ""})});
    const CliProcess::Result r = CliProcess::run(dir.path(), {"show", "Disc", "--format", "json"});
    const QJsonArray rows = QJsonDocument::fromJson(r.out).array();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].toObject().value("size"), QJsonValue(12));
    QCOMPARE(rows[0].toObject().value("date"), QJsonValue("1998-06-14"));
    QCOMPARE(rows[1].toObject().value("size"), QJsonValue(QJsonValue::Null));
    QCOMPARE(rows[1].toObject().value("date"), QJsonValue("1998-06-14T10:00:00"));
}

void TestOutputFormats::controlsOnTerminals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("onErr");
    QTest::addColumn<QString>("raw");   // as a pipe gets it
    QTest::addColumn<QString>("shown"); // as a terminal shows it
    const QString shownName = "red\u241b[31mname\u2421<U+0085>.txt";
    QTest::newRow("tsv rows") << QStringList{"show", "Disc"} << false << kHostileName << shownName;
    QTest::newRow("csv rows") << QStringList{"show", "Disc", "--format", "csv"} << false << kHostileName
                              << shownName;
    QTest::newRow("json rows") << QStringList{"show", "Disc", "--format", "json"} << false
                               << "red\\u001b[31mname\x7f\u0085.txt"
                               << QString("red\\u001b[31mname\u2421<U+0085>.txt");
    QTest::newRow("a printed comment") << QStringList{"comment", "Disc"} << false << "bell\x07 clear\x1b[2J"
                                       << QString("bell\u2407 clear\u241b[2J");
    QTest::newRow("a message") << QStringList{"show", "X\x1b]0;title\x07"} << true
                               << "Catalog X\x1b]0;title\x07 does"
                               << QString("Catalog X\u241b]0;title\u2407 does");
}

// A terminal sees a name's control characters, and is never driven by
// them; a pipe or a file gets the exact text.
void TestOutputFormats::controlsOnTerminals()
{
    QFETCH(QStringList, args);
    QFETCH(bool, onErr);
    QFETCH(QString, raw);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Games\",\"2Disc\""});
    TestSupport::writeLines(dir.filePath("Comments.TXT"), {"Disc", "bell\x07 clear\x1b[2J"});
    TestSupport::writeLines(dir.filePath("Catalogs/Disc.TXT"),
                            {CommaText::join({kHostileName, "1", kDate, "/m/", ""})});
    const CliProcess::TextResult piped = CliProcess::runText(dir.path(), args);
    QVERIFY2((onErr ? piped.err : piped.out).contains(raw), qPrintable(piped.out + piped.err));
    const std::optional<CliProcess::TextResult> terminal = CliProcess::runOnTerminals(dir.path(), args);
    if (!terminal)
        QSKIP("no pseudo-terminal here");
    QCOMPARE(terminal->code, piped.code);
    // A terminal ends its lines with CR LF, CSV's own with CR CR LF.
    QString text = onErr ? terminal->err : terminal->out;
    text.replace(QRegularExpression("\r+\n"), "\n");
    QVERIFY2(text.contains(shown), qPrintable(text));
    for (const QChar c : text) {
        const bool control = c < ' ' || (c >= QChar(0x7f) && c <= QChar(0x9f));
        QVERIFY2(c == '\n' || c == '\t' || !control, qPrintable(text));
    }
}

QTEST_GUILESS_MAIN(TestOutputFormats)
#include "tst_outputformats.moc"
