#include "TestSupport.h"
#include "indexing/RunControl.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/LibraryState.h"
#include "library/LibraryTransaction.h"
#include "queries/CommentReplace.h"
#include "queries/FileComments.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtTest>

using Outcome = CommentReplace::Outcome;

namespace {

QByteArray entry(const QString &name, const QString &comment)
{
    return CommaText::join({name, "10", "01/02/2020 10:00:00", "/m/", comment}).toUtf8();
}

class ProgressLog : public RunControl
{
public:
    void progress(const QString &text) override { texts << text; }
    QStringList texts;
};

const QDateTime kOld(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);

void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

QDateTime modified(const QString &path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

} // namespace

class TestFileComments : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void replacesInComments_data();
    void replacesInComments();
    void keepsOtherBytesAndUntouchedFiles();
    void everyCatalogFileIsProcessed();
    void codePageOfOldCatalogs_data();
    void codePageOfOldCatalogs();
    void failedWriteChangesNoCatalog();
    void unreadableCatalogEndsTheRun();
    void abandonedRunIsWholeAfterStartUp();
    void noCatalogs();
    void oneLine_data();
    void oneLine();
    void predefinedList_data();
    void predefinedList();
    void setCommentOfChangesOnlyItsLines();

private:
    QString catalog(const QString &file) const { return m_dir->filePath("Catalogs/" + file); }
    CommentReplace::Result run(const QString &search, const QString &replacement)
    {
        m_log.texts.clear();
        LibraryState state;
        if (!m_library->startUp(state))
            return {};
        return CommentReplace(*m_library, state).run(search, replacement, m_log);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CatalogLibrary> m_library;
    ProgressLog m_log;
    QString m_mounted;
};

void TestFileComments::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_library = std::make_unique<CatalogLibrary>(m_dir->path());
    LibraryState state;
    QVERIFY(m_library->startUp(state)); // the library's first files, before any test's trap
}

void TestFileComments::cleanup()
{
    if (!m_mounted.isEmpty())
        TestSupport::unmount(m_mounted);
    m_mounted.clear();
}

void TestFileComments::replacesInComments_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QStringList>("afterRuns"); // the comment after the first and the second run

    QTest::newRow("first occurrence, then the next")
        << "a.iso" << QString("CD box, CD 2") << "CD" << QString("DVD")
        << QStringList{"DVD box, CD 2", "DVD box, DVD 2"};
    QTest::newRow("letter case counts")
        << "a.iso" << QString("CD box") << "cd" << QString("DVD") << QStringList{"CD box", "CD box"};
    QTest::newRow("replacement holding the search text")
        << "a.iso" << QString("CD") << "CD" << QString("CDR") << QStringList{"CDR", "CDRR"};
    QTest::newRow("quotes in the comment") << "a.iso" << QString("the \"CD\" box") << "CD" << QString("DVD")
                                           << QStringList{"the \"DVD\" box", "the \"DVD\" box"};
    QTest::newRow("quote and comma in the name")
        << "say \"CD\", 2.iso" << QString("CD 1") << "CD" << QString("DVD") << QStringList{"DVD 1", "DVD 1"};
    QTest::newRow("search text only in the name")
        << "CD.iso" << QString("box") << "CD" << QString("DVD") << QStringList{"box", "box"};
    // The comment is searched as read: a stored quote is doubled.
    QTest::newRow("quote inside the search")
        << "a.iso" << QString("a\"b CD") << "a\"b" << QString("X") << QStringList{"X CD", "X CD"};
    QTest::newRow("quote at the start") << "a.iso" << QString("\"CD\" box") << "\"CD" << QString("DVD")
                                        << QStringList{"DVD\" box", "DVD\" box"};
    QTest::newRow("doubled quote") << "a.iso" << QString("say \"\"hi\"\"") << "\"\"" << QString("'")
                                   << QStringList{"say 'hi\"\"", "say 'hi'"};
    QTest::newRow("a quote alone") << "a.iso" << QString("5\" disk") << "\"" << QString(" inch")
                                   << QStringList{"5 inch disk", "5 inch disk"};
    QTest::newRow("quote only in the name")
        << "say \"hi\".iso" << QString("box") << "\"hi" << QString("X") << QStringList{"box", "box"};
    QTest::newRow("replacement with quotes") << "a.iso" << QString("CD box") << "CD" << QString("\"CD\"")
                                             << QStringList{"\"CD\" box", "\"\"CD\"\" box"};
    QTest::newRow("characters beyond ASCII") << "é.iso" << QString("Überspielt ✓") << "✓" << QString("—ok")
                                             << QStringList{"Überspielt —ok", "Überspielt —ok"};
}

void TestFileComments::replacesInComments()
{
    QFETCH(QString, name);
    QFETCH(QString, comment);
    QFETCH(QString, search);
    QFETCH(QString, replacement);
    QFETCH(QStringList, afterRuns);

    const QString path = catalog("Disc.TXT");
    QVERIFY(TestSupport::writeFile(path, entry(name, comment) + "\r\n"));
    for (const QString &expected : afterRuns) {
        const QByteArray before = TestSupport::readFile(path);
        const CommentReplace::Result result = run(search, replacement);
        QCOMPARE(result.outcome, Outcome::Finished);
        const QByteArray after = TestSupport::readFile(path);
        // The whole line parses back: the name and the other fields are whole.
        QCOMPARE(CommaText::split(QString::fromUtf8(after).trimmed()),
                 QStringList({name, "10", "01/02/2020 10:00:00", "/m/", expected}));
        QCOMPARE(result.total(), after == before ? 0 : 1);
    }
}

void TestFileComments::keepsOtherBytesAndUntouchedFiles()
{
    // Lines the run must keep byte for byte: another comment, a line that
    // is no entry (too few or too many fields), blanks and loose quoting,
    // LF and CR line ends, a last line without its end, a byte order mark
    // and whatever follows a NUL.
    const QByteArray kept = " \"CD\" , 1,\"d\",\"/m/\",\"no\"\n\"a\"b.txt\",\"1\",\"\",\"CD\",\"x\"\r"
                            "\"CD\",\"CD\",\"CD\",\"CD\"\r\n";
    const QByteArray changed = entry("b", "CD here");
    const QByteArray afterNul = QByteArray("\0\r\n", 3) + changed;
    const QString disc = catalog("Disc.TXT");
    const QString other = catalog("Other.TXT");
    const QByteArray otherBytes = entry("c", "no match") + "\r\n";
    QVERIFY(TestSupport::writeFile(disc, "\xEF\xBB\xBF" + changed + "\r\n" + kept + changed + afterNul));
    QVERIFY(TestSupport::writeFile(other, otherBytes));
    setModified(other, kOld);

    const CommentReplace::Result result = run("CD", "DVD");
    QCOMPARE(result.outcome, Outcome::Finished);
    QCOMPARE(result.changed.size(), 1);
    QCOMPARE(result.changed.first().name, QString("Disc"));
    QCOMPARE(result.changed.first().replacements, 2);
    const QByteArray now = entry("b", "DVD here");
    QCOMPARE(TestSupport::readFile(disc), "\xEF\xBB\xBF" + now + "\r\n" + kept + now + afterNul);
    QCOMPARE(TestSupport::readFile(other), otherBytes);
    QCOMPARE(modified(other), kOld);
    QCOMPARE(m_log.texts, QStringList({"Getting catalog list...", "Searching Disc catalog...",
                                       "Searching Other catalog...", "Finished"}));
}

void TestFileComments::everyCatalogFileIsProcessed()
{
    // Listed or not, any letter case of the extension; the information
    // list and other files are no catalogs.
    TestSupport::writeLines(m_dir->filePath("Master.TXT"), {"\"1\",\"0Discs\",\"3Listed\""});
    const QByteArray line = entry("a", "CD") + "\r\n";
    for (const char *file :
         {"Listed.TXT", "unlisted.txt", ".hidden.Txt", "Master", "notes.doc", "Old.TXT.bak"})
        QVERIFY(TestSupport::writeFile(catalog(file), line));
    QVERIFY(QDir().mkpath(catalog("folder.TXT")));

    const CommentReplace::Result result = run("CD", "DVD");
    QStringList names;
    for (const CommentReplace::CatalogCount &c : result.changed)
        names << c.name;
    QCOMPARE(names, QStringList({".hidden", "Listed", "unlisted"}));
    for (const char *file : {"Master", "notes.doc", "Old.TXT.bak"})
        QCOMPARE(TestSupport::readFile(catalog(file)), line);
}

void TestFileComments::codePageOfOldCatalogs_data()
{
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QByteArray>("expected"); // the file's bytes afterwards

    // "caf\xE9" is "café" in Windows-1252, which the Windows version wrote.
    const QByteArray second = "\"caf\xE9\",\"1\",\"\",\"/m/\",\"caf\xE9 CX\"\r\n";
    QTest::newRow("kept when it holds the new text")
        << "\xE2\x82\xAC" // €, 0x80 in Windows-1252
        << QByteArray("\"caf\xE9\",\"1\",\"\",\"/m/\",\"caf\xE9 \x80\"\r\n") + second;
    QTest::newRow("the file becomes UTF-8 when not")
        << "\xE2\x9C\x93" // ✓
        << QByteArray("\"caf\xC3\xA9\",\"1\",\"\",\"/m/\",\"caf\xC3\xA9 \xE2\x9C\x93\"\r\n"
                      "\"caf\xC3\xA9\",\"1\",\"\",\"/m/\",\"caf\xC3\xA9 CX\"\r\n");
}

void TestFileComments::codePageOfOldCatalogs()
{
    QFETCH(QString, replacement);
    QFETCH(QByteArray, expected);
    const QString path = catalog("Old.TXT");
    QVERIFY(TestSupport::writeFile(path, "\"caf\xE9\",\"1\",\"\",\"/m/\",\"caf\xE9 CD\"\r\n"
                                         "\"caf\xE9\",\"1\",\"\",\"/m/\",\"caf\xE9 CX\"\r\n"));
    QCOMPARE(run("CD", replacement).total(), 1);
    QCOMPARE(TestSupport::readFile(path), expected);
}

// A change that cannot be stored (a full disk) leaves every catalog as it
// was, names a catalog and leaves no temporary behind.
void TestFileComments::failedWriteChangesNoCatalog()
{
    QString reason;
    if (!TestSupport::mountTmpfs(m_dir->path(), 256, &reason))
        QSKIP(qPrintable(reason));
    m_mounted = m_dir->path();
    LibraryState state;
    QVERIFY(m_library->startUp(state)); // a new library on the small disk
    const QByteArray line = entry("a", "CD") + "\r\n";
    for (const char *file : {"A.TXT", "B.TXT", "C.TXT"})
        QVERIFY(TestSupport::writeFile(catalog(file), line));
    const auto before = TestSupport::librarySnapshot(m_dir->path());
    TestSupport::fillDisk(m_dir->path());

    const CommentReplace::Result result = run("CD", "DVD");
    QCOMPARE(result.outcome, Outcome::Failed);
    QVERIFY2(result.message.startsWith("Cannot create file " + catalog("")), qPrintable(result.message));
    QVERIFY2(result.reason.contains("No space left on device"), qPrintable(result.reason));
    QVERIFY(result.changed.isEmpty());
    QCOMPARE(m_log.texts.last(), QString("Finished"));
    auto after = TestSupport::librarySnapshot(m_dir->path());
    after.remove("filler");
    QCOMPARE(after, before);
}

void TestFileComments::unreadableCatalogEndsTheRun()
{
    const QByteArray line = entry("a", "CD") + "\r\n";
    QVERIFY(TestSupport::writeFile(catalog("A.TXT"), line));
    QVERIFY(TestSupport::writeFile(catalog("B.TXT"), line));
    QVERIFY(TestSupport::makeUnreadable(catalog("B.TXT"), "owner-only file"));
    QVERIFY(TestSupport::readOverride(false));
    const CommentReplace::Result result = run("CD", "DVD");
    QVERIFY(TestSupport::readOverride(true));
    QCOMPARE(result.outcome, Outcome::Failed);
    QCOMPARE(result.message, "Cannot open file " + catalog("B.TXT"));
    QCOMPARE(TestSupport::readFile(catalog("A.TXT")), line);
    QCOMPARE(m_log.texts.last(), QString("Finished"));
}

// Stopped at each commit point in turn, as a killed program would be: after
// the next start every catalog is old, or every one is new.
void TestFileComments::abandonedRunIsWholeAfterStartUp()
{
    const QByteArray old = entry("a", "CD") + "\r\n";
    const QByteArray replaced = entry("a", "CDR") + "\r\n";
    const QStringList files{"A.TXT", "B.TXT", "C.TXT"};
    for (int point = 1;; ++point) {
        init();
        for (const QString &file : files)
            QVERIFY(TestSupport::writeFile(catalog(file), old));
        LibraryTransaction::abandonAtCommitPoint(point);
        const CommentReplace::Result result = run("CD", "CDR");
        LibraryTransaction::abandonAtCommitPoint(0);
        LibraryState state;
        QVERIFY(m_library->startUp(state));
        const QByteArray expected = point == 1 ? old : replaced;
        for (const QString &file : files)
            QVERIFY2(TestSupport::readFile(catalog(file)) == expected,
                     qPrintable(QString("point %1").arg(point)));
        if (!LibraryTransaction::lastCommitAbandoned()) {
            QCOMPARE(result.outcome, Outcome::Finished);
            QVERIFY(point > files.size() + 2);
            break;
        }
        QCOMPARE(result.outcome, Outcome::Failed);
    }
}

void TestFileComments::noCatalogs()
{
    QVERIFY(TestSupport::writeFile(catalog("Master"), "\"a\"\r\n"));
    const CommentReplace::Result result = run("CD", "DVD");
    QCOMPARE(result.outcome, Outcome::NoCatalogs);
    QCOMPARE(result.message, QString("No catalogs exists!"));
    QCOMPARE(run("", "DVD").outcome, Outcome::NothingToDo);
    QCOMPARE(run("CD", "").outcome, Outcome::NothingToDo);
}

void TestFileComments::oneLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("CR LF is one break") << "a\r\nb" << QString("a b");
    QTest::newRow("lone CR and LF") << "a\rb\nc" << QString("a b c");
    QTest::newRow("two breaks") << "a\r\n\r\nb" << QString("a  b");
    QTest::newRow("paragraph and line separators")
        << QString("a") + QChar::ParagraphSeparator + "b" + QChar::LineSeparator + "c"
        << "a b c";
    QTest::newRow("no break") << "plain, \"quoted\"" << QString("plain, \"quoted\"");
}

void TestFileComments::oneLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(FileComments::oneLine(text), line);
}

void TestFileComments::predefinedList_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QStringList>("after");
    const QStringList list{"apple", "BACKUP", "zeta"};
    QTest::newRow("add at its sorted place")
        << list << "add" << QString("Music") << true << QStringList{"apple", "BACKUP", "Music", "zeta"};
    QTest::newRow("add another letter case") << list << "add" << QString("Backup") << false << list;
    QTest::newRow("add empty") << list << "add" << QString("") << false << list;
    QTest::newRow("add accented case differs")
        << QStringList{"é"} << "add" << QString("É") << true << QStringList{"é", "É"};
    QTest::newRow("edit moves to sorted place")
        << list << "edit0" << QString("young") << true << QStringList{"BACKUP", "young", "zeta"};
    QTest::newRow("edit to empty") << list << "edit0" << QString("") << false << list;
    QTest::newRow("edit to an existing text")
        << list << "edit2" << QString("apple") << true << QStringList{"apple", "apple", "BACKUP"};
    QTest::newRow("remove exact before case")
        << QStringList{"Backup", "BACKUP"} << "remove" << QString("BACKUP") << true << QStringList{"Backup"};
    QTest::newRow("remove in another case")
        << list << "remove" << QString("backup") << true << QStringList{"apple", "zeta"};
    QTest::newRow("remove missing") << list << "remove" << QString("none") << false << list;
}

void TestFileComments::predefinedList()
{
    QFETCH(QStringList, list);
    QFETCH(QString, operation);
    QFETCH(QString, text);
    QFETCH(bool, changed);
    QFETCH(QStringList, after);
    bool result = false;
    if (operation == "add")
        result = FileComments::addPredefined(list, text);
    else if (operation == "remove")
        result = FileComments::removePredefined(list, text);
    else
        result = FileComments::editPredefined(list, operation.mid(4).toInt(), text);
    QCOMPARE(result, changed);
    QCOMPARE(list, after);
}

void TestFileComments::setCommentOfChangesOnlyItsLines()
{
    // The other lines keep their exact text, odd spacing included.
    const QString other = " \"b.txt\" , \"2\",\"\",\"/d/\",\"keep\"";
    QStringList lines{"\"a.txt\",\"1\",\"\",\"/d/\",\"old\"", other, "\"A.TXT\",\"1\",\"\",\"/d/\",\"upper\"",
                      "\"a.txt\",\"1\",\"\",\"/d/sub/\",\"deeper\""};
    QCOMPARE(FileComments::setCommentOf(lines, "/d/a.txt", "say \"hi\"\nnow"), 1);
    QCOMPARE(lines.at(0), QString("\"a.txt\",\"1\",\"\",\"/d/\",\"say \"\"hi\"\" now\""));
    QCOMPARE(lines.at(1), other);
    QCOMPARE(FileComments::commentsOf(lines, "/d/A.TXT"), QStringList{"upper"});
    QCOMPARE(FileComments::commentsOf(lines, "/d/sub/a.txt"), QStringList{"deeper"});
    QCOMPARE(FileComments::setCommentOf(lines, "/d/none", "x"), 0);
    QCOMPARE(FileComments::setCommentOf(lines, "/d/a.txt", ""), 1);
    QCOMPARE(FileComments::commentsOf(lines, "/d/a.txt"), QStringList{""});
}

QTEST_GUILESS_MAIN(TestFileComments)
#include "tst_filecomments.moc"
