#include "TestSupport.h"
#include "indexing/DriveType.h"
#include "indexing/VolumeInfo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TstVolumeInfo : public QObject
{
    Q_OBJECT

private slots:
    void sizeTexts_data();
    void sizeTexts();
    void driveTypes_data();
    void driveTypes();
    void readsTheMountPoint();
};

void TstVolumeInfo::sizeTexts_data()
{
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("free");
    QTest::addColumn<QString>("sizeText");
    QTest::addColumn<QString>("freeText");
    QTest::newRow("failed query") << qint64(-1) << qint64(-1) << "-1 Bytes" << QString("-1 Bytes");
    QTest::newRow("one KB") << qint64(1024) << qint64(1024) << "1 KB" << QString("1 KB");
    QTest::newRow("just under a MB") << qint64(1048575) << qint64(1048575) << "1023 KB" << QString("1023 KB");
    QTest::newRow("one MB") << qint64(1048576) << qint64(1048576) << "1.44 MB" << QString("1.44 MB");
    QTest::newRow("empty floppy") << qint64(1457664) << qint64(1457664) << "1.44 MB" << QString("1.44 MB");
    QTest::newRow("used floppy") << qint64(1457664) << qint64(1200000) << "1.44 MB" << QString("1 MB");
    QTest::newRow("two MB") << qint64(2097152) << qint64(2097151) << "2 MB" << QString("1 MB");
    QTest::newRow("beyond 32 bits") << qint64(5) * 1024 * 1024 * 1024 * 1024 << qint64(3221225472)
                                    << "5242880 MB" << QString("3072 MB");
}

void TstVolumeInfo::sizeTexts()
{
    QFETCH(qint64, total);
    QFETCH(qint64, free);
    QFETCH(QString, sizeText);
    QFETCH(QString, freeText);
    const VolumeInfo v(QStringLiteral("/media/usb"), QStringLiteral("Removable"), total, free);
    QCOMPARE(v.sizeText(), sizeText);
    QCOMPARE(v.freeText(), freeText);
    QCOMPARE(v.title(), "/media/usb Removable, Size " + sizeText + ", Free " + freeText);
}

void TstVolumeInfo::driveTypes_data()
{
    QTest::addColumn<QString>("fileSystem");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("type");
    QTest::newRow("iso9660") << "iso9660" << QString("/dev/loop0") << "CdRom";
    QTest::newRow("sr device") << "ext2" << QString("/dev/sr0") << "CdRom";
    QTest::newRow("tmpfs") << "tmpfs" << QString("tmpfs") << "RamDisk";
    QTest::newRow("nfs") << "nfs4" << QString("server:/export") << "Remote";
    QTest::newRow("sshfs") << "fuse.sshfs" << QString("me@host:") << "Remote";
    QTest::newRow("usb stick") << "vfat" << QString("/dev/sdb1") << "Removable";
    QTest::newRow("card reader") << "exfat" << QString("/dev/mmcblk0p1") << "Removable";
    QTest::newRow("internal disk") << "ext4" << QString("/dev/sda1") << "Fixed";
    QTest::newRow("overlay") << "overlay" << QString("overlay") << "Fixed";
    QTest::newRow("nothing") << "" << QString("") << "Unknown";
}

void TstVolumeInfo::driveTypes()
{
    QFETCH(QString, fileSystem);
    QFETCH(QString, device);
    QFETCH(QString, type);
    // A sysfs of three disks: sda on a SATA port, sdb on USB, mmcblk0 removable.
    QTemporaryDir sys;
    const QString devices = sys.path() + QStringLiteral("/devices");
    const QString block = sys.path() + QStringLiteral("/class/block/");
    QDir().mkpath(block);
    const QList<std::pair<QString, QString>> disks{{"sda", "/pci0/ata1/block/sda"},
                                                   {"sdb", "/pci0/usb2/2-1/block/sdb"},
                                                   {"mmcblk0", "/platform/mmc0/block/mmcblk0"}};
    for (const auto &[name, path] : disks) {
        const QString part = name + (name.startsWith(u'm') ? "p1" : "1");
        QVERIFY(TestSupport::writeFile(devices + path + QStringLiteral("/removable"),
                                       name.startsWith(u'm') ? "1\n" : "0\n"));
        QVERIFY(TestSupport::writeFile(devices + path + u'/' + part + QStringLiteral("/partition"), "1\n"));
        QVERIFY(QFile::link(devices + path, block + name));
        QVERIFY(QFile::link(devices + path + u'/' + part, block + part));
    }
    QCOMPARE(DriveType::classify(fileSystem, device, sys.path()), type);
}

void TstVolumeInfo::readsTheMountPoint()
{
    QTemporaryDir dir;
    QProcess stat;
    stat.start(QStringLiteral("stat"), {QStringLiteral("-c"), QStringLiteral("%m"), dir.path()});
    QVERIFY(stat.waitForFinished());
    const VolumeInfo v = VolumeInfo::read(dir.path());
    QCOMPARE(v.designation(), QString::fromUtf8(stat.readAllStandardOutput()).trimmed());
    QVERIFY(v.totalBytes() > 0 && v.freeBytes() >= 0);
    QVERIFY(v.driveTypeText() != QLatin1String("Unknown"));

    const VolumeInfo gone = VolumeInfo::read(dir.path() + QStringLiteral("/missing"));
    QCOMPARE(gone.driveTypeText(), QStringLiteral("Unknown"));
    QCOMPARE(gone.sizeText(), QStringLiteral("-1 Bytes"));
}

QTEST_GUILESS_MAIN(TstVolumeInfo)
#include "tst_volumeinfo.moc"
