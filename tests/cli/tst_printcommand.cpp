// kestrovane-cli print: a catalog to PDF, read back with poppler's tools.
#include "CliProcess.h"
#include "TestSupport.h"

#include "library/DateFormats.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kLongName = QStringLiteral("a-rather-long-name-for-the-column.txt");

void writeLibrary(const QTemporaryDir &dir, const QByteArray &ini)
{
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Games\",\"3Disc\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Disc.TXT"),
                            {"\"" + kLongName + "\",\"9\",\"06/14/1998\",\"/media/cd/\",\"\"",
                             "\"b.txt\",\"100\",\"01/02/1997\",\"/media/cd/\",\"kept\""});
    if (!ini.isEmpty())
        TestSupport::writeFile(dir.filePath("Kestrovane.INI"), ini);
}

QString tool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestPrintCommand : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void print_data();
    void print();
    void everyCellWhole_data();
    void everyCellWhole();
};

void TestPrintCommand::initTestCase()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty() ||
        QStandardPaths::findExecutable("pdfinfo").isEmpty())
        QSKIP("poppler-utils (pdftotext, pdfinfo) are not installed");
}

void TestPrintCommand::print_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<bool>("landscape");
    // The date at the top is written as the table writes dates.
    const QString date = QDate::currentDate().toString(DateFormats::fromSystem().shortDate());
    QTest::newRow("defaults") << QStringList{} << QByteArray()
                              << QStringList{"File Name", "kept", "page 1", date, kLongName}
                              << QStringList{QString(QChar(0x2026))} << true;
    QTest::newRow("column widths from the settings")
        << QStringList{} << QByteArray("[Colsizes]\r\nCol0=400\r\n") << QStringList{kLongName}
        << QStringList{} << true;
    QTest::newRow("every option") << QStringList{"--portrait",   "--title",   "My CDs",
                                                 "--no-time",    "--no-date", "--no-page-numbers",
                                                 "--no-borders", "--font",    "DejaVu Sans:8"}
                                  << QByteArray() << QStringList{"My CDs", "kept"}
                                  << QStringList{"page 1", date, ":"} << false;
}

// The library is only read.
void TestPrintCommand::print()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    QFETCH(bool, landscape);
    QTemporaryDir dir;
    writeLibrary(dir, ini);
    const auto before = TestSupport::librarySnapshot(dir.path());
    const QString pdf = dir.filePath("out/Disc.pdf");
    QDir().mkpath(dir.filePath("out"));
    const auto r = CliProcess::runText(dir.path(), QStringList{"print", "Disc", "--pdf", pdf} + options);
    QCOMPARE(r.code, 0);
    QCOMPARE(TestSupport::librarySnapshot(dir.path()), before);
    const QString text = tool("pdftotext", {"-layout", pdf, "-"});
    for (const QString &word : present)
        QVERIFY2(text.contains(word), qPrintable(word + " missing from:\n" + text));
    for (const QString &word : absent)
        QVERIFY2(!text.contains(word), qPrintable(word + " found in:\n" + text));
    const auto size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(tool("pdfinfo", {pdf}));
    QCOMPARE(size.captured(1).toDouble() > size.captured(2).toDouble(), landscape);
}

void TestPrintCommand::everyCellWhole_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("commentsOnOneLine");
    QTest::newRow("no saved widths") << QByteArray() << QStringList{} << true;
    QTest::newRow("no saved widths, portrait") << QByteArray() << QStringList{"--portrait"} << false;
}

// Without widths from the program's table the columns fit their text, up to
// a share of the page; longer text wraps inside its row. Read back in
// drawing order with the wrapped lines joined, every cell is whole, and a
// date keeps its time on its line.
void TestPrintCommand::everyCellWhole()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, options);
    QFETCH(bool, commentsOnOneLine);
    QTemporaryDir dir;
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Games\",\"3Disc\""});
    QList<QStringList> rows;
    for (int i = 0; i < 12; ++i)
        rows << QStringList{QString("header-%1.h").arg(i), QString::number(1000 + i), "12/07/2026 10:20:30",
                            "/usr/include/" + QString("subsystem-%1/").arg(i).repeated(8),
                            "note " + kLongName};
    QStringList lines;
    for (const QStringList &row : rows)
        lines << "\"" + row.join("\",\"") + "\"";
    TestSupport::writeLines(dir.filePath("Catalogs/Disc.TXT"), lines);
    TestSupport::writeFile(dir.filePath("Kestrovane.INI"), ini);
    const QString pdf = dir.filePath("Disc.pdf");
    QCOMPARE(CliProcess::runText(dir.path(), QStringList{"print", "Disc", "--pdf", pdf} + options).code, 0);
    const auto squeezed = [](QString text) {
        return text.remove(QRegularExpression("\\s")).normalized(QString::NormalizationForm_KC);
    };
    const QString printed = squeezed(tool("pdftotext", {"-raw", pdf, "-"}));
    for (const QStringList &row : rows)
        for (const QString &cell : row)
            QVERIFY2(printed.contains(squeezed(cell)), qPrintable(cell + " missing from:\n" + printed));
    const QString layout = tool("pdftotext", {"-layout", pdf, "-"});
    QCOMPARE(layout.count("12/07/2026 10:20:30"), rows.size());
    // The comments, shorter than the paths, get the width they need.
    if (commentsOnOneLine)
        QCOMPARE(layout.count("note " + kLongName), rows.size());
}

QTEST_GUILESS_MAIN(TestPrintCommand)
#include "tst_printcommand.moc"
