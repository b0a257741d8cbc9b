// An update finds its catalog's medium wherever it is mounted now, and
// never rescans another medium in its place.
#include "indexing/UpdateLocation.h"
#include "library/VolumeProbe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestUpdateLocation : public QObject
{
    Q_OBJECT
private slots:
    void find_data();
    void find();
};

void TestUpdateLocation::find_data()
{
    QTest::addColumn<QString>("stored"); // below the test's folder
    QTest::addColumn<QString>("uuid");   // recorded; "-" for no line
    QTest::addColumn<bool>("rootKnown"); // udev names the root file system
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("path");
    const int stored = int(UpdateLocation::Kind::Stored);
    const int moved = int(UpdateLocation::Kind::Moved);
    QTest::newRow("mounted where it was")
        << "disk/photos"
        << "U1" << true << int(UpdateLocation::Kind::Mounted) << "disk/photos";
    QTest::newRow("mounted elsewhere") << "gone/photos"
                                       << "u1" << true << moved << "disk/photos";
    QTest::newRow("no medium recorded") << "gone/photos"
                                        << "-" << true << stored << "gone/photos";
    QTest::newRow("recorded without UUID") << "gone/photos"
                                           << "" << true << stored << "gone/photos";
    QTest::newRow("another medium at the stored path")
        << "empty"
        << "U2" << true << int(UpdateLocation::Kind::OtherMedium) << "empty";
    QTest::newRow("not mounted, the path gone") << "gone/photos"
                                                << "U2" << true << stored << "gone/photos";
    QTest::newRow("not mounted, the root unknown") << "empty"
                                                   << "U2" << false << stored << "empty";
}

void TestUpdateLocation::find()
{
    QFETCH(QString, stored);
    QFETCH(QString, uuid);
    QFETCH(bool, rootKnown);
    QFETCH(int, kind);
    QFETCH(QString, path);
    QTemporaryDir dir;
    const QString base = QFileInfo(dir.path()).canonicalFilePath() + u'/';
    QVERIFY(QDir().mkpath(base + "disk/photos") && QDir().mkpath(base + "empty"));
    QVERIFY(QDir().mkpath(base + "by-uuid"));
    QVERIFY(QFile::link("/dev/sdb1", base + "by-uuid/U1"));
    if (rootKnown)
        QVERIFY(QFile::link("/dev/kestrovane-root", base + "by-uuid/ROOT"));
    const QByteArray table = "22 1 8:1 / / rw - ext4 /dev/kestrovane-root rw\n40 22 8:17 / " +
                             QFile::encodeName(base + "disk") + " rw - vfat /dev/sdb1 rw\n";
    const VolumeProbe probe(MountTable::fromText(table), base + "by-uuid", base + "none");
    std::optional<VolumeIdentity> medium;
    if (uuid != "-")
        medium = VolumeIdentity{uuid, "Disk", "vfat", "photos"};
    const UpdateLocation location = UpdateLocation::find(base + stored, medium, probe);
    QCOMPARE(int(location.kind), kind);
    QCOMPARE(location.path, base + path);
}

QTEST_GUILESS_MAIN(TestUpdateLocation)
#include "tst_updatelocation.moc"
