#include "TestSupport.h"
#include "settings/ColumnWidths.h"
#include "settings/FormValues.h"
#include "settings/NamedColours.h"
#include "settings/PanelPosition.h"
#include "settings/SettingsFile.h"
#include "settings/WindowPlacement.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void defaultsWithoutFile();
    void integers_data();
    void integers();
    void sectionsIgnoreCase();
    void stringsCutAt1023();
    void listRoundTrip();
    void formValuesRoundTrip();
    void placementScreenVariants();
    void columnWidthsBySize();
    void nonsenseFile();
    void fullDiskKeepsOldFile();
    void unreadableFileNeverWritten_data();
    void unreadableFileNeverWritten();
    void storedValueToRgb_data();
    void storedValueToRgb();
    void restoredChange_data();
    void restoredChange();
    void keptInside_data();
    void keptInside();
};

void TestSettings::defaultsWithoutFile()
{
    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("Kestrovane.INI"));
    const FormValues v = FormValues::restore(settings);
    QCOMPARE(v.integer("Panel1_Width"), 140);
    QVERIFY(v.boolean("TooltipsOn1_Checked"));
    QVERIFY(v.boolean("CheckBox1_Checked") && v.boolean("CheckBox4_Checked"));
    QCOMPARE(v.integer("RadioGroup1_ItemIndex"), 0);
    QCOMPARE(v.integer("Hintcolorcombo_ColorValue"), 65535);
    QVERIFY(!v.boolean("Zipfiles_Checked"));
    QCOMPARE(v.text("FontDialog1_FontName"), QString("MS Sans Serif"));
    QCOMPARE(v.text("FontDialog1_FontHeight"), QString("-11"));
    QVERIFY(v.list("Masklistbox_Items").isEmpty());
    QCOMPARE(ColumnWidths::readCatalog(settings), QList<int>(6, 100));
    QVERIFY(!QFile::exists(settings.path()));
    QVERIFY(!settings.isUnreadable());
}

void TestSettings::integers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "42" << 42;
    QTest::newRow("negative") << "-7" << -7;
    QTest::newRow("hex") << "0x1F" << 31;
    QTest::newRow("hex upper X") << "0XfF" << 255;
    QTest::newRow("bare 0x") << "0x" << 99;
    QTest::newRow("empty") << "" << 99;
}

void TestSettings::integers()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("k.ini"));
    QVERIFY(settings.writeString("S", "K", text));
    QCOMPARE(settings.readInteger("S", "K", 99), value);
}

void TestSettings::sectionsIgnoreCase()
{
    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("k.ini"));
    QVERIFY(TestSupport::writeFile(settings.path(), "[ColSizes]\r\ncol3=250\r\n"));
    QCOMPARE(settings.readInteger("Colsizes", "Col3", 100), 250);
    QVERIFY(settings.writeInteger("COLSIZES", "COL3", 120));
    QCOMPARE(settings.readInteger("colsizes", "col3", 100), 120);
    const QByteArray bytes = TestSupport::readFile(settings.path());
    QCOMPARE(bytes.count("["), 1);
    QVERIFY(bytes.contains("\r\n"));
}

void TestSettings::stringsCutAt1023()
{
    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("k.ini"));
    QVERIFY(settings.writeString("Global", "Long", QString(2000, u'x')));
    QCOMPARE(settings.readString("Global", "Long").size(), 1023);
    QCOMPARE(settings.readString("Global", "Missing", "dflt"), QString("dflt"));
}

void TestSettings::listRoundTrip()
{
    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("k.ini"));
    QVERIFY(settings.writeList("Global.Masklistbox_Items", {"*.doc", "*.txt", QString::fromUtf8("*.é")}));
    QVERIFY(settings.writeList("Global.Masklistbox_Items", {"*.doc", "*.zip"}));
    QCOMPARE(settings.readList("global.masklistbox_items"), QStringList({"*.doc", "*.zip"}));
    QVERIFY(settings.writeString("Global.X", "Count", "-3"));
    QVERIFY(settings.readList("Global.X").isEmpty());
}

void TestSettings::formValuesRoundTrip()
{
    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("k.ini"));
    FormValues v = FormValues::defaults();
    v.setInteger("Panel1_Width", 222);
    v.setBoolean("TooltipsOn1_Checked", false);
    v.setList("Searchword_Items", {"one", "two"});
    QVERIFY(v.save(settings));
    const FormValues back = FormValues::restore(settings);
    QCOMPARE(back.integer("Panel1_Width"), 222);
    QVERIFY(!back.boolean("TooltipsOn1_Checked"));
    QCOMPARE(back.list("Searchword_Items"), QStringList({"one", "two"}));
    const QString text = QString::fromUtf8(TestSupport::readFile(settings.path()));
    QVERIFY(text.contains("Panel1_Width=222\r\n"));
    QVERIFY(text.contains("TooltipsOn1_Checked=False"));
    QVERIFY(text.contains("FontDialog1_FontName=MS Sans Serif"));
    QVERIFY(text.indexOf("Panel1_Width") < text.indexOf("Confirmzip_Checked"));
}

void TestSettings::placementScreenVariants()
{
    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("k.ini"));
    WindowPlacement p;
    p.setNormalRect(QRect(10, 20, 300, 200));
    p.showCmd = 3;
    QVERIFY(p.write(settings, QSize(800, 600)));
    QCOMPARE(settings.readString("Global", "NormPos(800x600)"), QString("10,20,310,220"));
    p.setNormalRect(QRect(50, 60, 400, 300));
    QVERIFY(p.write(settings, QSize(1280, 1024)));
    WindowPlacement at800, at1024;
    QVERIFY(WindowPlacement::read(settings, QSize(800, 600), at800));
    QCOMPARE(at800.normalRect(), QRect(10, 20, 300, 200));
    QCOMPARE(WindowPlacement::showState(at800.showCmd), WindowPlacement::Maximised);
    // No key for this screen size: the plain key, last saved anywhere.
    QVERIFY(WindowPlacement::read(settings, QSize(1024, 768), at1024));
    QCOMPARE(at1024.normalRect(), QRect(50, 60, 400, 300));
}

void TestSettings::columnWidthsBySize()
{
    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("k.ini"));
    QVERIFY(ColumnWidths::saveCatalog(settings, {1, 2, 3, 4, 5, 6}));
    QVERIFY(ColumnWidths::saveCatalog(settings, {10, 20, 30, 40, 50}));
    QCOMPARE(ColumnWidths::readCatalog(settings), QList<int>({10, 20, 30, 40, 50, 6}));
    // Widths saved when the report had seven columns: the later ones are new.
    QVERIFY(ColumnWidths::saveReport(settings, {7, 7, 7, 7, 7, 7, 9}));
    QCOMPARE(ColumnWidths::readReport(settings, 9), QList<int>({7, 7, 7, 7, 7, 7, 9, 100, 100}));
    QCOMPARE(ColumnWidths::readCatalog(settings).first(), 10);
}

void TestSettings::nonsenseFile()
{
    QTemporaryDir dir;
    SettingsFile settings(dir.filePath("k.ini"));
    QVERIFY(TestSupport::writeFile(settings.path(), QByteArray("\xff\xfe[[[\0\0=\n=x\n[Global\nPanel1_Width\n"
                                                               "[Colsizes]\nCol0=abc\nCol1=0x\n",
                                                               60)));
    const FormValues v = FormValues::restore(settings);
    QCOMPARE(v.integer("Panel1_Width"), 140);
    QCOMPARE(ColumnWidths::readCatalog(settings).first(), 100);
    QVERIFY(settings.writeInteger("Global", "Panel1_Width", 5));
    QCOMPARE(settings.readInteger("Global", "Panel1_Width", 0), 5);
}

void TestSettings::fullDiskKeepsOldFile()
{
    QTemporaryDir dir;
    QString reason;
    if (!TestSupport::mountTmpfs(dir.path(), 256, &reason))
        QSKIP(qPrintable(reason));
    const QString path = dir.filePath("Kestrovane.INI");
    SettingsFile settings(path);
    QVERIFY(settings.writeInteger("Colsizes", "Col0", 100));
    const QByteArray before = TestSupport::readFile(path);
    TestSupport::fillDisk(dir.path());
    const bool written = settings.writeInteger("Colsizes", "Col1", 200);
    const QByteArray after = TestSupport::readFile(path);
    TestSupport::unmount(dir.path());
    QVERIFY(!written);
    QVERIFY2(settings.lastError().contains(path), qPrintable(settings.lastError()));
    QCOMPARE(after, before);
}

void TestSettings::unreadableFileNeverWritten_data()
{
    QTest::addColumn<QString>("kind");
    for (const QString &kind : TestSupport::unreadableKinds())
        QTest::newRow(qPrintable(kind)) << kind;
}

// A file that is there but cannot be read reads as the defaults and is
// never written by that object, even once it can be read again.
void TestSettings::unreadableFileNeverWritten()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("Kestrovane.INI");
    QVERIFY(TestSupport::writeLines(path, {"[Global]", "Panel1_Width=7"}));
    QVERIFY(TestSupport::makeUnreadable(path, kind));
    const QByteArray before = TestSupport::fileState(path);
    SettingsFile settings(path);
    QVERIFY(TestSupport::readOverride(false));
    const int width = settings.readInteger("Global", "Panel1_Width", 140);
    const bool written =
        settings.writeString("Global", "Key", "v") || settings.writeList("Global.x_Items", {"a"}) ||
        ColumnWidths::saveCatalog(settings, QList<int>(6, 50)) || FormValues::defaults().save(settings);
    QVERIFY(TestSupport::readOverride(true));
    QCOMPARE(width, 140);
    QVERIFY(!written);
    QVERIFY(settings.isUnreadable());
    QVERIFY2(settings.lastError().contains(path + " exists but cannot be read"),
             qPrintable(settings.lastError()));
    QCOMPARE(TestSupport::fileState(path), before);
    QVERIFY(QFile::remove(path) || QDir().rmdir(path));
    QVERIFY(!settings.writeString("Global", "Key", "v"));
    QVERIFY(SettingsFile(path).writeString("Global", "Key", "v"));
}

void TestSettings::storedValueToRgb_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("stored");
    QTest::addColumn<uint>("rgb");
    QTest::newRow("yellow") << "Yellow" << 0x00FFFF << 0xFFFF00u;
    QTest::newRow("navy") << "Navy" << 0x800000 << 0x000080u;
}

void TestSettings::storedValueToRgb()
{
    QFETCH(QString, name);
    QFETCH(int, stored);
    QFETCH(uint, rgb);
    const int at = NamedColours::indexOf(stored);
    QVERIFY(at >= 0);
    QCOMPARE(QString::fromLatin1(NamedColours::all().at(size_t(at)).name), name);
    QCOMPARE(NamedColours::rgb(stored), rgb);
}

void TestSettings::restoredChange_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("expected"); // -1: the picker keeps its colour
    QTest::newRow("another named colour") << NamedColours::Yellow << 0x0000FF << 0x0000FF;
    QTest::newRow("the same colour") << NamedColours::Black << NamedColours::Black << -1;
    QTest::newRow("not a named colour") << NamedColours::Yellow << 0x123456 << -1;
    QTest::newRow("a system colour") << NamedColours::Black << -16777208 << -1;
}

void TestSettings::restoredChange()
{
    QFETCH(int, current);
    QFETCH(int, stored);
    QFETCH(int, expected);
    QCOMPARE(NamedColours::restoredChange(current, stored).value_or(-1), expected);
}

void TestSettings::keptInside_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QPoint>("placed");
    // The client area is 600 x 400 in every row.
    QTest::newRow("inside stays") << QPoint(40, 8) << QSize(300, 200) << QPoint(40, 8);
    QTest::newRow("touching the corner stays") << QPoint(300, 200) << QSize(300, 200) << QPoint(300, 200);
    QTest::newRow("past the right and bottom") << QPoint(5000, 4000) << QSize(300, 200) << QPoint(300, 200);
    QTest::newRow("partly past the right") << QPoint(450, 20) << QSize(300, 200) << QPoint(300, 20);
    QTest::newRow("above and left") << QPoint(-30, -8) << QSize(300, 200) << QPoint(0, 0);
    QTest::newRow("larger than the area") << QPoint(100, 100) << QSize(800, 500) << QPoint(0, 0);
}

void TestSettings::keptInside()
{
    QFETCH(QPoint, stored);
    QFETCH(QSize, panel);
    QFETCH(QPoint, placed);
    QCOMPARE(PanelPosition::keptInside(stored, panel, QSize(600, 400)), placed);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
