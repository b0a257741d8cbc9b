#include "CliProcess.h"
#include "TestSupport.h"

#include "library/CommaText.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// The bash completion script, sourced in bash with COMP_WORDS and
// COMP_CWORD set as bash sets them, completing the last word.
namespace {

const QString kScript = KESTROVANE_TEST_DATA "/../../src/cli/kestrovane-cli.bash-completion";

QStringList complete(const QStringList &words)
{
    QProcess bash;
    const QString run = "source \"$1\"; shift; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _kestrovane_cli;"
                        " ((${#COMPREPLY[@]})) && printf '%s\\0' \"${COMPREPLY[@]}\"; exit 0";
    bash.start("bash", QStringList{"-c", run, "bash", kScript, KESTROVANE_CLI} + words);
    bash.waitForFinished(30000);
    QStringList replies = QString::fromUtf8(bash.readAllStandardOutput()).split(QChar(0));
    replies.removeLast(); // after the last NUL
    return replies;
}

QSet<QString> asSet(const QStringList &list)
{
    return QSet<QString>(list.begin(), list.end());
}

QString helpText(const QStringList &args)
{
    QProcess p;
    p.start(KESTROVANE_CLI, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The options a command's --help describes, and --help itself.
QSet<QString> helpOptions(const QString &command)
{
    QString text = helpText({command, "--help"});
    text = text.section("\nOptions:\n", 1).section("\nExit status:", 0, 0);
    QSet<QString> options{"--help"};
    QRegularExpressionMatchIterator it = QRegularExpression("(?<![\\w-])--[a-z-]+").globalMatch(text);
    while (it.hasNext())
        options << it.next().captured(0);
    return options;
}

} // namespace

class TestCompletion : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void commands_data();
    void commands();
    void everyCommandAndItsOptions();
    void names_data();
    void names();

private:
    QTemporaryDir m_library;
};

void TestCompletion::initTestCase()
{
    if (QProcess::execute("bash", {"-c", "exit 0"}) != 0)
        QSKIP("bash cannot be run here");
    // Games holds two catalogs with awkward names; Pen Things is empty.
    const QString games = CommaText::join({"3", "0Games", "3Pen Drive", "3Back\\slash", "2Tab\tName é"});
    TestSupport::writeLines(m_library.filePath("Master.TXT"), {games, CommaText::join({"0", "0Pen Things"})});
}

void TestCompletion::commands_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("replies");
    QTest::newRow("command by prefix")
        << QStringList{"de"} << QStringList{"delete-catalog", "delete-category"};
    QTest::newRow("after --library") << QStringList{"--library", "/tmp", "repo"} << QStringList{"report"};
    QTest::newRow("format") << QStringList{"search", "--format", ""} << QStringList{"tsv", "csv", "json"};
    QTest::newRow("format after =") << QStringList{"search", "--format", "=", "j"} << QStringList{"json"};
    QTest::newRow("help's command") << QStringList{"help", "tr"} << QStringList{"tree"};
    QTest::newRow("sort column") << QStringList{"show", "X", "--sort", "s"} << QStringList{"size"};
    QTest::newRow("if-exists") << QStringList{"index", "--if-exists", "o"} << QStringList{"overwrite"};
    QTest::newRow("free text") << QStringList{"search", "--word", ""} << QStringList{};
    QTest::newRow("no argument to name") << QStringList{"add-category", ""} << QStringList{};
}

void TestCompletion::commands()
{
    QFETCH(QStringList, words);
    QFETCH(QStringList, replies);
    QCOMPARE(complete(words), replies);
}

// The script knows every command and every option the tool has.
void TestCompletion::everyCommandAndItsOptions()
{
    const QStringList commands = CliProcess::commandNames();
    QVERIFY(commands.size() >= 15);
    const QStringList global{"--library", "--quiet", "--help", "--version", "help"};
    QCOMPARE(asSet(complete({""})), asSet(commands + global));
    for (const QString &command : commands)
        QCOMPARE(asSet(complete({command, "X", "--"})), helpOptions(command));
}

void TestCompletion::names_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("replies");
    const QStringList catalogs{"Back\\slash", "Pen Drive", "Tab\tName é"};
    QTest::newRow("catalogs") << QStringList{"info", ""} << catalogs;
    QTest::newRow("catalog typed with a backslash")
        << QStringList{"show", "Pen\\ D"} << QStringList{"Pen Drive"};
    QTest::newRow("catalog option") << QStringList{"search", "--catalog", "T"} << QStringList{"Tab\tName é"};
    QTest::newRow("categories") << QStringList{"delete-category", ""} << QStringList{"Games", "Pen Things"};
    QTest::newRow("category after a catalog")
        << QStringList{"move-catalog", "Pen Drive", "Pen"} << QStringList{"Pen Things"};
    QTest::newRow("category option") << QStringList{"index", "/x", "--category", "G"} << QStringList{"Games"};
    QTest::newRow("either kind") << QStringList{"comment", "Pen"} << QStringList{"Pen Drive", "Pen Things"};
    QTest::newRow("export's catalog") << QStringList{"export", "Pe"} << QStringList{"Pen Drive"};
    QTest::newRow("no second catalog") << QStringList{"info", "Pen Drive", ""} << QStringList{};
}

void TestCompletion::names()
{
    QFETCH(QStringList, words);
    QFETCH(QStringList, replies);
    QCOMPARE(asSet(complete(QStringList{"--library", m_library.path()} + words)), asSet(replies));
}

QTEST_GUILESS_MAIN(TestCompletion)
#include "tst_completion.moc"
