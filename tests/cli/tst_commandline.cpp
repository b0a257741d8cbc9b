#include "CliProcess.h"
#include "TestSupport.h"

#include "library/CommaText.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The command line as users of git, grep and fd type it, and what the tool
// does with its standard output, through the real programs.
namespace {

// Games holds Backup and a catalog named --html, whose one entry is named
// --html too.
void writeLibrary(const QString &root, int backupLines = 2)
{
    TestSupport::writeLines(root + "/Master.TXT", {"\"2\",\"0Games\",\"3Backup\",\"3--html\""});
    QStringList backup;
    for (int i = 0; i < backupLines; ++i)
        backup << CommaText::join({QString("file%1.txt").arg(i), "10", "06/14/1998 10:00:00", "/m/", ""});
    TestSupport::writeLines(root + "/Catalogs/Backup.TXT", backup);
    TestSupport::writeLines(root + "/Catalogs/--html.TXT",
                            {CommaText::join({"--html", "7", "06/14/1998 10:00:00", "/m/", ""})});
}

CliProcess::Result runRaw(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void commandLines_data();
    void commandLines();
    void versionWithoutDisplay_data();
    void versionWithoutDisplay();
    void fullDiskReported_data();
    void fullDiskReported();
    void closedPipeEndsQuietly();

private:
    QTemporaryDir m_library;
};

void TestCommandLine::initTestCase()
{
    writeLibrary(m_library.path());
}

void TestCommandLine::commandLines_data()
{
    QTest::addColumn<QStringList>("args"); // LIB stands for the library's folder
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString found = "--html\t7\t06/14/1998 10:00:00\t/m/\t\t--html\n";
    QTest::newRow("options after the command")
        << QStringList{"search", "--word", "--html", "--library", "LIB"} << 0 << found << "Found 1 Matches";
    QTest::newRow("--option=value") << QStringList{"--library=LIB", "search", "--word=--html", "--format=tsv"}
                                    << 0 << found << "";
    QTest::newRow("-- before a name with a dash")
        << QStringList{"--library", "LIB", "show", "--", "--html"} << 0 << found.section('\t', 0, 4) + "\n"
        << "";
    QTest::newRow("help COMMAND") << QStringList{"help", "tree"} << 0
                                  << "Usage: kestrovane-cli [--library DIR] tree\n"
                                  << QString("");
    QTest::newRow("-h after the command")
        << QStringList{"tree", "--wrong", "-h"} << 0 << "Usage: kestrovane-cli [--library DIR] tree\n"
        << QString("");
    QTest::newRow("suggestion") << QStringList{"--library", "LIB", "tre"} << 2 << ""
                                << QString("kestrovane-cli: Unknown command 'tre'. Did you mean 'tree'?");
    QTest::newRow("option suggestion") << QStringList{"--library", "LIB", "search", "--wrod", "a"} << 2 << ""
                                       << QString("unknown option --wrod (did you mean --word?)");
    QTest::newRow("given twice") << QStringList{"--library", "LIB", "search", "--word", "a", "--word", "b"}
                                 << 2 << ""
                                 << QString("kestrovane-cli: --word was given twice\nusage: kestrovane-cli");
    QTest::newRow("search without a mode")
        << QStringList{"--library", "LIB", "search", "stdio.h"} << 2 << ""
        << QString("search needs --word, --contains, --ext or --from/--to");
    QTest::newRow("usage after a bad value")
        << QStringList{"--library", "LIB", "show", "Backup", "--sort", "x"} << 2 << ""
        << QString("\nusage: kestrovane-cli [--library DIR] show NAME");
    QTest::newRow("export to -") << QStringList{"--library", "LIB", "export", "--", "--html", "-"} << 0
                                 << "7 06/14/1998 10:00:00 /m/" << QString("");
}

void TestCommandLine::commandLines()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    args.replaceInStrings(QRegularExpression("LIB"), m_library.path());
    const CliProcess::Result r = runRaw(KESTROVANE_CLI, args, QProcessEnvironment::systemEnvironment());
    QCOMPARE(r.code, code);
    QVERIFY2(r.text().contains(out), qPrintable(r.text()));
    QVERIFY2(r.err.contains(err), qPrintable(r.err));
}

void TestCommandLine::versionWithoutDisplay_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("expected");
    const QString version = QString(" %1\n").arg(KESTROVANE_VERSION);
    QTest::newRow("cli --version") << KESTROVANE_CLI << "--version"
                                   << "kestrovane-cli" + version;
    QTest::newRow("cli -V") << KESTROVANE_CLI << "-V"
                            << "kestrovane-cli" + version;
#ifdef KESTROVANE_PROGRAM
    QTest::newRow("program --version") << KESTROVANE_PROGRAM << "--version"
                                       << "kestrovane" + version;
    QTest::newRow("program --help") << KESTROVANE_PROGRAM << "--help"
                                    << QString("Usage: kestrovane [--help | --version]");
#endif
}

// Over ssh or in a script there is no display, and no platform is chosen.
void TestCommandLine::versionWithoutDisplay()
{
    QFETCH(QString, program);
    QFETCH(QString, option);
    QFETCH(QString, expected);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(name);
    const CliProcess::Result r = runRaw(program, {option}, env);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.text().startsWith(expected), qPrintable(r.text() + r.err));
}

void TestCommandLine::fullDiskReported_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("rows") << QStringList{"show", "Backup"};
    QTest::newRow("export to -") << QStringList{"export", "Backup", "-"};
}

void TestCommandLine::fullDiskReported()
{
    QFETCH(QStringList, args);
    if (!QFileInfo::exists("/dev/full"))
        QSKIP("no /dev/full here");
    QProcess p;
    p.setStandardOutputFile("/dev/full");
    p.start(KESTROVANE_CLI, QStringList{"--library", m_library.path()} + args);
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(QString::fromUtf8(p.readAllStandardError())
                .contains("kestrovane-cli: cannot write to standard output"));
}

// Even when the caller ignores SIGPIPE, a reader that went away ends the
// listing without a message.
void TestCommandLine::closedPipeEndsQuietly()
{
    QTemporaryDir big;
    writeLibrary(big.path(), 20000);
    QProcess sh;
    sh.start("sh", {"-c", "trap '' PIPE; \"$0\" --library \"$1\" show Backup | head -n 1", KESTROVANE_CLI,
                    big.path()});
    QVERIFY(sh.waitForFinished(30000));
    QCOMPARE(sh.readAllStandardOutput(), QByteArray("file0.txt\t10\t06/14/1998 10:00:00\t/m/\t\n"));
    QCOMPARE(QString::fromUtf8(sh.readAllStandardError()), QString());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
