// Every command's refusals in one table: the exit status and the message,
// nothing on standard output, and not one byte changed, neither in the
// library nor in an older output file the command was pointed at.
#include "CliProcess.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Games holds Stick, Disk and été, Music is empty; Stray.TXT is a catalog
// file that no node names. SOURCE is a folder to index, OUT an older output
// file, CATALOGS the library's Catalogs folder.
void writeLibrary(const QString &root)
{
    TestSupport::writeLines(root + "/Master.TXT",
                            {"\"3\",\"0Games\",\"2Stick\",\"3Disk\",\"3\u00e9t\u00e9\"", "\"0\",\"0Music\""});
    TestSupport::writeLines(root + "/Catalogs/Master", {"Stick", "\"1\""});
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

class TestCliRefusals : public QObject
{
    Q_OBJECT
private slots:
    void refused_data();
    void refused();
};

void TestCliRefusals::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const auto row = [](const char *name, const QStringList &args, int code, const QString &message) {
        QTest::newRow(name) << args << code << message;
    };
    row("unknown command", {"frobnicate"}, 2, "Unknown command 'frobnicate'");
    row("unknown global option", {"--verbose", "tree"}, 2, "unknown option --verbose");
    row("unknown format", {"tree", "--format", "xml"}, 2, "");
    row("no format", {"report", "--format"}, 2, "");
    row("a format for a command without rows", {"add-category", "X", "--format", "csv"}, 2, "");

    row("show an unknown catalog", {"show", "Nope"}, 1, "Catalog Nope does not exists!");
    row("info without a name", {"info"}, 2, "missing NAME\nusage: kestrovane-cli [--library DIR] info NAME");
    row("show by an unknown column", {"show", "Stick", "--sort", "colour"}, 2, "--sort takes");

    const QString taken = "A catalog with the same name already exists!";
    row("rename onto a stray file", {"rename-catalog", "Stick", "stray"}, 1, taken);
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
    row("add a name with an escape", {"add-category", "Red\x1b[31m"}, 1,
        "A category name cannot contain a control character.\n");
    row("delete a category holding catalogs", {"delete-category", "games"}, 1,
        "Can not delete category!\nThis category contains 3 catalogs.\n");
    row("delete an unknown category", {"delete-category", "Films"}, 1, "Category Films does not exist\n");
    row("rename a category to a taken name", {"rename-category", "Music", "GAMES"}, 1, taken2);
    row("rename an unknown category", {"rename-category", "Films", "Movies"}, 1,
        "Category Films does not exist\n");
    row("rename a category to nothing", {"rename-category", "Music", ""}, 2,
        "NEW is empty\nusage: kestrovane-cli [--library DIR] rename-category OLD NEW\n");
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
    row("update without a name", {"update"}, 2, "");
    row("update an unknown catalog", {"update", "Nothing", "--path", "SOURCE"}, 1,
        "Catalog Nothing does not exist\n");

    row("search, invalid date", {"search", "--from", "xx", "--to", "1/1/98"}, 2, "'xx' is not a valid date");
    row("search, two modes", {"search", "--word", "a", "--ext", "*.txt"}, 2, "one of");
    row("search an unknown catalog", {"search", "--word", "a", "--catalog", "Nope"}, 1,
        "Catalog Nope does not exist");
    row("dupes, nothing to compare", {"dupes", "--no-name", "--no-size", "--no-date"}, 2,
        "Please check at least one");
    row("only-in without a catalog", {"only-in"}, 2, "missing CATALOG");
    row("single copies, nothing to compare", {"single-copies", "--no-name", "--no-size", "--no-date"}, 2,
        "Please check at least one");

    row("export without a file", {"export", "Stick"}, 2, "missing FILE");
    row("export an unknown catalog", {"export", "Nope", "OUT"}, 1, "Catalog Nope does not exists!");
    row("export, title without html", {"export", "Stick", "OUT", "--title", "T"}, 2,
        "--title goes with --html");
    row("search, html without export", {"search", "--word", "a", "--html"}, 2, "--html goes with --export");
    row("report, export without a file", {"report", "--export"}, 2, "--export needs a value");
    row("report, another option", {"report", "--export", "OUT", "--sort"}, 2, "unknown option --sort");

    row("print an unknown catalog", {"print", "Nope", "--pdf", "OUT"}, 1, "Catalog Nope does not exists!");
    row("print without a pdf", {"print", "Stick"}, 2, "print needs --pdf FILE");
    row("print, bad font", {"print", "Stick", "--pdf", "OUT", "--font", "Arial"}, 2,
        "--font takes FAMILY:POINTS");
    row("print onto a folder", {"print", "Stick", "--pdf", "CATALOGS"}, 1, "it is a folder.");
}

void TestCliRefusals::refused()
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

QTEST_GUILESS_MAIN(TestCliRefusals)
#include "tst_clirefusals.moc"
