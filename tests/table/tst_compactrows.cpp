#include "HostileCatalog.h"
#include "library/CellFields.h"
#include "library/CommaText.h"
#include "library/SortedLineList.h"
#include "table/DateKeyReader.h"
#include "table/RowOrder.h"
#include "table/VisualTableModel.h"

#include <QTest>

#include <algorithm>

using TableRules::SortKind;

// The table keeps its rows as UTF-8 and sorts them without decoding whole
// lines; what it shows must stay what a plain list of QString lines gives.
// Each case runs the model beside a plain list of lines, sorted with the
// cell comparison, over awkward catalog lines and compares every cell and
// line after each step.
class TestCompactRows : public QObject
{
    Q_OBJECT

private slots:
    void matchesReference_data();
    void matchesReference();
};

namespace {

// The table as a list of QString lines.
struct ReferenceTable {
    QList<QString> rows;

    void fill(const QStringList &lines)
    {
        rows.clear();
        for (const QString &line : lines) {
            if (CellFields::hasFields(line))
                rows << line;
        }
        rows.resize(lines.size());
    }

    void setCell(int column, int row, QString text)
    {
        text.replace(u'\n', u' ').replace(u'\r', u' ').replace(QChar(u'\0'), u' ');
        QStringList fields = CommaText::split(rows[row - 1]);
        while (fields.size() <= column)
            fields << QString();
        fields[column] = text;
        rows[row - 1] = CommaText::join(fields);
    }

    void sort(int column, SortKind kind, bool descending, const DateKeyReader &dates)
    {
        std::stable_sort(rows.begin(), rows.end(), [&](const QString &a, const QString &b) {
            // The cell order on decoded cells, apart from the packed keys.
            const int c =
                RowOrder::compareCells(CellFields::text(a, column), CellFields::text(b, column), kind, dates);
            return descending ? c > 0 : c < 0;
        });
    }
};

void compareAll(const VisualTableModel &model, const ReferenceTable &reference, const char *step)
{
    QCOMPARE(model.tableRowCount(), int(reference.rows.size()) + 1);
    for (int r = 1; r < model.tableRowCount(); ++r) {
        const QString &line = reference.rows.at(r - 1);
        QVERIFY2(model.rowLine(r) == line, qPrintable(QString("%1, row %2").arg(step).arg(r)));
        for (int c = 0; c < model.columnCount(); ++c) {
            QVERIFY2(model.cell(c, r) == CellFields::text(line, c),
                     qPrintable(QString("%1, row %2, column %3").arg(step).arg(r).arg(c)));
        }
    }
}

} // namespace

void TestCompactRows::matchesReference_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<quint32>("seed");
    // Filled by taking over a line list's storage rather than copying lines.
    QTest::addColumn<bool>("taken");
    for (quint32 seed : {1u, 2u}) {
        const QByteArray n = QByteArray::number(seed);
        QTest::newRow("catalog " + n) << int(TableRules::View::Catalog) << seed << false;
        QTest::newRow("results " + n) << int(TableRules::View::Result) << seed << false;
        QTest::newRow("report " + n) << int(TableRules::View::Report) << seed << false;
    }
    QTest::newRow("catalog taken") << int(TableRules::View::Catalog) << 1u << true;
    QTest::newRow("results taken") << int(TableRules::View::Result) << 2u << true;
}

void TestCompactRows::matchesReference()
{
    QFETCH(int, view);
    QFETCH(quint32, seed);
    QFETCH(bool, taken);
    const DateKeyReader dates{DateFormats()};
    VisualTableModel model;
    if (TableRules::View(view) == TableRules::View::Result)
        model.setUpResultView();
    else if (TableRules::View(view) == TableRules::View::Report)
        model.setUpReportView();
    QStringList lines = HostileCatalog::lines(seed, 1500);
    const QStringList catalogs{"Disk", "disk", "DISK", "Ärchiv", "\U0001F600", "\uFF21"};
    for (qsizetype i = 0; i < lines.size(); ++i)
        lines[i] += ",\"" + catalogs.at(i % catalogs.size()) + '"';
    // Cells beyond 64 KB are read apart from their line.
    lines << CommaText::join({QString(70000, u'n'), "1", "", QString(70000, u'p'), "", "x"});
    lines << CommaText::join({QString(70000, u'N') + "\"", "2", "", QString(70000, u'P'), "", "X"});

    ReferenceTable reference;
    if (taken) {
        SortedLineList list;
        list.addAll(lines);
        lines.clear();
        for (qsizetype i = 0; i < list.count(); ++i)
            lines << QString::fromUtf8(list.utf8At(i));
        model.fill(std::move(list));
        QVERIFY(list.isEmpty());
    } else {
        model.fill(lines);
    }
    reference.fill(lines);
    compareAll(model, reference, "fill");
    if (QTest::currentTestFailed())
        return;

    for (int column = 0; column < model.columnCount(); ++column) {
        const SortKind kind = TableRules::sortKind(model.columnCount(), column);
        for (bool descending : {false, true}) {
            model.sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
            reference.sort(column, kind, descending, dates);
            const QByteArray step = "sort by " + QByteArray::number(column) + (descending ? " down" : " up");
            compareAll(model, reference, step.constData());
            if (QTest::currentTestFailed())
                return;
        }
    }

    const QStringList edits{"new \"name\", with comma", "\U0001F600 émoji", "line\nbreak", "", "K"};
    for (int i = 0; i < 60; ++i) {
        const int row = 1 + (i * 97) % (model.tableRowCount() - 1);
        const int column = i % model.columnCount();
        model.setCell(column, row, edits.at(i % edits.size()));
        reference.setCell(column, row, edits.at(i % edits.size()));
    }
    compareAll(model, reference, "edit");
    if (QTest::currentTestFailed())
        return;

    for (int from : {1, 200, 700}) {
        model.removeTableRows(from, 150);
        reference.rows.remove(from - 1, 150);
    }
    compareAll(model, reference, "remove");
    if (QTest::currentTestFailed())
        return;
    model.sort(0, Qt::AscendingOrder);
    reference.sort(0, TableRules::sortKind(model.columnCount(), 0), false, dates);
    compareAll(model, reference, "sort after edits");
}

QTEST_GUILESS_MAIN(TestCompactRows)
#include "tst_compactrows.moc"
