#include "library/CellFields.h"
#include "library/CommaText.h"

#include <QTest>

class TestCommaText : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void lineBreaksBecomeBlanks();
    void parse_data();
    void parse();
    void lineFieldsAgreeWithSplit_data();
    void lineFieldsAgreeWithSplit();
};

void TestCommaText::roundTrip_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << QStringList{"a.txt", "12", "01/02/2003 04:05:06", "/home/u/", ""};
    QTest::newRow("comma in comment") << QStringList{"a", "1", "", "/", "one, two"};
    QTest::newRow("blanks") << QStringList{"  lead", "trail  ", " ", "/x y/", "tab\there"};
    QTest::newRow("empty last field") << QStringList{"a", "", "", "", ""};
    QTest::newRow("double quotes") << QStringList{"say \"hi\".txt", "\"", "\"\"", "/", "x\"y"};
    QTest::newRow("all empty") << QStringList{"", "", "", "", ""};
    QTest::newRow("non-ascii") << QStringList{"Überschrift ñ.txt", "1", "", "/données/", "日本"};
}

void TestCommaText::roundTrip()
{
    QFETCH(QStringList, fields);
    const QString line = CommaText::join(fields);
    QVERIFY(line.startsWith(u'"'));
    QVERIFY(line.endsWith(u'"'));
    QCOMPARE(CommaText::split(line), fields);
}

void TestCommaText::lineBreaksBecomeBlanks()
{
    const QString line = CommaText::join({"a", "two\r\nlines\nhere"});
    QVERIFY(!line.contains(u'\n') && !line.contains(u'\r'));
    QCOMPARE(CommaText::split(line), QStringList({"a", "two  lines here"}));
}

void TestCommaText::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("empty line") << QString() << QStringList();
    QTest::newRow("blank line") << QString(" \t ") << QStringList();
    QTest::newRow("one empty field") << QString("\"\"") << QStringList{""};
    QTest::newRow("trailing comma drops field") << QString("\"a\",") << QStringList{"a"};
    QTest::newRow("missing trailing field") << QString("\"a\",\"b\"") << QStringList{"a", "b"};
    QTest::newRow("leading comma") << QString(",\"b\"") << QStringList{"", "b"};
    QTest::newRow("unquoted ends at blank") << QString("abc def,ghi") << QStringList{"abc", "def", "ghi"};
    QTest::newRow("unquoted ends at comma")
        << QString("1,0Games,1Disc") << QStringList{"1", "0Games", "1Disc"};
    QTest::newRow("blanks around commas") << QString("  \"a\" ,  \"b\"  ") << QStringList{"a", "b"};
    QTest::newRow("doubled quote") << QString("\"a\"\"b\"") << QStringList{"a\"b"};
    QTest::newRow("unclosed quote takes rest") << QString("\"a,b") << QStringList{"a,b"};
    QTest::newRow("control chars skipped") << QString("\x01\x02\"a\"") << QStringList{"a"};
    QTest::newRow("nul ends text") << QString("\"a\",\"b").append(QChar(0)).append("\",\"c\"")
                                   << QStringList{"a", "b"};
    QTest::newRow("text after closing quote") << QString("\"a\"b,\"c\"") << QStringList{"a", "b", "c"};
}

void TestCommaText::parse()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(CommaText::split(line), fields);
    QCOMPARE(CommaText::field(fields, 9), QString());
}

void TestCommaText::lineFieldsAgreeWithSplit_data()
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

void TestCommaText::lineFieldsAgreeWithSplit()
{
    QFETCH(QString, line);
    const QStringList fields = CommaText::split(line);
    QCOMPARE(CellFields::count(line), int(fields.size()));
    QCOMPARE(CellFields::hasFields(line), !fields.isEmpty());
    for (int k = 0; k <= fields.size() + 1; ++k)
        QCOMPARE(CellFields::text(line, k), CommaText::field(fields, k));
}

QTEST_GUILESS_MAIN(TestCommaText)
#include "tst_commatext.moc"
