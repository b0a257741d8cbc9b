#include "table/ClipboardText.h"

#include <QTest>

namespace {

using Rows = QList<QStringList>;

ClipboardText::CellReader readerOf(const Rows &rows)
{
    return [rows](int column, int row) { return rows.at(row).value(column); };
}

// A catalog view: titles and three data rows.
const Rows catalog{
    {"File Name", "Size", "File Date", "File Path", "Comments"},
    {"a.txt", "1", "01/02/2024", "/home/", "first"},
    {"b.txt", "2", "01/02/2024", "/home/", ""},
    {"c.txt", "3", "01/02/2024", "/home/", "third"},
};

} // namespace

Q_DECLARE_METATYPE(Rows)

class TestClipboardText : public QObject
{
    Q_OBJECT

private slots:
    void region_data();
    void region();
    void wholeTableTakesTitlesAndEveryColumn();
    void pastedLines_data();
    void pastedLines();
    void canPaste_data();
    void canPaste();
    void planPaste_data();
    void planPaste();
};

void TestClipboardText::region_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<QString>("expected");

    const Rows twoByTwo{{"Name", "Size"}, {"a", "1"}};
    QTest::newRow("two columns, two rows") << twoByTwo << 0 << 0 << 1 << 1 << "Name\tSize\r\na\t1";
    QTest::newRow("one cell") << twoByTwo << 1 << 1 << 1 << 1 << "1";
    QTest::newRow("one column") << twoByTwo << 0 << 0 << 0 << 1 << "Name\r\na";
    QTest::newRow("one row") << twoByTwo << 0 << 1 << 1 << 1 << "a\t1";
    QTest::newRow("inner rectangle") << catalog << 1 << 2 << 3 << 3
                                     << "2\t01/02/2024\t/home/\r\n3\t01/02/2024\t/home/";
    QTest::newRow("empty cells keep their tabs")
        << catalog << 3 << 1 << 4 << 3 << "/home/\tfirst\r\n/home/\t\r\n/home/\tthird";
    QTest::newRow("nothing selected") << twoByTwo << 1 << 1 << 0 << 0 << "";
}

void TestClipboardText::region()
{
    QFETCH(Rows, rows);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, right);
    QFETCH(int, bottom);
    QFETCH(QString, expected);
    QCOMPARE(ClipboardText::region(readerOf(rows), left, top, right, bottom), expected);
}

void TestClipboardText::wholeTableTakesTitlesAndEveryColumn()
{
    const QString text = ClipboardText::wholeTable(readerOf(catalog), 5, 4);
    QVERIFY(text.startsWith("File Name\tSize\tFile Date\tFile Path\tComments\r\n"));
    QVERIFY(text.endsWith("c.txt\t3\t01/02/2024\t/home/\tthird"));
    QCOMPARE(text.count("\r\n"), 3);
    QCOMPARE(text.count(u'\t'), 16);
    QCOMPARE(ClipboardText::wholeTable(readerOf(catalog), 0, 4), QString());
}

void TestClipboardText::pastedLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Rows>("expected");

    QTest::newRow("empty") << "" << Rows{};
    QTest::newRow("one word") << "note" << Rows{{"note"}};
    QTest::newRow("CR LF, CR and LF") << "a\r\nb\rc\nd" << Rows{{"a"}, {"b"}, {"c"}, {"d"}};
    QTest::newRow("final break starts no line") << "a\nb\n" << Rows{{"a"}, {"b"}};
    QTest::newRow("blank line kept") << "a\n\nb" << Rows{{"a"}, {""}, {"b"}};
    QTest::newRow("CR then CR LF") << "a\r\r\nb" << Rows{{"a"}, {""}, {"b"}};
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << Rows{{"a"}, {""}, {"b"}};
    QTest::newRow("only a break") << "\r\n" << Rows{{""}};
    QTest::newRow("tabs split fields") << "a\tb\r\nc" << Rows{{"a", "b"}, {"c"}};
    QTest::newRow("empty fields") << "\t\t" << Rows{{"", "", ""}};
}

void TestClipboardText::pastedLines()
{
    QFETCH(QString, text);
    QFETCH(Rows, expected);
    QCOMPARE(ClipboardText::pastedLines(text), expected);
}

void TestClipboardText::canPaste_data()
{
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("expected");

    QTest::newRow("catalog comment") << 5 << 4 << 1 << true;
    QTest::newRow("comment title") << 5 << 4 << 0 << false;
    QTest::newRow("catalog path") << 5 << 3 << 1 << false;
    QTest::newRow("result view") << 6 << 4 << 1 << false;
    QTest::newRow("report") << 7 << 4 << 1 << false;
}

void TestClipboardText::canPaste()
{
    QFETCH(int, columnCount);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(bool, expected);
    QCOMPARE(ClipboardText::canPaste(columnCount, column, row), expected);
}

void TestClipboardText::planPaste_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rowCount");
    // Each write as "row:text", all in column 4.
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<int>("expectedRowCount");

    QTest::newRow("one line replaces one comment") << "new" << 2 << 4 << QStringList{"2:new"} << 4;
    QTest::newRow("lines go down") << "x\ny" << 1 << 4 << QStringList{"1:x", "2:y"} << 4;
    QTest::newRow("three lines at the last row add two")
        << "x\r\ny\r\nz" << 3 << 4 << QStringList{"3:x", "4:y", "5:z"} << 6;
    QTest::newRow("fields right of comments dropped")
        << "x\tsize\tdate\r\ny" << 1 << 4 << QStringList{"1:x", "2:y"} << 4;
    QTest::newRow("blank line clears a comment")
        << "x\n\nz" << 1 << 4 << QStringList{"1:x", "2:", "3:z"} << 4;
    QTest::newRow("empty text writes nothing") << "" << 2 << 4 << QStringList{} << 4;
}

void TestClipboardText::planPaste()
{
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(int, rowCount);
    QFETCH(QStringList, writes);
    QFETCH(int, expectedRowCount);

    const ClipboardText::PastePlan plan = ClipboardText::planPaste(text, 4, row, 5, rowCount);
    QStringList actual;
    for (const ClipboardText::CellWrite &write : plan.writes) {
        QCOMPARE(write.column, 4);
        actual << QString::number(write.row) + u':' + write.text;
    }
    QCOMPARE(actual, writes);
    QCOMPARE(plan.rowCount, expectedRowCount);
}

QTEST_GUILESS_MAIN(TestClipboardText)
#include "tst_clipboardtext.moc"
