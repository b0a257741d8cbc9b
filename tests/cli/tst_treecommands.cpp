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
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"0\",\"0Music\"", "\"2\",\"0Games\",\"2Stick\",\"3Disk\""});
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
    void refusals_data();
    void refusals();
    void deleteCatalog();
    void deleteCategory();
    void renameCategory();
};

void TestTreeCommands::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    const QString holds = "kestrovane-cli: Can not delete category!\nThis category contains 2 catalogs.\n";
    const QString taken = "kestrovane-cli: A caategory with the same name already exists!\n";
    QTest::newRow("delete a category holding catalogs") << QStringList{"delete-category", "games"} << 1 << holds;
    QTest::newRow("delete an unknown category") << QStringList{"delete-category", "Films"} << 1
                                                << "kestrovane-cli: Category Films does not exist\n";
    QTest::newRow("delete an unknown catalog") << QStringList{"delete-catalog", "Games"} << 1
                                               << "kestrovane-cli: Catalog Games does not exist\n";
    QTest::newRow("rename to a taken name") << QStringList{"rename-category", "Music", "GAMES"} << 1 << taken;
    QTest::newRow("rename to its own name") << QStringList{"rename-category", "music", "MUSIC"} << 1 << taken;
    QTest::newRow("rename an unknown category") << QStringList{"rename-category", "Films", "Movies"} << 1
                                                << "kestrovane-cli: Category Films does not exist\n";
    QTest::newRow("rename to nothing") << QStringList{"rename-category", "Music", ""} << 2
                                       << "kestrovane-cli: NEW is empty\n"
                                          "usage: kestrovane-cli [--library DIR] rename-category OLD NEW\n";
    const QString lineBreak = "kestrovane-cli: A category name cannot contain a line break.\n";
    QTest::newRow("add a name with CR LF") << QStringList{"add-category", "Two\r\nLines"} << 1 << lineBreak;
    QTest::newRow("rename to a name with LF") << QStringList{"rename-category", "Music", "A\nB"} << 1 << lineBreak;
    QTest::newRow("add a name with an escape")
        << QStringList{"add-category", "Red\x1b[31m"} << 1
        << "kestrovane-cli: A category name cannot contain a control character.\n";
    QTest::newRow("delete two catalogs") << QStringList{"delete-catalog", "Disk", "Stick"} << 2
                                         << "kestrovane-cli: unexpected argument 'Stick'\n"
                                            "usage: kestrovane-cli [--library DIR] delete-catalog NAME\n";
}

void TestTreeCommands::refusals()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, err);
    QTemporaryDir dir;
    writeLibrary(dir);
    const auto before = TestSupport::librarySnapshot(dir.path());
    const CliProcess::Result r = CliProcess::run(dir.path(), args);
    QCOMPARE(r.code, code);
    QCOMPARE(r.err, err);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(TestSupport::librarySnapshot(dir.path()), before);
}

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
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")), crlf({"\"2\",\"0Games\",\"3Disk\",\"2Stick\""}));
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")), crlf({"Stick", "blue one", "Games", "play"}));
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
