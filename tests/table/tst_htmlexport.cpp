#include "library/CommaText.h"
#include "table/HtmlExport.h"
#include "table/ListTableCells.h"
#include "table/ModelTableCells.h"
#include "table/VisualTableModel.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

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

class TestHtmlExport : public QObject
{
    Q_OBJECT

private slots:
    void catalogPage();
    void cellText_data();
    void cellText();
    void titleLine_data();
    void titleLine();
    void hostileNamesKeepThePageForm();
    void reportAlignsSpacesAndHasNoZipColour();
};

void TestHtmlExport::catalogPage()
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

void TestHtmlExport::cellText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "a.txt" << QString("a.txt");
    QTest::newRow("empty cell") << "" << QString("<br>");
    QTest::newRow("single space stays") << " " << QString(" ");
    QTest::newRow("quotes") << R"(say "hi")"
                            << "say &quot;hi&quot;";
    QTest::newRow("a reference typed as text") << "&#233;" << QString("&amp;#233;");
    QTest::newRow("stray surrogate") << QString(QChar(0xD800)) << "&#65533;";
    QTest::newRow("LF") << "a\nb" << QString("a<br>b");
    QTest::newRow("lone CR") << "a\rb" << QString("a<br>b");
    QTest::newRow("blank line kept") << "a\n\nb" << QString("a<br><br>b");
    QTest::newRow("CR LF CR LF") << "a\r\n\r\nb" << QString("a<br><br>b");
    QTest::newRow("tab, NUL and DEL") << QString::fromLatin1("a\tb\0c\x7f", 6) << "a&#9225;b&#9216;c&#9249;";
    QTest::newRow("C1 controls spelled out") << "x\u0085\u009b" << QString("x&lt;U+0085&gt;&lt;U+009B&gt;");
}

void TestHtmlExport::cellText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(HtmlExport::cellText(text), expected);
}

void TestHtmlExport::titleLine_data()
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

void TestHtmlExport::titleLine()
{
    QFETCH(QString, title);
    QFETCH(QString, expected);
    const QStringList lines = pageLines(HtmlExport::page(ListTableCells({"N"}, {}), title));
    QCOMPARE(lines.value(2), expected);
    QCOMPARE(lines.size(), 12);
}

void TestHtmlExport::hostileNamesKeepThePageForm()
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

void TestHtmlExport::reportAlignsSpacesAndHasNoZipColour()
{
    const QStringList titles{"Catalog Name", "Type",         "Total Space", "Free Space",
                             "Directory",    "Last Updated", "Comment"};
    const QList<QStringList> rows{{"CD1", "CdRom", "650", "0", "/A.ZIP", "", ""}};
    const QStringList lines = pageLines(HtmlExport::page(ListTableCells(titles, rows), ""));
    const QStringList cells = lines.mid(16, 7);
    QCOMPARE(cells, (QStringList{"<td nowrap>CD1</td>", "<td nowrap>CdRom</td>",
                                 R"(<td nowrap align="right">650</td>)", R"(<td nowrap align="right">0</td>)",
                                 "<td nowrap>/A.ZIP</td>", "<td nowrap><br></td>", "<td nowrap><br></td>"}));
}

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
