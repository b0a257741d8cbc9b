#include "table/CellMatcher.h"
#include "table/TableSearch.h"

#include "AstralWildcards.h"

#include <QTest>

namespace {

constexpr int Case = CellMatcher::CaseSensitive;
constexpr int Whole = CellMatcher::WholeWords;
constexpr int Wild = CellMatcher::WildCards;

// A table given by its rows, titles in row 0, read the way the grid is.
struct Grid {
    QList<QStringList> rows;
    int columnCount() const { return rows.isEmpty() ? 0 : int(rows.first().size()); }
    int rowCount() const { return int(rows.size()); }
    TableSearch::CellReader reader() const
    {
        return [this](int column, int row) { return rows.at(row).value(column); };
    }
};

// Two columns, nine data rows; "hit" sits at column 0 row 9 and column 1
// row 2, so column order and row order disagree.
Grid columnOrderGrid()
{
    Grid grid;
    grid.rows.append(QStringList{"File Name", "Size"});
    for (int r = 1; r <= 9; ++r)
        grid.rows.append(QStringList{r == 9 ? "hit" : "x", r == 2 ? "hit" : "y"});
    return grid;
}

using Position = QPair<int, int>;

Position matchOf(const TableSearch &search)
{
    return {search.matchColumn(), search.matchRow()};
}

} // namespace

class TestTableSearch : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void astralCharacters_data();
    void astralCharacters();
    void columnMajorOrderAndWrap();
    void titleRowIsNeverTested();
    void emptyTextDoesNothing();
    void findNextKeepsTheFirstSearch();
    void findNextBeforeFindFirst();
    void emptyTables_data();
    void emptyTables();
    void findFirstStartsAgain();
};

void TestTableSearch::matches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("expected");

    QTest::newRow("substring ignoring case") << "readme" << 0 << "old README.TXT" << true;
    QTest::newRow("case: other case fails") << "readme" << Case << "README.TXT" << false;
    QTest::newRow("case: same case found") << "README" << Case << "old README.TXT" << true;
    QTest::newRow("whole: small letters find capitals") << "readme.txt" << Whole << "README.TXT" << true;
    QTest::newRow("whole: longer cell fails") << "readme.txt" << Whole << "README.TXT.BAK" << false;
    QTest::newRow("whole: part of cell fails") << "readme" << Whole << "readme.txt" << false;
    QTest::newRow("case+whole: equal cell") << "README.TXT" << (Case | Whole) << "README.TXT" << true;
    QTest::newRow("case+whole: other case fails") << "readme.txt" << (Case | Whole) << "README.TXT" << false;
    QTest::newRow("stars are plain text") << "*.txt" << 0 << "a.txt" << false;
    QTest::newRow("star found as text") << "*.txt" << 0 << "list *.txt" << true;
    QTest::newRow("empty cell") << "a" << 0 << "" << false;

    QTest::newRow("star and extension") << "*.txt" << Wild << "notes.txt" << true;
    QTest::newRow("case always counts") << "*.txt" << Wild << "NOTES.TXT" << false;
    QTest::newRow("case option ignored") << "*.txt" << (Wild | Case) << "NOTES.TXT" << false;
    QTest::newRow("whole option ignored") << "*.txt" << (Wild | Whole) << "notes.txt" << true;
    QTest::newRow("question mark, one letter") << "?.txt" << Wild << "a.txt" << true;
    QTest::newRow("question mark, two letters") << "?.txt" << Wild << "ab.txt" << false;
    QTest::newRow("whole cell, not a part") << "notes" << Wild << "my notes.txt" << false;
    QTest::newRow("star inside") << "n*s.t?t" << Wild << "notes.txt" << true;
    QTest::newRow("star matches none") << "*" << Wild << "" << true;
    QTest::newRow("two stars match none") << "**" << Wild << "" << true;
    QTest::newRow("question mark needs one") << "?" << Wild << "" << false;
    QTest::newRow("many stars") << "*a*a*a*a*a*a*b" << Wild << QString(200, u'a') << false;
    QTest::newRow("leading ! inverts a match") << "!*.txt" << Wild << "notes.txt" << false;
    QTest::newRow("leading ! inverts a miss") << "!*.txt" << Wild << "notes.doc" << true;
    QTest::newRow("! anywhere inverts") << "*.t!xt" << Wild << "notes.doc" << true;
    QTest::newRow("! matches no character") << "*.t!xt" << Wild << "notes.txt" << false;
    QTest::newRow("two ! cancel") << "!!*.txt" << Wild << "notes.txt" << true;
    QTest::newRow("! without wild cards is text") << "!a" << 0 << "x!a" << true;

    // Comparisons, with wild cards on.
    const auto row = [](const QString &pattern, const QString &cell, bool expected) {
        const auto tag = [](const QString &t) {
            return t.size() < 9 ? t : t.left(2) + QString::number(t.size());
        };
        QTest::addRow("%s on %s", qPrintable(tag(pattern)), qPrintable(tag(cell)))
            << pattern << Wild << cell << expected;
    };
    row(">m", "n", true);
    row(">m", "m", false);
    row(">m", "M", false);
    row(">=m", "M", true);
    row("<m", "L", true);
    row("<=M", "m", true);
    row(">abc", "ABCD", true);
    row("<=10", "9", false);
    row(">   m", "n", true);
    row(">m  ", "n", true);

    row(">b & <d", "c", true);
    row(">b & <d", "a", false);
    row(">b&<d", "C", true);
    row(">b & <d", "d", false);
    row("<b ^ >d", "a", true);
    row("<b ^ >d", "c", false);
    row("<b ^ >d & <f", "g", false);
    row("<b ^ >d & <f", "e", true);

    row("!>m", "a", true);
    row("!>b & <d", "c", false);

    row(">m", ">m", true);
    row(">", ">", true);
    row(">", "z", false);
    row(">b &", "c", false);
    row(">b <d", "c", false);

    // Only the first ComparedLength characters are compared.
    const QString limit(CellMatcher::ComparedLength, u'a');
    row(">" + limit, limit + "b", false);
    row(">=" + limit, limit + "b", true);
    row("<" + limit + "z", limit, false);
    row("<=" + limit + "b", limit + "z", true);
    row(">" + limit.left(254) + "a", limit.left(254) + "b", true);
}

void TestTableSearch::matches()
{
    QFETCH(QString, text);
    QFETCH(int, options);
    QFETCH(QString, cell);
    QFETCH(bool, expected);
    QCOMPARE(CellMatcher(text, options).matches(cell), expected);
}

void TestTableSearch::columnMajorOrderAndWrap()
{
    const Grid grid = columnOrderGrid();
    TableSearch search;
    QCOMPARE(search.findFirst("hit", 0, grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Found);
    QCOMPARE(matchOf(search), Position(0, 9));
    QCOMPARE(search.findNext(u"hit", grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Found);
    QCOMPARE(matchOf(search), Position(1, 2));
    QCOMPARE(search.findNext(u"hit", grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::NoMoreMatch);
    QCOMPARE(matchOf(search), Position(-1, -1));
    QCOMPARE(search.findNext(u"hit", grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Found);
    QCOMPARE(matchOf(search), Position(0, 9));
}

void TestTableSearch::titleRowIsNeverTested()
{
    const Grid grid = columnOrderGrid();
    TableSearch search;
    QCOMPARE(search.findFirst("Size", Whole, grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::NoMatch);
    // Wrapping round starts at row 1 too.
    QCOMPARE(search.findNext(u"Size", grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::NoMoreMatch);
}

void TestTableSearch::emptyTextDoesNothing()
{
    const Grid grid = columnOrderGrid();
    TableSearch search;
    QCOMPARE(search.findFirst("hit", 0, grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Found);
    QCOMPARE(search.findFirst("", 0, grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Ignored);
    QCOMPARE(search.findNext(u"", grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Ignored);
    QCOMPARE(matchOf(search), Position(0, 9));
}

void TestTableSearch::findNextKeepsTheFirstSearch()
{
    const Grid grid = columnOrderGrid();
    TableSearch search;
    QCOMPARE(search.findFirst("HIT", Whole, grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Found);
    // What the box holds now is not read, only whether it is empty.
    QCOMPARE(search.findNext(u"y", grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Found);
    QCOMPARE(matchOf(search), Position(1, 2));
}

void TestTableSearch::findNextBeforeFindFirst()
{
    const Grid grid = columnOrderGrid();
    TableSearch search;
    QCOMPARE(search.findNext(u"hit", grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Ignored);
    QCOMPARE(matchOf(search), Position(-1, -1));
}

void TestTableSearch::emptyTables_data()
{
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<int>("rowCount");
    QTest::newRow("titles only") << 2 << 1;
    QTest::newRow("no columns") << 0 << 3;
    QTest::newRow("nothing") << 0 << 0;
}

void TestTableSearch::emptyTables()
{
    QFETCH(int, columnCount);
    QFETCH(int, rowCount);
    int reads = 0;
    const TableSearch::CellReader reader = [&reads](int, int) {
        ++reads;
        return QStringLiteral("hit");
    };
    TableSearch search;
    QCOMPARE(search.findFirst("hit", 0, columnCount, rowCount, reader), TableSearch::Outcome::NoMatch);
    QCOMPARE(reads, 0);
}

void TestTableSearch::findFirstStartsAgain()
{
    const Grid grid = columnOrderGrid();
    TableSearch search;
    search.findFirst("hit", 0, grid.columnCount(), grid.rowCount(), grid.reader());
    search.findNext(u"hit", grid.columnCount(), grid.rowCount(), grid.reader());
    QCOMPARE(matchOf(search), Position(1, 2));
    QCOMPARE(search.findFirst("h?t", Wild, grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::Found);
    QCOMPARE(matchOf(search), Position(0, 9));
    QCOMPARE(search.findFirst("nowhere", 0, grid.columnCount(), grid.rowCount(), grid.reader()),
             TableSearch::Outcome::NoMatch);
    QCOMPARE(matchOf(search), Position(-1, -1));
}

void TestTableSearch::astralCharacters_data()
{
    AstralWildcards::addRows();
}

void TestTableSearch::astralCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, expected);
    QCOMPARE(CellMatcher(pattern, CellMatcher::WildCards).matches(text), expected);
}

QTEST_GUILESS_MAIN(TestTableSearch)
#include "tst_tablesearch.moc"
