#include "CliProcess.h"

#include "cli/RowWriter.h"
#include "library/CommaText.h"
#include "library/SortedLineList.h"

#include <QBuffer>
#include <QTest>

namespace {

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

} // namespace

class TestRowWriter : public QObject
{
    Q_OBJECT
private slots:
    void readBack_data();
    void readBack();
    void rowsKeepTheirColumns_data();
    void rowsKeepTheirColumns();
    void emptyOutput_data();
    void emptyOutput();
    void parseFormat();
    void tsvFromBytes();
};

void TestRowWriter::readBack_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QList<QStringList>>("rows");
    for (const char *format : {"tsv", "csv", "json"})
        QTest::newRow(format) << QString(format) << kHostile;
}

// Python's readers get back exactly the fields that were written.
void TestRowWriter::readBack()
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

void TestRowWriter::rowsKeepTheirColumns_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("short") << QStringList{"a"} << QStringList{"a", "", ""};
    QTest::newRow("long") << QStringList{"a", "b", "c", "d"} << QStringList{"a", "b", "c"};
    QTest::newRow("none") << QStringList{} << QStringList{"", "", ""};
}

void TestRowWriter::rowsKeepTheirColumns()
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

void TestRowWriter::emptyOutput_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("tsv") << int(RowWriter::Format::Tsv) << QByteArray();
    QTest::newRow("csv names its columns")
        << int(RowWriter::Format::Csv) << QByteArray("name,size,comment\r\n");
    QTest::newRow("json") << int(RowWriter::Format::Json) << QByteArray("[]\n");
}

void TestRowWriter::emptyOutput()
{
    QFETCH(int, format);
    QFETCH(QByteArray, text);
    QCOMPARE(written(RowWriter::Format(format), {}), text);
}

void TestRowWriter::parseFormat()
{
    QCOMPARE(RowWriter::parseFormat("csv"), RowWriter::Format::Csv);
    QCOMPARE(RowWriter::parseFormat("json"), RowWriter::Format::Json);
    QCOMPARE(RowWriter::parseFormat("tsv"), RowWriter::Format::Tsv);
    QVERIFY(!RowWriter::parseFormat("CSV"));
    QVERIFY(!RowWriter::parseFormat("xml"));
}

// A line's TSV row made from its bytes is the row made from its text, and
// rows written to a device as bytes keep their place among the rows the
// stream encodes.
void TestRowWriter::tsvFromBytes()
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

QTEST_GUILESS_MAIN(TestRowWriter)
#include "tst_rowwriter.moc"
