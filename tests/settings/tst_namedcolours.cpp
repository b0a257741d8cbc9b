#include "settings/NamedColours.h"

#include <QTest>

class TestNamedColours : public QObject
{
    Q_OBJECT
private slots:
    void storedValueToRgb_data();
    void storedValueToRgb();
    void restoredChange_data();
    void restoredChange();
};

void TestNamedColours::storedValueToRgb_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("stored");
    QTest::addColumn<uint>("rgb");
    QTest::newRow("yellow") << "Yellow" << 0x00FFFF << 0xFFFF00u;
    QTest::newRow("navy") << "Navy" << 0x800000 << 0x000080u;
    QTest::newRow("maroon") << "Maroon" << 0x000080 << 0x800000u;
    QTest::newRow("teal") << "Teal" << 0x808000 << 0x008080u;
}

void TestNamedColours::storedValueToRgb()
{
    QFETCH(QString, name);
    QFETCH(int, stored);
    QFETCH(uint, rgb);
    const int at = NamedColours::indexOf(stored);
    QVERIFY(at >= 0);
    QCOMPARE(QString::fromLatin1(NamedColours::all().at(size_t(at)).name), name);
    QCOMPARE(NamedColours::rgb(stored), rgb);
}

void TestNamedColours::restoredChange_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("expected"); // -1: the picker keeps its colour
    QTest::newRow("another named colour") << NamedColours::Yellow << 0x0000FF << 0x0000FF;
    QTest::newRow("the same colour") << NamedColours::Black << NamedColours::Black << -1;
    QTest::newRow("not a named colour") << NamedColours::Yellow << 0x123456 << -1;
    QTest::newRow("a system colour") << NamedColours::Black << -16777208 << -1;
}

void TestNamedColours::restoredChange()
{
    QFETCH(int, current);
    QFETCH(int, stored);
    QFETCH(int, expected);
    QCOMPARE(NamedColours::restoredChange(current, stored).value_or(-1), expected);
}

QTEST_GUILESS_MAIN(TestNamedColours)
#include "tst_namedcolours.moc"
