#include "CliProcess.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kPredefinedUsage =
    "usage: kestrovane-cli [--library DIR] predefined-comments [--add TEXT | --remove TEXT]\n";

// Stick holds a.txt and two spellings of b.txt; a stray blank stays in the
// first line so that an untouched line shows whether it was rebuilt.
const QStringList kStick{"\"a.txt\", \"1\",\"\",\"/usb/\",\"first\"",
                         "\"b.txt\",\"2\",\"\",\"/usb/sub/\",\"\"",
                         "\"B.TXT\",\"3\",\"\",\"/usb/sub/\",\"upper\""};

void writeLibrary(const QTemporaryDir &dir)
{
    TestSupport::writeLines(dir.filePath("Master.TXT"), {"\"1\",\"0Games\",\"2Stick\""});
    TestSupport::writeLines(dir.filePath("Catalogs/Stick.TXT"), kStick);
    TestSupport::writeLines(dir.filePath("Kestrovane.INI"),
                            {"[Global.predefinedbox_Items]", "Count=2", "Item0=zeta", "Item1=BACKUP"});
}

QByteArray crlf(const QStringList &lines)
{
    return (lines.join("\r\n") + "\r\n").toUtf8();
}

} // namespace

class TestCommentCommands : public QObject
{
    Q_OBJECT
private slots:
    void commentFileChangesOneLine();
    void commentFileKeepsOtherBytes();
    void predefinedComments();
    void unreadableSettingsKept_data();
    void unreadableSettingsKept();
};

void TestCommentCommands::commentFileChangesOneLine()
{
    QTemporaryDir dir;
    writeLibrary(dir);
    const CliProcess::TextResult shown =
        CliProcess::runText(dir.path(), {"comment-file", "stick", "/usb/sub/B.TXT"});
    QCOMPARE(shown.out, QString("upper\n"));
    QCOMPARE(shown.code, 0);

    QCOMPARE(CliProcess::run(dir.path(), {"comment-file", "Stick", "/usb/sub/b.txt", "say \"hi\"\nnow"}).code,
             0);
    QStringList expected = kStick;
    expected[1] = "\"b.txt\",\"2\",\"\",\"/usb/sub/\",\"say \"\"hi\"\" now\"";
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Stick.TXT")), crlf(expected));
}

// A catalog of the Windows version: Windows-1252, mixed line ends, no end
// after the last line. Only the entry's line changes, in the file's code page.
void TestCommentCommands::commentFileKeepsOtherBytes()
{
    QTemporaryDir dir;
    writeLibrary(dir);
    const QByteArray head = "\"caf\xE9.txt\", \"1\",\"\",\"/usb/\",\"d\xE9j\xE0\"\n\"x\"\r";
    const QByteArray tail = "\r\n\"B.TXT\",\"3\",\"\",\"/usb/sub/\",\"\xA0\"";
    TestSupport::writeFile(dir.filePath("Catalogs/Stick.TXT"),
                           head + "\"b.txt\",\"2\",\"\",\"/usb/sub/\",\"\"" + tail);
    QCOMPARE(CliProcess::run(dir.path(), {"comment-file", "Stick", "/usb/sub/b.txt", "\u00e9t\u00e9"}).code,
             0);
    QCOMPARE(TestSupport::readFile(dir.filePath("Catalogs/Stick.TXT")),
             head + "\"b.txt\",\"2\",\"\",\"/usb/sub/\",\"\xE9t\xE9\"" + tail);
}

void TestCommentCommands::predefinedComments()
{
    QTemporaryDir dir;
    writeLibrary(dir);
    QCOMPARE(CliProcess::runText(dir.path(), {"predefined-comments"}).out, QString("BACKUP\nzeta\n"));
    QCOMPARE(CliProcess::run(dir.path(), {"predefined-comments", "--add", "apple"}).code, 0);
    QCOMPARE(CliProcess::run(dir.path(), {"predefined-comments", "--remove", "backup"}).code, 0);
    QCOMPARE(CliProcess::runText(dir.path(), {"predefined-comments"}).out, QString("apple\nzeta\n"));
}

void TestCommentCommands::unreadableSettingsKept_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("args");
    for (const QString &kind : TestSupport::unreadableKinds()) {
        QTest::addRow("%s, add", qPrintable(kind))
            << kind << QStringList{"predefined-comments", "--add", "New"};
        QTest::addRow("%s, list", qPrintable(kind)) << kind << QStringList{"predefined-comments"};
    }
}

void TestCommentCommands::unreadableSettingsKept()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    writeLibrary(dir);
    const QString ini = dir.filePath("Kestrovane.INI");
    QVERIFY(TestSupport::makeUnreadable(ini, kind));
    const QByteArray before = TestSupport::fileState(ini);
    const CliProcess::Result r = CliProcess::run(dir.path(), args, TestSupport::withoutReadOverride());
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(ini + " exists but cannot be read"), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    QCOMPARE(TestSupport::fileState(ini), before);
}

QTEST_GUILESS_MAIN(TestCommentCommands)
#include "tst_commentcommands.moc"
