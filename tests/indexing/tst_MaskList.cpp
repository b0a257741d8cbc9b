#include "indexing/MaskList.h"
#include "settings/SettingsFile.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestMaskList : public QObject
{
    Q_OBJECT

private slots:
    void keepsSortedOrder();
    void refusesDuplicates_data();
    void refusesDuplicates();
    void setItemsKeepsStoredCase();
    void readSaved_data();
    void readSaved();
};

void TestMaskList::keepsSortedOrder()
{
    MaskList list;
    for (const char *mask : {"*.txt", "*.Doc", "*.bmp", "*.c", "*.zip"})
        QVERIFY(list.add(QString::fromLatin1(mask)));
    QCOMPARE(list.items(), QStringList({"*.bmp", "*.c", "*.Doc", "*.txt", "*.zip"}));
}

void TestMaskList::refusesDuplicates_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("added");
    QTest::newRow("same") << "*.txt" << QString("*.txt") << false;
    QTest::newRow("ascii case") << "*.TXT" << QString("*.txt") << false;
    QTest::newRow("mixed case") << "*.Txt" << QString("*.tXT") << false;
    QTest::newRow("other mask") << "*.txt" << QString("*.tx") << true;
    // Only ASCII letters are folded for this rule.
    QTest::newRow("non-ascii case") << "*.É" << QString("*.é") << true;
    QTest::newRow("empty") << "*.txt" << QString("") << false;
}

void TestMaskList::refusesDuplicates()
{
    QFETCH(QString, held);
    QFETCH(QString, typed);
    QFETCH(bool, added);
    MaskList list;
    QVERIFY(list.add(held));
    QCOMPARE(list.add(typed), added);
    QCOMPARE(list.size(), added ? 2 : 1);
    QCOMPARE(list.items().first().isEmpty(), false);
}

void TestMaskList::setItemsKeepsStoredCase()
{
    MaskList list;
    list.add(QStringLiteral("*.old"));
    list.setItems({"*.TXT", "*.doc", "*.txt", "", "*.Bmp"});
    QCOMPARE(list.items(), QStringList({"*.Bmp", "*.doc", "*.TXT"}));
}

void TestMaskList::readSaved_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("masks");
    QTest::newRow("no section") << QByteArray("[Global]\r\nx=1\r\n") << QStringList();
    QTest::newRow("stored order")
        << QByteArray("[Global.Masklistbox_Items]\r\nCount=2\r\nItem0=*.txt\r\nItem1=*.DOC\r\n")
        << QStringList({"*.txt", "*.DOC"});
    QTest::newRow("section case") << QByteArray("[global.masklistbox_items]\r\ncount=1\r\nitem0=*.c\r\n")
                                  << QStringList({"*.c"});
    QTest::newRow("missing item") << QByteArray("[Global.Masklistbox_Items]\r\nCount=2\r\nItem1=*.c\r\n")
                                  << QStringList({"", "*.c"});
    QTest::newRow("bad count") << QByteArray("[Global.Masklistbox_Items]\r\nCount=x\r\nItem0=*.c\r\n")
                               << QStringList();
}

void TestMaskList::readSaved()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, masks);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kestrovane.INI"));
    QVERIFY(TestSupport::writeFile(path, ini));
    QCOMPARE(MaskList::readSaved(SettingsFile(path)), masks);
}

QTEST_GUILESS_MAIN(TestMaskList)
#include "tst_MaskList.moc"
