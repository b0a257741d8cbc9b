#include "CliProcess.h"
#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Result = CliProcess::TextResult;
const auto runCli = &CliProcess::runText;

const QString kInfo =
    "\"2\",\"1\",\"/media\",\"/media/usb/\",\"1.44 MB\",\"10 KB\",\"Removable\","
    "\"06/14/1998 10:00:00\",\"True\",\"False\",\"True\",\"True\",\"True\",\"False\",\"1\",\"*.txt\"";

void writeInfoLibrary(const QTemporaryDir &dir)
{
    TestSupport::writeLines(dir.filePath("Master.TXT"),
                            {"\"2\",\"0Games\",\"2Stick\",\"3Disk\"", "\"0\",\"0Music\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Master"), {"Stick", kInfo});
    TestSupport::writeLines(dir.filePath("Comments.TXT"), {"Stick", "blue one"});
    TestSupport::writeLines(dir.filePath("Catalogs/stick.txt"),
                            {"\"b.txt\",\"9\",\"06/14/1998\",\"/media/usb/\",\"\"",
                             "\"A.txt\",\"100\",\"01/02/1997 03:04:06\",\"/media/usb/\",\"note, with comma\"",
                             "\"A.txt\",\"100\",\"01/02/1997 03:04:06\",\"/media/usb/\",\"note, with comma\"",
                             "\"c.doc\",\"\",\"\",\"/media/usb/d/\",\"\""});
}

QByteArray crlf(const QStringList &lines)
{
    return lines.isEmpty() ? QByteArray() : (lines.join("\r\n") + "\r\n").toUtf8();
}

const QString kPredefinedUsage =
    "usage: kestrovane-cli [--library DIR] predefined-comments [--add TEXT | --remove TEXT]\n";

// Stick holds a.txt and two spellings of b.txt; a stray blank stays in the
// first line so that an untouched line shows whether it was rebuilt.
const QStringList kStick{"\"a.txt\", \"1\",\"\",\"/usb/\",\"first\"",
                         "\"b.txt\",\"2\",\"\",\"/usb/sub/\",\"\"",
                         "\"B.TXT\",\"3\",\"\",\"/usb/sub/\",\"upper\""};

void writeCommentLibrary(const QTemporaryDir &dir)
{
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Games\",\"2Stick\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Stick.TXT"), kStick);
    TestSupport::writeLines(dir.filePath("Kestrovane.INI"),
                            {"[Global.predefinedbox_Items]", "Count=2", "Item0=zeta", "Item1=BACKUP"});
}

// Games holds Stick, Disk and été, Music is empty; Stray.TXT is a catalog
// file that no node names. SOURCE is a folder to index, OUT an older output
// file, CATALOGS the library's Catalogs folder.
void writeLibrary(const QString &root)
{
    TestSupport::writeLines(root + "/Master.TXT",
                            {"\"3\",\"0Games\",\"2Stick\",\"3Disk\",\"3\u00e9t\u00e9\"", "\"0\",\"0Music\""});
    TestSupport::writeLines(root + "/Catalogs/Master", {"Stick", "\"1\"", "Disk", "\"2\""});
    TestSupport::writeLines(root + "/Comments.TXT",
                            {"Stick", "blue one", "Games", "play", "Music", "listen"});
    TestSupport::writeLines(root + "/Catalogs/Stick.TXT", {"\"a.txt\",\"1\",\"\",\"/usb/\",\"first\"",
                                                           "\"b.txt\",\"2\",\"\",\"/usb/sub/\",\"\""});
    TestSupport::writeLines(root + "/Catalogs/Disk.TXT", {"\"b.txt\",\"1\",\"\",\"/\",\"\""});
    TestSupport::writeLines(root + "/Catalogs/\u00e9t\u00e9.TXT", {"\"x.txt\",\"1\",\"\",\"/\",\"\""});
    TestSupport::writeLines(root + "/Catalogs/Stray.TXT", {"\"s.txt\",\"1\",\"\",\"/\",\"not Stick's\""});
    TestSupport::writeLines(root + "/Kestrovane.INI",
                            {"[Global.predefinedbox_Items]", "Count=2", "Item0=zeta", "Item1=BACKUP"});
}

} // namespace

class TestLibraryCommands : public QObject
{
    Q_OBJECT
private slots:
    void info();
    void showSorted_data();
    void showSorted();
    void renameAndMove();
    void addCategoryAndComment();
    void deleteCatalog();
    void deleteCategory();
    void renameCategory();
    void commentFileShown();
    void commentFileKeepsOtherBytes();
    void predefinedComments();
    void unreadableSettingsKept_data();
    void unreadableSettingsKept();
    void replacesAndCounts();
    void refused_data();
    void refused();
    void readingFails_data();
    void readingFails();
    void writingCreates_data();
    void writingCreates();
    void commandHelp();
};

void TestLibraryCommands::info()
{
    QTemporaryDir dir;
    writeInfoLibrary(dir);
    const Result r = runCli(dir.path(), {"info", "STICK"});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.startsWith("Name\tStick\nNumber of files\t2\nNumber of Directories\t1\n"));
    QVERIFY(r.out.contains("\nType\tRemovable\n"));
    QVERIFY(r.out.contains("\nMask\t*.txt\n"));
    QVERIFY(r.out.endsWith("\nComment\tblue one\n"));
    const Result none = runCli(dir.path(), {"info", "Disk"});
    QCOMPARE(none.code, 1);
    QVERIFY(none.err.contains("No information is available for Disk catalog."));
    // A line cut before the option flags is refused, as the window refuses it.
    TestSupport::writeLines(dir.filePath("Catalogs/Master"), {"Stick", kInfo.section(',', 0, 7)});
    const Result cut = runCli(dir.path(), {"info", "Stick"});
    QCOMPARE(cut.code, 1);
    QVERIFY(cut.err.contains("Please update"));
}

void TestLibraryCommands::showSorted_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("size") << QStringList{"--sort", "size"} << QStringList{"c.doc", "b.txt", "A.txt"};
    QTest::newRow("size reversed") << QStringList{"--sort", "1", "--reverse"}
                                   << QStringList{"A.txt", "b.txt", "c.doc"};
    QTest::newRow("date, empty earliest")
        << QStringList{"--sort", "date"} << QStringList{"c.doc", "A.txt", "b.txt"};
    QTest::newRow("path") << QStringList{"--reverse", "--sort", "path"}
                          << QStringList{"c.doc", "A.txt", "b.txt"};
}

void TestLibraryCommands::showSorted()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    writeInfoLibrary(dir);
    const Result r = runCli(dir.path(), QStringList{"show", "Stick"} + options);
    QCOMPARE(r.code, 0);
    QStringList got;
    for (const QString &line : r.out.split('\n', Qt::SkipEmptyParts))
        got << line.section('\t', 0, 0);
    if (QTest::currentDataTag() == QString("path"))
        QCOMPARE(got.first(), names.first()); // equal paths may come in any order
    else
        QCOMPARE(got, names);
}

void TestLibraryCommands::renameAndMove()
{
    QTemporaryDir dir;
    writeInfoLibrary(dir);
    const Result r = runCli(dir.path(), {"rename-catalog", "stick", "Pen Drive"});
    QCOMPARE(r.code, 0);
    QVERIFY(QFileInfo::exists(dir.filePath("Catalogs/Pen Drive.TXT")));
    QVERIFY(!QFileInfo::exists(dir.filePath("Catalogs/stick.txt")));
    QVERIFY(runCli(dir.path(), {"info", "pen drive"}).out.contains("Comment\tblue one"));
    QCOMPARE(runCli(dir.path(), {"move-catalog", "Pen Drive", "music"}).code, 0);
    QCOMPARE(runCli(dir.path(), {"tree"}).out, QString("Games\tDisk\nMusic\tPen Drive\n"));
}

void TestLibraryCommands::addCategoryAndComment()
{
    QTemporaryDir dir;
    writeInfoLibrary(dir);
    QCOMPARE(runCli(dir.path(), {"add-category", "Films"}).code, 0);
    QCOMPARE(runCli(dir.path(), {"comment", "films", "two\nlines"}).code, 0);
    QCOMPARE(runCli(dir.path(), {"comment", "Films"}).out, QString("two lines\n"));
    QCOMPARE(runCli(dir.path(), {"comment", "Films", ""}).code, 0);
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")), QByteArray("Stick\r\nblue one\r\n"));
}

void TestLibraryCommands::deleteCatalog()
{
    QTemporaryDir dir;
    writeLibrary(dir.path());
    const CliProcess::Result r = CliProcess::run(dir.path(), {"delete-catalog", "STICK"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.text(), QString("Catalog Stick Deleted\n"));
    QVERIFY(!QFileInfo::exists(dir.filePath("Catalogs/Stick.TXT")));
    QVERIFY(QFileInfo::exists(dir.filePath("Catalogs/Disk.TXT")));
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Master")), crlf({"Disk", "\"2\""}));
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")), crlf({"Games", "play", "Music", "listen"}));
    QCOMPARE(CliProcess::run(dir.path(), {"tree"}).text(),
             QString("Games\tDisk\nGames\t\u00e9t\u00e9\nMusic\t\n"));
}

void TestLibraryCommands::deleteCategory()
{
    QTemporaryDir dir;
    writeLibrary(dir.path());
    const CliProcess::Result r = CliProcess::run(dir.path(), {"delete-category", "MUSIC"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.text(), QString("Deleted Music Category\n"));
    QCOMPARE(TestSupport::readFile(dir.filePath("Master.TXT")),
             crlf({"\"3\",\"0Games\",\"3Disk\",\"3\u00e9t\u00e9\",\"2Stick\""}));
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")),
             crlf({"Stick", "blue one", "Games", "play"}));
}

void TestLibraryCommands::renameCategory()
{
    QTemporaryDir dir;
    writeLibrary(dir.path());
    const CliProcess::Result r = CliProcess::run(dir.path(), {"rename-category", "games", "Toys"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.text(), QString("Renamed Games Category To Toys Category\n"));
    QCOMPARE(CliProcess::run(dir.path(), {"tree"}).text(),
             QString("Music\t\nToys\tDisk\nToys\t\u00e9t\u00e9\nToys\tStick\n"));
    // The comment follows the name, in its place.
    QCOMPARE(TestSupport::readFile(dir.filePath("Comments.TXT")),
             crlf({"Stick", "blue one", "Toys", "play", "Music", "listen"}));
}

void TestLibraryCommands::commentFileShown()
{
    QTemporaryDir dir;
    writeCommentLibrary(dir);
    const CliProcess::TextResult shown =
        CliProcess::runText(dir.path(), {"comment-file", "stick", "/usb/sub/B.TXT"});
    QCOMPARE(shown.out, QString("upper\n"));
    QCOMPARE(shown.code, 0);
}

// A catalog of the Windows version: Windows-1252, mixed line ends, no end
// after the last line. Only the entry's line changes, in the file's code page,
// and a line break of the comment becomes a blank.
void TestLibraryCommands::commentFileKeepsOtherBytes()
{
    QTemporaryDir dir;
    writeCommentLibrary(dir);
    const QByteArray head = "\"caf\xE9.txt\", \"1\",\"\",\"/usb/\",\"d\xE9j\xE0\"\n\"x\"\r";
    const QByteArray tail = "\r\n\"B.TXT\",\"3\",\"\",\"/usb/sub/\",\"\xA0\"";
    TestSupport::writeFile(dir.filePath("Catalogs/Stick.TXT"),
                           head + "\"b.txt\",\"2\",\"\",\"/usb/sub/\",\"\"" + tail);
    QCOMPARE(
        CliProcess::run(dir.path(), {"comment-file", "Stick", "/usb/sub/b.txt", "\u00e9t\u00e9\nx"}).code, 0);
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Stick.TXT")),
             head + "\"b.txt\",\"2\",\"\",\"/usb/sub/\",\"\xE9t\xE9 x\"" + tail);
}

void TestLibraryCommands::predefinedComments()
{
    QTemporaryDir dir;
    writeCommentLibrary(dir);
    QCOMPARE(CliProcess::runText(dir.path(), {"predefined-comments"}).out, QString("BACKUP\nzeta\n"));
    QCOMPARE(CliProcess::run(dir.path(), {"predefined-comments", "--add", "apple"}).code, 0);
    QCOMPARE(CliProcess::run(dir.path(), {"predefined-comments", "--remove", "backup"}).code, 0);
    QCOMPARE(CliProcess::runText(dir.path(), {"predefined-comments"}).out, QString("apple\nzeta\n"));
}

void TestLibraryCommands::unreadableSettingsKept_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("args");
    for (const QString &kind : TestSupport::unreadableKinds()) {
        QTest::addRow("%s, add", qPrintable(kind))
            << kind << QStringList{"predefined-comments", "--add", "New"};
        QTest::addRow("%s, list", qPrintable(kind)) << kind << QStringList{"predefined-comments"};
    }
}

void TestLibraryCommands::unreadableSettingsKept()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    writeCommentLibrary(dir);
    const QString ini = dir.filePath("Kestrovane.INI");
    QVERIFY(TestSupport::makeUnreadable(ini, kind));
    const QByteArray before = TestSupport::fileState(ini);
    const CliProcess::Result r = CliProcess::run(dir.path(), args, TestSupport::withoutReadOverride());
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(ini + " exists but cannot be read"), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    QCOMPARE(TestSupport::fileState(ini), before);
}

void TestLibraryCommands::replacesAndCounts()
{
    QTemporaryDir dir;
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Discs\",\"3Films\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Films.TXT"),
                            {"\"a\",\"1\",\"\",\"/\",\"CD one\"", "\"b\",\"1\",\"\",\"/\",\"CD CD\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Music.TXT"), {"\"c\",\"1\",\"\",\"/\",\"cd\""});

    const CliProcess::TextResult first = CliProcess::runText(dir.path(), {"replace-comments", "CD", "DVD"});
    QCOMPARE(first.code, 0);
    QCOMPARE(first.out, QString("Films\t2\n"));
    QCOMPARE(first.err, QString("Total: 2 replacement(s) in 1 catalog(s)\n"));
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Films.TXT")),
             QByteArray("\"a\",\"1\",\"\",\"/\",\"DVD one\"\r\n\"b\",\"1\",\"\",\"/\",\"DVD CD\"\r\n"));
    // Letter case counts: Music's "cd" stays.
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Music.TXT")),
             QByteArray("\"c\",\"1\",\"\",\"/\",\"cd\"\r\n"));
}

// Every command's refusals in one table: the exit status and the message,
// nothing on standard output, and not one byte changed, neither in the
// library nor in an older output file the command was pointed at.
void TestLibraryCommands::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const auto row = [](const char *name, const QStringList &args, int code, const QString &message) {
        QTest::newRow(name) << args << code << message;
    };
    row("unknown global option", {"--verbose", "tree"}, 2, "unknown option --verbose");
    row("format names are lower case", {"tree", "--format", "CSV"}, 2, "");
    row("a format for a command without rows", {"add-category", "X", "--format", "csv"}, 2, "");

    row("show an unknown catalog", {"show", "Nope"}, 1, "Catalog Nope does not exists!");
    row("info without a name", {"info"}, 2, "missing NAME\nusage: kestrovane-cli [--library DIR] info NAME");
    row("show by an unknown column", {"show", "Stick", "--sort", "colour"}, 2, "--sort takes");

    const QString taken = "A catalog with the same name already exists!";
    row("rename, case only", {"rename-catalog", "Stick", "STICK"}, 1, taken);
    row("rename out of Catalogs", {"rename-catalog", "Stick", "../Escaped"}, 1, "cannot contain \"/\"");
    row("rename to nothing", {"rename-catalog", "Stick", ""}, 2,
        "NEW is empty\nusage: kestrovane-cli [--library DIR] rename-catalog");
    row("move to an unknown category", {"move-catalog", "Stick", "Nowhere"}, 1, "");
    row("delete two catalogs", {"delete-catalog", "Disk", "Stick"}, 2,
        "unexpected argument 'Stick'\nusage: kestrovane-cli [--library DIR] delete-catalog NAME\n");
    row("delete an unknown catalog", {"delete-catalog", "Games"}, 1, "Catalog Games does not exist\n");

    const QString taken2 = "A caategory with the same name already exists!\n";
    row("add a known category", {"add-category", "games"}, 1, "games Category Already Exists");
    row("add a name with CR LF", {"add-category", "Two\r\nLines"}, 1,
        "A category name cannot contain a line break.\n");
    row("delete a category holding catalogs", {"delete-category", "games"}, 1,
        "Can not delete category!\nThis category contains 3 catalogs.\n");
    row("rename a category to a taken name", {"rename-category", "Music", "GAMES"}, 1, taken2);
    row("rename an unknown category", {"rename-category", "Films", "Movies"}, 1,
        "Category Films does not exist\n");
    row("comment on nobody", {"comment", "Nobody"}, 1, "");

    row("comment-file, unknown catalog", {"comment-file", "Disc", "/usb/a.txt"}, 1,
        "Catalog Disc does not exists!\n");
    row("comment-file, unknown entry", {"comment-file", "Stick", "/usb/A.txt", "x"}, 1,
        "No entry /usb/A.txt in Stick catalog\n");
    row("comment-file without a path", {"comment-file", "Stick"}, 2,
        "missing PATH\nusage: kestrovane-cli [--library DIR] comment-file CATALOG PATH [TEXT]\n");
    row("add a listed comment", {"predefined-comments", "--add", "Backup"}, 1,
        "Backup is already in the list\n");
    row("add no comment", {"predefined-comments", "--add", ""}, 2, "an empty comment cannot be added\n");
    row("remove a missing comment", {"predefined-comments", "--remove", "none"}, 1,
        "none is not in the list\n");
    row("add and remove", {"predefined-comments", "--add", "a", "--remove", "b"}, 2,
        "--add and --remove go one at a time\n");
    row("replace with nothing", {"replace-comments", "blue", ""}, 2, "");

    const QStringList index{"index", "SOURCE", "--name", "X", "--category", "Games"};
    row("index without a category", {"index", "SOURCE", "--name", "X"}, 2, "");
    row("index, unknown if-exists", index + QStringList{"--if-exists", "merge"}, 2, "");
    row("index, empty rename", index + QStringList{"--if-exists", "rename:"}, 2, "");
    row("index a missing folder", {"index", "/no/such/dir", "--name", "X", "--category", "Games"}, 1, "");
    // The new category is not added for a catalog that cannot be saved.
    row("index a taken name into a new category",
        {"index", "SOURCE", "--name", "stick", "--category", "Audio"}, 1, "already exists");
    row("update an unknown catalog", {"update", "Nothing", "--path", "SOURCE"}, 1,
        "Catalog Nothing does not exist\n");

    row("search, invalid date", {"search", "--from", "xx", "--to", "1/1/98"}, 2,
        "'xx' is not a valid date: give it as 2025-01-31 (ISO 8601), "
        "or in this locale's order as 01/31/2025 or 01/31/25");
    row("search, two modes", {"search", "--word", "a", "--ext", "*.txt"}, 2, "one of");
    row("search an unknown catalog", {"search", "--word", "a", "--catalog", "Nope"}, 1,
        "Catalog Nope does not exist");
    row("dupes, nothing to compare", {"dupes", "--no-name", "--no-size", "--no-date"}, 2,
        "Please check at least one");
    row("single copies, nothing to compare", {"single-copies", "--no-name", "--no-size", "--no-date"}, 2,
        "Please check at least one");

    row("export, title without html", {"export", "Stick", "OUT", "--title", "T"}, 2,
        "--title goes with --html");
    row("search, html without export", {"search", "--word", "a", "--html"}, 2, "--html goes with --export");
    row("report, export without a file", {"report", "--export"}, 2, "--export needs a value");
    row("report, another option", {"report", "--export", "OUT", "--sort"}, 2, "unknown option --sort");

    row("print without a pdf", {"print", "Stick"}, 2, "print needs --pdf FILE");
    row("print, bad font", {"print", "Stick", "--pdf", "OUT", "--font", "Arial"}, 2,
        "--font takes FAMILY:POINTS");
    row("print onto a folder", {"print", "Stick", "--pdf", "CATALOGS"}, 1, "it is a folder.");
}

void TestLibraryCommands::refused()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    QTemporaryDir library;
    QTemporaryDir other;
    writeLibrary(library.path());
    const QString old = other.filePath("old.out");
    TestSupport::writeFile(old, "an older output");
    TestSupport::writeFile(other.filePath("source/song.mp3"), "la");
    args.replaceInStrings(QRegularExpression("^SOURCE$"), other.filePath("source"));
    args.replaceInStrings(QRegularExpression("^OUT$"), old);
    args.replaceInStrings(QRegularExpression("^CATALOGS$"), library.filePath("Catalogs"));
    const auto before = TestSupport::librarySnapshot(library.path());
    const auto outside = TestSupport::librarySnapshot(other.path());

    const CliProcess::Result r = CliProcess::run(library.path(), args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.startsWith("kestrovane-cli: ") && r.err.contains(message), qPrintable(r.err));
    QVERIFY(!r.err.contains("Added"));
    QVERIFY(r.out.isEmpty());
    QCOMPARE(TestSupport::librarySnapshot(library.path()), before);
    QCOMPARE(TestSupport::librarySnapshot(other.path()), outside);
}

void TestLibraryCommands::readingFails_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("tree") << QStringList{"tree"};
    QTest::newRow("info") << QStringList{"info", "X"};
    QTest::newRow("show") << QStringList{"show", "X"};
    QTest::newRow("search") << QStringList{"search", "--word", "a"};
    QTest::newRow("dupes") << QStringList{"dupes"};
    QTest::newRow("only-in") << QStringList{"only-in", "X"};
    QTest::newRow("report, as json") << QStringList{"report", "--format", "json"};
}

void TestLibraryCommands::readingFails()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const QString library = dir.filePath("library");
    const CliProcess::Result r = CliProcess::run(library, args);
    QCOMPARE(r.code, 3);
    QCOMPARE(r.err, "kestrovane-cli: no catalog library at " + library + "\n");
    QVERIFY(r.out.isEmpty());
    QVERIFY(!QFileInfo::exists(library));
}

void TestLibraryCommands::writingCreates_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("err");
    const QString created = "kestrovane-cli: created a new catalog library at %1\n";
    QTest::newRow("add-category") << QStringList{"add-category", "Audio"}
                                  << QStringList{"Audio\t", "Sample Category\t"} << created;
    QTest::newRow("index into a new category")
        << QStringList{"index", "SOURCE", "--name", "Music", "--category", "Audio"}
        << QStringList{"Audio\tMusic", "Sample Category\t"}
        << created + "kestrovane-cli: Category Audio Added\n";
    QTest::newRow("index into the first category")
        << QStringList{"index", "SOURCE", "--name", "Music", "--category", "sample category"}
        << QStringList{"Sample Category\tMusic"} << created;
    // The library is made before the command reads its arguments.
    QTest::newRow("a failing command")
        << QStringList{"delete-catalog", "Nothing"} << QStringList{"Sample Category\t"}
        << created + "kestrovane-cli: Catalog Nothing does not exist\n";
}

// A new library is what the program's first start leaves: Catalogs, a tree
// of "Sample Category", empty information and comment lists.
void TestLibraryCommands::writingCreates()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, tree);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QTemporaryDir source;
    TestSupport::writeFile(source.filePath("song.mp3"), "la");
    args.replaceInStrings("SOURCE", source.path());
    const QString library = dir.filePath("new/library");
    const CliProcess::Result r = CliProcess::run(library, args);
    QCOMPARE(r.err, err.arg(library));
    QVERIFY(QFileInfo(library + "/Catalogs").isDir());
    QVERIFY(QFileInfo::exists(library + "/Catalogs/Master"));
    QVERIFY(QFileInfo::exists(library + "/Comments.TXT"));
    QCOMPARE(TestSupport::readFile(library + "/Comments.TXT"), QByteArray());
    const CliProcess::Result read = CliProcess::run(library, {"tree"});
    QCOMPARE(read.code, 0);
    QCOMPARE(read.text(), tree.join('\n') + '\n');
    // Only the first writing command says so.
    const CliProcess::Result again = CliProcess::run(library, {"add-category", "Later"});
    QCOMPARE(again.code, 0);
    QVERIFY(again.err.isEmpty());
}

void TestLibraryCommands::commandHelp()
{
    QTemporaryDir dir;
    const QString library = dir.filePath("library");
    const QStringList names = CliProcess::commandNames();
    QVERIFY(names.size() >= 15 && names.contains("delete-category") && names.contains("search"));
    for (const QString &name : names) {
        const CliProcess::Result r = CliProcess::run(library, {name, "--help"});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.text().startsWith("Usage: kestrovane-cli [--library DIR] " + name), qPrintable(name));
        QVERIFY2(r.text().contains("\nExit status:\n  0 "), qPrintable(name));
        QVERIFY(r.err.isEmpty());
    }
    QVERIFY(CliProcess::run(library, {"search", "--help"}).text().contains("--format tsv|csv|json"));
    QVERIFY(!CliProcess::run(library, {"add-category", "--help"}).text().contains("--format"));
    QVERIFY(!QFileInfo::exists(library)); // asking for help changes nothing
}

QTEST_GUILESS_MAIN(TestLibraryCommands)
#include "tst_librarycommands.moc"
