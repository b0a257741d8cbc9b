#include "CliProcess.h"
#include "TestSupport.h"
#include "library/CommaText.h"
#include "library/TextFile.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Run = CliProcess::TextResult;

// A library with the category Disks holding Disc, made from a folder that
// since lost gone.txt and gained new.txt.
class CliFixture
{
public:
    CliFixture()
    {
        source = m_sourceDir.path() + "/";
        TestSupport::writeFile(source + "kept.txt", "grown since");
        TestSupport::writeFile(source + "new.txt", "n");
        TestSupport::writeLines(path("Master.TXT"), {"\"1\",\"0Disks\",\"3Disc\""});
        TestSupport::writeLines(path("Catalogs/Master"), {"Disc", "\"old info\""});
        TestSupport::writeLines(path("Catalogs/Disc.TXT"),
                                {line("kept.txt", "1", "keep me"), line("gone.txt", "2")});
    }
    QString path(const QString &relative) const { return m_library.filePath(relative); }
    QString line(const QString &name, const QString &size, const QString &comment = QString()) const
    {
        return CommaText::join({name, size, "06/14/1998 10:00:00", source, comment});
    }
    QStringList lines(const QString &relative) const
    {
        QStringList read;
        TextFile::readLines(path(relative), read);
        return read;
    }
    Run cli(const QStringList &args) const { return CliProcess::runText(m_library.path(), args); }
    Run index(const QString &name, const QStringList &more = {}) const
    {
        return cli(QStringList{"index", source, "--name", name, "--category", "Disks"} + more);
    }

    QString source;

private:
    QTemporaryDir m_library;
    QTemporaryDir m_sourceDir;
};

// A file made by its name's bytes, which need not be UTF-8.
bool makeFile(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = fd >= 0 && ::write(fd, "data", 4) == 4;
    if (fd >= 0)
        ::close(fd);
    return written;
}

} // namespace

class TestIndexCommands : public QObject
{
    Q_OBJECT
private slots:
    void indexNewCatalog();
    void progressOnATerminal_data();
    void progressOnATerminal();
    void ifExists_data();
    void ifExists();
    void updateKeepsComments();
    void rootWithUndecodableName();
};

void TestIndexCommands::indexNewCatalog()
{
    CliFixture f;
    TestSupport::writeFile(f.source + ".hidden", "h");
    TestSupport::writeFile(f.source + "sub/a.doc", "a");
    const Run run = f.index("Fresh", {"--no-hidden-files", "--mask", "*.TXT", "--mask", "*.doc"});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out, QString("Saved Fresh Catalog\n3 Files In 2 Directories\n"));
    QVERIFY(run.err.isEmpty()); // no progress when stderr is not a terminal
    QCOMPARE(f.lines("Catalogs/Fresh.TXT").size(), 3);
    QCOMPARE(f.lines("Master.TXT"), QStringList{"\"2\",\"0Disks\",\"3Disc\",\"3Fresh\""});
    const QStringList info = CommaText::split(f.lines("Catalogs/Master").value(3));
    QCOMPARE(f.lines("Catalogs/Master").value(2), QString("Fresh"));
    QCOMPARE(info.value(3), f.source);
    // Options as the panel stores them, masks lowered and sorted.
    QCOMPARE(info.mid(8),
             (QStringList{"False", "True", "True", "True", "True", "False", "2", "*.doc", "*.txt"}));
}

void TestIndexCommands::progressOnATerminal_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("term");
    QTest::newRow("60 columns") << 60 << "xterm";
    QTest::newRow("dumb terminal") << 80 << "dumb";
}

// indexNewCatalog shows that a pipe gets no progress; a terminal gets one
// line that fits its width and is wiped at the end, and standard output stays
// clean of it.
void TestIndexCommands::progressOnATerminal()
{
    QFETCH(int, columns);
    QFETCH(QString, term);
    CliFixture f;
    const QString deep = f.source + QString(250, 'a') + "/b"; // wider than any terminal
    QVERIFY(QDir().mkpath(deep));
    QProcess python;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TERM", term);
    python.setProcessEnvironment(env);
    python.start("python3", {KESTROVANE_TEST_DATA "/cli/on_terminal.py", "--columns",
                             QString::number(columns), KESTROVANE_CLI, "--library", f.path(""), "index",
                             f.source, "--name", "Fresh", "--category", "Disks"});
    QVERIFY(python.waitForFinished(30000));
    if (python.exitCode() != 0)
        QSKIP(qPrintable("no pseudo-terminal: " + python.readAllStandardError()));
    const QJsonObject run = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    QCOMPARE(run.value("code").toInt(), 0);
    QCOMPARE(run.value("out").toString(), QString("Saved Fresh Catalog\n2 Files In 3 Directories\n"));
    const QString err = run.value("err").toString();
    if (term == "dumb") {
        QCOMPARE(err, QString());
        return;
    }
    QVERIFY2(err.endsWith("\r\033[K"), qPrintable(err)); // the line is wiped at the end
    const QStringList drawn = err.split("\r\033[K", Qt::SkipEmptyParts);
    for (const QString &line : drawn)
        QVERIFY2(line.size() < columns, qPrintable(line));
    QVERIFY2(drawn.filter(QRegularExpression("^\\d folders? found  /.*…a+$")).size() > 0, qPrintable(err));
    QVERIFY2(drawn.filter(QRegularExpression("^3 folders, \\d files? listed")).size() > 0, qPrintable(err));
}

void TestIndexCommands::ifExists_data()
{
    QTest::addColumn<QStringList>("option");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QStringList>("disc");

    QTest::newRow("default fails") << QStringList{} << 1 << "" << QStringList{"keep", "gone"};
    QTest::newRow("overwrite") << QStringList{"--if-exists", "overwrite"} << 0 << "Overwrote disc Catalog\n"
                               << QStringList{"kept", "new"};
    QTest::newRow("update") << QStringList{"--if-exists", "update"} << 0 << "1 New Addition(s) 1 Removed\n"
                            << QStringList{"keep", "new"};
    QTest::newRow("rename") << QStringList{"--if-exists", "rename:Disc 2"} << 0 << "Saved Disc 2 Catalog\n"
                            << QStringList{"keep", "gone"};
}

// "keep" stands for the stored kept.txt line with its comment, "kept" for
// the rescanned one, "gone" and "new" for those files' lines.
void TestIndexCommands::ifExists()
{
    QFETCH(QStringList, option);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QStringList, disc);
    CliFixture f;
    const Run run = f.index("disc", option);
    QCOMPARE(run.code, code);
    QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.startsWith(out), qPrintable(run.out + run.err));
    QCOMPARE(run.err.isEmpty(), code == 0);
    const QStringList lines = f.lines("Catalogs/Disc.TXT");
    QCOMPARE(lines.size(), disc.size());
    for (int i = 0; i < disc.size(); ++i) {
        const QStringList fields = CommaText::split(lines.at(i));
        if (disc.at(i) == "keep")
            QCOMPARE(lines.at(i), f.line("kept.txt", "1", "keep me"));
        else if (disc.at(i) == "kept")
            QCOMPARE(fields.mid(0, 2), (QStringList{"kept.txt", "11"}));
        else
            QCOMPARE(fields.value(0), disc.at(i) + ".txt");
    }
    if (out.startsWith("Saved Disc 2"))
        QCOMPARE(f.lines("Master.TXT"), QStringList{"\"2\",\"0Disks\",\"3Disc\",\"3Disc 2\""});
    if (out.startsWith("1 New"))
        QCOMPARE(CommaText::split(f.lines("Catalogs/Master").value(1)).value(0), QString("2"));
}

void TestIndexCommands::updateKeepsComments()
{
    CliFixture f;
    // Disc has no information line of its own yet, so the path is given.
    const Run run = f.cli({"update", "DISC", "--path", f.source});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out, QString("1 New Addition(s) 1 Removed\n2 Files In 1 Directories\n"));
    QCOMPARE(f.lines("Catalogs/Disc.TXT").value(0), f.line("kept.txt", "1", "keep me"));
    // The stored path is used from then on.
    TestSupport::writeFile(f.source + "third.txt", "t");
    QCOMPARE(f.cli({"update", "Disc"}).out,
             QString("1 New Addition(s) 0 Removed\n3 Files In 1 Directories\n"));
}

// The scan's own test shows how a catalog spells such a root; here the same
// folder is given by its bytes, as a shell passes a typed name.
void TestIndexCommands::rootWithUndecodableName()
{
    QTemporaryDir library;
    QTemporaryDir source;
    const QByteArray root = QFile::encodeName(source.path()) + "/r\xfe";
    QVERIFY(mkdir(root, 0755) == 0);
    QVERIFY(makeFile(root + "/inside.txt"));
    QVERIFY(TestSupport::writeLines(library.filePath("Master.TXT"), {"\"0\",\"0Disks\""}));
    const int code = QProcess::execute(
        "sh", {"-c",
               "exec \"$0\" --library \"$1\" index \"$2$(printf 'r\\376')\" --name Raw --category Disks"
               " >/dev/null",
               KESTROVANE_CLI, library.path(), source.path() + "/"});
    QStringList lines;
    TextFile::readLines(library.filePath("Catalogs/Raw.TXT"), lines);
    QProcess::execute("rm", {"-rf", source.path()}); // QDir cannot remove names that are not UTF-8
    QCOMPARE(code, 0);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(CommaText::split(lines.value(0)).value(3), source.path() + "/r\u00fe/");
}

QTEST_GUILESS_MAIN(TestIndexCommands)
#include "tst_indexcommands.moc"
