#include "HostileCatalog.h"
#include "ScanTestControl.h"
#include "indexing/IndexingRun.h"
#include "library/CatalogLibrary.h"
#include "library/CatalogSaving.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "library/SaveNewCatalog.h"
#include "library/TextFile.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Choice = SaveNewCatalog::Choice;

const DateFormats Formats(QStringLiteral("MM/dd/yyyy"), QStringLiteral("HH:mm:ss"));

// Names the generated catalog lines cannot hold: line breaks, lone quotes,
// bytes that are not UTF-8, names differing only in letter case.
const QList<QByteArray> ExtraNames{
    "line\nbreak.txt",
    "carriage\rreturn",
    "\"",
    "\"\"",
    ",",
    "\",\"",
    " ",
    "trailing quote\"",
    "caf\xe9.txt",
    "Case.txt",
    "CASE.txt",
    "case.txt",
    "\xe2\x84\xaa"
    "elvin.txt",
};

void makeFile(const QByteArray &path, qint64 size, qint64 mtime)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY2(fd >= 0, path.constData());
    QCOMPARE(::ftruncate(fd, size), 0);
    const timespec times[2] = {{mtime, 0}, {mtime, 0}};
    QCOMPARE(::futimens(fd, times), 0);
    ::close(fd);
}

// A tree below root holding the files of the generated lines: their names
// and their folders (long ones too), sizes and times, plus ExtraNames.
void makeTree(const QString &root, quint32 seed)
{
    const QByteArray base = QFile::encodeName(root);
    qint64 n = 0;
    for (const QString &line : HostileCatalog::lines(seed, 400)) {
        const QStringList fields = CommaText::split(line);
        QString name = CommaText::field(fields, 0);
        name.replace(u'/', u'_');
        if (fields.size() < 4 || name.isEmpty() || name == u"." || name == u"..")
            continue;
        const QString folder = CommaText::field(fields, 3).mid(1); // below the root
        const QByteArray dir = base + '/' + folder.toUtf8();
        QDir().mkpath(QFile::decodeName(dir));
        // Odd and even seconds, and no time at all, show in the date field.
        makeFile(dir + name.toUtf8(), CommaText::field(fields, 1).toLongLong(),
                 n == 3 ? 0 : 900000001 + 7777 * n);
        ++n;
    }
    for (const QByteArray &name : ExtraNames)
        makeFile(base + "/media/" + name, name.size(), 1234567891);
}

// The command-line index as it saved a scan before: the lines split into
// table cells, the cells written back as lines.
SaveNewCatalog::Request referenceRequest(const LibraryState &state, const QString &name)
{
    CatalogSaving::TableRows rows;
    for (const QString &line : state.fileLines.lines()) {
        const QStringList fields = CommaText::split(line);
        if (!fields.isEmpty())
            rows << fields;
    }
    return {name, 0, rows, QStringLiteral("Fixed")};
}

struct Library {
    QTemporaryDir dir;
    CatalogLibrary library{dir.path()};
    LibraryState state;
};

// Saves a finished scan into a library that already holds a catalog of the
// same name (with comments) when choice asks for one.
QByteArray save(LibraryState &scan, bool reference, Choice choice, const QStringList &stored)
{
    Library lib;
    QDir(lib.dir.path()).mkpath(QStringLiteral("Catalogs"));
    lib.state.tree.addCategory(QStringLiteral("Disks"));
    const QString name = QStringLiteral("Disc");
    if (!stored.isEmpty()) {
        lib.library.writeCatalog(name, stored);
        lib.state.tree.addCatalog(0, name, 0);
    }
    lib.state.fileLines.addAll(scan.fileLines.lines());
    SaveNewCatalog::Request request{name, 0, {}, QStringLiteral("Fixed")};
    if (reference)
        request = referenceRequest(lib.state, name);
    else
        request.lines = &lib.state.fileLines;
    SaveNewCatalog save(lib.state, lib.library, request);
    const SaveNewCatalog::Result result = stored.isEmpty() ? save.start() : save.choose(choice);
    if (result.outcome == SaveNewCatalog::Outcome::Failed ||
        result.outcome == SaveNewCatalog::Outcome::Refused)
        qWarning() << "not saved:" << result.status << result.error << result.warning;
    QFile file(lib.library.catalogFilePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A stored catalog sharing some entries with the scan, a comment on each
// of them, beside entries the scan lacks.
QStringList storedCatalog(const LibraryState &scan, quint32 seed)
{
    QStringList stored = HostileCatalog::lines(seed + 100, 50);
    const QStringList &lines = scan.fileLines.lines();
    for (qsizetype i = 0; i < lines.size(); i += 3) {
        QStringList fields = CommaText::split(lines.at(i));
        fields[4] = QStringLiteral("comment \"%1\", kept").arg(i);
        stored << CommaText::join(fields);
    }
    return stored;
}

} // namespace

class TstIndexSaving : public QObject
{
    Q_OBJECT

private slots:
    void scanSavedAsItsCells_data();
    void scanSavedAsItsCells();
};

void TstIndexSaving::scanSavedAsItsCells_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("storedBefore");
    QTest::newRow("new catalog") << 1u << int(Choice::Overwrite) << false;
    QTest::newRow("new catalog, other names") << 7u << int(Choice::Overwrite) << false;
    QTest::newRow("overwrite") << 42u << int(Choice::Overwrite) << true;
    QTest::newRow("update keeps comments") << 5u << int(Choice::Update) << true;
}

void TstIndexSaving::scanSavedAsItsCells()
{
    QFETCH(quint32, seed);
    QFETCH(int, choice);
    QFETCH(bool, storedBefore);
    QTemporaryDir tree;
    // Thousands of folders come and go far faster in memory than on a
    // busy disk; without the mount the test is only slower.
    const QByteArray treePath = QFile::encodeName(tree.path());
    const bool mounted = ::mount("tmpfs", treePath.constData(), "tmpfs", 0, nullptr) == 0;
    const auto removeTree = qScopeGuard([&] {
        if (mounted) {
            ::umount(treePath.constData());
            return;
        }
        // QTemporaryDir cannot remove a name that is not UTF-8.
        for (const QByteArray &name : ExtraNames)
            ::unlink(treePath + "/media/" + name);
    });
    makeTree(tree.path(), seed);
    if (QTest::currentTestFailed())
        return;

    LibraryState scan;
    ScanTestControl control(scan);
    IndexingRun::Params params;
    params.directory = tree.path();
    params.formats = Formats;
    params.volume =
        VolumeInfo(QStringLiteral("/"), QStringLiteral("Fixed"), 2048, 1024, QStringLiteral("LBL"));
    const IndexingRun::Result run = IndexingRun(scan, control).run(params);
    QCOMPARE(run.outcome, IndexingRun::Outcome::Finished);
    QVERIFY(run.fileCount > 300);

    const QStringList stored = storedBefore ? storedCatalog(scan, seed) : QStringList();
    const QByteArray expected = save(scan, true, Choice(choice), stored);
    const QByteArray actual = save(scan, false, Choice(choice), stored);
    QVERIFY(!expected.isEmpty());
    const QList<QByteArray> expectedLines = expected.split('\n');
    const QList<QByteArray> actualLines = actual.split('\n');
    for (qsizetype i = 0; i < qMin(expectedLines.size(), actualLines.size()); ++i)
        QCOMPARE(actualLines.at(i), expectedLines.at(i));
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TstIndexSaving)
#include "tst_indexsaving.moc"
