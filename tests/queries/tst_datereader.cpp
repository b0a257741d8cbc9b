#include "library/DateFormats.h"
#include "queries/DateReader.h"

#include <QtTest>

using Order = DateReader::Order;

class TestDateReader : public QObject
{
    Q_OBJECT
private slots:
    void orderOf_data();
    void orderOf();
    void read_data();
    void read();
    void entryDates_data();
    void entryDates();
    void message();
};

void TestDateReader::orderOf_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("order");
    QTest::newRow("US") << "MM/dd/yyyy" << int(Order::MonthDayYear);
    QTest::newRow("German") << "dd.MM.yyyy" << int(Order::DayMonthYear);
    QTest::newRow("ISO") << "yyyy-MM-dd" << int(Order::YearMonthDay);
    QTest::newRow("era first") << "e/M/d" << int(Order::YearMonthDay);
}

void TestDateReader::orderOf()
{
    QFETCH(QString, format);
    QFETCH(int, order);
    QCOMPARE(int(DateReader::orderOf(format)), order);
    QCOMPARE(int(DateReader(DateFormats(format, QStringLiteral("HH:mm:ss")), 2026).order()), order);
}

void TestDateReader::read_data()
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

void TestDateReader::read()
{
    QFETCH(int, order);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const DateReader reader(Order(order), separator.at(0), 2026);
    QCOMPARE(reader.read(text), expected);
}

void TestDateReader::entryDates_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("with time") << "24.06.1997 14:03:22" << QDate(1997, 6, 24);
    QTest::newRow("midnight, no time") << "24.06.1997" << QDate(1997, 6, 24);
    QTest::newRow("glued text") << "24.06.1997x" << QDate();
    QTest::newRow("bad day") << "31.06.1997 10:00:00" << QDate();
}

void TestDateReader::entryDates()
{
    QFETCH(QString, field);
    QFETCH(QDate, expected);
    const DateReader reader(DateFormats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss")), 2026);
    QCOMPARE(reader.readEntry(field), expected);
}

void TestDateReader::message()
{
    QCOMPARE(DateReader::invalidDateMessage(QStringLiteral("13/13/13")),
             QStringLiteral("'13/13/13' is not a valid date"));
}

QTEST_GUILESS_MAIN(TestDateReader)
#include "tst_datereader.moc"
