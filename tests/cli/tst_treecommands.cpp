#include "CliProcess.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Games holds Disk and Stick, Music is empty; Stick, Games and Music have
// comments.
void writeLibrary(const QTemporaryDir &dir)
{
    TestSupport::writeLines(dir.filePath("Master.TXT"),
                            {"\"0\",\"0Music\"", "\"2\",\"0Games\",\"2Stick\",\"3Disk\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Master"), {"Stick", "\"1\"", "Disk", "\"2\""});
    TestSupport::writeLines(dir.filePath("Comments.TXT"),
                            {"Stick", "blue one", "Games", "play", "Music", "listen"});
    TestSupport::writeLines(dir.filePath("Catalogs/Stick.TXT"), {"\"a.txt\",\"1\",\"\",\"/\",\"\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Disk.TXT"), {"\"b.txt\",\"1\",\"\",\"/\",\"\""});
}

QByteArray crlf(const QStringList &lines)
{
    return lines.isEmpty() ? QByteArray() : (lines.join("\r\n") + "\r\n").toUtf8();
}

} // namespace

class TestTreeCommands : public QObject
{
    Q_OBJECT
private slots:
    void deleteCatalog();
    void deleteCategory();
    void renameCategory();
};

void TestTreeCommands::deleteCatalog()
{
    QTemporaryDir dir;
    writeLibrary(dir);
    const CliProcess::Result r = CliProcess::run(dir.path(), {"delete-catalog", "STICK"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.text(), QString("Catalog Stick Deleted\n"));
    QVERIFY(!QFileInfo::exists(dir.filePath("Catalogs/Stick.TXT")));
    QVERIFY(QFileInfo::exists(dir.filePath("Catalogs/Disk.TXT")));
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Master")), crlf({"Disk", "\"2\""}));
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")), crlf({"Games", "play", "Music", "listen"}));
    QCOMPARE(CliProcess::run(dir.path(), {"tree"}).text(), QString("Games\tDisk\nMusic\t\n"));
}

void TestTreeCommands::deleteCategory()
{
    QTemporaryDir dir;
    writeLibrary(dir);
    const CliProcess::Result r = CliProcess::run(dir.path(), {"delete-category", "MUSIC"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.text(), QString("Deleted Music Category\n"));
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")),
             crlf({"\"2\",\"0Games\",\"3Disk\",\"2Stick\""}));
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")),
             crlf({"Stick", "blue one", "Games", "play"}));
    // Emptied, the other category may go too; the last tree is kept on disk,
    // as the program keeps it when every category is gone.
    QCOMPARE(CliProcess::run(dir.path(), {"delete-catalog", "Disk"}).code, 0);
    QCOMPARE(CliProcess::run(dir.path(), {"delete-catalog", "Stick"}).code, 0);
    QCOMPARE(CliProcess::run(dir.path(), {"delete-category", "Games"}).code, 0);
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")), QByteArray());
}

void TestTreeCommands::renameCategory()
{
    QTemporaryDir dir;
    writeLibrary(dir);
    const CliProcess::Result r = CliProcess::run(dir.path(), {"rename-category", "games", "Toys"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.text(), QString("Renamed Games Category To Toys Category\n"));
    QCOMPARE(CliProcess::run(dir.path(), {"tree"}).text(), QString("Music\t\nToys\tDisk\nToys\tStick\n"));
    // The comment follows the name, in its place.
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")),
             crlf({"Stick", "blue one", "Toys", "play", "Music", "listen"}));
}

QTEST_GUILESS_MAIN(TestTreeCommands)
#include "tst_treecommands.moc"
