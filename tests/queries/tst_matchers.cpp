#include "AstralWildcards.h"
#include "library/CommaText.h"
#include "library/DateFormats.h"
#include "queries/DateRangeMatcher.h"
#include "queries/DateReader.h"
#include "queries/ExtensionMatcher.h"
#include "queries/WordMatcher.h"

#include <QtTest>

namespace {

const QString kReadme =
    QStringLiteral(R"("README.TXT","1997","06/24/1997 14:03:22","/media/cd/docs/","read me first")");
const QString kPhoto = QStringLiteral(R"("Photo.JPG","52311","03/02/2001","/home/ann/","")");
const QString kQuoted = QStringLiteral(R"("say ""hi"".txt","10","01/01/2000","/x/","a, b")");

// Every line of text that findIn hands over.
QStringList found(LineMatcher &m, const QString &text)
{
    QStringList out;
    m.findIn(text, [&](QStringView line) { out << line.toString(); });
    return out;
}

} // namespace

using Order = DateReader::Order;

class TestMatchers : public QObject
{
    Q_OBJECT
private slots:
    void word_data();
    void word();
    void astralCharacters_data();
    void astralCharacters();
    void wordFindInAgreesWithMatches();
    void extension_data();
    void extension();
    void dateRange_data();
    void dateRange();
    void orderOf_data();
    void orderOf();
    void read_data();
    void read();
    void entryDates_data();
    void entryDates();
};

void TestMatchers::word_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("expected");

    QTest::newRow("star lists all") << kPhoto << "*" << false << true;
    QTest::newRow("whole field only") << kReadme << "readme" << false << false;
    QTest::newRow("prefix") << kReadme << "readme*" << false << true;
    QTest::newRow("case sensitive miss") << kReadme << "Readme*" << true << false;
    QTest::newRow("case sensitive hit") << kReadme << "README*" << true << true;
    QTest::newRow("question gets star") << kPhoto << "p?oto" << false << true;
    QTest::newRow("size field") << kReadme << "*97*" << false << true;
    QTest::newRow("path field") << kPhoto << "*/ann/" << false << true;
    QTest::newRow("comment field") << kReadme << "read me first" << false << true;
    QTest::newRow("comment with comma") << kQuoted << "a, b" << false << true;
    QTest::newRow("doubled quote unescaped") << kQuoted << "say \"hi\"*" << false << true;
    QTest::newRow("no field spans a comma") << kPhoto << "*52311\",\"03*" << false << false;
    QTest::newRow("empty name, star") << QStringLiteral(R"("","0","","/a/","")") << "*" << false << true;
    QTest::newRow("short line") << QStringLiteral(R"("notes.txt","12")") << "*.txt" << false << true;
    QTest::newRow("blank line") << QStringLiteral("   ") << "*" << false << false;
    QTest::newRow("non-ascii case") << QStringLiteral(R"("ÉTÉ.doc","1","","/","")") << "été*" << false
                                    << true;
    QTest::newRow("star meets stars")
        << QStringLiteral(R"("a.txt","1","","/","*** todo ***")") << "*todo*" << false << true;
    QTest::newRow("star meets star in name")
        << QStringLiteral(R"("star*name?.txt","1","","/","")") << "star*" << true << true;
    // Linux paths run past 255 characters; the whole field is compared.
    const QString deepLine = QStringLiteral(R"("x.c","1","","/%1/README/","")").arg(QString(300, u'd'));
    QTest::newRow("word past 255, any case") << deepLine << "*readme*" << false << true;
    QTest::newRow("word past 255, case") << deepLine << "*README/" << true << true;
    QTest::newRow("end past 255 differs") << deepLine << "*README" << true << false;
}

void TestMatchers::word()
{
    QFETCH(QString, line);
    QFETCH(QString, word);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, expected);
    WordMatcher m(word, caseSensitive);
    QCOMPARE(m.matches(line), expected);
    // The whole-file scan must give the same answer as the line test.
    QCOMPARE(found(m, line + QStringLiteral("\r\n")).size(), expected ? 1 : 0);
}

void TestMatchers::wordFindInAgreesWithMatches()
{
    const QStringList lines = {kReadme,
                               kPhoto,
                               kQuoted,
                               QStringLiteral(R"("readme","1","","/","")"),
                               QStringLiteral(R"("x","2","","/readme/","")"),
                               QStringLiteral("\"K\",\"3\",\"\",\"/\",\"Kelvin \u212Aey\"")};
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\n\r");
    for (const QString &word : {QStringLiteral("*readme*"), QStringLiteral("readme"),
                                QStringLiteral("*me*fi*"), QStringLiteral("*key*"), QStringLiteral("?")}) {
        for (bool cs : {false, true}) {
            WordMatcher m(word, cs);
            QStringList expected;
            for (const QString &l : lines) {
                if (m.matches(l))
                    expected << l;
            }
            QCOMPARE(found(m, text), expected);
        }
    }
}

void TestMatchers::extension_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("expected");

    const QString txt = QStringLiteral(R"("Read.TXT","1","","/d/","")");
    const QString plain = QStringLiteral(R"("Makefile","1","","/d/","")");
    const QString disk = QStringLiteral(R"("disk.001.bak","1","","/d/","")");
    const QString zipMember = QStringLiteral(R"("sub.d/readme","1","","/d/a.zip","")");
    QTest::newRow("capital pattern") << txt << "*.TXT" << true;
    QTest::newRow("htm not html") << QStringLiteral(R"("p.html","1","","/","")") << "*.htm" << false;
    QTest::newRow("literal star") << txt << "read*.txt" << false;
    QTest::newRow("all") << plain << "*.*" << true;
    QTest::newRow("all needs a name") << QStringLiteral(R"("","1","","/d/","")") << "*.*" << false;
    QTest::newRow("star: no ext") << plain << "*" << true;
    QTest::newRow("star dot: no ext") << plain << "*." << true;
    QTest::newRow("star: has ext") << txt << "*" << false;
    QTest::newRow("question over name") << disk << "*.00?" << true;
    QTest::newRow("question miss") << txt << "*.00?" << false;
    const QString emoji = QStringLiteral("\"x.\U0001F600\",\"1\",\"\",\"/d/\",\"\"");
    QTest::newRow("question takes an emoji") << emoji << "*.?" << true;
    QTest::newRow("two questions, one emoji") << emoji << "*.??" << false;
    QTest::newRow("slash ends ext") << zipMember << "*.d/readme" << false;
    QTest::newRow("slash: no ext") << zipMember << "*" << true;
    QTest::newRow("ext from path") << QStringLiteral(R"("jpg","1","","/a/b.","")") << "*.jpg" << true;
    QTest::newRow("missing path field") << QStringLiteral(R"("a.jpg","1")") << "*.jpg" << true;
    const QString longName = QStringLiteral(R"("%1.001","1","","/d/","")").arg(QString(300, u'n'));
    QTest::newRow("question past 255") << longName << "*.00?" << true;
    QTest::newRow("exact past 255") << longName << "*.001" << true;
    QTest::newRow("question past 255 miss") << longName << "*.01?" << false;
}

void TestMatchers::extension()
{
    QFETCH(QString, line);
    QFETCH(QString, pattern);
    QFETCH(bool, expected);
    ExtensionMatcher m(pattern);
    QCOMPARE(m.matches(line), expected);
}

void TestMatchers::dateRange_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("expected");
    // The range is 01/01/1997 to 01/01/1998, both days left out.
    QTest::newRow("inside") << "06/24/1997 14:03:22" << true;
    QTest::newRow("on From day") << "01/01/1997 10:00:00" << false;
    QTest::newRow("on From, midnight") << "01/01/1997" << false;
    QTest::newRow("midnight inside") << "12/31/1997" << true;
    QTest::newRow("on To day") << "01/01/1998 00:00:02" << false;
    QTest::newRow("after") << "02/01/1998" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("unreadable") << "yesterday" << false;
    QTest::newRow("impossible") << "02/30/1997" << false;
    QTest::newRow("two-digit year") << "06/24/97 01:00:00" << true;
}

void TestMatchers::dateRange()
{
    QFETCH(QString, date);
    QFETCH(bool, expected);
    const DateReader reader(DateReader::Order::MonthDayYear, u'/', 2026);
    DateRangeMatcher m(QDate(1997, 1, 1), QDate(1998, 1, 1), reader);
    QCOMPARE(m.matches(QStringLiteral(R"("a.txt","1","%1","/","")").arg(date)), expected);
    // A line cut short before its date field never matches.
    QVERIFY(!m.matches(QStringLiteral(R"("a.txt","1")")));
}

void TestMatchers::astralCharacters_data()
{
    AstralWildcards::addRows();
}

void TestMatchers::astralCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, expected);
    const QString line = CommaText::join({text, "1", "", "/d/", ""});
    for (const bool caseSensitive : {true, false}) {
        WordMatcher word(pattern, caseSensitive);
        QCOMPARE(word.matches(line), expected);
        QCOMPARE(found(word, line + QStringLiteral("\r\n")).size(), expected ? 1 : 0);
    }
}

void TestMatchers::orderOf_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("order");
    QTest::newRow("US") << "MM/dd/yyyy" << int(Order::MonthDayYear);
    QTest::newRow("German") << "dd.MM.yyyy" << int(Order::DayMonthYear);
    QTest::newRow("ISO") << "yyyy-MM-dd" << int(Order::YearMonthDay);
    QTest::newRow("era first") << "e/M/d" << int(Order::YearMonthDay);
}

void TestMatchers::orderOf()
{
    QFETCH(QString, format);
    QFETCH(int, order);
    QCOMPARE(int(DateReader::orderOf(format)), order);
    QCOMPARE(int(DateReader(DateFormats(format, QStringLiteral("HH:mm:ss")), 2026).order()), order);
}

void TestMatchers::read_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected"); // invalid: not a date

    const int mdy = int(Order::MonthDayYear);
    const int dmy = int(Order::DayMonthYear);
    const int ymd = int(Order::YearMonthDay);
    // The panel's defaults must not land a century ahead.
    QTest::newRow("default From") << mdy << "/" << QString("06/24/97") << QDate(1997, 6, 24);
    QTest::newRow("default To") << mdy << "/" << QString("06/14/98") << QDate(1998, 6, 14);
    QTest::newRow("two-digit recent") << mdy << "/" << QString("01/02/25") << QDate(2025, 1, 2);
    QTest::newRow("window top") << mdy << "/" << QString("01/02/75") << QDate(2075, 1, 2);
    QTest::newRow("window bottom") << mdy << "/" << QString("01/02/76") << QDate(1976, 1, 2);
    QTest::newRow("four-digit") << mdy << "/" << QString("12/31/1999") << QDate(1999, 12, 31);
    QTest::newRow("DMY") << dmy << "." << QString("24.06.1997") << QDate(1997, 6, 24);
    QTest::newRow("YMD") << ymd << "-" << QString("97-06-24") << QDate(1997, 6, 24);
    QTest::newRow("MDY two numbers") << mdy << "/" << QString("6/24") << QDate(2026, 6, 24);
    QTest::newRow("DMY two numbers") << dmy << "." << QString("24.6") << QDate(2026, 6, 24);
    QTest::newRow("YMD two numbers") << ymd << "-" << QString("6-24") << QDate(2026, 6, 24);
    QTest::newRow("trailing separator") << mdy << "/" << QString("6/24/") << QDate(2026, 6, 24);
    QTest::newRow("trailing sep, 3") << dmy << "." << QString("24.6.1997.") << QDate(1997, 6, 24);
    QTest::newRow("blanks around") << mdy << "/" << QString("  6 / 24 /97  ") << QDate(1997, 6, 24);
    QTest::newRow("Feb 30") << mdy << "/" << QString("02/30/1997") << QDate();
    QTest::newRow("Feb 29 leap") << dmy << "." << QString("29.2.2000") << QDate(2000, 2, 29);
    QTest::newRow("Feb 29 no leap") << dmy << "." << QString("29.2.1999") << QDate();
    QTest::newRow("month 13") << mdy << "/" << QString("13/01/1997") << QDate();
    QTest::newRow("one number") << mdy << "/" << QString("1997") << QDate();
    QTest::newRow("four numbers") << mdy << "/" << QString("1/2/1997/4") << QDate();
    QTest::newRow("wrong separator") << mdy << "/" << QString("06-24-97") << QDate();
    QTest::newRow("leftover") << mdy << "/" << QString("06/24/97x") << QDate();
    QTest::newRow("time not allowed") << mdy << "/" << QString("06/24/97 10:00") << QDate();
    QTest::newRow("overlong number") << mdy << "/" << QString("1/1/99999999999") << QDate();
}

void TestMatchers::read()
{
    QFETCH(int, order);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const DateReader reader(Order(order), separator.at(0), 2026);
    QCOMPARE(reader.read(text), expected);
}

void TestMatchers::entryDates_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("with time") << "24.06.1997 14:03:22" << QDate(1997, 6, 24);
    QTest::newRow("midnight, no time") << "24.06.1997" << QDate(1997, 6, 24);
    QTest::newRow("glued text") << "24.06.1997x" << QDate();
    QTest::newRow("bad day") << "31.06.1997 10:00:00" << QDate();
}

void TestMatchers::entryDates()
{
    QFETCH(QString, field);
    QFETCH(QDate, expected);
    const DateReader reader(DateFormats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss")), 2026);
    QCOMPARE(reader.readEntry(field), expected);
}

QTEST_GUILESS_MAIN(TestMatchers)
#include "tst_matchers.moc"
