#include "HostileCatalog.h"
#include "library/CommaText.h"
#include "library/SortedLineList.h"
#include "queries/ResultOrder.h"
#include "queries/ResultRun.h"
#include "table/DateKeyReader.h"
#include "table/RowOrder.h"
#include "table/VisualTableModel.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <numeric>

namespace {

QString entry(const QString &name, const QString &size = QString(), const QString &date = QString(),
              const QString &path = QStringLiteral("/data/"), const QString &comment = QString())
{
    return CommaText::join({name, size, date, path, comment});
}

QStringList column(const VisualTableModel &model, int c)
{
    QStringList cells;
    for (int r = 1; r < model.tableRowCount(); ++r)
        cells << model.cell(c, r);
    return cells;
}

} // namespace

using TableRules::SortKind;

class TestVisualTableModel : public QObject
{
    Q_OBJECT
private slots:
    void emptyTableHasTitlesAndOneRow();
    void fillLeavesBlankLinesAtTheEnd();
    void fillResultView();
    void sortByColumn_data();
    void sortByColumn();
    void headerClicks();
    void sortKeepsSelection();
    void setCellKeepsOtherCells();
    void editingComments_data();
    void editingComments();
    void removeRows();
    void widenedTableHidesOldFields();
    void displayRoles();
    void letterJump();
    void modelTesterThroughChanges();
    void orderMatchesReference_data();
    void orderMatchesReference();
    void runsFillAsJoinedLines();
};

void TestVisualTableModel::emptyTableHasTitlesAndOneRow()
{
    VisualTableModel model;
    QCOMPARE(model.tableRowCount(), 2);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.cell(0, 0), QString("File Name"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("File Size"));
    model.setUpReportView();
    QCOMPARE(model.columnCount(), 9);
    QCOMPARE(model.cell(6, 0), QString("Comment"));
    QCOMPARE(model.cell(8, 0), QString("UUID"));
    QVERIFY(!model.sortIndicatorShown());
    model.setUpResultView();
    QCOMPARE(model.cell(5, 0), QString("Catalog Name"));
    QVERIFY(model.sortIndicatorShown());
}

void TestVisualTableModel::fillLeavesBlankLinesAtTheEnd()
{
    VisualTableModel model;
    model.fill({entry("a.txt", "1"), "", entry("b.txt", "2"), "  \t", entry("c.txt", "3")});
    QCOMPARE(model.tableRowCount(), 6);
    QCOMPARE(column(model, 0), QStringList({"a.txt", "b.txt", "c.txt", "", ""}));
    QCOMPARE(model.cell(1, 3), QString("3"));
    QCOMPARE(model.cell(3, 1), QString("/data/"));
    model.fill({}); // nothing to show keeps what is shown
    QCOMPARE(model.tableRowCount(), 6);

    // The same when the rows take over a line list's storage.
    SortedLineList list;
    list.addAll({entry("c.txt", "3"), "", entry("a.txt", "1"), "  \t", entry("b.txt", "2")});
    VisualTableModel taken;
    taken.fill(std::move(list));
    QCOMPARE(column(taken, 0), QStringList({"a.txt", "b.txt", "c.txt", "", ""}));
    taken.fill(SortedLineList());
    QCOMPARE(taken.tableRowCount(), 6);
}

void TestVisualTableModel::fillResultView()
{
    VisualTableModel model;
    model.setUpResultView();
    const QString line = entry("a.txt", "1") + ",\"Backup\"";
    model.fill({line});
    QCOMPARE(model.cell(5, 1), QString("Backup"));
    // The same line in the catalog view shows five cells only.
    model.setUpCatalogView();
    model.fill({line});
    QCOMPARE(model.cell(5, 1), QString());
}

void TestVisualTableModel::sortByColumn_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("ascending");
    // A size that is no number sorts first; an empty size is 0.
    QTest::newRow("sizes") << 5 << 1 << QStringList{"10", "", "9", "abc", "100", "-1", "x"}
                           << QStringList{"abc", "x", "-1", "", "9", "10", "100"};
    // Dates that cannot be read sort as the earliest.
    QTest::newRow("dates")
        << 5 << 2 << QStringList{"01/02/2024 10:00:00", "",          "12/31/2023", "garbage",
                                 "01/02/2024 09:59:58", "01/02/2024"}
        << QStringList{
               "", "garbage", "12/31/2023", "01/02/2024", "01/02/2024 09:59:58", "01/02/2024 10:00:00"};
    // Texts equal ignoring case keep a fixed order: upper before lower.
    QTest::newRow("names ignore case") << 5 << 0 << QStringList{"b", "ab", "B", "a", "A", "_x"}
                                       << QStringList{"A", "a", "ab", "B", "b", "_x"};
    QTest::newRow("report by code") << TableRules::ReportColumnCount << 0 << QStringList{"b", "B", "a", "A"}
                                    << QStringList{"A", "B", "a", "b"};
}

void TestVisualTableModel::sortByColumn()
{
    QFETCH(int, columns);
    QFETCH(int, sortColumn);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, ascending);
    VisualTableModel model;
    if (columns == 6)
        model.setUpResultView();
    else if (columns == TableRules::ReportColumnCount)
        model.setUpReportView();
    model.setTableRowCount(cells.size() + 1);
    for (int i = 0; i < cells.size(); ++i) {
        model.setCell(sortColumn, i + 1, cells.at(i));
        model.setCell(columns - 1 == sortColumn ? 0 : columns - 1, i + 1, QString::number(i));
    }
    model.sort(sortColumn, Qt::AscendingOrder);
    QCOMPARE(column(model, sortColumn), ascending);
    model.sort(sortColumn, Qt::DescendingOrder);
    // Rows of equal keys keep their order, so descending is checked pairwise.
    const QStringList descending = column(model, sortColumn);
    const DateKeyReader dates{DateFormats()};
    const auto kind = TableRules::sortKind(columns, sortColumn);
    for (int i = 1; i < descending.size(); ++i)
        QVERIFY(RowOrder::compareCells(descending.at(i - 1), descending.at(i), kind, dates) >= 0);
    QCOMPARE(descending.size(), ascending.size());
}

void TestVisualTableModel::headerClicks()
{
    VisualTableModel model;
    model.fill({entry("only", "5")});
    model.headerClicked(1); // one data row: no sort, no change of state
    QCOMPARE(model.sortColumn(), 0);
    model.fill({entry("b", "1"), entry("a", "3"), entry("c", "2")});
    QSignalSpy spy(&model, &VisualTableModel::sortStateChanged);
    model.headerClicked(1);
    QCOMPARE(model.sortColumn(), 1);
    QCOMPARE(model.sortOrder(), Qt::AscendingOrder);
    QCOMPARE(column(model, 0), QStringList({"b", "c", "a"}));
    model.headerClicked(1);
    QCOMPARE(model.sortOrder(), Qt::DescendingOrder);
    QCOMPARE(column(model, 0), QStringList({"a", "c", "b"}));
    model.headerClicked(1);
    QCOMPARE(model.sortOrder(), Qt::AscendingOrder);
    model.headerClicked(0);
    QCOMPARE(model.sortColumn(), 0);
    QCOMPARE(model.sortOrder(), Qt::AscendingOrder);
    QCOMPARE(column(model, 0), QStringList({"a", "b", "c"}));
    QCOMPARE(spy.count(), 4);
}

void TestVisualTableModel::sortKeepsSelection()
{
    VisualTableModel model;
    model.fill({entry("a", "30"), entry("b", "10"), entry("c", "20")});
    const QPersistentModelIndex selected = model.index(0, 4);
    model.headerClicked(1);
    QCOMPARE(selected.row(), 2);
    QCOMPARE(selected.column(), 4);
    QCOMPARE(model.data(model.index(selected.row(), 0)).toString(), QString("a"));
}

void TestVisualTableModel::setCellKeepsOtherCells()
{
    VisualTableModel model;
    model.fill({entry("a \"quoted\", name", "12", "01/02/2024", "/x/", "old")});
    QVERIFY(model.setCell(4, 1, "say \"hi\", then\r\nbye\0ok"));
    QCOMPARE(model.cell(4, 1), QString("say \"hi\", then  bye"));
    QVERIFY(model.setCell(4, 1, QString::fromUtf16(u"a\0b", 3)));
    QCOMPARE(model.cell(4, 1), QString("a b"));
    QCOMPARE(model.cell(0, 1), QString("a \"quoted\", name"));
    QCOMPARE(model.cell(2, 1), QString("01/02/2024"));
    QVERIFY(!model.setCell(5, 1, "x"));
    QVERIFY(!model.setCell(0, 2, "x"));
    QVERIFY(model.setCell(0, 0, "Name"));
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Name"));
}

void TestVisualTableModel::editingComments_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("editable");
    QTest::newRow("catalog comment") << 5 << 4 << true;
    QTest::newRow("catalog name") << 5 << 0 << false;
    QTest::newRow("result comment") << 6 << 4 << false;
    const int report = TableRules::ReportColumnCount;
    QTest::newRow("report comment") << report << 6 << true;
    QTest::newRow("report directory") << report << 4 << false;
    QTest::newRow("report label") << report << 7 << false;
}

void TestVisualTableModel::editingComments()
{
    QFETCH(int, columns);
    QFETCH(int, column);
    QFETCH(bool, editable);
    VisualTableModel model;
    if (columns == 6)
        model.setUpResultView();
    else if (columns == TableRules::ReportColumnCount)
        model.setUpReportView();
    model.setTableRowCount(3);
    QSignalSpy edited(&model, &VisualTableModel::cellEdited);
    const QModelIndex idx = model.index(1, column);
    QCOMPARE(bool(model.flags(idx) & Qt::ItemIsEditable), editable);
    QCOMPARE(model.setData(idx, "new"), editable);
    QCOMPARE(model.cell(column, 2), editable ? QString("new") : QString());
    QCOMPARE(edited.count(), editable ? 1 : 0);
    if (editable) {
        QCOMPARE(edited.at(0).at(1).toInt(), 2);
        model.setData(idx, "new"); // unchanged text is no edit
        QCOMPARE(edited.count(), 1);
    }
}

void TestVisualTableModel::removeRows()
{
    VisualTableModel model;
    model.fill({entry("a"), entry("b"), entry("c"), entry("d")});
    model.removeTableRows(2, 2);
    QCOMPARE(column(model, 0), QStringList({"a", "d"}));
    model.removeTableRows(0, 1); // the titles never go
    QCOMPARE(model.cell(0, 0), QString("File Name"));
    QCOMPARE(model.tableRowCount(), 3);
    model.removeTableRows(2, 10);
    QCOMPARE(column(model, 0), QStringList({"a"}));
    model.removeTableRows(1, 1);
    QCOMPARE(model.tableRowCount(), 2);
    QCOMPARE(model.cell(0, 1), QString());
}

void TestVisualTableModel::widenedTableHidesOldFields()
{
    VisualTableModel model;
    model.fill({entry("a.txt") + ",\"Hidden\""});
    model.setColumnCount(6);
    QCOMPARE(model.cell(0, 1), QString("a.txt"));
    QCOMPARE(model.cell(5, 1), QString());
}

void TestVisualTableModel::displayRoles()
{
    VisualTableModel model;
    model.fill({entry("BACKUP.ZIP", "10", "", "/cd/"), entry("doc.txt", "5", "", "/cd/OLD.ZIP\\a\\"),
                entry(QString(51, u'n'), " ")});
    using R = VisualTableModel;
    QVERIFY(model.data(model.index(0, 0), R::IsZipFileRole).toBool());
    QVERIFY(!model.data(model.index(0, 1), R::IsZipFileRole).toBool());
    QVERIFY(!model.data(model.index(1, 0), R::IsZipFileRole).toBool());
    QCOMPARE(model.data(model.index(1, 2), R::CellColourRole).toInt(),
             int(TableRules::CellColour::ZipMember));
    QCOMPARE(model.data(model.index(0, 2), R::CellColourRole).toInt(), int(TableRules::CellColour::Normal));
    QCOMPARE(model.headerData(0, Qt::Horizontal, R::CellColourRole).toInt(),
             int(TableRules::CellColour::Header));
    QCOMPARE(model.data(model.index(2, 0), Qt::ToolTipRole).toString(), QString(45, u'n') + "...");
    QVERIFY(!model.data(model.index(2, 1), Qt::ToolTipRole).isValid());
    QCOMPARE(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
             int(Qt::AlignRight));
    // A changed path recolours the row.
    model.setCell(3, 1, "/cd/");
    QCOMPARE(model.data(model.index(0, 0), R::CellColourRole).toInt(), int(TableRules::CellColour::Normal));
}

void TestVisualTableModel::letterJump()
{
    VisualTableModel model;
    model.fill({entry("apple"), entry("banana"), entry("kiwi"), entry("lime"), entry("lemon"),
                entry("\"mango\""), entry("Mango"), entry("melon")});
    QCOMPARE(model.firstRowStartingWith(u'm'), 7);
    QCOMPARE(model.firstRowStartingWith(u'M'), 7);
    QCOMPARE(model.firstRowStartingWith(u'L'), 4);
    QCOMPARE(model.firstRowStartingWith(u'z'), -1);
    QCOMPARE(model.firstRowStartingWith(u'"'), -1);
}

void TestVisualTableModel::modelTesterThroughChanges()
{
    VisualTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList lines;
    for (int i = 0; i < 50; ++i)
        lines << entry(QStringLiteral("f%1.txt").arg(i % 7), QString::number((i * 37) % 11));
    lines << "";
    model.fill(lines);
    QPersistentModelIndex kept = model.index(10, 1);
    model.headerClicked(1);
    model.headerClicked(1);
    model.headerClicked(0);
    QVERIFY(kept.isValid());
    model.removeTableRows(5, 3);
    model.setTableRowCount(70);
    model.setTableRowCount(4);
    model.setData(model.index(0, 4), "comment");
    model.setColumnCount(6);
    model.setUpReportView();
    model.setTableRowCount(3);
    model.setCell(6, 2, "x");
    model.removeTableRows(1, 2);
    model.clearCells();
    QCOMPARE(model.tableRowCount(), 2);
}

namespace {

// Cells from a small alphabet with long shared beginnings, case variants,
// quotes and lengths around the four-character steps.
QString textCell(QRandomGenerator &rng)
{
    static const QStringList parts{"/media/disk/", "a", "A", "ab", "aB", "\"q\"", "é", "É", "Z", "z", "_",
                                   "1234",         "/"};
    QString cell;
    const int n = rng.bounded(6);
    for (int i = 0; i < n; ++i)
        cell += parts.at(rng.bounded(int(parts.size())));
    return cell;
}

QString sizeCell(QRandomGenerator &rng)
{
    static const QStringList odd{"", "x", "12a", " ", "-3", "99999999999"};
    return rng.bounded(4) == 0 ? odd.at(rng.bounded(int(odd.size()))) : QString::number(rng.bounded(50));
}

QString dateCell(QRandomGenerator &rng)
{
    if (rng.bounded(5) == 0)
        return rng.bounded(2) ? QString() : QStringLiteral("02/30/2024");
    const QDateTime when(QDate(2020, 1 + rng.bounded(3), 1 + rng.bounded(3)),
                         QTime(rng.bounded(2), 0, rng.bounded(2) * 2));
    return DateFormats().format(when);
}

} // namespace

// The column sort works on packed keys, four characters at a time; its
// result must equal a plain sort with the cell comparison, rows of equal
// cells keeping their order.
void TestVisualTableModel::orderMatchesReference_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rows");
    for (int rows : {5, 40, 3000}) {
        const QByteArray n = QByteArray::number(rows);
        QTest::newRow("text ignoring case " + n) << int(SortKind::TextNoCase) << rows;
        QTest::newRow("text by code " + n) << int(SortKind::TextByCode) << rows;
        QTest::newRow("size " + n) << int(SortKind::Size) << rows;
        QTest::newRow("date " + n) << int(SortKind::Date) << rows;
    }
}

void TestVisualTableModel::orderMatchesReference()
{
    QFETCH(int, kind);
    QFETCH(int, rows);
    const auto sortKind = SortKind(kind);
    QRandomGenerator rng(quint32(kind * 1000 + rows));
    const DateKeyReader dates{DateFormats()};
    QStringList cells;
    QList<QString> lines;
    for (int i = 0; i < rows; ++i) {
        const QString cell = sortKind == SortKind::Size   ? sizeCell(rng)
                             : sortKind == SortKind::Date ? dateCell(rng)
                                                          : textCell(rng);
        cells << cell;
        lines << CommaText::join({QString::number(i), cell});
    }
    for (bool descending : {false, true}) {
        std::vector<int> expected(rows);
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            const int c = RowOrder::compareCells(cells.at(a), cells.at(b), sortKind, dates);
            return descending ? c > 0 : c < 0;
        });
        const std::vector<int> actual = RowOrder::order(lines, 1, sortKind, descending, dates);
        QVERIFY2(actual == expected, descending ? "descending" : "ascending");
    }
}

// Rows taken over from a search's runs hold their lines without the
// catalog's name; they must show and sort exactly as the joined lines do,
// a damaged line whose open quote runs on into the name included.
void TestVisualTableModel::runsFillAsJoinedLines()
{
    QStringList lines = HostileCatalog::lines(1, 300);
    lines << R"("open","3","","/o/","unclosed)";
    const QStringList tails{",\"Disk\"", ",\"disk\"", ",\"\u00C4rchiv\"", ",\"\U0001F600\""};
    std::vector<ResultRun> runs;
    for (const QString &tail : tails)
        runs.emplace_back(tail.toUtf8());
    SortedLineList joined;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        runs[size_t(i % tails.size())].add(lines.at(i).toUtf8());
        joined.addUtf8((lines.at(i) + tails.at(i % tails.size())).toUtf8());
    }
    ResultOrder order;
    for (ResultRun &run : runs)
        run.finish(order);
    VisualTableModel fromRuns;
    VisualTableModel fromLines;
    fromRuns.setUpResultView();
    fromLines.setUpResultView();
    // The rows are ordered off the caller's thread; the caller keeps being
    // called meanwhile, and its views see the old rows until the new ones.
    int waits = 0;
    fromRuns.fill(std::move(runs), [&] {
        ++waits;
        QCOMPARE(fromRuns.tableRowCount(), 2);
    });
    QVERIFY(waits > 0);
    fromLines.fill(joined.lines());
    QCOMPARE(fromRuns.tableRowCount(), fromLines.tableRowCount());
    for (int column = -1; column < fromRuns.columnCount(); ++column) {
        for (bool descending : {false, true}) {
            if (column >= 0) {
                fromRuns.sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
                fromLines.sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
            }
            for (int r = 1; r < fromRuns.tableRowCount(); ++r) {
                QVERIFY2(fromRuns.rowLine(r) == fromLines.rowLine(r),
                         qPrintable(QString("sort by %1, row %2").arg(column).arg(r)));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestVisualTableModel)
#include "tst_visualtablemodel.moc"
