#include "library/CommaText.h"
#include "library/DateFormats.h"
#include "table/DateKeyReader.h"
#include "table/LineFields.h"
#include "table/TableRules.h"

#include <QTest>

using TableRules::CellColour;

class TestTableRules : public QObject
{
    Q_OBJECT

private slots:
    void lineFieldsAgreeWithSplit_data();
    void lineFieldsAgreeWithSplit();
    void hint_data();
    void hint();
    void colour_data();
    void colour();
    void zipFileName_data();
    void zipFileName();
    void editable_data();
    void editable();
    void alignment_data();
    void alignment();
    void keys();
    void dateKeysMatchParse_data();
    void dateKeysMatchParse();
    void dateKeysOrder();
};

void TestTableRules::lineFieldsAgreeWithSplit_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("plain catalog line") << R"("a.txt","12","01/02/2024 10:00:00","/home/","")";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << " \t ";
    QTest::newRow("doubled quotes") << R"("say ""hi""","x""")";
    QTest::newRow("unclosed quote") << R"("a","b)";
    QTest::newRow("unquoted fields") << "abc,def ghi,,\"j\"";
    QTest::newRow("text after quote") << R"("a"b,"c")";
    QTest::newRow("nul ends line") << QString::fromUtf16(u"\"a\",\"b\0\",\"c\"", 13);
    QTest::newRow("comma inside quotes") << R"("a,b" , "c" ,)";
    QTest::newRow("leading blanks") << "   \"x\"";
    QTest::newRow("lone quote") << "\"";
}

void TestTableRules::lineFieldsAgreeWithSplit()
{
    QFETCH(QString, line);
    const QStringList fields = CommaText::split(line);
    QCOMPARE(LineFields::count(line), int(fields.size()));
    QCOMPARE(LineFields::hasFields(line), !fields.isEmpty());
    for (int k = 0; k <= fields.size() + 1; ++k)
        QCOMPARE(LineFields::text(line, k), CommaText::field(fields, k));
}

void TestTableRules::hint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString fifty(50, u'n');
    const QString fiftyOne = fifty + u'x';
    QTest::newRow("empty") << "" << "";
    QTest::newRow("single space") << " " << "";
    QTest::newRow("two spaces") << "  " << "  ";
    QTest::newRow("short") << "a.txt" << "a.txt";
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
    QTest::newRow("upper zip then dir") << 5 << 1 << R"(/media/cd/ARCHIVE.ZIP\docs\)" << CellColour::ZipMember;
    QTest::newRow("lower zip") << 5 << 3 << "/home/a.zip/" << CellColour::ZipMember;
    QTest::newRow("mixed case") << 5 << 1 << R"(/media/cd/Archive.Zip\docs\)" << CellColour::Normal;
    QTest::newRow("result view") << 6 << 2 << "/x.ZIP/" << CellColour::ZipMember;
    QTest::newRow("plain path") << 5 << 1 << "/home/user/" << CellColour::Normal;
    QTest::newRow("title row") << 5 << 0 << "/x.zip/" << CellColour::Header;
    QTest::newRow("report never aqua") << 7 << 1 << "/x.zip/" << CellColour::Normal;
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
    QTest::newRow("upper") << "BACKUP.ZIP" << true;
    QTest::newRow("lower") << "backup.zip" << true;
    QTest::newRow("mixed") << "Backup.Zip" << true;
    QTest::newRow("only extension") << ".zip" << true;
    QTest::newRow("other extension") << "backup.zip.txt" << false;
    QTest::newRow("longer extension") << "backup.zipx" << false;
    QTest::newRow("no dot") << "zip" << false;
    QTest::newRow("slash after dot") << "old.zip/readme" << false;
    QTest::newRow("backslash after dot") << R"(old.zip\readme)" << false;
    QTest::newRow("empty") << "" << false;
}

void TestTableRules::zipFileName()
{
    QFETCH(QString, name);
    QFETCH(bool, expected);
    QCOMPARE(TableRules::isZipFileName(name), expected);
}

void TestTableRules::editable_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("expected");
    QTest::newRow("catalog comment") << 5 << 4 << 1 << true;
    QTest::newRow("catalog comment title") << 5 << 4 << 0 << false;
    QTest::newRow("catalog name") << 5 << 0 << 3 << false;
    QTest::newRow("catalog size") << 5 << 1 << 3 << false;
    QTest::newRow("result comment") << 6 << 4 << 1 << false;
    QTest::newRow("result catalog") << 6 << 5 << 1 << false;
    QTest::newRow("result name") << 6 << 0 << 1 << false;
    QTest::newRow("report comment") << 7 << 6 << 2 << true;
    QTest::newRow("report name") << 7 << 0 << 2 << false;
    QTest::newRow("report column 4") << 7 << 4 << 2 << false;
}

void TestTableRules::editable()
{
    QFETCH(int, columns);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(bool, expected);
    QCOMPARE(TableRules::isEditable(columns, column, row), expected);
}

void TestTableRules::alignment_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("horizontal");
    QTest::newRow("title centred") << 5 << 1 << 0 << int(Qt::AlignHCenter);
    QTest::newRow("catalog size right") << 5 << 1 << 1 << int(Qt::AlignRight);
    QTest::newRow("catalog date left") << 5 << 2 << 1 << int(Qt::AlignLeft);
    QTest::newRow("result size right") << 6 << 1 << 4 << int(Qt::AlignRight);
    QTest::newRow("report total right") << 7 << 2 << 1 << int(Qt::AlignRight);
    QTest::newRow("report free right") << 7 << 3 << 1 << int(Qt::AlignRight);
    QTest::newRow("report type left") << 7 << 1 << 1 << int(Qt::AlignLeft);
    QTest::newRow("report title centred") << 7 << 2 << 0 << int(Qt::AlignHCenter);
}

void TestTableRules::alignment()
{
    QFETCH(int, columns);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(int, horizontal);
    const Qt::Alignment a = TableRules::alignment(columns, column, row);
    QCOMPARE(int(a & Qt::AlignHorizontal_Mask), horizontal);
}

void TestTableRules::keys()
{
    QVERIFY(TableRules::isJumpLetter(u'm'));
    QVERIFY(TableRules::isJumpLetter(u'Z'));
    QVERIFY(!TableRules::isJumpLetter(u'1'));
    QVERIFY(!TableRules::isJumpLetter(u'@'));   // just below 'A'
    QVERIFY(!TableRules::isJumpLetter(u'\u00e9'));
    QVERIFY(TableRules::startsWithLetter(u"Mango", u'm'));
    QVERIFY(TableRules::startsWithLetter(u"mango", u'M'));
    QVERIFY(!TableRules::startsWithLetter(u"-mango", u'm'));
    QVERIFY(!TableRules::startsWithLetter(u"", u'm'));
    QVERIFY(TableRules::deleteAllowed(5));
    QVERIFY(TableRules::deleteAllowed(6));
    QVERIFY(!TableRules::deleteAllowed(7));
    QVERIFY(!TableRules::canSortByClick(2));
    QVERIFY(TableRules::canSortByClick(3));
    QVERIFY(TableRules::editChangesCatalog(5));
    QVERIFY(!TableRules::editChangesCatalog(7));
}

void TestTableRules::dateKeysMatchParse_data()
{
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<QString>("timeFormat");
    QTest::addColumn<QStringList>("texts");
    const QStringList odd{"", "   ", "garbage", "02/30/2024", "13.13.2024", "1/2/24"};
    auto rendered = [](const DateFormats &f) {
        QStringList texts;
        texts << f.format(QDateTime(QDate(2024, 1, 2), QTime(9, 5, 8)))
              << f.format(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)))
              << f.format(QDateTime(QDate(2024, 2, 29), QTime(0, 0)))
              << " " + f.format(QDateTime(QDate(2010, 7, 4), QTime(12, 0, 2))) + " ";
        return texts;
    };
    const QList<QPair<QString, QString>> formats{
        {"MM/dd/yyyy", "HH:mm:ss"}, {"dd.MM.yyyy", "HH:mm:ss"},
        {"d/M/yyyy", "H:mm:ss"},   {"yyyy-MM-dd", "HH:mm:ss"},
        {"dd/MM/yyyy", "h:mm:ss AP"}};
    for (const auto &f : formats) {
        const DateFormats df(f.first, f.second);
        QTest::newRow(qPrintable(f.first + " " + f.second)) << f.first << f.second
                                                           << rendered(df) + odd;
    }
}

void TestTableRules::dateKeysMatchParse()
{
    QFETCH(QString, dateFormat);
    QFETCH(QString, timeFormat);
    QFETCH(QStringList, texts);
    const DateFormats formats(dateFormat, timeFormat);
    const DateKeyReader reader(formats);
    for (const QString &text : texts) {
        const QDateTime when = formats.parse(text);
        const qint64 expected = when.isValid()
            ? when.date().toJulianDay() * 86400000 + when.time().msecsSinceStartOfDay()
            : DateKeyReader::Unreadable;
        QVERIFY2(reader.key(text) == expected, qPrintable(text));
    }
}

void TestTableRules::dateKeysOrder()
{
    const DateKeyReader reader{DateFormats()};
    QVERIFY(reader.hasFastPath());
    const qint64 empty = reader.key(u"");
    const qint64 dayOnly = reader.key(u"01/02/2024");
    const qint64 morning = reader.key(u"01/02/2024 09:00:00");
    const qint64 yearBefore = reader.key(u"12/31/2023 23:59:58");
    QCOMPARE(empty, DateKeyReader::Unreadable);
    QVERIFY(yearBefore < dayOnly);
    QVERIFY(dayOnly < morning);
}

QTEST_GUILESS_MAIN(TestTableRules)
#include "tst_tablerules.moc"
