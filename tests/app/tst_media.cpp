// Media mounted while the window runs, and media that have catalogs: the
// mount table and udev's links are prepared files, so nothing is mounted.
#include "AppFixture.h"
#include "TestSupport.h"

#include "IndexingController.h"
#include "MediaController.h"
#include "library/CatalogInfo.h"
#include "library/CommaText.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

namespace {

const QString kUuid = QStringLiteral("4B1C-22F0");
const QString kHint = QStringLiteral("Double Click Or Press The Enter Key To View Photos Catalog");

// The catalogs Stick (the whole stick) and Photos (its folder Photos) of one
// medium, and Other of none. Folders stand for mount points: the stick is
// mounted at media/stick now, Photos was made at old/Photos, where another
// medium may be mounted now.
class MediaFixture
{
public:
    MediaFixture()
    {
        m_root = QFileInfo(m_dir.path()).canonicalFilePath();
        m_stick = m_root + "/media/stick";
        m_old = m_root + "/old";
        TestSupport::writeFile(m_stick + "/Photos/a.jpg", "a");
        TestSupport::writeFile(m_stick + "/Photos/sub/b.jpg", "b");
        QDir().mkpath(m_old + "/Photos");
        QDir().mkpath(m_root + "/by-uuid");
        QDir().mkpath(m_root + "/by-label");
        QFile::link("/dev/kv-test-stick", m_root + "/by-uuid/" + kUuid);
        QFile::link("/dev/kv-test-other", m_root + "/by-uuid/1234-ABCD");
        app.writeLines("Master.TXT", {"\"1\",\"0Disks\",\"3Stick\",\"3Photos\",\"1Other\""});
        CatalogInfo info;
        info.drive = m_old;
        info.path = m_old + "/Photos/";
        info.driveType = "Removable";
        app.writeLines("Catalogs/Master", {"Photos", info.toLine()});
        app.writeLines("Catalogs/Volumes", {CommaText::join({"Stick", kUuid, "STICK", "vfat", ""}),
                                            CommaText::join({"Photos", kUuid, "STICK", "vfat", "Photos"})});
        app.writeLines("Catalogs/Photos.TXT",
                       {CommaText::join({"a.jpg", "1", "06/14/1998 10:00:00", m_old + "/Photos/", "beach"})});
        for (const char *name : {"Stick", "Other"})
            app.writeLines(QString("Catalogs/%1.TXT").arg(name), {});
    }

    // Starts the window with the stick mounted or not.
    MainWindow &start(bool mounted, bool otherAtOld = false)
    {
        MainWindow &w = app.start();
        w.setVolumeReader([](const QString &) { return VolumeInfo("/media/disc", "Fixed", 1 << 20, 0, ""); });
        w.feature<IndexingController>()->setRunYieldInterval(0);
        setMounted(mounted, otherAtOld);
        w.setMountSource({m_root + "/mountinfo", m_root + "/by-uuid", m_root + "/by-label"});
        return w;
    }
    void setMounted(bool mounted, bool otherAtOld = false)
    {
        QByteArray table = "22 1 8:1 / / rw - ext4 /dev/kv-test-root rw\n";
        if (mounted)
            table += "40 22 8:33 / " + m_stick.toUtf8() + " rw - vfat /dev/kv-test-stick rw\n";
        if (otherAtOld)
            table += "41 22 8:49 / " + m_old.toUtf8() + " rw - vfat /dev/kv-test-other rw\n";
        TestSupport::writeFile(m_root + "/mountinfo", table);
    }
    void mountNow(bool mounted)
    {
        setMounted(mounted);
        app.window().feature<MediaController>()->checkMounts();
    }
    QString status() { return app.window().statusText(); }
    QString photosPath()
    {
        return CatalogInfo::fromLine(app.window().state().catalogInfo.value(u"Photos"), m_info) ? m_info.path
                                                                                                : QString();
    }

    AppFixture app;
    QTemporaryDir m_dir;
    QString m_root;
    QString m_stick;
    QString m_old;
    CatalogInfo m_info;
};

// Runs a command; false, with what it said, when it fails.
bool run(const QString &program, const QStringList &args, QString *reason)
{
    QProcess p;
    p.start(program, args);
    if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    const QString said = QString::fromLocal8Bit(p.readAllStandardError()).simplified();
    *reason = program + ": " + (said.isEmpty() ? p.errorString() : said);
    return false;
}

} // namespace

class TestMedia : public QObject
{
    Q_OBJECT
private slots:
    void mountedMediumNamesItsCatalogs();
    void createWarnsOfCataloguedMedium_data();
    void createWarnsOfCataloguedMedium();
    void updateSelectedFollowsTheMedium_data();
    void updateSelectedFollowsTheMedium();
    void realStickMountedElsewhere();
};

void TestMedia::mountedMediumNamesItsCatalogs()
{
    MediaFixture f;
    f.start(false);
    QVERIFY(f.app.clickCatalog("Photos"));
    QCOMPARE(f.status(), kHint);
    f.mountNow(true);
    QCOMPARE(f.status(), QString("Stick Is Mounted At %1; Photos Is Mounted At %1/Photos").arg(f.m_stick));
    f.mountNow(false);
    QCOMPARE(f.status(), QString()); // no longer true
    f.mountNow(true);
    QVERIFY(f.app.clickCatalog("Photos"));
    QCOMPARE(f.status(), "Photos Is Mounted At " + f.m_stick + "/Photos");
    QVERIFY(f.app.clickCatalog("Other"));
    QCOMPARE(f.status(), QString("Double Click Or Press The Enter Key To View Other Catalog"));
    f.mountNow(false);
    QVERIFY(f.app.clickCatalog("Photos"));
    QCOMPARE(f.status(), kHint);
}

void TestMedia::createWarnsOfCataloguedMedium_data()
{
    QTest::addColumn<QVariant>("answer");
    QTest::newRow("update instead") << QVariant(true);
    QTest::newRow("go on") << QVariant(false);
    QTest::newRow("cancel") << QVariant();
}

// A folder below Photos: of the two catalogs of the stick, the nearer one.
void TestMedia::createWarnsOfCataloguedMedium()
{
    QFETCH(QVariant, answer);
    MediaFixture f;
    MainWindow &w = f.start(true);
    QVERIFY(f.app.trigger("Create1"));
    f.app.dialogs().answerText(f.m_stick + "/Photos/sub");
    w.findChild<QPushButton *>("CatDirBrowse")->click();
    w.StatusLine("before");
    !answer.isValid() ? f.app.dialogs().answerCancel()
                      : (answer.toBool() ? f.app.dialogs().answerYes() : f.app.dialogs().answerNo());
    f.app.dialogs().clearShown();
    w.findChild<QPushButton *>("Startscan")->click();

    QCOMPARE(f.app.dialogs().shown().value(0), QString("confirm: This Medium Is Already Cataloged As Photos\n"
                                                       "Update Photos instead?\n"
                                                       "(No indexes it as a new catalog.)"));
    const bool updated = answer.isValid() && answer.toBool();
    QCOMPARE(f.photosPath(), (updated ? f.m_stick : f.m_old) + "/Photos/");
    QCOMPARE(w.feature<IndexingController>()->unsavedScan(), answer.isValid() && !answer.toBool());
    if (!answer.isValid())
        QCOMPARE(f.status(), QString("before"));
    QVERIFY(f.app.dialogs().allAnswersUsed());
}

void TestMedia::updateSelectedFollowsTheMedium_data()
{
    QTest::addColumn<bool>("mounted");
    QTest::addColumn<bool>("otherAtOld");
    QTest::newRow("mounted elsewhere") << true << false;
    QTest::newRow("not mounted") << false << false;
    QTest::newRow("another medium at the stored path") << false << true;
}

void TestMedia::updateSelectedFollowsTheMedium()
{
    QFETCH(bool, mounted);
    QFETCH(bool, otherAtOld);
    MediaFixture f;
    MainWindow &w = f.start(mounted, otherAtOld);
    QVERIFY(f.app.clickCatalog("Photos"));
    QVERIFY(f.app.trigger("UpdateSelectedCatalog1"));
    if (!mounted && !otherAtOld)
        f.app.dialogs().answerCancel();
    f.app.dialogs().clearShown();
    w.findChild<QPushButton *>("Updatestart")->click();
    const QString shown = f.app.dialogs().shown().value(0);
    if (mounted) {
        QCOMPARE(shown, QString());
        QCOMPARE(f.photosPath(), f.m_stick + "/Photos/");
        // The stored entries moved with their medium, comments and all.
        QVERIFY(TestSupport::readFile(f.app.path("Catalogs/Photos.TXT")).contains("beach"));
        return;
    }
    if (otherAtOld)
        QVERIFY2(
            shown.startsWith("warning: The medium of catalog Photos, STICK (" + kUuid + "), is not mounted"),
            qPrintable(shown));
    else
        QCOMPARE(shown,
                 "confirm: Please insert catalog Photos into drive " + f.m_old + "\nWhen ready, click Ok.");
    QCOMPARE(f.photosPath(), f.m_old + "/Photos/");
}

// A real ext4 image, indexed, unmounted and mounted at another place.
void TestMedia::realStickMountedElsewhere()
{
    QTemporaryDir dir;
    const QString image = dir.filePath("stick.img");
    const QString first = dir.filePath("first");
    const QString second = dir.filePath("second");
    QDir().mkpath(first);
    QDir().mkpath(second);
    QString reason;
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(4 << 20));
    file.close();
    const auto unmount = qScopeGuard([&] {
        QString ignored;
        for (const QString &point : {first, second})
            run("umount", {point}, &ignored);
    });
    if (!run("mkfs.ext4", {"-q", "-F", "-U", "0c3f0d5e-7a41-4b6e-9c1a-5b2f8d4e6a10", "-L", "KVSTICK", image},
             &reason) ||
        !run("mount", {"-o", "loop", image, first}, &reason))
        QSKIP(qPrintable("cannot mount a loop image here: " + reason));
    TestSupport::writeFile(first + "/song.mp3", "la");
    AppFixture app;
    app.writeLines("Master.TXT", {"\"0\",\"0Disks\""});
    MainWindow &w = app.start();
    w.feature<IndexingController>()->setRunYieldInterval(0);
    QVERIFY(app.trigger("Create1"));
    app.dialogs().answerText(first);
    w.findChild<QPushButton *>("CatDirBrowse")->click();
    w.findChild<QPushButton *>("Startscan")->click();
    QVERIFY(app.clickCategory("Disks"));
    w.findChild<QLineEdit *>("Catalogname")->setText("KVSTICK");
    w.findChild<QPushButton *>("SaveCatbtn")->click();
    const bool moved =
        run("umount", {first}, &reason) && run("mount", {"-o", "loop", image, second}, &reason);
    QVERIFY2(moved, qPrintable(reason));
    QTRY_COMPARE(w.statusText(), "KVSTICK Is Mounted At " + QFileInfo(second).canonicalFilePath());
}

QTEST_MAIN(TestMedia)
#include "tst_media.moc"
