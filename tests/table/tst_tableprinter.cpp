// Printouts of the table, read back from PDF with poppler's tools.
#include "table/ListTableCells.h"
#include "table/PdfPrint.h"
#include "table/TableRules.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime kPrintedAt(QDate(2026, 6, 5), QTime(14, 5));

struct Printout {
    int pages = 0;
    QSizeF pageSize; // points
    QString text;
};

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool havePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

QString writePdf(const QTemporaryDir &dir, const TableCells &cells, const QList<int> &widths,
                 const PrintOptions &options)
{
    const QString path = dir.filePath(QStringLiteral("out.pdf"));
    QString error;
    if (!PdfPrint::write(path, cells, widths, options, &error))
        qWarning() << error;
    return path;
}

Printout read(const QString &pdf, int page = 0)
{
    Printout out;
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    out.pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    out.pageSize = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    QStringList args{QStringLiteral("-layout")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    out.text = run(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
    return out;
}

// The text in the order it was drawn, without white space, so the lines a
// cell wrapped onto join up again, and with ligatures such as "fi" spelt out.
QString drawnText(const QString &pdf, int page = 0)
{
    QStringList args{QStringLiteral("-raw")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    return run(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"))
        .remove(QRegularExpression(QStringLiteral("\\s")))
        .normalized(QString::NormalizationForm_KC);
}

struct Word {
    int page;
    QRectF box;
    QString text;
};

QList<Word> words(const QString &pdf)
{
    QList<Word> result;
    int page = 0;
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)<"));
    const QStringList lines =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}).split(u'\n');
    for (const QString &line : lines) {
        page += line.contains(QLatin1String("<page "));
        const auto m = word.match(line);
        if (m.hasMatch())
            result.append({page,
                           QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                           m.captured(5)});
    }
    return result;
}

// The first word found off its page or over another word; empty when none.
QString overlap(const QList<Word> &words, const QSizeF &page)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        const Word &a = words.at(i);
        if (!QRectF(QPointF(0, 0), page).contains(a.box))
            return a.text + QStringLiteral(" off the page");
        // Glyph boxes reach a little into the lines above and below.
        const QRectF box = a.box.adjusted(0, 0.15 * a.box.height(), 0, -0.15 * a.box.height());
        for (qsizetype j = i + 1; j < words.size(); ++j)
            if (words.at(j).page == a.page && box.intersects(words.at(j).box))
                return a.text + QStringLiteral(" over ") + words.at(j).text;
    }
    return QString();
}

// The first page as a grey image at 50 dots to the inch.
QImage render(const QTemporaryDir &dir, const QString &pdf)
{
    const QString base = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QStringLiteral("50"),
                                     QStringLiteral("-singlefile"), pdf, base});
    return QImage(base + QStringLiteral(".pgm"));
}

PrintOptions bare()
{
    PrintOptions options;
    options.time = options.date = options.borders = options.pageNumbers = false;
    options.printedAt = kPrintedAt;
    options.dates = DateFormats(QStringLiteral("yyyy-MM-dd"), QStringLiteral("HH:mm:ss"));
    return options;
}

ListTableCells numberedRows(int rows)
{
    QList<QStringList> data;
    for (int i = 1; i <= rows; ++i)
        data << QStringList{QStringLiteral("row%1x").arg(i)};
    return ListTableCells({QStringLiteral("Name")}, data);
}

} // namespace

class TestTablePrinter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void longTableSplitsByRows_data();
    void longTableSplitsByRows();
    void wideTableSplitsByColumns_data();
    void wideTableSplitsByColumns();
    void oneCellRegion();
    void decorations_data();
    void decorations();
    void borders_data();
    void borders();
    void titleLineAcrossPage_data();
    void titleLineAcrossPage();
    void noTextLost_data();
    void noTextLost();
    void titleOnOneLine_data();
    void titleOnOneLine();
    void nothingOverlaps_data();
    void nothingOverlaps();

private:
    QTemporaryDir m_dir;
};

void TestTablePrinter::initTestCase()
{
    if (!havePoppler())
        QSKIP("poppler-utils (pdftotext, pdfinfo, pdftoppm) are not installed");
}

void TestTablePrinter::longTableSplitsByRows_data()
{
    QTest::addColumn<bool>("landscape");
    QTest::newRow("landscape") << true;
    QTest::newRow("portrait") << false;
}

// Every row is printed once, on consecutive pages of equal length, nothing
// shrunk to fit one page.
void TestTablePrinter::longTableSplitsByRows()
{
    QFETCH(bool, landscape);
    const int rows = 150;
    PrintOptions options = bare();
    options.landscape = landscape;
    const QString pdf = writePdf(m_dir, numberedRows(rows), {200}, options);
    const Printout all = read(pdf);
    for (int i = 1; i <= rows; ++i)
        QCOMPARE(all.text.count(QStringLiteral("row%1x").arg(i)), 1);
    const int perPage = read(pdf, 1).text.count(QStringLiteral("row"));
    QVERIFY(perPage > 10);
    QCOMPARE(all.pages, (rows + 1 + perPage - 1) / perPage);
    QCOMPARE(all.text.count(QStringLiteral("Name")), 1); // the titles only at the top of the first page
    QCOMPARE(all.pageSize.width() > all.pageSize.height(), landscape);
}

void TestTablePrinter::wideTableSplitsByColumns_data()
{
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("pages");
    // Columns of 300 pixels are 79.4 mm: three fit across 277 mm of
    // landscape A4 inside its borders, two across 190 mm of portrait.
    QTest::newRow("landscape") << true << 4;
    QTest::newRow("portrait") << false << 6;
}

void TestTablePrinter::wideTableSplitsByColumns()
{
    QFETCH(bool, landscape);
    QFETCH(int, pages);
    QStringList titles;
    QStringList cells;
    for (int c = 0; c < 12; ++c) {
        titles << QStringLiteral("T%1z").arg(c);
        cells << QStringLiteral("c%1z").arg(c);
    }
    PrintOptions options = bare();
    options.landscape = landscape;
    const QString pdf = writePdf(m_dir, ListTableCells(titles, {cells}), QList<int>(12, 300), options);
    const Printout out = read(pdf);
    QCOMPARE(out.pages, pages);
    for (int c = 0; c < 12; ++c)
        QCOMPARE(out.text.count(QStringLiteral("c%1z").arg(c)), 1);
    // Left to right: the first page holds the first column, the last the last.
    QVERIFY(read(pdf, 1).text.contains(QStringLiteral("T0z")));
    QVERIFY(read(pdf, pages).text.contains(QStringLiteral("T11z")));
}

void TestTablePrinter::oneCellRegion()
{
    const ListTableCells table({"A", "B", "C"}, {{"a1", "b1", "c1"}, {"a2", "b2", "c2"}});
    PrintOptions options = bare();
    options.region = CellRegion{1, 2, 1, 2};
    const Printout out = read(writePdf(m_dir, table, {}, options));
    QCOMPARE(out.pages, 1);
    QCOMPARE(out.text.trimmed(), QStringLiteral("b2"));
}

void TestTablePrinter::decorations_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("time");
    QTest::addColumn<bool>("date");
    QTest::addColumn<bool>("pageNumbers");
    QTest::newRow("all") << "Holiday CDs" << true << true << true;
    QTest::newRow("time only") << "" << true << false << false;
    QTest::newRow("title only") << "Holiday CDs" << false << false << false;
}

void TestTablePrinter::decorations()
{
    QFETCH(QString, title);
    QFETCH(bool, time);
    QFETCH(bool, date);
    QFETCH(bool, pageNumbers);
    PrintOptions options = bare();
    options.title = title;
    options.time = time;
    options.date = date;
    options.pageNumbers = pageNumbers;
    const QString pdf = writePdf(m_dir, numberedRows(2), {}, options);
    const Printout out = read(pdf);
    QCOMPARE(out.text.contains(QStringLiteral("Holiday CDs")), !title.isEmpty());
    QCOMPARE(out.text.contains(QStringLiteral("14:05")), time);
    // The date in the table's own format.
    QCOMPARE(out.text.contains(QStringLiteral("2026-06-05")), date);
    QCOMPARE(out.text.contains(QStringLiteral("page 1")), pageNumbers);
    QVERIFY(out.text.contains(QStringLiteral("row2x")));
    // The time at the top left, the date ending 2 mm inside the right edge
    // of the printable area, "page N" at the bottom centre.
    const QSizeF size = out.pageSize;
    QRectF timeBox, dateBox, pageBox;
    for (const Word &word : words(pdf)) {
        if (word.text == QLatin1String("14:05"))
            timeBox = word.box;
        else if (word.text == QLatin1String("2026-06-05"))
            dateBox = word.box;
        else if (word.text == QLatin1String("page") || (word.text == QLatin1String("1") && !pageBox.isNull()))
            pageBox |= word.box;
    }
    if (time)
        QVERIFY(timeBox.left() < size.width() / 10 && timeBox.bottom() < size.height() / 10);
    if (date)
        QVERIFY(qAbs(dateBox.right() - (size.width() - (PdfPrint::kPageMarginMm + 2) * 72 / 25.4)) < 2 &&
                dateBox.bottom() < size.height() / 10);
    if (time && date)
        QCOMPARE(timeBox.top(), dateBox.top());
    if (pageNumbers)
        QVERIFY(qAbs(pageBox.center().x() - size.width() / 2) < 3 && pageBox.top() > size.height() * 0.9);
}

void TestTablePrinter::borders_data()
{
    QTest::addColumn<bool>("borders");
    QTest::newRow("borders") << true;
    QTest::newRow("none") << false;
}

// Empty cells leave ink on the page only through their borders.
void TestTablePrinter::borders()
{
    QFETCH(bool, borders);
    PrintOptions options = bare();
    options.borders = borders;
    options.region = CellRegion{0, 1, 0, 2}; // the titles row is filled blue
    const QImage page = render(m_dir, writePdf(m_dir, ListTableCells({""}, {{""}, {""}}), {}, options));
    QVERIFY(!page.isNull());
    int ink = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            ink += qGray(page.pixel(x, y)) < 128;
    QCOMPARE(ink > 0, borders);
}

void TestTablePrinter::titleLineAcrossPage_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("title") << "Holiday CDs";
    QTest::newRow("no title") << "";
}

// The line under the title runs across the whole printable width; without
// a title there is no line.
void TestTablePrinter::titleLineAcrossPage()
{
    QFETCH(QString, title);
    PrintOptions options = bare();
    options.title = title;
    const QImage page = render(m_dir, writePdf(m_dir, ListTableCells({}, {}), {}, options));
    QVERIFY(!page.isNull());
    int longestRun = 0;
    for (int y = 0; y < page.height() / 4; ++y) {
        int run = 0;
        for (int x = 0; x < page.width(); ++x) {
            run = qGray(page.pixel(x, y)) < 160 ? run + 1 : 0;
            longestRun = std::max(longestRun, run);
        }
    }
    // Less the two 10 mm borders of the page's 297 mm.
    QCOMPARE(longestRun > page.width() * 0.9 * 277 / 297, !title.isEmpty());
}

void TestTablePrinter::noTextLost_data()
{
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("commentLength");
    const QList<int> screen(5, 100);
    QTest::newRow("screen widths") << screen << true << 60 << 8;
    QTest::newRow("sized to the text") << QList<int>{} << true << 60 << 8;
    QTest::newRow("a row taller than a page") << screen << true << 2 << 6000;
}

// A cell longer than its column wraps inside its row: every character is
// printed, the date and time stay on one line, and a row moves to the next
// page whole unless it is taller than a page.
void TestTablePrinter::noTextLost()
{
    QFETCH(QList<int>, widths);
    QFETCH(bool, landscape);
    QFETCH(int, rows);
    QFETCH(int, commentLength);
    const QString date = QStringLiteral("06/14/1998 12:34:56");
    QList<QStringList> data;
    for (int i = 0; i < rows; ++i) {
        QString path = QStringLiteral("/home/someone/");
        for (int depth = 0; depth < 6; ++depth)
            path += QStringLiteral("folder-%1-%2/").arg(i).arg(depth);
        data << QStringList{QStringLiteral("file%1withalongnamethatnowherecanbreak.txt").arg(i),
                            QStringLiteral("123456789"), date, path,
                            QStringLiteral("keep%1 ").arg(i).repeated(commentLength / 6 + 1)};
    }
    PrintOptions options = bare();
    options.landscape = landscape;
    const QString pdf =
        writePdf(m_dir, ListTableCells(TableRules::titles(TableRules::View::Catalog), data), widths, options);
    const Printout out = read(pdf);
    QVERIFY(!out.text.contains(QChar(0x2026)));
    QVERIFY(out.text.contains(date));
    const QString clash = overlap(words(pdf), out.pageSize);
    QVERIFY2(clash.isEmpty(), qPrintable(clash));
    const QString all = drawnText(pdf);
    QStringList pages;
    for (int page = 1; page <= out.pages; ++page)
        pages << drawnText(pdf, page);
    for (const QStringList &row : data) {
        for (const QString &cell : row)
            QVERIFY2(all.contains(QString(cell).remove(u' ')), qPrintable(cell));
        if (commentLength < 100) {
            const QString whole = row.join(QString()).remove(u' ');
            QCOMPARE(std::count_if(pages.begin(), pages.end(),
                                   [&](const QString &p) { return p.contains(whole); }),
                     1);
        }
    }
    QCOMPARE(out.pages > 1, rows > 2 || commentLength > 100);
}

void TestTablePrinter::titleOnOneLine_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("printed");
    QTest::newRow("wider than the page") << QStringLiteral("Holiday CDs ").repeated(40)
                                         << QStringLiteral("^Holiday CDs (Holiday CDs )+\\S*\u2026$");
    QTest::newRow("line breaks") << QStringLiteral("Holiday\nCDs\r\nof\r2026") << "^Holiday CDs of 2026$";
}

void TestTablePrinter::titleOnOneLine()
{
    QFETCH(QString, title);
    QFETCH(QString, printed);
    PrintOptions options = bare();
    options.title = title;
    const Printout out = read(writePdf(m_dir, numberedRows(2), {}, options));
    QCOMPARE(out.pages, 1);
    const QString first = out.text.trimmed().section(u'\n', 0, 0).trimmed();
    QVERIFY2(QRegularExpression(printed).match(first).hasMatch(), qPrintable(first));
}

void TestTablePrinter::nothingOverlaps_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("landscape");
    for (double points : {10.0, 72.0, 400.0}) {
        QTest::addRow("%g points, landscape", points) << points << true;
        QTest::addRow("%g points, portrait", points) << points << false;
    }
}

// However large the font, the title, time, date, cells and page number keep
// apart from each other and on the page.
void TestTablePrinter::nothingOverlaps()
{
    QFETCH(double, points);
    QFETCH(bool, landscape);
    PrintOptions options = bare();
    options.time = options.date = options.pageNumbers = options.borders = true;
    options.title = QStringLiteral("Holiday");
    options.landscape = landscape;
    options.font = QFont(QStringLiteral("DejaVu Sans"), int(points));
    const QString pdf = writePdf(m_dir, numberedRows(3), {}, options);
    const Printout out = read(pdf);
    const QList<Word> all = words(pdf);
    QStringList seen;
    for (const Word &word : all)
        seen << word.text;
    for (const char *expected : {"Holiday", "14:05", "2026-06-05", "page", "1", "row1x", "row3x"})
        QVERIFY2(seen.contains(QLatin1String(expected)), expected);
    const QString clash = overlap(all, out.pageSize);
    QVERIFY2(clash.isEmpty(), qPrintable(clash));
}

QTEST_MAIN(TestTablePrinter)
#include "tst_tableprinter.moc"
