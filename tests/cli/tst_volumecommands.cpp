// which and update know a medium by its file system's UUID wherever it is
// mounted.
#include "CliProcess.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kUuid = QStringLiteral("0b5e1a2c-3d4e-4f50-8a6b-7c8d9e0f1a2b");

// Unmounts on every way out of a test.
struct LoopMount {
    QString dir;
    ~LoopMount() { release(); }
    void release()
    {
        if (!dir.isEmpty())
            TestSupport::unmount(dir);
        dir.clear();
    }
};

bool makeImage(const QString &image)
{
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(8 << 20))
        return false;
    file.close();
    const QString mkfs = QStandardPaths::findExecutable("mkfs.ext4", {"/usr/sbin", "/sbin", "/usr/bin"});
    return QProcess::execute(
               mkfs, {"-q", "-F", "-U", kUuid, "-L", QStringLiteral("Disk \u00dcn\u00ef"), image}) == 0;
}

// Empty when mounted, else why not.
QString mountImage(const QString &image, const QString &dir, LoopMount &mounted)
{
    QProcess mount;
    mount.start("mount", {"-o", "loop", image, dir});
    if (!mount.waitForFinished(20000) || mount.exitCode() != 0)
        return "cannot loop-mount an image here (needs root and a loop device): " +
               QString::fromLocal8Bit(mount.readAllStandardError()).trimmed() + mount.errorString();
    mounted.dir = dir;
    return {};
}

QString field(const QString &library, const QString &catalog, const QString &label)
{
    const QString info = CliProcess::run(library, {"info", catalog}).text();
    for (const QString &line : info.split(u'\n')) {
        if (line.startsWith(label + u'\t'))
            return line.section(u'\t', 1);
    }
    return {};
}

} // namespace

class TestVolumeCommands : public QObject
{
    Q_OBJECT
private slots:
    void withoutTheMedium();
    void mediumFoundWhereverMounted();
};

// A path no catalog's medium holds, a path that is not there, and a
// catalog whose medium is not mounted: the update's message is the usual.
void TestVolumeCommands::withoutTheMedium()
{
    QTemporaryDir dir;
    const QString library = dir.filePath("lib");
    QVERIFY(QDir().mkpath(dir.filePath("gone")));
    QVERIFY(TestSupport::writeFile(dir.filePath("gone/a.txt"), "a"));
    QCOMPARE(
        CliProcess::run(library, {"index", dir.filePath("gone"), "--name", "Gone", "--category", "C"}).code,
        0);
    QVERIFY(TestSupport::writeLines(library + "/Catalogs/Volumes",
                                    {"\"Gone\",\"no-such-uuid\",\"\",\"ext4\",\"\""}));
    QVERIFY(QDir(dir.filePath("gone")).removeRecursively());
    const CliProcess::Result update = CliProcess::run(library, {"update", "Gone"});
    QCOMPARE(update.code, 1);
    QVERIFY2(update.err.contains("Cannot read " + dir.filePath("gone")), qPrintable(update.err));
    const CliProcess::Result which = CliProcess::run(library, {"which", dir.path()});
    QCOMPARE(which.code, 1);
    QCOMPARE(which.err, QString("kestrovane-cli: No catalog of this medium\n"));
    QCOMPARE(CliProcess::run(library, {"which", dir.filePath("none")}).code, 2);
}

// Indexed at one place, unmounted, mounted at another: which finds the
// catalogs there, and update scans there keeping the files' comments.
void TestVolumeCommands::mediumFoundWhereverMounted()
{
    QTemporaryDir dir;
    const QString library = dir.filePath("lib");
    const QString first = dir.filePath("first");
    const QString second = dir.filePath("second place");
    QVERIFY(QDir().mkpath(first) && QDir().mkpath(second));
    QVERIFY(makeImage(dir.filePath("disk.img")));
    LoopMount mounted;
    if (const QString reason = mountImage(dir.filePath("disk.img"), first, mounted); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    QVERIFY(TestSupport::writeFile(first + "/photos/a.jpg", "jpeg") &&
            TestSupport::writeFile(first + "/b.txt", "b"));
    QCOMPARE(CliProcess::run(library, {"index", first, "--name", "Disk", "--category", "Media"}).code, 0);
    QCOMPARE(CliProcess::run(library, {"index", first + "/photos", "--name", "Photos", "--category", "Media"})
                 .code,
             0);
    QCOMPARE(CliProcess::run(library, {"comment-file", "Disk", first + "/b.txt", "kept"}).code, 0);
    QCOMPARE(CliProcess::run(library, {"which", first}).text(), QString("Disk\n"));
    QCOMPARE(field(library, "Photos", "UUID"), kUuid);
    QCOMPARE(field(library, "Photos", "Label"), QStringLiteral("Disk \u00dcn\u00ef"));

    mounted.release();
    QVERIFY(mountImage(dir.filePath("disk.img"), second, mounted).isEmpty());
    const CliProcess::Result which = CliProcess::run(library, {"which", second + "/photos"});
    QCOMPARE(which.code, 0);
    QCOMPARE(which.text(), QString("Disk\nPhotos\n"));
    const CliProcess::Result update = CliProcess::run(library, {"update", "Disk"});
    QCOMPARE(update.code, 0);
    QVERIFY2(update.err.contains("Disk Is Mounted At " + second), qPrintable(update.err));
    QCOMPARE(field(library, "Disk", "Path"), second + "/");
    QCOMPARE(CliProcess::run(library, {"comment-file", "Disk", second + "/b.txt"}).text(), QString("kept\n"));

    // Not mounted any more: nothing is rescanned in its place.
    mounted.release();
    QCOMPARE(CliProcess::run(library, {"update", "Disk"}).code, 1);
    QCOMPARE(CliProcess::run(library, {"comment-file", "Disk", second + "/b.txt"}).text(), QString("kept\n"));
}

QTEST_GUILESS_MAIN(TestVolumeCommands)
#include "tst_volumecommands.moc"
