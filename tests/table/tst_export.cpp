#include "TestSupport.h"
#include "library/CommaText.h"
#include "table/ExportFile.h"
#include "table/HtmlExport.h"
#include "table/ListTableCells.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"
#include "table/VisualTableModel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

namespace {

QByteArray crlfLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

QString spaces(int n)
{
    return QString(n, u' ');
}

QStringList pageLines(const QByteArray &page)
{
    QStringList lines = QString::fromLatin1(page).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList catalogTitles()
{
    return {"File Name", "File Size", "File Date", "File Path", "Comments"};
}

// xmllint, where installed, reads the page as a browser's parser would.
void assertHtmlParses(const QByteArray &page)
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        return;
    QProcess process;
    process.start(xmllint, {"--html", "--noout", "-"});
    process.write(page);
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished());
    QVERIFY2(process.exitCode() == 0 && process.readAllStandardError().isEmpty(),
             "xmllint reads the page without complaint");
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void width_data();
    void width();
    void formatted_data();
    void formatted();
    void emptyTableWritesTitlesAndABlankLine();
    void catalogFromTheModel();
    void piecesMakeTheWholeFile();
    void catalogPage();
    void cellText_data();
    void cellText();
    void titleLine_data();
    void titleLine();
    void hostileNamesKeepThePageForm();
    void reportAlignsSpacesAndHasNoZipColour();
    void withExtension_data();
    void withExtension();
    void writeReplacesTheOldFile();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
};

void TestExport::width_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("ascii") << "hello" << 5;
    QTest::newRow("accents count as characters, not bytes") << "café" << 4;
    QTest::newRow("astral letter counts once") << QString::fromUtf8("a\xF0\x9D\x90\x80") << 2;
    QTest::newRow("CJK is wide") << "日本語のファイル名.txt" << 22;
    QTest::newRow("conjoining Jamo make one syllable") << "\u1112\u1161" << 2;
    QTest::newRow("emoji is wide") << QString::fromUtf8("a\xF0\x9F\x98\x80") << 3;
    QTest::newRow("combining accent takes none") << "Cafe\u0301.txt" << 8;
    QTest::newRow("zero width space and joiner") << "a\u200Bb\u200D" << 2;
    QTest::newRow("spacing vowel sign") << "\u0915\u093F" << 2;
    QTest::newRow("longest line of LF and CR text") << "abc\nabcdef\rab" << 6;
}

void TestExport::width()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(TextExport::width(text), expected);
}

void TestExport::formatted_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("catalog columns: sizes right, titles centred")
        << QStringList{"Name", "Size"} << QList<QStringList>{{"a", "5"}, {"long name", "12345"}}
        << QStringList{"   Name    Size ", "a" + spaces(13) + "5 ", "long name 12345 "};
    QTest::newRow("report columns: both spaces right")
        << QStringList{"T0", "T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8"}
        << QList<QStringList>{{"a", "b", "c", "d", "e", "f", "g", "h", "i"}}
        << QStringList{"T0 T1 T2 T3 T4 T5 T6 T7 T8 ", "a  b   c  d e  f  g  h  i  "};
    QTest::newRow("result columns: only the size right")
        << QStringList{"N", "S", "D", "P", "C", "K"}
        << QList<QStringList>{{"ab", "ab", "ab", "ab", "ab", "ab"}, {"a", "b", "c", "d", "e", "f"}}
        << QStringList{" N  S  D  P  C  K ", "ab ab ab ab ab ab ", "a   b c  d  e  f  "};
    QTest::newRow("wide and combining names line up by columns")
        << QStringList{"Name", "Size"}
        << QList<QStringList>{{"日本語.txt", "1"}, {"Cafe\u0301", "22"}, {"\U0001F600.txt", "3"}}
        << QStringList{"   Name    Size ", "日本語.txt    1 ", "Cafe\u0301" + spaces(9) + "22 ",
                       "\U0001F600.txt" + spaces(8) + "3 "};
    QTest::newRow("controls written as pictures")
        << QStringList{"Name", "Size", "Comments"}
        << QList<QStringList>{{"esc\x1b[31mred\x01.txt", "1", "tab\there"},
                              {"del\x7f", "2", "c1\u0085\u009f"}}
        << QStringList{spaces(6) + "Name" + spaces(7) + "Size" + spaces(6) + "Comments" + spaces(6),
                       "esc\u241b[31mred\u2401.txt    1 tab\u2409here" + spaces(11),
                       "del\u2421" + spaces(13) + "   2 c1<U+0085><U+009F> "};
    QTest::newRow("a cell with line breaks spreads its row")
        << QStringList{"Name", "Size"} << QList<QStringList>{{"ab\r\nlonger", "7"}}
        << QStringList{" Name  Size ", "ab        7 ", "longer      "};
    QTest::newRow("short rows read as empty cells")
        << QStringList{"Name", "Size"} << QList<QStringList>{{"x"}}
        << QStringList{"Name Size ", "x         "};
}

void TestExport::formatted()
{
    QFETCH(QStringList, titles);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QStringList, expected);
    QCOMPARE(TextExport::formatted(ListTableCells(titles, rows)), crlfLines(expected));
}

void TestExport::emptyTableWritesTitlesAndABlankLine()
{
    VisualTableModel model;
    model.setUpCatalogView();
    const QByteArray bytes = TextExport::formatted(ModelTableCells(model));
    QCOMPARE(bytes, crlfLines({"File Name File Size File Date File Path Comments ", spaces(49)}));
}

void TestExport::catalogFromTheModel()
{
    VisualTableModel model;
    model.setUpCatalogView();
    model.fill({CommaText::join({"Übersicht.doc", "1024", "02/03/2024 10:00:00", "/d/", ""}),
                CommaText::join({"b", "7", "", "/docs/old/", "kept"})});
    const QByteArray bytes = TextExport::formatted(ModelTableCells(model));
    const QStringList expected{
        "  File Name   File Size      File Date       File Path Comments ",
        "Übersicht.doc      1024 02/03/2024 10:00:00 /d/" + spaces(17),
        "b                     7                     /docs/old/ kept     ",
    };
    QCOMPARE(QString::fromUtf8(bytes), QString::fromUtf8(crlfLines(expected)));
    QVERIFY(bytes.contains("\xC3\x9C")); // UTF-8
}

void TestExport::piecesMakeTheWholeFile()
{
    // Enough rows for the text to be handed over in several pieces.
    QList<QStringList> rows;
    for (int i = 0; i < 40000; ++i)
        rows.append({QStringLiteral("file %1 é.txt").arg(i), QString::number(i * 7)});
    const ListTableCells table({"Name", "Size"}, rows);
    QByteArray joined;
    int pieces = 0;
    QVERIFY(TextExport::write(table, [&](const QByteArray &piece) {
        joined += piece;
        ++pieces;
        return true;
    }));
    QVERIFY(pieces > 1);
    QCOMPARE(joined.count("\r\n"), 40001);
    QVERIFY(joined.contains("file 39999 \xC3\xA9.txt 279993 \r\n"));
    int calls = 0;
    // A refused piece stops the writer.
    QVERIFY(!TextExport::write(table, [&](const QByteArray &) {
        ++calls;
        return false;
    }));
    QCOMPARE(calls, 1);
}

void TestExport::catalogPage()
{
    VisualTableModel model;
    model.setUpCatalogView();
    model.fill({CommaText::join({"a.txt", "12", "01/02/2024 10:00:00", "/data/", ""}),
                CommaText::join({"m.doc", "3", "", "/data/pack.ZIP/", "note"})});
    const QByteArray page = HtmlExport::page(ModelTableCells(model), "My disks");
    const QStringList expected{
        "<HTML>",
        "<HEAD>",
        "<TITLE>My disks</TITLE>",
        "</HEAD>",
        "<BODY>",
        "<table border=1>",
        "<tr>",
        R"(<td nowrap BGCOLOR="#C0C0C0"><B>File Name</B></td>)",
        R"(<td nowrap BGCOLOR="#C0C0C0"><B>File Size</B></td>)",
        R"(<td nowrap BGCOLOR="#C0C0C0"><B>File Date</B></td>)",
        R"(<td nowrap BGCOLOR="#C0C0C0"><B>File Path</B></td>)",
        R"(<td nowrap BGCOLOR="#C0C0C0"><B>Comments</B></td>)",
        "</tr>",
        "<tr>",
        "<td nowrap>a.txt</td>",
        R"(<td nowrap align="right">12</td>)",
        "<td nowrap>01/02/2024 10:00:00</td>",
        "<td nowrap>/data/</td>",
        "<td nowrap><br></td>",
        "</tr>",
        "<tr>",
        R"(<td nowrap BGCOLOR="#00FFFF"><font color="#000000">m.doc</font></td>)",
        R"(<td nowrap align="right" BGCOLOR="#00FFFF"><font color="#000000">3</font></td>)",
        R"(<td nowrap BGCOLOR="#00FFFF"><font color="#000000"><br></font></td>)",
        R"(<td nowrap BGCOLOR="#00FFFF"><font color="#000000">/data/pack.ZIP/</font></td>)",
        R"(<td nowrap BGCOLOR="#00FFFF"><font color="#000000">note</font></td>)",
        "</tr>",
        "</table>",
        "</BODY>",
        "</HTML>",
    };
    QCOMPARE(pageLines(page), expected);
    QVERIFY(page.endsWith("</HTML>\r\n"));
    QCOMPARE(page.count('\n'), page.count("\r\n"));
}

// Plain text, empty cells, quotes and CR LF are the catalog page's and the
// hostile names' rows.
void TestExport::cellText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("single space stays") << " " << QString(" ");
    QTest::newRow("a reference typed as text") << "&#233;" << QString("&amp;#233;");
    QTest::newRow("stray surrogate") << QString(QChar(0xD800)) << "&#65533;";
    QTest::newRow("lone CR") << "a\rb" << QString("a<br>b");
    QTest::newRow("blank line kept") << "a\n\nb" << QString("a<br><br>b");
    QTest::newRow("CR LF CR LF") << "a\r\n\r\nb" << QString("a<br><br>b");
    QTest::newRow("tab, NUL and DEL") << QString::fromLatin1("a\tb\0c\x7f", 6) << "a&#9225;b&#9216;c&#9249;";
    QTest::newRow("C1 controls spelled out") << "x\u0085\u009b" << QString("x&lt;U+0085&gt;&lt;U+009B&gt;");
}

void TestExport::cellText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(HtmlExport::cellText(text), expected);
}

void TestExport::titleLine_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << "" << QString("<TITLE></TITLE>");
    QTest::newRow("plain") << "CD 12" << QString("<TITLE>CD 12</TITLE>");
    QTest::newRow("closing its own tag")
        << "</TITLE><script>x</script>"
        << QString("<TITLE>&lt;/TITLE&gt;&lt;script&gt;x&lt;/script&gt;</TITLE>");
    QTest::newRow("non-ASCII") << "Été" << QString("<TITLE>&#201;t&#233;</TITLE>");
    QTest::newRow("line breaks stay on the line") << "a\r\nb\nc" << QString("<TITLE>a b c</TITLE>");
    QTest::newRow("controls as pictures") << "a\x1b\x07" << QString("<TITLE>a&#9243;&#9223;</TITLE>");
}

void TestExport::titleLine()
{
    QFETCH(QString, title);
    QFETCH(QString, expected);
    const QStringList lines = pageLines(HtmlExport::page(ListTableCells({"N"}, {}), title));
    QCOMPARE(lines.value(2), expected);
    QCOMPARE(lines.size(), 12);
}

void TestExport::hostileNamesKeepThePageForm()
{
    const QList<QStringList> rows{
        {"<script>alert(1)</script>.txt", "1", "", "/x/", "</td></tr></table>"},
        {"Tom & Jerry.avi", "2", "", "/x/", "line one\r\nline two"},
        {"Ölmühle \"quoted\".zip", "3", "", QString::fromUtf8("/\xF0\x9F\x98\x80/"), "日本"},
        {"esc\x1b[31mred\x01.txt", "4", "", "/x/", "\x7f\u0085"},
    };
    const QByteArray page = HtmlExport::page(ListTableCells(catalogTitles(), rows), "<b>");
    for (const char byte : page) {
        QVERIFY2(uchar(byte) < 0x80, "the page is plain ASCII");
        QVERIFY2(uchar(byte) >= 0x20 || byte == '\r' || byte == '\n', "no control character");
    }
    assertHtmlParses(page);
    const QStringList lines = pageLines(page);
    // Six lines before the rows, a row's cells between <tr> and </tr>, three after.
    QCOMPARE(lines.size(), 6 + 5 * (5 + 2) + 3);
    for (const QString &line : lines)
        QVERIFY2(!line.contains("<script") && !line.contains("<b>"), qPrintable(line));
    QCOMPARE(lines.at(14), "<td nowrap>&lt;script&gt;alert(1)&lt;/script&gt;.txt</td>");
    QCOMPARE(lines.at(18), "<td nowrap>&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;</td>");
    QCOMPARE(lines.at(25), "<td nowrap>line one<br>line two</td>");
    QCOMPARE(lines.at(28), "<td nowrap>&#214;lm&#252;hle &quot;quoted&quot;.zip</td>");
    QCOMPARE(lines.at(31), "<td nowrap>/&#128512;/</td>");
    QCOMPARE(lines.at(32), "<td nowrap>&#26085;&#26412;</td>");
    QCOMPARE(lines.at(35), "<td nowrap>esc&#9243;[31mred&#9217;.txt</td>");
}

void TestExport::reportAlignsSpacesAndHasNoZipColour()
{
    const QStringList titles{"Catalog Name", "Type",    "Total Space", "Free Space", "Directory",
                             "Last Updated", "Comment", "Label",       "UUID"};
    const QList<QStringList> rows{{"CD1", "CdRom", "650", "0", "/A.ZIP", "", "", "DISC", "1A2B"}};
    const QStringList lines = pageLines(HtmlExport::page(ListTableCells(titles, rows), ""));
    const QStringList cells = lines.mid(18, 9);
    QCOMPARE(cells, (QStringList{"<td nowrap>CD1</td>", "<td nowrap>CdRom</td>",
                                 R"(<td nowrap align="right">650</td>)", R"(<td nowrap align="right">0</td>)",
                                 "<td nowrap>/A.ZIP</td>", "<td nowrap><br></td>", "<td nowrap><br></td>",
                                 "<td nowrap>DISC</td>", "<td nowrap>1A2B</td>"}));
}

void TestExport::withExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");
    const QString txt = ExportFile::kTextExtension;
    const QString htm = ExportFile::kHtmlExtension;
    QTest::newRow("no extension") << "/home/u/list" << txt << "/home/u/list.txt";
    QTest::newRow("mixed case") << "list.Txt" << txt << "list.Txt";
    QTest::newRow("the other export's extension") << "list.htm" << txt << "list.htm.txt";
    QTest::newRow("html page") << "page" << htm << "page.htm";
}

void TestExport::withExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(QString, expected);
    QCOMPARE(ExportFile::withExtension(name, extension), expected);
}

void TestExport::writeReplacesTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    QVERIFY(TestSupport::writeFile(path, "old contents that are longer\r\n"));
    QString error;
    QVERIFY2(ExportFile::write(path, "new\r\n", &error), qPrintable(error));
    QCOMPARE(TestSupport::readFile(path), QByteArray("new\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"list.txt"});
}

void TestExport::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a folder in the way") << "taken.txt";
    QTest::newRow("a missing folder") << "missing/list.txt";
}

void TestExport::failedWriteKeepsTheOldFile()
{
    QFETCH(QString, target);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("taken.txt"));
    QVERIFY(TestSupport::writeFile(dir.filePath("taken.txt/inside"), "kept"));
    const QString path = dir.filePath(target);
    QString error;
    QVERIFY(!ExportFile::write(path, "new", &error));
    QVERIFY2(error.contains(path), qPrintable(error));
    QVERIFY2(error.size() > path.size() + 12, qPrintable(error)); // a reason follows the name
    QCOMPARE(TestSupport::readFile(dir.filePath("taken.txt/inside")), QByteArray("kept"));
    QVERIFY(!QFileInfo(dir.filePath("missing")).exists());
}

void TestExport::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pieces");
    QTest::newRow("one large piece") << 64 * 1024 << 1;
    // Small pieces stay in the file's buffer until it is flushed.
    QTest::newRow("a few small pieces") << 100 << 3;
}

void TestExport::fullDiskKeepsTheOldFile()
{
    QFETCH(int, size);
    QFETCH(int, pieces);
    QTemporaryDir dir;
    QString reason;
    if (!TestSupport::mountTmpfs(dir.path(), 256, &reason))
        QSKIP(qPrintable(reason));
    const QString path = dir.filePath("page.htm");
    const QByteArray old = "<HTML>\r\nold page\r\n</HTML>\r\n";
    QVERIFY(TestSupport::writeFile(path, old));
    TestSupport::fillDisk(dir.path());
    QString error;
    const auto produce = [&](const ByteSink &sink) {
        for (int i = 0; i < pieces; ++i) {
            if (!sink(QByteArray(size, 'x')))
                return false;
        }
        return true;
    };
    const bool written = ExportFile::write(path, produce, &error);
    const QByteArray after = TestSupport::readFile(path);
    TestSupport::unmount(dir.path());
    QVERIFY(!written);
    QCOMPARE(after, old);
    QVERIFY2(error.contains(path), qPrintable(error));
    QVERIFY2(error.contains(qt_error_string(ENOSPC)), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
