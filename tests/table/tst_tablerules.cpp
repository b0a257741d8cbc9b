#include "library/DateFormats.h"
#include "table/DateKeyReader.h"
#include "table/TableRules.h"

#include <QTest>

using TableRules::CellColour;

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

QTEST_GUILESS_MAIN(TestTableRules)
#include "tst_tablerules.moc"
