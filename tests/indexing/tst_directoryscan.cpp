#include "ScanTestControl.h"
#include "TestSupport.h"
#include "indexing/IndexingRun.h"
#include "indexing/UpdateRun.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/FileNameText.h"
#include "library/MountTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

const DateFormats Formats(QStringLiteral("MM/dd/yyyy"), QStringLiteral("HH:mm:ss"));

// Creates a file by its bytes, with a fixed time so that lines of files
// of equal size are equal but for their names.
bool makeFile(const QByteArray &path, const QByteArray &content = "data")
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    ::close(fd);
    const utimbuf stamp{1000000000, 1000000000};
    return written && utime(path.constData(), &stamp) == 0;
}

void put16(QByteArray &out, quint16 v)
{
    out.append(char(v & 0xFF)).append(char(v >> 8));
}

void put32(QByteArray &out, quint32 v)
{
    put16(out, quint16(v & 0xFFFF));
    put16(out, quint16(v >> 16));
}

// An archive of one stored member, as small as the format allows.
QByteArray storedZip(const QByteArray &member, const QByteArray &data)
{
    QByteArray zip;
    put32(zip, 0x04034B50);
    for (quint16 v : {20, 0, 0, 0, 0x5021})
        put16(zip, v);
    put32(zip, 0); // CRC, not checked by the listing
    put32(zip, quint32(data.size()));
    put32(zip, quint32(data.size()));
    put16(zip, quint16(member.size()));
    put16(zip, 0);
    zip += member + data;
    const quint32 central = quint32(zip.size());
    put32(zip, 0x02014B50);
    for (quint16 v : {20, 20, 0, 0, 0, 0x5021})
        put16(zip, v);
    put32(zip, 0);
    put32(zip, quint32(data.size()));
    put32(zip, quint32(data.size()));
    for (quint16 v : {quint16(member.size()), quint16(0), quint16(0), quint16(0), quint16(0)})
        put16(zip, v);
    put32(zip, 0);
    put32(zip, 0);
    zip += member;
    const quint32 centralSize = quint32(zip.size()) - central;
    put32(zip, 0x06054B50);
    for (quint16 v : {0, 0, 1, 1})
        put16(zip, v);
    put32(zip, centralSize);
    put32(zip, central);
    put16(zip, 0);
    return zip;
}

bool mount(const QByteArray &source, const QByteArray &target, const char *type, unsigned long flags)
{
    return ::mount(source.constData(), target.constData(), type, flags, nullptr) == 0;
}

} // namespace

class TstDirectoryScan : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void namesThatAreNotUtf8();
    void rootWithUndecodableName();
    void caseTwins();
    void threadsAndStops_data();
    void threadsAndStops();
    void updateKeepsEachTwinsComment();
    void mountTableParsing();
    void otherMountsAreNotEntered_data();
    void otherMountsAreNotEntered();

private:
    IndexingRun::Params params(const QString &directory) const;
    QStringList index(const QString &directory);
    bool mountBelow(const QByteArray &relative, const QByteArray &source, const char *type,
                    unsigned long flags);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;      // text, with its trailing "/"
    QByteArray m_native; // the same path as bytes
    QList<QByteArray> m_mounted;
    LibraryState m_state;
};

void TstDirectoryScan::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_root = m_dir->path() + u'/';
    m_native = QFile::encodeName(m_root);
    m_state = LibraryState();
}

void TstDirectoryScan::cleanup()
{
    // Unmounted even when a test failed, newest first.
    while (!m_mounted.isEmpty())
        umount2(m_mounted.takeLast().constData(), MNT_DETACH);
    // QDir cannot remove names that are not UTF-8; rm works on bytes.
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), m_dir->path()});
}

IndexingRun::Params TstDirectoryScan::params(const QString &directory) const
{
    IndexingRun::Params p;
    p.directory = directory;
    p.formats = Formats;
    p.volume = VolumeInfo(QStringLiteral("/"), QStringLiteral("Fixed"), 2048, 1024);
    return p;
}

QStringList TstDirectoryScan::index(const QString &directory)
{
    ScanTestControl control(m_state);
    auto p = params(directory);
    p.options.zipContents = true;
    IndexingRun(m_state, control).run(p);
    return m_state.fileLines.lines();
}

bool TstDirectoryScan::mountBelow(const QByteArray &relative, const QByteArray &source, const char *type,
                                  unsigned long flags)
{
    const QByteArray target = m_native + relative;
    if (!mount(source, target, type, flags))
        return false;
    m_mounted.append(target);
    return true;
}

void TstDirectoryScan::namesThatAreNotUtf8()
{
    QVERIFY(makeFile(m_native + "n\xff.txt"));
    QVERIFY(makeFile(m_native + "n\xfe.txt"));
    QVERIFY(makeFile(m_native + "say \"hi\", \"\".txt"));
    QVERIFY(mkdir(m_native + "d\xe9", 0755) == 0);
    QVERIFY(makeFile(m_native + "d\xe9/in\x80.txt"));
    QVERIFY(makeFile(m_native + "d\xe9/arc\xff.zip", storedZip("member.txt", "zipped")));

    const QStringList lines = index(m_dir->path());
    QStringList entries;
    for (const QString &line : lines) {
        const QStringList f = CommaText::split(line);
        entries << f.at(3).mid(m_root.size()) + f.at(0);
        // Every entry leads back to its file (a member to its archive).
        const QString file = f.at(3).endsWith(u'/') ? f.at(3) + f.at(0) : f.at(3);
        struct stat st;
        QVERIFY2(lstat(FileNameText::toNative(file).constData(), &st) == 0, qPrintable(file));
    }
    entries.sort();
    QCOMPARE(entries,
             QStringList({"d\u00e9/arc\u00ff.zip", "d\u00e9/arc\u00ff.zipmember.txt", "d\u00e9/in\u20ac.txt",
                          "n\u00fe.txt", "n\u00ff.txt", "say \"hi\", \"\".txt"}));
}

void TstDirectoryScan::rootWithUndecodableName()
{
    QVERIFY(mkdir(m_native + "r\xfe", 0755) == 0);
    QVERIFY(makeFile(m_native + "r\xfe/a.txt"));
    // The root as a catalog spells it: its text is all a run is given.
    const QString root = m_root + QStringLiteral("r\u00fe");
    const QStringList lines = index(root);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(CommaText::split(lines.first()).mid(0, 4),
             QStringList({"a.txt", "4", "09/09/2001 01:46:40", root + u'/'}));
    // Its volume is the one of the folder that holds it.
    const VolumeInfo volume = VolumeInfo::read(root);
    QCOMPARE(volume.designation(), VolumeInfo::read(m_dir->path()).designation());
    QCOMPARE(volume.driveTypeText(), VolumeInfo::read(m_dir->path()).driveTypeText());
    QVERIFY(volume.driveTypeText() != QLatin1String("Unknown"));
    QCOMPARE(VolumeInfo::read(m_root + QStringLiteral("r\u00fe-missing")).totalBytes(), qint64(-1));
}

void TstDirectoryScan::caseTwins()
{
    for (const char *name : {"Same.txt", "same.TXT", "Dir/x.txt", "dir/x.txt", "a b.txt", "a\nb.txt"}) {
        if (QByteArray(name).contains('/'))
            mkdir(m_native + QByteArray(name).left(3), 0755);
        QVERIFY(makeFile(m_native + name, QByteArray(name).contains('\n') ? "longer" : "data"));
    }
    QStringList entries;
    for (const QString &line : index(m_dir->path())) {
        const QStringList f = CommaText::split(line);
        entries << f.at(3).mid(m_root.size()) + f.at(0);
    }
    // Case-insensitive order, twins side by side.
    QCOMPARE(entries, QStringList({"a b.txt", "a b.txt", "Same.txt", "same.TXT", "Dir/x.txt", "dir/x.txt"}));
}

void TstDirectoryScan::threadsAndStops_data()
{
    QTest::addColumn<qint64>("stopAfter");
    QTest::addColumn<int>("files");
    // The walk tests every entry once (40 folders, 200 files) before the
    // files are listed.
    QTest::newRow("never") << qint64(-1) << 200;
    QTest::newRow("midway") << qint64(240 + 77) << 77;
}

// Folders listed ahead on other threads give the same lines, and a stop
// keeps exactly the files the scan took before it, in the scan's order.
void TstDirectoryScan::threadsAndStops()
{
    QFETCH(qint64, stopAfter);
    QFETCH(int, files);
    for (int d = 0; d < 40; ++d) {
        const QByteArray dir = m_native + "d" + QByteArray::number(d * 7 % 40);
        QVERIFY(mkdir(dir.constData(), 0755) == 0);
        for (int f = 0; f < 5; ++f)
            QVERIFY(makeFile(dir + "/F" + QByteArray::number((f * 3 + d) % 5), "x"));
    }
    QStringList first;
    for (const int threads : {1, 3}) {
        ScanTestControl control(m_state, stopAfter);
        auto p = params(m_dir->path());
        p.threads = threads;
        IndexingRun(m_state, control).run(p);
        QCOMPARE(m_state.fileLines.count(), qsizetype(files));
        if (first.isEmpty())
            first = m_state.fileLines.lines();
        QCOMPARE(m_state.fileLines.lines(), first);
    }
}

void TstDirectoryScan::updateKeepsEachTwinsComment()
{
    QTemporaryDir libraryDir;
    QVERIFY(QDir(libraryDir.path()).mkpath(QStringLiteral("Catalogs")));
    CatalogLibrary library(libraryDir.path());
    for (const char *name : {"Same.txt", "same.TXT", "n\xff.txt", "n\xfe.txt", "a b.txt"})
        QVERIFY(makeFile(m_native + name));
    QStringList stored;
    for (const QString &line : index(m_dir->path())) {
        QStringList f = CommaText::split(line);
        f[4] = QStringLiteral("comment of ") + f.at(0);
        stored << CommaText::join(f);
    }
    QCOMPARE(stored.size(), 5);
    QVERIFY(library.writeCatalog(QStringLiteral("Disc"), stored));

    // One twin goes, a file whose name differs from a stored one only in
    // its undecodable byte comes, and one whose line break reads as a blank.
    QVERIFY(::unlink(m_native + "same.TXT") == 0);
    QVERIFY(makeFile(m_native + "n\xfd.txt"));
    QVERIFY(makeFile(m_native + "a\nb.txt", "longer"));
    UpdateRun::Params p;
    p.catalogName = QStringLiteral("Disc");
    p.directory = m_dir->path();
    p.formats = Formats;
    p.volume = VolumeInfo(QStringLiteral("/"), QStringLiteral("Fixed"), 0, 0);
    ScanTestControl control(m_state);
    UpdateRun(m_state, library, control).run(p);
    QCOMPARE(control.statuses.filter(QStringLiteral("Removed")),
             QStringList{QStringLiteral("2 New Addition(s) 1 Removed")});

    SortedLineList after;
    QVERIFY(library.loadCatalog(QStringLiteral("Disc"), after));
    QStringList comments;
    for (const QString &line : after.lines()) {
        const QStringList f = CommaText::split(line);
        comments << f.at(0) + u'=' + f.at(4);
    }
    QCOMPARE(comments, QStringList({"a b.txt=comment of a b.txt",
                                    "a b.txt=", "n\u00fd.txt=", "n\u00ff.txt=comment of n\u00ff.txt",
                                    "n\u00fe.txt=comment of n\u00fe.txt", "Same.txt=comment of Same.txt"}));
}

void TstDirectoryScan::mountTableParsing()
{
    const MountTable table = MountTable::fromText("22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                                                  "40 22 0:35 / /mnt/with\\040blank rw - tmpfs tmpfs rw\n"
                                                  "41 22 8:1 /usr/share /srv/bound/ rw - ext4 /dev/sda1 rw\n"
                                                  "short line\n");
    QVERIFY(table.isMountPoint("/"));
    QVERIFY(table.isMountPoint("/mnt/with blank"));
    QVERIFY(table.isMountPoint("/srv/bound"));
    QVERIFY(!table.isMountPoint("/mnt"));
    QVERIFY(!table.isMountPoint("/mnt/with\\040blank"));
    QVERIFY(!MountTable::current().isEmpty());
}

void TstDirectoryScan::otherMountsAreNotEntered_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("root as given") << false;
    // Mount points are named by real paths; a root reached through a link
    // must still find them.
    QTest::newRow("root through a link") << true;
}

void TstDirectoryScan::otherMountsAreNotEntered()
{
    QFETCH(bool, throughLink);
    QTemporaryDir elsewhere;
    const QByteArray source = QFile::encodeName(elsewhere.path());
    QVERIFY(makeFile(source + "/bound.txt"));
    QVERIFY(makeFile(m_native + "own.txt"));
    for (const char *dir : {"sub", "sub/bind", "sub/tmp", "sub/bind\xff"})
        QVERIFY(mkdir(m_native + dir, 0755) == 0);
    // A bind mount has the device of what it binds: only the mount table
    // tells it from a plain directory.
    if (!mountBelow("sub/bind", source, nullptr, MS_BIND))
        QSKIP(qPrintable(QStringLiteral("cannot bind-mount here: %1").arg(qt_error_string(errno))));
    QVERIFY(mountBelow("sub/bind\xff", source, nullptr, MS_BIND));
    if (!mountBelow("sub/tmp", "tmpfs", "tmpfs", 0))
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here: %1").arg(qt_error_string(errno))));
    QVERIFY(makeFile(m_native + "sub/tmp/ram.txt"));

    QString directory = m_dir->path();
    QTemporaryDir links;
    if (throughLink) {
        directory = links.path() + QStringLiteral("/link");
        QVERIFY(symlink(m_native.constData(), QFile::encodeName(directory).constData()) == 0);
    }
    IndexingRun::Result result;
    ScanTestControl control(m_state);
    result = IndexingRun(m_state, control).run(params(directory));
    QCOMPARE(m_state.fileLines.count(), 1);
    QCOMPARE(CommaText::split(m_state.fileLines.at(0)).value(0), QStringLiteral("own.txt"));
    QCOMPARE(result.directoryCount, qint64(2)); // the root and sub
}

QTEST_GUILESS_MAIN(TstDirectoryScan)
#include "tst_directoryscan.moc"
