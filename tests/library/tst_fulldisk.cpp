// Writes on a file system that is full: each must fail, say so, and leave
// the old files whole.
#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/LibraryState.h"
#include "library/LibraryTransaction.h"
#include "library/SaveNewCatalog.h"
#include "library/SortedLineList.h"
#include "library/TextFile.h"
#include "library/TreeOperations.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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

class TestFullDisk : public QObject
{
    Q_OBJECT
private slots:
    void textFileWriteFails_data();
    void textFileWriteFails();
    void compactWriteFails_data() { textFileWriteFails_data(); }
    void compactWriteFails();
    void libraryChangeFails_data();
    void libraryChangeFails();
};

void TestFullDisk::textFileWriteFails_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::newRow("one short line, held in the write buffer") << 1;
    QTest::newRow("more than the disk holds") << 20000;
}

void TestFullDisk::textFileWriteFails()
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

void TestFullDisk::compactWriteFails()
{
    QFETCH(int, lineCount);
    SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(disk.reason()));
    const QString path = disk.path("Catalogs/Disc.TXT");
    QVERIFY(TestSupport::writeFile(path, kDisc));
    TestSupport::fillDisk(disk.root());
    SortedLineList lines;
    for (int i = 0; i < lineCount; ++i)
        lines.add(QStringLiteral("\"file %1.txt\",\"12\",\"01/02/2003\",\"/media/\",\"\"").arg(i));
    QString error;
    QVERIFY(!TextFile::writeLineList(path, lines, &error));
    QVERIFY2(error.contains(QLatin1String("No space left on device")), qPrintable(error));
    QCOMPARE(TestSupport::readFile(path), kDisc);
    QCOMPARE(files(disk.path("Catalogs")), QStringList({"Disc.TXT"}));
}

void TestFullDisk::libraryChangeFails_data()
{
    QTest::addColumn<QString>("command");
    for (const char *command : {"save", "overwrite", "update", "rename", "delete", "comment", "move"})
        QTest::newRow(command) << QString(command);
}

void TestFullDisk::libraryChangeFails()
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

QTEST_GUILESS_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
