#include "CliProcess.h"
#include "HostileCatalog.h"
#include "TestSupport.h"
#include "cli/RowWriter.h"
#include "library/CommaText.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"
#include "library/TextFile.h"
#include "table/VisualTableModel.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

// Every listing command in every format, with names that break naive
// splitting, read back by Python's csv and json modules. Stored lines can
// hold no line break; the writer's own rows below cover those.
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

const QStringList kColumns{"name", "size", "comment"};
const QList<QStringList> kHostile{
    {"tab\there", "1", "line\nbreak"},
    {"quote \"q\"", "2", "comma, here"},
    {"back\\slash\\t", "3", "cr\rand crlf\r\n"},
    {"Grüße 日本 😀", "", ""},
    {"\\", "\"", ","},
    {"", "", "\x01 control"},
};

QByteArray written(RowWriter::Format format, const QList<QStringList> &rows)
{
    QString text;
    {
        QTextStream out(&text);
        RowWriter writer(out, format, kColumns);
        for (const QStringList &row : rows)
            writer.write(row);
    }
    return text.toUtf8();
}

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

class TestOutputFormats : public QObject
{
    Q_OBJECT
private slots:
    void readBack_data();
    void readBack();
    void jsonTypes();
    void controlsOnTerminals_data();
    void controlsOnTerminals();
    void writerReadBack_data();
    void writerReadBack();
    void rowsKeepTheirColumns_data();
    void rowsKeepTheirColumns();
    void emptyOutput_data();
    void emptyOutput();
    void tsvFromBytes();
    void longLineShownAndFound_data();
    void longLineShownAndFound();
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

void TestOutputFormats::writerReadBack_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QList<QStringList>>("rows");
    for (const char *format : {"tsv", "csv", "json"})
        QTest::newRow(format) << QString(format) << kHostile;
}

// Python's readers get back exactly the fields that were written.
void TestOutputFormats::writerReadBack()
{
    QFETCH(QString, format);
    QFETCH(QList<QStringList>, rows);
    const CliProcess::Rows read =
        CliProcess::readRows(format, written(*RowWriter::parseFormat(format), rows));
    QVERIFY2(read.ok, qPrintable(read.problem));
    QCOMPARE(read.rows, rows);
    if (format != "tsv")
        QCOMPARE(read.header, kColumns);
}

void TestOutputFormats::rowsKeepTheirColumns_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("short") << QStringList{"a"} << QStringList{"a", "", ""};
    QTest::newRow("long") << QStringList{"a", "b", "c", "d"} << QStringList{"a", "b", "c"};
    QTest::newRow("none") << QStringList{} << QStringList{"", "", ""};
}

void TestOutputFormats::rowsKeepTheirColumns()
{
    QFETCH(QStringList, fields);
    QFETCH(QStringList, expected);
    for (const char *format : {"tsv", "csv", "json"}) {
        const CliProcess::Rows read =
            CliProcess::readRows(format, written(*RowWriter::parseFormat(format), {fields}));
        QVERIFY2(read.ok, qPrintable(read.problem));
        QCOMPARE(read.rows, QList<QStringList>{expected});
    }
}

void TestOutputFormats::emptyOutput_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("tsv") << int(RowWriter::Format::Tsv) << QByteArray();
    QTest::newRow("csv names its columns")
        << int(RowWriter::Format::Csv) << QByteArray("name,size,comment\r\n");
    QTest::newRow("json") << int(RowWriter::Format::Json) << QByteArray("[]\n");
}

void TestOutputFormats::emptyOutput()
{
    QFETCH(int, format);
    QFETCH(QByteArray, text);
    QCOMPARE(written(RowWriter::Format(format), {}), text);
}

// A line's TSV row made from its bytes is the row made from its text, and
// rows written to a device as bytes keep their place among the rows the
// stream encodes.
void TestOutputFormats::tsvFromBytes()
{
    QList<QStringList> rows = kHostile;
    rows << QStringList{QChar(0xFEFF) + QStringLiteral("marked"), "1"}
         << QStringList{"a\u00e9", QChar(0xFEFF) + QStringLiteral("x")}
         << QStringList{QChar(0xD800) + QStringLiteral("lone"), "2"} << QStringList{"a", "b", "c", "d"}
         << QStringList{"a"};
    QBuffer fromText;
    QBuffer fromBytes;
    QVERIFY(fromText.open(QIODevice::WriteOnly) && fromBytes.open(QIODevice::WriteOnly));
    {
        QTextStream textOut(&fromText);
        QTextStream bytesOut(&fromBytes);
        RowWriter textRows(textOut, RowWriter::Format::Tsv, kColumns);
        RowWriter byteRows(bytesOut, RowWriter::Format::Tsv, kColumns);
        for (const QStringList &fields : rows) {
            const QString line = CommaText::join(fields);
            textRows.writeCommaLine(QStringView(line));
            byteRows.writeCommaLine(QByteArrayView(SortedLineList::encode(line)));
        }
    }
    QCOMPARE(fromBytes.data(), fromText.data());
}

void TestOutputFormats::longLineShownAndFound_data()
{
    QTest::addColumn<qsizetype>("bytes");
    for (const qsizetype bytes : HostileCatalog::boundarySizes())
        QTest::addRow("%lld bytes", qlonglong(bytes)) << bytes;
}

// A line of every size where the stores and writers change their ways is
// shown in either order as the table shows it, and found whole.
void TestOutputFormats::longLineShownAndFound()
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

QTEST_GUILESS_MAIN(TestOutputFormats)
#include "tst_outputformats.moc"
