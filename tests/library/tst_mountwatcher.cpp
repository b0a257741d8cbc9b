#include "TestSupport.h"
#include "library/MountWatcher.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestMountWatcher : public QObject
{
    Q_OBJECT
private slots:
    void signalsOnlyWhenTheTableChanges();
    void missingTableIsNotWatched();
    void mountAndUnmountAreSignalled();
};

void TestMountWatcher::signalsOnlyWhenTheTableChanges()
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("mountinfo"));
    QVERIFY(TestSupport::writeFile(table, "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"));
    MountWatcher watcher(table, nullptr);
    QVERIFY(watcher.isWatching());
    QSignalSpy changed(&watcher, &MountWatcher::mountsChanged);
    watcher.reread();
    QCOMPARE(changed.count(), 0);
    // Longer and then shorter: every reading starts again at the beginning.
    const QByteArray longer = "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n40 22 8:17 / /media/stick rw - vfat "
                              "/dev/sdb1 rw\n";
    QVERIFY(TestSupport::writeFile(table, longer));
    watcher.reread();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(watcher.text(), longer);
    QVERIFY(TestSupport::writeFile(table, "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"));
    watcher.reread();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(watcher.text(), QByteArray("22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"));
}

void TestMountWatcher::missingTableIsNotWatched()
{
    QTemporaryDir dir;
    MountWatcher watcher(dir.filePath(QStringLiteral("none")), nullptr);
    QVERIFY(!watcher.isWatching());
    QVERIFY(watcher.text().isEmpty());
    watcher.reread();
}

// The kernel's own signal, without anyone calling reread.
void TestMountWatcher::mountAndUnmountAreSignalled()
{
    MountWatcher watcher;
    QVERIFY(watcher.isWatching());
    QSignalSpy changed(&watcher, &MountWatcher::mountsChanged);
    QTemporaryDir dir;
    QString reason;
    if (!TestSupport::mountTmpfs(dir.path(), 64, &reason))
        QSKIP(qPrintable(reason));
    QTRY_VERIFY(watcher.text().contains(dir.path().toUtf8()));
    const int afterMount = int(changed.count());
    QVERIFY(afterMount >= 1);
    TestSupport::unmount(dir.path());
    QTRY_VERIFY(!watcher.text().contains(dir.path().toUtf8()));
    QVERIFY(changed.count() > afterMount);
}

QTEST_GUILESS_MAIN(TestMountWatcher)
#include "tst_mountwatcher.moc"
