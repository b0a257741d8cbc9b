#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/LibraryState.h"
#include "library/LibraryTransaction.h"
#include "library/SaveNewCatalog.h"
#include "library/SortedLineList.h"
#include "library/TextFile.h"
#include "library/TreeOperations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A tmpfs of 256 KB on a temporary folder, unmounted at the end.
class SmallDisk
{
public:
    SmallDisk() { m_mounted = TestSupport::mountTmpfs(m_dir.path(), 256, &m_reason); }
    ~SmallDisk()
    {
        if (m_mounted)
            TestSupport::unmount(m_dir.path());
    }
    bool mounted() const { return m_mounted; }
    const QString &reason() const { return m_reason; }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString root() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_reason;
};

const QByteArray kTree = "\"1\",\"0Games\",\"3Disc\"\r\n\"0\",\"0Music\"\r\n";
const QByteArray kInfo =
    "Disc\r\n\"1\",\"1\",\"/m\",\"/m/\",\"1 KB\",\"1 KB\",\"Fixed\",\"\",\"True\",\"True\","
    "\"True\",\"True\",\"True\",\"False\",\"0\"\r\n";
const QByteArray kComments = "Games\r\nold games\r\n";
const QByteArray kDisc = "\"a.txt\",\"1\",\"\",\"/m/\",\"kept comment\"\r\n";

QStringList files(const QString &dir)
{
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QStringLiteral("Kestrovane.lock"));
    names.sort();
    return names;
}

void writeLibrary(const SmallDisk &disk)
{
    TestSupport::writeFile(disk.path("Master.TXT"), kTree);
    TestSupport::writeFile(disk.path("Catalogs/Master"), kInfo);
    TestSupport::writeFile(disk.path("Comments.TXT"), kComments);
    TestSupport::writeFile(disk.path("Catalogs/Disc.TXT"), kDisc);
}

// Every file of the library as it was written, and nothing beside them but
// the filler.
void verifyUntouched(const SmallDisk &disk)
{
    QCOMPARE(TestSupport::readFile(disk.path("Master.TXT")), kTree);
    QCOMPARE(TestSupport::readFile(disk.path("Catalogs/Master")), kInfo);
    QCOMPARE(TestSupport::readFile(disk.path("Comments.TXT")), kComments);
    QCOMPARE(TestSupport::readFile(disk.path("Catalogs/Disc.TXT")), kDisc);
    QCOMPARE(files(disk.root()), QStringList({"Comments.TXT", "Master.TXT", "filler"}));
    QCOMPARE(files(disk.path("Catalogs")), QStringList({"Disc.TXT", "Master"}));
}

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT
private slots:
    void lineEndings_data();
    void lineEndings();
    void utf8AndCp1252();
    void writesCrLfUtf8();
    void missingFileFails();
    void failedWriteKeepsOldFile();
    void rewriteKeepsModeOwnerAndLink_data();
    void rewriteKeepsModeOwnerAndLink();
    void readsAsWholeFile_data();
    void readsAsWholeFile();
    void textFileWriteFails_data();
    void textFileWriteFails();
    void libraryChangeFails_data();
    void libraryChangeFails();
};

void TestTextFile::lineEndings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed with empty lines")
        << QByteArray("a\r\n\nb\r\r\nc") << QStringList{"a", "", "b", "", "c"};
    QTest::newRow("nul ends text") << QByteArray("a\r\nb\0c\r\nd", 10) << QStringList{"a", "b"};
    QTest::newRow("empty") << QByteArray() << QStringList();
}

void TestTextFile::lineEndings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.txt");
    QVERIFY(TestSupport::writeFile(path, bytes));
    QStringList read;
    QVERIFY(TextFile::readLines(path, read));
    QCOMPARE(read, lines);
}

void TestTextFile::utf8AndCp1252()
{
    QCOMPARE(TextFile::decode("caf\xC3\xA9"), QString::fromUtf8("café"));
    // Invalid UTF-8: the Windows-1252 reading, euro sign and quotes included.
    QCOMPARE(TextFile::decode("caf\xE9 \x80 \x93x\x94"), QString::fromUtf8("café € “x”"));
}

void TestTextFile::writesCrLfUtf8()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    QVERIFY(TextFile::writeLines(path, {"é", "", "b"}));
    QCOMPARE(TestSupport::readFile(path), QByteArray("\xC3\xA9\r\n\r\nb\r\n"));
    QVERIFY(TextFile::writeLines(path, {}));
    QCOMPARE(TestSupport::readFile(path), QByteArray());
}

void TestTextFile::missingFileFails()
{
    QTemporaryDir dir;
    QStringList lines{"keep"};
    QString error;
    QVERIFY(!TextFile::readLines(dir.filePath("none"), lines, &error));
    QVERIFY(!error.isEmpty());
}

void TestTextFile::failedWriteKeepsOldFile()
{
    // Root writes into read-only folders unless it gives up that power.
    QVERIFY(TestSupport::readOverride(false));
    const auto restore = qScopeGuard([] { TestSupport::readOverride(true); });
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.txt");
    QVERIFY(TextFile::writeLines(path, {"old"}));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QString error;
    QVERIFY(!TextFile::writeLines(path, {"new"}, &error));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(error.contains(path));
    QCOMPARE(TestSupport::readFile(path), QByteArray("old\r\n"));
}

void TestTextFile::rewriteKeepsModeOwnerAndLink_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("mode");
    for (const char *writer : {"lines", "compact", "bytes"}) {
        QTest::newRow(qPrintable(QString(writer) + ", read-only")) << QString(writer) << 0444;
        QTest::newRow(qPrintable(QString(writer) + ", private")) << QString(writer) << 0600;
        QTest::newRow(qPrintable(QString(writer) + ", shared")) << QString(writer) << 0664;
    }
}

// A link (here two in a row) is written through to its file, which keeps its
// mode, its owner when root writes, and no temporary is left beside it.
void TestTextFile::rewriteKeepsModeOwnerAndLink()
{
    QFETCH(QString, writer);
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString real = dir.filePath("sync/Master.TXT");
    QVERIFY(TestSupport::writeFile(real, "old\r\n"));
    QVERIFY(QFile::link("sync/Master.TXT", dir.filePath("first")));
    QVERIFY(QFile::link(dir.filePath("first"), dir.filePath("Master.TXT")));
    const QByteArray realName = QFile::encodeName(real);
    QCOMPARE(::chmod(realName.constData(), mode_t(mode)), 0);
    const bool root = geteuid() == 0;
    if (root)
        QCOMPARE(::chown(realName.constData(), 1234, 5678), 0);
    const QString path = dir.filePath("Master.TXT");
    SortedLineList compact;
    compact.add("new");
    const bool written = writer == "lines"     ? TextFile::writeLines(path, {"new"})
                         : writer == "compact" ? TextFile::writeLineList(path, compact)
                                               : TextFile::writeBytes(path, "new\r\n");
    QVERIFY(written);
    QCOMPARE(TestSupport::readFile(real), QByteArray("new\r\n"));
    QVERIFY(QFileInfo(path).isSymLink() && QFileInfo(dir.filePath("first")).isSymLink());
    struct stat info;
    QCOMPARE(::stat(realName.constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), mode);
    if (root)
        QVERIFY(info.st_uid == 1234 && info.st_gid == 5678);
    QCOMPARE(QDir(dir.filePath("sync")).entryList(QDir::Files | QDir::Hidden), QStringList{"Master.TXT"});
}

namespace {

constexpr int kPiece = 1 << 20;

// Filler lines ending so that the byte at offset `at` is the first of tail.
QByteArray fillTo(qsizetype at, const QByteArray &tail)
{
    QByteArray bytes;
    int i = 0;
    while (bytes.size() < at - 200)
        bytes += "\"line " + QByteArray::number(i++) + " \xC3\xA9t\xC3\xA9\",\"12\"\r\n";
    bytes += QByteArray(at - bytes.size(), 'x');
    return bytes + tail;
}

} // namespace

// Large files are read in pieces of whole lines; whatever falls on a piece
// boundary must read exactly as the whole file decoded at once.
void TestTextFile::readsAsWholeFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expectedLines");
    QTest::newRow("CR LF split by the boundary") << fillTo(kPiece - 1, "\r\nnext\r\nlast") << -1;
    QTest::newRow("character split by the boundary") << fillTo(kPiece - 1, "\xC3\xA9 word\r\nlast\r\n") << -1;
    QTest::newRow("lone CRs only across the boundary")
        << QByteArray(kPiece - 2, 'a') + "\rb\rc" + QByteArray(kPiece, 'd') + "\r" << 3;
    QTest::newRow("bad UTF-8 in the second piece") << fillTo(kPiece + 100, "caf\xE9\r\nend") << -1;
    QTest::newRow("NUL ends the text in the second piece")
        << fillTo(kPiece + 10, QByteArray("cut here", 8) + '\0' + "\r\nignored") << -1;
    QTest::newRow("BOM at the start") << "\xEF\xBB\xBF" + fillTo(kPiece, "tail") << -1;
    // A U+FEFF that begins a line is text, wherever the pieces fall.
    QTest::newRow("U+FEFF starting the second piece")
        << fillTo(kPiece - 2, "\r\n\xEF\xBB\xBFy\r\nlast") << -1;
}

void TestTextFile::readsAsWholeFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expectedLines);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.TXT");
    QVERIFY(TestSupport::writeFile(path, bytes));
    QStringList lines;
    QVERIFY(TextFile::readLines(path, lines));
    const QStringList whole = TextFile::splitLines(TextFile::decode(bytes));
    QCOMPARE(lines.size(), whole.size());
    QVERIFY(lines == whole);
    if (expectedLines >= 0)
        QCOMPARE(int(lines.size()), expectedLines);
}

// Writes on a file system that is full: each must fail, say so, and leave
// the old files whole.
void TestTextFile::textFileWriteFails_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::newRow("one short line, held in the write buffer") << 1;
    QTest::newRow("more than the disk holds") << 20000;
}

void TestTextFile::textFileWriteFails()
{
    QFETCH(int, lineCount);
    SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(disk.reason()));
    const QString path = disk.path("Master.TXT");
    QVERIFY(TestSupport::writeFile(path, kTree));
    TestSupport::fillDisk(disk.root());
    QStringList lines;
    for (int i = 0; i < lineCount; ++i)
        lines << QStringLiteral("\"0\",\"0Category %1\"").arg(i);
    QString error;
    QVERIFY(!TextFile::writeLines(path, lines, &error));
    QVERIFY2(error.contains(path), qPrintable(error));
    // The reason is the file system's, not the cancelled save's.
    QVERIFY2(error.contains(QLatin1String("No space left on device")), qPrintable(error));
    QCOMPARE(TestSupport::readFile(path), kTree);
    QCOMPARE(files(disk.root()), QStringList({"Master.TXT", "filler"}));
}

void TestTextFile::libraryChangeFails_data()
{
    QTest::addColumn<QString>("command");
    for (const char *command : {"save", "overwrite", "update", "rename", "delete", "comment", "move"})
        QTest::newRow(command) << QString(command);
}

void TestTextFile::libraryChangeFails()
{
    QFETCH(QString, command);
    SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(disk.reason()));
    writeLibrary(disk);
    CatalogLibrary library(disk.root());
    LibraryState state;
    QVERIFY(library.startUp(state));
    const QStringList treeBefore = state.tree.saveLines();
    const QStringList infoBefore = state.catalogInfo.lines();
    const QStringList commentsBefore = state.treeComments.lines();
    TestSupport::fillDisk(disk.root());

    const CatalogSaving::TableRows rows{{"b.txt", "2", "", "/m/", ""}};
    const CategoryTree::CatalogRef disc = state.tree.findCatalog(u"Disc");
    QString error;
    bool ok = false;
    if (command == "save" || command == "overwrite" || command == "update") {
        SaveNewCatalog save(state, library, {command == "save" ? "Fresh" : "Disc", 1, rows, "Fixed"});
        SaveNewCatalog::Result result = save.start();
        if (command == "overwrite")
            result = save.choose(SaveNewCatalog::Choice::Overwrite);
        else if (command == "update")
            result = save.choose(SaveNewCatalog::Choice::Update);
        QCOMPARE(result.outcome, SaveNewCatalog::Outcome::Failed);
        QCOMPARE(result.status, QString("Failed To Save Catalog"));
        error = result.error;
    } else if (command == "rename") {
        ok = TreeOperations::renameCatalog(state, library, "Disc", "Renamed", &error).isValid();
    } else if (command == "delete") {
        TreeOperations::deleteCatalog(state, library, "Disc", &error);
        ok = error.isEmpty();
    } else if (command == "comment") {
        ok = LibraryTransaction::apply(
            library, state,
            [&](LibraryTransaction &) { TreeOperations::setTreeComment(state, "Games", "new"); }, &error);
    } else {
        ok = LibraryTransaction::apply(
            library, state, [&](LibraryTransaction &) { state.tree.moveCatalog(disc, 1); }, &error);
    }
    QVERIFY(!ok);
    QVERIFY2(!error.isEmpty(), "a failed write must say why");
    verifyUntouched(disk);
    // Memory matches the files again, so a later write cannot store half.
    QCOMPARE(state.tree.saveLines(), treeBefore);
    QCOMPARE(state.catalogInfo.lines(), infoBefore);
    QCOMPARE(state.treeComments.lines(), commentsBefore);
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
