#include "TestSupport.h"
#include "library/CommaText.h"
#include "library/DateFormats.h"
#include "table/ClipboardText.h"
#include "table/DateKeyReader.h"
#include "table/FileDeletion.h"
#include "table/RowOrder.h"
#include "table/TableRules.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using TableRules::CellColour;

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

class TestTableRules : public QObject
{
    Q_OBJECT
private slots:
    void hint_data();
    void hint();
    void colour_data();
    void colour();
    void zipFileName_data();
    void zipFileName();
    void dateKeysMatchParse_data();
    void dateKeysMatchParse();
    void region_data();
    void region();
    void pastedLines_data();
    void pastedLines();
    void canPaste_data();
    void canPaste();
    void planPaste_data();
    void planPaste();
    void cellsBeyond64KSortInPlace();
    void deletionChecksInOrder_data();
    void deletionChecksInOrder();
};

void TestTableRules::hint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString fifty(50, u'n');
    const QString fiftyOne = fifty + u'x';
    QTest::newRow("empty") << "" << QString("");
    QTest::newRow("single space") << " " << QString("");
    QTest::newRow("two spaces") << "  " << QString("  ");
    QTest::newRow("short") << "a.txt" << QString("a.txt");
    QTest::newRow("50 shown whole") << fifty << fifty;
    QTest::newRow("51 cut to 45") << fiftyOne << QString(45, u'n') + "...";
    // A cut inside a surrogate pair would leave half a character.
    const QString emoji = QString(44, u'a') + QString::fromUtf16(u"\U0001F600") + QString(10, u'b');
    QTest::newRow("surrogate at cut") << emoji << QString(44, u'a') + "...";
}

void TestTableRules::hint()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(TableRules::hint(text), expected);
}

void TestTableRules::colour_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("path");
    QTest::addColumn<CellColour>("expected");
    QTest::newRow("upper zip then dir")
        << 5 << 1 << R"(/media/cd/ARCHIVE.ZIP\docs\)" << CellColour::ZipMember;
    QTest::newRow("lower zip") << 5 << 3 << "/home/a.zip/" << CellColour::ZipMember;
    QTest::newRow("mixed case") << 5 << 1 << R"(/media/cd/Archive.Zip\docs\)" << CellColour::Normal;
    QTest::newRow("result view") << 6 << 2 << "/x.ZIP/" << CellColour::ZipMember;
    QTest::newRow("plain path") << 5 << 1 << "/home/user/" << CellColour::Normal;
    QTest::newRow("title row") << 5 << 0 << "/x.zip/" << CellColour::Header;
    QTest::newRow("report never aqua")
        << TableRules::ReportColumnCount << 1 << "/x.zip/" << CellColour::Normal;
}

void TestTableRules::colour()
{
    QFETCH(int, columns);
    QFETCH(int, row);
    QFETCH(QString, path);
    QFETCH(CellColour, expected);
    QCOMPARE(TableRules::cellColour(columns, row, path), expected);
}

void TestTableRules::zipFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");
    QTest::newRow("mixed case") << "Backup.Zip" << true;
    QTest::newRow("only extension") << ".zip" << true;
    QTest::newRow("other extension") << "backup.zip.txt" << false;
    QTest::newRow("longer extension") << "backup.zipx" << false;
    QTest::newRow("slash after dot") << "old.zip/readme" << false;
    QTest::newRow("backslash after dot") << R"(old.zip\readme)" << false;
}

void TestTableRules::zipFileName()
{
    QFETCH(QString, name);
    QFETCH(bool, expected);
    QCOMPARE(TableRules::isZipFileName(name), expected);
}

void TestTableRules::dateKeysMatchParse_data()
{
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<QString>("timeFormat");
    QTest::addColumn<QStringList>("texts");
    const QStringList odd{"",
                          "   ",
                          "garbage",
                          "02/30/2024",
                          "13.13.2024",
                          "1/2/24",
                          "01/02/2024 13:00:00 PM",
                          "01/02/2024 0:10:00 AM",
                          "02/01/2024 1:00:00 XM"};
    auto rendered = [](const DateFormats &f) {
        QStringList texts;
        texts << f.format(QDateTime(QDate(2024, 1, 2), QTime(9, 5, 8)))
              << f.format(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)))
              << f.format(QDateTime(QDate(2024, 2, 29), QTime(0, 0)))
              << f.format(QDateTime(QDate(2024, 3, 1), QTime(0, 30, 4)))
              << " " + f.format(QDateTime(QDate(2010, 7, 4), QTime(12, 0, 2))) + " ";
        return texts;
    };
    const QList<QPair<QString, QString>> formats{{"MM/dd/yyyy", "HH:mm:ss"},   {"dd.MM.yyyy", "HH:mm:ss"},
                                                 {"d/M/yyyy", "H:mm:ss"},      {"yyyy-MM-dd", "HH:mm:ss"},
                                                 {"dd/MM/yyyy", "h:mm:ss AP"}, {"MM/dd/yyyy", "hh:mm:ss ap"}};
    for (const auto &f : formats) {
        const DateFormats df(f.first, f.second);
        QTest::newRow(qPrintable(f.first + " " + f.second)) << f.first << f.second << rendered(df) + odd;
    }
}

void TestTableRules::dateKeysMatchParse()
{
    QFETCH(QString, dateFormat);
    QFETCH(QString, timeFormat);
    QFETCH(QStringList, texts);
    const DateFormats formats(dateFormat, timeFormat);
    const DateKeyReader reader(formats);
    QVERIFY(reader.hasFastPath()); // every usual format avoids the slow parser
    for (const QString &text : texts) {
        const QDateTime when = formats.parse(text);
        const qint64 expected =
            when.isValid() ? when.date().toJulianDay() * 86400000 + when.time().msecsSinceStartOfDay()
                           : DateKeyReader::Unreadable;
        QVERIFY2(reader.key(text) == expected, qPrintable(text));
    }
}

void TestTableRules::region_data()
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
    QTest::newRow("inner rectangle") << catalog << 1 << 2 << 3 << 3
                                     << "2\t01/02/2024\t/home/\r\n3\t01/02/2024\t/home/";
    QTest::newRow("empty cells keep their tabs")
        << catalog << 3 << 1 << 4 << 3 << "/home/\tfirst\r\n/home/\t\r\n/home/\tthird";
    QTest::newRow("nothing selected") << twoByTwo << 1 << 1 << 0 << 0 << "";
}

void TestTableRules::region()
{
    QFETCH(Rows, rows);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, right);
    QFETCH(int, bottom);
    QFETCH(QString, expected);
    QCOMPARE(ClipboardText::region(readerOf(rows), left, top, right, bottom), expected);
}

void TestTableRules::pastedLines_data()
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

void TestTableRules::pastedLines()
{
    QFETCH(QString, text);
    QFETCH(Rows, expected);
    QCOMPARE(ClipboardText::pastedLines(text), expected);
}

void TestTableRules::canPaste_data()
{
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("expected");

    QTest::newRow("catalog comment") << 5 << 4 << 1 << true;
    QTest::newRow("comment title") << 5 << 4 << 0 << false;
    QTest::newRow("catalog path") << 5 << 3 << 1 << false;
    QTest::newRow("result view") << 6 << 4 << 1 << false;
    QTest::newRow("report") << TableRules::ReportColumnCount << 4 << 1 << false;
}

void TestTableRules::canPaste()
{
    QFETCH(int, columnCount);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(bool, expected);
    QCOMPARE(ClipboardText::canPaste(columnCount, column, row), expected);
}

void TestTableRules::planPaste_data()
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

void TestTableRules::planPaste()
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

// A sort reads most cells where they lie in their line; cells that start or
// end beyond 64 KB are read apart, and must sort as the others do.
void TestTableRules::cellsBeyond64KSortInPlace()
{
    const QString longN(70000, u'n');
    const QString longP(70000, u'p');
    const QList<QString> lines{CommaText::join({longN.toUpper() + "b", "1", "", longP + "z"}),
                               CommaText::join({longN + "a", "2", "", longP.toUpper() + "a"}),
                               CommaText::join({"m", "3", "", "q"})};
    const DateKeyReader dates{DateFormats()};
    const auto order = [&](int column, bool descending) {
        return RowOrder::order(lines, column, TableRules::SortKind::TextNoCase, descending, dates);
    };
    QCOMPARE(order(0, false), std::vector<int>({2, 1, 0}));
    QCOMPARE(order(3, false), std::vector<int>({1, 0, 2}));
    QCOMPARE(order(3, true), std::vector<int>({2, 0, 1}));
}

void TestTableRules::deletionChecksInOrder_data()
{
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder"); // below a folder holding a.txt and sub/
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("trashMoves");
    QTest::addColumn<QStringList>("shown"); // %F stands for the full name
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("outcome"); // 0 kept, 1 row removed, 2 and the catalog changed
    const QString proceed = "confirm: Proceed to delete?\n%F";
    const QString insert = "confirm: Insert disk into drive.\nWhen ready click Ok.";
    const QString zip =
        "warning: The option to delete contents of ZIP files is not available in this version.";
    const QString deleted = "Deleted %F";
    const auto row = [](const char *tag, const QString &name, const QString &folder, const QString &drive,
                        const QList<bool> &answers, const QStringList &shown, const QString &status,
                        int outcome, int columns = 5, const QString &cell = "x", bool trashMoves = true) {
        QTest::newRow(tag) << columns << cell << name << folder << drive << answers << trashMoves << shown
                           << status << outcome;
    };
    row("yes", "a.txt", "", "Fixed", {true}, {proceed}, deleted, 2);
    row("no", "a.txt", "", "Fixed", {false}, {proceed}, "", 0);
    row("removable, disk inserted", "a.txt", "", "Removable", {true, true}, {insert, proceed}, deleted, 2);
    row("removable, cancelled", "a.txt", "", "Removable", {false}, {insert}, "", 0);
    row("cd-rom", "a.txt", "", "CdRom", {}, {}, "Not Deleted: The File Is On A CdRom Drive", 0);
    row("unknown drive", "a.txt", "", "Unknown", {}, {}, "Not Deleted: The File's Drive Is Unknown", 0);
    row("zip member", "a.txt", "pack.zip/", "Fixed", {}, {zip}, "", 0);
    row("missing file", "gone.txt", "", "Fixed", {true}, {proceed}, "File Does Not Exists!", 0);
    // A folder's own entry has no name: its path cell must not delete the folder.
    row("row without a name", "", "sub/", "Fixed", {}, {}, "", 0);
    row("name of a folder", "sub", "", "Fixed", {true}, {proceed}, "Not Deleted: The Name Is A Folder", 0);
    row("name too long", "a.txt", QString("d/").repeated(2100), "Fixed", {}, {},
        "Not Deleted: The Full Name Is Longer Than 4096 Bytes", 0);
    // A search result is no row of the open catalog; the report lists catalogs.
    row("search result", "a.txt", "", "Fixed", {true}, {proceed}, deleted, 1, 6);
    row("report", "a.txt", "", "Fixed", {}, {}, "", 0, TableRules::ReportColumnCount);
    row("empty cell", "a.txt", "", "Fixed", {}, {}, "", 0, 5, "");
    row("trash refuses", "a.txt", "", "Fixed", {true}, {proceed}, "Failed To Delete", 0, 5, "x", false);
}

void TestTableRules::deletionChecksInOrder()
{
    QFETCH(int, columnCount);
    QFETCH(QString, cell);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QFETCH(QString, drive);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, trashMoves);
    QFETCH(QStringList, shown);
    QFETCH(QString, status);
    QFETCH(int, outcome);
    QTemporaryDir media;
    TestSupport::writeFile(media.filePath("a.txt"), "a");
    QDir(media.path()).mkdir("sub");
    const FileDeletion::Row row{columnCount, 1, cell, name, media.path() + "/" + folder};
    const QString fullName = row.path + name;

    QStringList asked;
    QStringList trashed;
    const auto answer = [&](const QString &text) {
        asked << "confirm: " + text;
        return !answers.isEmpty() && answers.takeFirst();
    };
    QStringList driveFolders;
    FileDeletion::Host host;
    host.driveType = [&](const QString &at) {
        driveFolders << at;
        return drive;
    };
    host.warning = [&](const QString &text) { asked << "warning: " + text; };
    host.confirmOkCancel = answer;
    host.confirmYesNo = answer;
    host.moveToTrash = [&](const QString &file) {
        trashed << file;
        return trashMoves;
    };
    const FileDeletion::Result result = FileDeletion::run(row, host);
    QCOMPARE(asked, shown.replaceInStrings("%F", fullName));
    QVERIFY(answers.isEmpty());
    QCOMPARE(result.status, status.replace("%F", fullName));
    QCOMPARE(result.removeRow, outcome > 0);
    QCOMPARE(result.catalogChanged, outcome == 2);
    // The drive is that of a folder that exists, even when the listed one is gone.
    for (const QString &at : std::as_const(driveFolders))
        QVERIFY2(QFileInfo(at).isDir(), qPrintable(at));
    QCOMPARE(trashed, outcome > 0 || !trashMoves ? QStringList{fullName} : QStringList());
}

QTEST_GUILESS_MAIN(TestTableRules)
#include "tst_tablerules.moc"
