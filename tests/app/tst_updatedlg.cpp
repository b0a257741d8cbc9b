#include "AppFixture.h"
#include "TestSupport.h"

#include "IndexingController.h"
#include "ToolPanel.h"
#include "library/CatalogInfo.h"
#include "library/CommaText.h"
#include "table/VisualTableModel.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QString entry(const QString &name, const QString &size, const QString &dir,
              const QString &comment = QString())
{
    return CommaText::join({name, size, "06/14/1998 10:00:00", dir, comment});
}

// The catalog Disc of the folder source: kept.txt (commented, grown since),
// gone.txt (deleted since); the folder also holds new.txt and sub/deep.txt.
class UpdateFixture
{
public:
    explicit UpdateFixture(const QString &driveType = "Fixed", bool withInfo = true)
    {
        m_source = m_sourceDir.path() + "/";
        TestSupport::writeFile(m_source + "kept.txt", "grown since");
        TestSupport::writeFile(m_source + "new.txt", "n");
        TestSupport::writeFile(m_source + "sub/deep.txt", "d");
        CatalogInfo info;
        info.fileCount = 2;
        info.directoryCount = 1;
        info.drive = m_sourceDir.path();
        info.path = m_source;
        info.driveType = driveType;
        info.lastUpdate = "06/14/1998 10:00:00";
        info.options.subDirectories = false;
        info.masks = {"*.txt"};
        app.writeLines("Master.TXT", {"\"1\",\"0Disks\",\"3Disc\""});
        app.writeLines("Catalogs/Master", withInfo ? QStringList{"Disc", info.toLine()} : QStringList{});
        app.writeLines("Catalogs/Disc.TXT", {entry("kept.txt", "1", m_source, "keep me"),
                                             entry("gone.txt", "2", m_source, "lost")});
    }

    MainWindow &start(const QString &label = QString())
    {
        MainWindow &w = app.start();
        w.setVolumeReader(
            [label](const QString &) { return VolumeInfo("/media/disc", "Fixed", 1 << 20, 0, label); });
        w.feature<IndexingController>()->setRunYieldInterval(0);
        return w;
    }
    void open()
    {
        QVERIFY(app.clickCatalog("Disc"));
        QVERIFY(app.trigger("Update1"));
    }
    QPushButton *button(const QString &name) { return app.window().findChild<QPushButton *>(name); }
    ToolPanel *panel() { return app.window().panel("Updatedlg"); }
    QByteArray catalogFile() { return TestSupport::readFile(app.path("Catalogs/Disc.TXT")); }

    AppFixture app;
    QTemporaryDir m_sourceDir;
    QString m_source;
};

} // namespace

class TestUpdateDlg : public QObject
{
    Q_OBJECT
private slots:
    void panelShowsStoredOptions();
    void updateMergesAndOpensCatalog();
    void stopLeavesCatalogUntouched();
    void questions_data();
    void questions();
    void catalogWithoutInformation();
    void emptyRescanAsksFirst();
};

void TestUpdateDlg::panelShowsStoredOptions()
{
    UpdateFixture f;
    MainWindow &w = f.start();
    f.open();
    QVERIFY(!f.panel()->isHidden());
    QCOMPARE(f.panel()->title(), QString("Set/Check Options, Then Start"));
    QCOMPARE(w.findChild<QLabel *>("Label25")->text(), QString("Disc"));
    QCOMPARE(w.findChild<QLabel *>("Label27")->text(), QString("06/14/1998 10:00:00"));
    QCOMPARE(w.findChild<QLineEdit *>("Updiredit")->text(), f.m_source);
    QVERIFY(!w.findChild<QAbstractButton *>("Upsub")->isChecked());
    QVERIFY(w.findChild<QAbstractButton *>("Uphidfiles")->isChecked());
    QCOMPARE(w.findChild<QListWidget *>("Upmasklist")->item(0)->text(), QString("*.txt"));
    QVERIFY(!f.button("Updatestop")->isEnabled());

    // F5 empties the list, F6 brings the catalog's masks back.
    QLineEdit *mask = w.findChild<QLineEdit *>("Upmask");
    QTest::keyClick(mask, Qt::Key_F5);
    QCOMPARE(w.findChild<QListWidget *>("Upmasklist")->count(), 0);
    QTest::keyClick(mask, Qt::Key_F6);
    QCOMPARE(w.findChild<QListWidget *>("Upmasklist")->count(), 1);
}

void TestUpdateDlg::updateMergesAndOpensCatalog()
{
    UpdateFixture f;
    MainWindow &w = f.start();
    f.open();
    f.button("Updatestart")->click();
    // The merge itself is the update run's test; the panel passes its options.
    QCOMPARE(w.statusText(), QString("1 New Addition(s) 1 Removed"));
    CatalogInfo info;
    QVERIFY(CatalogInfo::fromLine(w.state().catalogInfo.value(u"Disc"), info));
    QCOMPARE(info.fileCount, 2);
    QCOMPARE(info.masks, QStringList{"*.txt"});
    QVERIFY(info.lastUpdate != "06/14/1998 10:00:00");
    QVERIFY(f.panel()->isHidden());
    QCOMPARE(w.state().openCatalogName, QString("Disc"));
    QCOMPARE(w.tableModel()->cell(4, 1), QString("keep me"));
    QVERIFY(!w.isBusy());
}

void TestUpdateDlg::stopLeavesCatalogUntouched()
{
    UpdateFixture f;
    MainWindow &w = f.start();
    f.open();
    const QByteArray before = f.catalogFile();
    const QString infoBefore = w.state().catalogInfo.value(u"Disc");
    QTimer::singleShot(0, &w, [&] { f.button("Updatestop")->click(); });
    f.button("Updatestart")->click();
    QCOMPARE(w.statusText(), QString("Updating Stopped"));
    QCOMPARE(f.catalogFile(), before);
    QCOMPARE(w.state().catalogInfo.value(u"Disc"), infoBefore);
    QVERIFY(!f.panel()->isHidden());
    QVERIFY(f.button("Updatestart")->isEnabled() && f.button("Updateclose")->isEnabled());
    QVERIFY(!f.button("Updatestop")->isEnabled());
}

void TestUpdateDlg::questions_data()
{
    QTest::addColumn<QString>("driveType");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("updated");

    const QString label = "confirm: The catalog name does not match the volume label.\nCatalog name: Disc\n"
                          "Volume label: DISC\nProceed to update anyway?";
    const QString disk = "confirm: Please insert catalog Disc into drive DRIVE\nWhen ready, click Ok.";
    QTest::newRow("fixed, no label") << "Fixed" << QString("") << QList<bool>{} << QStringList{} << true;
    QTest::newRow("label equal") << "Fixed" << QString("Disc") << QList<bool>{} << QStringList{} << true;
    QTest::newRow("label differs in case, no")
        << "Fixed" << QString("DISC") << QList<bool>{false} << QStringList{label} << false;
    QTest::newRow("label differs in case, yes")
        << "Fixed" << QString("DISC") << QList<bool>{true} << QStringList{label} << true;
    QTest::newRow("cd-rom, cancel") << "CdRom" << QString("") << QList<bool>{false} << QStringList{disk}
                                    << false;
    QTest::newRow("removable, ok, label no")
        << "Removable" << QString("DISC") << QList<bool>{true, false} << QStringList{disk, label} << false;
}

void TestUpdateDlg::questions()
{
    QFETCH(QString, driveType);
    QFETCH(QString, label);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, asked);
    QFETCH(bool, updated);
    UpdateFixture f(driveType);
    f.start(label);
    f.open();
    const QByteArray before = f.catalogFile();
    for (bool yes : answers)
        yes ? f.app.dialogs().answerYes() : f.app.dialogs().answerNo();
    f.app.dialogs().clearShown();
    f.button("Updatestart")->click();
    asked.replaceInStrings("DRIVE", f.m_sourceDir.path());
    QCOMPARE(f.app.dialogs().shown(), asked);
    QCOMPARE(f.catalogFile() != before, updated);
}

void TestUpdateDlg::catalogWithoutInformation()
{
    UpdateFixture f("Fixed", false);
    MainWindow &w = f.start();
    f.open();
    QCOMPARE(w.findChild<QLabel *>("Label27")->text(), QString("Unknown"));
    QVERIFY(w.findChild<QLineEdit *>("Updiredit")->text().isEmpty());
    // The create panel's options and masks stand in.
    QVERIFY(w.findChild<QAbstractButton *>("Upsub")->isChecked());
    QCOMPARE(w.findChild<QListWidget *>("Upmasklist")->count(), 0);
    f.button("Updatestart")->click();
    QCOMPARE(f.app.dialogs().lastShown(), QString("warning: Please specify the path for this catalog."));

    f.app.dialogs().answerText(f.m_source);
    f.button("UpdirBrowse")->click();
    f.button("Updatestart")->click();
    QCOMPARE(w.statusText(), QString("2 New Addition(s) 1 Removed"));
    // Without a pair in the information list none is added.
    QVERIFY(!w.state().catalogInfo.contains(u"Disc"));
}

// The folder now holds none of the catalog's files (sub/deep.txt lies below
// it, and sub-directories are off): as an empty mount point would. What Yes
// does is the update run's own test.
void TestUpdateDlg::emptyRescanAsksFirst()
{
    UpdateFixture f;
    MainWindow &w = f.start();
    f.open();
    QVERIFY(QFile::remove(f.m_source + "kept.txt") && QFile::remove(f.m_source + "new.txt"));
    const QByteArray before = f.catalogFile();
    const QString infoBefore = w.state().catalogInfo.value(u"Disc");
    f.app.dialogs().clearShown();
    f.app.dialogs().answerNo();
    f.button("Updatestart")->click();
    QCOMPARE(f.app.dialogs().shown(),
             QStringList{"confirm: No files were found in " + f.m_source +
                         ", but catalog Disc holds 2 entries.\nThe disk may be missing or another disk "
                         "may be mounted there.\nUpdating would remove every entry and its comment.\n"
                         "Proceed to update anyway?"});
    QVERIFY(!w.isBusy() && f.button("Updatestart")->isEnabled());
    QCOMPARE(w.statusText(), QString("Updating Stopped"));
    QCOMPARE(f.catalogFile(), before);
    QCOMPARE(w.state().catalogInfo.value(u"Disc"), infoBefore);
    QVERIFY(!f.panel()->isHidden());
}

QTEST_MAIN(TestUpdateDlg)
#include "tst_updatedlg.moc"
