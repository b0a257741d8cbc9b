// A medium is known by its file system's identity wherever it is mounted:
// the mount table, udev's links and the super block.
#include "library/MountTable.h"
#include "library/VolumeProbe.h"
#include "library/VolumeStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Blanks written as \040 by the kernel; the other letters of the label are
// UTF-8 bytes as they are.
const QByteArray kMountInfo = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                              "40 22 8:17 / /media/me/Disk\\040\xc3\x9cn\xc3\xaf rw - ext4 /dev/sdb1 rw\n"
                              "41 22 8:17 /photos /srv/bound rw shared:5 master:2 - ext4 /dev/sdb1 rw\n"
                              "42 40 0:50 / /media/me/Disk\\040\xc3\x9cn\xc3\xaf/inner rw - tmpfs tmpfs rw\n"
                              "43 22 0:51 / /mnt/net rw - nfs4 server:/export rw\n"
                              "short line\n";

const QString kDisk = QStringLiteral("/media/me/Disk \u00dcn\u00ef");

bool link(const QString &target, const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    return QFile::link(target, path);
}

} // namespace

class TestVolumeProbe : public QObject
{
    Q_OBJECT
private slots:
    void mountHolding_data();
    void mountHolding();
    void identify_data();
    void identify();
    void mountPointsOfTheMedium();
    void superBlockGivesTheIdentity();
    void storeFindsCatalogsOfAMedium();
};

void TestVolumeProbe::mountHolding_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("root");
    QTest::newRow("below a mount point") << kDisk + "/a/b" << kDisk << "/";
    QTest::newRow("the mount point") << kDisk << kDisk << "/";
    QTest::newRow("longest point wins") << kDisk + "/inner/x" << kDisk + "/inner"
                                        << "/";
    QTest::newRow("a name that only begins alike") << kDisk + "x"
                                                   << "/"
                                                   << "/";
    QTest::newRow("bind mount") << "/srv/bound/2020"
                                << "/srv/bound"
                                << "/photos";
}

void TestVolumeProbe::mountHolding()
{
    QFETCH(QString, path);
    QFETCH(QString, mountPoint);
    QFETCH(QString, root);
    const MountTable table = MountTable::fromText(kMountInfo);
    QCOMPARE(table.mounts().size(), 5);
    const std::optional<MountTable::Mount> mount = table.mountHolding(path);
    QVERIFY(mount);
    QCOMPARE(mount->mountPoint, mountPoint);
    QCOMPARE(mount->root, root);
}

void TestVolumeProbe::identify_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("identity"); // UUID, label, type, sub-path
    const QString label = QStringLiteral("Disk \u00dcn\u00ef");
    QTest::newRow("below a mount point") << kDisk + "/a/b" << QStringList{"1111-AAAA", label, "ext4", "a/b"};
    QTest::newRow("the mount point") << kDisk << QStringList{"1111-AAAA", label, "ext4", ""};
    QTest::newRow("bind mount") << "/srv/bound/2020"
                                << QStringList{"1111-AAAA", label, "ext4", "photos/2020"};
    QTest::newRow("the root file system") << "/home/u" << QStringList{"root-uuid", "", "ext4", "home/u"};
    QTest::newRow("no UUID") << "/mnt/net/x" << QStringList{"", "", "nfs4", "x"};
}

void TestVolumeProbe::identify()
{
    QFETCH(QString, path);
    QFETCH(QStringList, identity);
    QTemporaryDir dir;
    // udev's links lead to the device the mount table names as its source.
    QVERIFY(link("/dev/sdb1", dir.filePath("by-uuid/1111-AAAA")));
    QVERIFY(link("/dev/sda1", dir.filePath("by-uuid/root-uuid")));
    QVERIFY(link("/dev/sdb1", dir.filePath("by-label/Disk\\x20\u00dcn\u00ef")));
    const VolumeProbe probe(MountTable::fromText(kMountInfo), dir.filePath("by-uuid"),
                            dir.filePath("by-label"));
    const VolumeIdentity read = probe.identify(path);
    QCOMPARE((QStringList{read.uuid, read.label, read.type, read.subPath}), identity);
}

void TestVolumeProbe::mountPointsOfTheMedium()
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a");
    const QString b = dir.filePath("b b");
    for (const QString &folder : {a + "/photos/2020", a + "/music", b + "/2020"})
        QVERIFY(QDir().mkpath(folder));
    const QByteArray table = "40 22 8:17 / " + QFile::encodeName(a) + " rw - ext4 /dev/sdb1 rw\n" +
                             "41 22 8:17 /photos " + QFile::encodeName(b).replace(" ", "\\040") +
                             " rw - ext4 /dev/sdb1 rw\n";
    QVERIFY(link("/dev/sdb1", dir.filePath("by-uuid/1111-AAAA")));
    const VolumeProbe probe(MountTable::fromText(table), dir.filePath("by-uuid"), dir.filePath("none"));
    QCOMPARE(probe.mountPointsOf({"1111-aaaa", "", "ext4", "photos/2020"}),
             QStringList({a + "/photos/2020", b + "/2020"}));
    QCOMPARE(probe.mountPointsOf({"1111-AAAA", "", "ext4", "music"}), QStringList{a + "/music"});
    QCOMPARE(probe.mountPointsOf({"1111-AAAA", "", "ext4", ""}), QStringList{a});
    QCOMPARE(probe.mountPointsOf({"1111-AAAA", "", "ext4", "gone"}), QStringList());
    QCOMPARE(probe.mountPointsOf({"2222-BBBB", "", "ext4", ""}), QStringList());
    QCOMPARE(probe.mountPointsOf({"", "", "ext4", ""}), QStringList());
}

// Without udev (a container, CI) the super block tells; an image file
// stands in for the device, and a device without a file system gives none.
void TestVolumeProbe::superBlockGivesTheIdentity()
{
    const QString mkfs = QStandardPaths::findExecutable("mkfs.ext4", {"/usr/sbin", "/sbin", "/usr/bin"});
    QVERIFY2(!mkfs.isEmpty(), "mkfs.ext4 (e2fsprogs) is missing: run tools/install-deps.sh");
    QTemporaryDir dir;
    const QString image = dir.filePath("disk.img");
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(4 << 20));
    file.close();
    QCOMPARE(QProcess::execute(mkfs, {"-q", "-F", "-U", "0b5e1a2c-3d4e-4f50-8a6b-7c8d9e0f1a2b", "-L",
                                      QStringLiteral("Disk \u00dcn\u00ef"), image}),
             0);
    QVERIFY(QFile(dir.filePath("blank.img")).open(QIODevice::WriteOnly));
    const QByteArray table = "40 22 7:0 / /media/img rw - ext4 " + QFile::encodeName(image) +
                             " rw\n41 22 7:1 / /media/blank rw - ext4 " +
                             QFile::encodeName(dir.filePath("blank.img")) + " rw\n";
    const VolumeProbe probe(MountTable::fromText(table), dir.filePath("none"), dir.filePath("none"));
    const VolumeIdentity read = probe.identify("/media/img/sub");
    QCOMPARE((QStringList{read.uuid, read.label, read.type, read.subPath}),
             (QStringList{"0b5e1a2c-3d4e-4f50-8a6b-7c8d9e0f1a2b", QStringLiteral("Disk \u00dcn\u00ef"),
                          "ext4", "sub"}));
    QVERIFY(!probe.identify("/media/blank").hasUuid());
}

void TestVolumeProbe::storeFindsCatalogsOfAMedium()
{
    VolumeStore store;
    store.record("Whole", {"U1", "Disk", "ext4", ""});
    store.record("Photos", {"U1", "Disk", "ext4", "photos"});
    store.record("Other", {"U2", "Stick", "vfat", ""});
    store.record("Photo", {"U1", "Disk", "ext4", "photo"});
    QCOMPARE(store.catalogsOf("u1", "photos/2020"), QStringList({"Whole", "Photos"}));
    QCOMPARE(store.catalogsOf("U1", ""), QStringList{"Whole"});
    QCOMPARE(store.catalogsWithin("U1", "photos"), QStringList{"Photos"});
    QCOMPARE(store.catalogsOf("", ""), QStringList());
    // A rename carries the line and drops one the new name had left behind.
    store.rename(u"photos", "Other");
    QCOMPARE(store.identityOf(u"other")->subPath, QString("photos"));
    QCOMPARE(store.lines().size(), 3);
    store.remove(u"WHOLE");
    QVERIFY(!store.identityOf(u"Whole"));
    // A field a later version adds stays through a new record.
    store.setLines({"\"Stick\",\"U3\",\"\",\"vfat\",\"\",\"later\"", "damaged \"line"});
    store.record("stick", {"U4", "S", "vfat", ""});
    QCOMPARE(store.lines(),
             QStringList({"\"stick\",\"U4\",\"S\",\"vfat\",\"\",\"later\"", "damaged \"line"}));
}

QTEST_GUILESS_MAIN(TestVolumeProbe)
#include "tst_volumeprobe.moc"
