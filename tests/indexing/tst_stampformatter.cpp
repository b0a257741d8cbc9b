#include "indexing/StampFormatter.h"

#include <QtTest>
#include <ctime>

// The cached formatter must write every stamp exactly as DateFormats does,
// across daylight-saving switches and zones with half-hour offsets.
class TstStampFormatter : public QObject
{
    Q_OBJECT

private slots:
    void sameAsDateFormats_data();
    void sameAsDateFormats();
};

void TstStampFormatter::sameAsDateFormats_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("timeFormat");
    QTest::newRow("utc") << QByteArray("UTC") << "HH:mm:ss";
    QTest::newRow("berlin") << QByteArray("Europe/Berlin") << "HH:mm:ss";
    QTest::newRow("lord howe, 12-hour") << QByteArray("Australia/Lord_Howe") << "h:mm:ss AP";
    QTest::newRow("new york") << QByteArray("America/New_York") << "HH:mm:ss";
}

void TstStampFormatter::sameAsDateFormats()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, timeFormat);
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", zone);
    tzset();
    QCOMPARE(QDateTime::fromSecsSinceEpoch(1720000000).offsetFromUtc() != 0, zone != "UTC");
    const DateFormats formats(QStringLiteral("dd.MM.yyyy"), timeFormat);
    StampFormatter stamps(formats);
    int mismatches = 0;
    // Every 15 minutes around the 2024 spring and autumn switches, then a
    // coarse sweep from before the epoch to 2100; odd seconds included.
    for (qint64 s = 1711843200 - 86400; s < 1711843200 + 86400; s += 901)
        mismatches += stamps.format(s) != formats.formatStamp(s);
    for (qint64 s = 1729980000 - 86400; s < 1729980000 + 86400; s += 899)
        mismatches += stamps.format(s) != formats.formatStamp(s);
    for (qint64 s = -400000000; s < 4102444800; s += 777777)
        mismatches += stamps.format(s) != formats.formatStamp(s);
    QCOMPARE(stamps.format(0), QString());
    QCOMPARE(stamps.format(86400 * 365), formats.formatStamp(86400 * 365)); // midnight in UTC
    qputenv("TZ", saved);
    tzset();
    QCOMPARE(mismatches, 0);
}

QTEST_GUILESS_MAIN(TstStampFormatter)
#include "tst_stampformatter.moc"
