#include "TestSupport.h"
#include "library/CommaText.h"
#include "library/MountedCatalogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Place = MountedCatalogs::Place;
const QString kUuid = QStringLiteral("4B1C-22F0");

// A stick (kUuid, device /dev/kv-stick) with the catalogs Stick (all of
// it) and Photos (its folder Photos); mount points are folders of a
// temporary folder, the udev links a prepared by-uuid folder.
class Media
{
public:
    Media()
    {
        m_root = QFileInfo(m_dir.path()).canonicalFilePath();
        for (const char *folder : {"by-uuid", "by-label", "stick/Photos/2024", "pics", "other"})
            QDir().mkpath(m_root + "/" + folder);
        QFile::link("/dev/kv-stick", m_root + "/by-uuid/" + kUuid);
        volumes = VolumeStore({CommaText::join({"Stick", kUuid, "STICK", "vfat", ""}),
                               CommaText::join({"Photos", kUuid, "STICK", "vfat", "Photos"})});
    }
    // mountinfo lines: "stick" the whole stick, "pics" its Photos bound
    // there, "other" another device.
    MountTable table(const QStringList &mounts) const
    {
        QByteArray text = "22 1 8:1 / / rw - ext4 /dev/kv-root rw\n";
        for (const QString &m : mounts) {
            if (m == "stick")
                text += "40 22 8:33 / " + path("stick").toUtf8() + " rw - vfat /dev/kv-stick rw\n";
            if (m == "pics")
                text += "41 22 8:33 /Photos " + path("pics").toUtf8() + " rw - vfat /dev/kv-stick rw\n";
            if (m == "other")
                text += "42 22 8:49 / " + path("other").toUtf8() + " rw - vfat /dev/kv-other rw\n";
        }
        return MountTable::fromText(text);
    }
    VolumeProbe probe(const MountTable &table) const
    {
        return VolumeProbe(table, m_root + "/by-uuid", m_root + "/by-label");
    }
    QString path(const QString &relative) const { return m_root + "/" + relative; }

    VolumeStore volumes;

private:
    QTemporaryDir m_dir;
    QString m_root;
};

} // namespace

Q_DECLARE_METATYPE(QList<Place>)

class TestMountedCatalogs : public QObject
{
    Q_OBJECT
private slots:
    void broughtBy_data();
    void broughtBy();
    void catalogOfNearestFolder_data();
    void catalogOfNearestFolder();
};

void TestMountedCatalogs::broughtBy_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("expected"); // catalog=relative path
    QTest::newRow("stick mounted") << QStringList() << QStringList{"stick"}
                                   << QStringList{"Stick=stick", "Photos=stick/Photos"};
    QTest::newRow("only its Photos, bound")
        << QStringList() << QStringList{"pics"} << QStringList{"Photos=pics"};
    QTest::newRow("bound beside a mount there before")
        << QStringList{"stick"} << QStringList{"stick", "pics"} << QStringList{"Photos=pics"};
    QTest::newRow("mounted before") << QStringList{"stick"} << QStringList{"stick"} << QStringList();
    QTest::newRow("unmounted") << QStringList{"stick"} << QStringList() << QStringList();
    QTest::newRow("another medium") << QStringList() << QStringList{"other"} << QStringList();
}

void TestMountedCatalogs::broughtBy()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QStringList, expected);
    Media media;
    const MountTable table = media.table(after);
    QStringList found;
    for (const Place &place :
         MountedCatalogs::broughtBy(media.table(before), table, media.probe(table), media.volumes))
        found << place.catalog + "=" + place.path;
    for (QString &e : expected)
        e = e.section('=', 0, 0) + "=" + media.path(e.section('=', 1));
    QCOMPARE(found, expected);
}

void TestMountedCatalogs::catalogOfNearestFolder_data()
{
    QTest::addColumn<QString>("uuid");
    QTest::addColumn<QString>("subPath");
    QTest::addColumn<QString>("catalog");
    QTest::newRow("top") << kUuid << ""
                         << "Stick";
    QTest::newRow("Photos itself") << kUuid << "Photos"
                                   << "Photos";
    QTest::newRow("below Photos") << kUuid << "Photos/2024"
                                  << "Photos";
    QTest::newRow("beside Photos") << kUuid << "Photoshop"
                                   << "Stick";
    QTest::newRow("UUID in other case") << kUuid.toLower() << "Photos/2024"
                                        << "Photos";
    QTest::newRow("another medium") << "1234-ABCD"
                                    << "Photos"
                                    << "";
    QTest::newRow("no UUID") << ""
                             << ""
                             << "";
}

void TestMountedCatalogs::catalogOfNearestFolder()
{
    QFETCH(QString, uuid);
    QFETCH(QString, subPath);
    QFETCH(QString, catalog);
    Media media;
    QCOMPARE(MountedCatalogs::catalogOf({uuid, "STICK", "vfat", subPath}, media.volumes), catalog);
}

QTEST_GUILESS_MAIN(TestMountedCatalogs)
#include "tst_mountedcatalogs.moc"
