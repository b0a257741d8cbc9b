#include "library/CommaText.h"
#include "table/DateKeyReader.h"
#include "table/RowOrder.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <numeric>

using TableRules::SortKind;

// The column sort works on packed keys, four characters at a time; its
// result must equal a plain sort with the cell comparison, rows of equal
// cells keeping their order.
class TestRowOrder : public QObject
{
    Q_OBJECT

private slots:
    void matchesReference_data();
    void matchesReference();
};

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

void TestRowOrder::matchesReference_data()
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

void TestRowOrder::matchesReference()
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

QTEST_GUILESS_MAIN(TestRowOrder)
#include "tst_roworder.moc"
