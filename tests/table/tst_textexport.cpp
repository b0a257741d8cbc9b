#include "library/CommaText.h"
#include "table/ListTableCells.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"
#include "table/VisualTableModel.h"

#include <QTest>

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;

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

} // namespace

class TestTextExport : public QObject
{
    Q_OBJECT

private slots:
    void aligned_data();
    void aligned();
    void width_data();
    void width();
    void formatted_data();
    void formatted();
    void emptyTableWritesTitlesAndABlankLine();
    void catalogFromTheModel();
    void piecesMakeTheWholeFile();
};

void TestTextExport::aligned_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("expected");
    QTest::newRow("left pads to width and one") << "ab" << 4 << int(kLeft) << "ab   ";
    QTest::newRow("left empty") << "" << 3 << int(kLeft) << "    ";
    QTest::newRow("right a in four") << "a" << 4 << int(kRight) << "   a ";
    QTest::newRow("right empty") << "" << 2 << int(kRight) << "   ";
    QTest::newRow("centre exact fit gets its space") << "abcd" << 4 << int(kCentre) << "abcd ";
    QTest::newRow("centre two short") << "ab" << 4 << int(kCentre) << " ab  ";
    QTest::newRow("centre one short ends one longer") << "abc" << 4 << int(kCentre) << " abc ";
    QTest::newRow("centre empty in nothing") << "" << 0 << int(kCentre) << " ";
}

void TestTextExport::aligned()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, alignment);
    QFETCH(QString, expected);
    QCOMPARE(TextExport::aligned(text, width, Qt::Alignment(alignment)), expected);
}

void TestTextExport::width_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("ascii") << "hello" << 5;
    QTest::newRow("accents count as characters, not bytes") << "café" << 4;
    QTest::newRow("astral letter counts once") << QString::fromUtf8("a\xF0\x9D\x90\x80") << 2;
    QTest::newRow("CJK is wide") << "日本語のファイル名.txt" << 22;
    QTest::newRow("full-width letters") << "ＡＢ" << 4;
    QTest::newRow("Hangul syllables") << "한국" << 4;
    QTest::newRow("conjoining Jamo make one syllable") << "\u1112\u1161" << 2;
    QTest::newRow("emoji is wide") << QString::fromUtf8("a\xF0\x9F\x98\x80") << 3;
    QTest::newRow("emoji of the basic plane") << "\u231A" << 2;
    QTest::newRow("combining accent takes none") << "Cafe\u0301.txt" << 8;
    QTest::newRow("zero width space and joiner") << "a\u200Bb\u200D" << 2;
    QTest::newRow("spacing vowel sign") << "\u0915\u093F" << 2;
    QTest::newRow("wide text over lines") << "ab\n日本語" << 6;
    QTest::newRow("longest line of LF and CR text") << "abc\nabcdef\rab" << 6;
}

void TestTextExport::width()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(TextExport::width(text), expected);
}

void TestTextExport::formatted_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("catalog columns: sizes right, titles centred")
        << QStringList{"Name", "Size"} << QList<QStringList>{{"a", "5"}, {"long name", "12345"}}
        << QStringList{"   Name    Size ", "a" + spaces(13) + "5 ", "long name 12345 "};
    QTest::newRow("report columns: both spaces right")
        << QStringList{"T0", "T1", "T2", "T3", "T4", "T5", "T6"}
        << QList<QStringList>{{"a", "b", "c", "d", "e", "f", "g"}}
        << QStringList{"T0 T1 T2 T3 T4 T5 T6 ", "a  b   c  d e  f  g  "};
    QTest::newRow("result columns: only the size right")
        << QStringList{"N", "S", "D", "P", "C", "K"}
        << QList<QStringList>{{"ab", "ab", "ab", "ab", "ab", "ab"}, {"a", "b", "c", "d", "e", "f"}}
        << QStringList{" N  S  D  P  C  K ", "ab ab ab ab ab ab ", "a   b c  d  e  f  "};
    QTest::newRow("non-ASCII widths count characters")
        << QStringList{"N", "S"}
        << QList<QStringList>{{"é", "1"}, {QString::fromUtf8("\xF0\x9D\x90\x80x"), "22"}, {"abc", ""}}
        << QStringList{" N   S ", "é    1 ", QString::fromUtf8("\xF0\x9D\x90\x80x  22 "), "abc    "};
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

void TestTextExport::formatted()
{
    QFETCH(QStringList, titles);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QStringList, expected);
    QCOMPARE(TextExport::formatted(ListTableCells(titles, rows)), crlfLines(expected));
}

void TestTextExport::emptyTableWritesTitlesAndABlankLine()
{
    VisualTableModel model;
    model.setUpCatalogView();
    const QByteArray bytes = TextExport::formatted(ModelTableCells(model));
    QCOMPARE(bytes, crlfLines({"File Name File Size File Date File Path Comments ", spaces(49)}));
}

void TestTextExport::catalogFromTheModel()
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

void TestTextExport::piecesMakeTheWholeFile()
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

QTEST_GUILESS_MAIN(TestTextExport)
#include "tst_textexport.moc"
