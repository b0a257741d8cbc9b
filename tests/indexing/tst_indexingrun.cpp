#include "ScanTestControl.h"
#include "TestSupport.h"
#include "indexing/IndexingRun.h"
#include "library/CommaText.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

const DateFormats Formats(QStringLiteral("MM/dd/yyyy"), QStringLiteral("HH:mm:ss"));
const qint64 BigSize = 3221225472; // 3 GB, sparse

QSet<QString> allNames()
{
    return {"plain.txt",
            "name with blanks.txt",
            "comma, \"quoted\".txt",
            "Ünïcödé.txt",
            ".hidden.txt",
            "inner.txt",
            ".both.txt",
            "ro.txt",
            "fifo",
            "link.txt",
            "loop",
            "x.dat",
            "zero.txt",
            "big.bin",
            "f1.txt",
            "f2.txt"};
}

} // namespace

class TstIndexingRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void attributeOptions_data();
    void attributeOptions();
    void linesMatchStat();
    void masksStatusTextsAndInformation();
    void zipMembers_data();
    void zipMembers();
    void stop_data();
    void stop();

private:
    IndexingRun::Params params() const;
    QStringList run(const IndexingRun::Params &p, IndexingRun::Result *result = nullptr,
                    QStringList *statuses = nullptr);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root; // with its trailing "/"
    LibraryState m_state;
};

void TstIndexingRun::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_root = m_dir->path() + u'/';
    m_state = LibraryState();
    for (const char *name : {"plain.txt", "name with blanks.txt", "comma, \"quoted\".txt", "Ünïcödé.txt",
                             ".hidden.txt", ".hiddendir/inner.txt", ".hiddendir/.both.txt", "ro.txt",
                             "sub/deep/x.dat", "zero.txt", "Case/f1.txt", "case/f2.txt"})
        QVERIFY(TestSupport::writeFile(m_root + QString::fromUtf8(name), "hello"));
    const QByteArray root = QFile::encodeName(m_root);
    QVERIFY(chmod(root + "ro.txt", 0444) == 0);
    QVERIFY(mkfifo(root + "fifo", 0644) == 0);
    QVERIFY(symlink("plain.txt", root + "link.txt") == 0);
    QVERIFY(symlink(".", root + "loop") == 0);
    const utimbuf epoch{0, 0};
    QVERIFY(utime(root + "zero.txt", &epoch) == 0);
    QFile big(m_root + QStringLiteral("big.bin"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(BigSize));
}

IndexingRun::Params TstIndexingRun::params() const
{
    IndexingRun::Params p;
    p.directory = m_dir->path();
    p.formats = Formats;
    p.now = QDateTime(QDate(2024, 3, 5), QTime(0, 0));
    p.volume = VolumeInfo(QStringLiteral("/"), QStringLiteral("Fixed"), 2048, 1024, QStringLiteral("LBL"));
    return p;
}

QStringList TstIndexingRun::run(const IndexingRun::Params &p, IndexingRun::Result *result,
                                QStringList *statuses)
{
    ScanTestControl control(m_state);
    const auto r = IndexingRun(m_state, control).run(p);
    if (result)
        *result = r;
    if (statuses)
        *statuses = control.statuses;
    return m_state.fileLines.lines();
}

void TstIndexingRun::attributeOptions_data()
{
    QTest::addColumn<QString>("off");
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<int>("directories");
    QTest::newRow("all") << "" << QStringList() << 6;
    QTest::newRow("hidden files") << "hiddenFiles" << QStringList{".hidden.txt", ".both.txt"} << 6;
    QTest::newRow("hidden dirs") << "hiddenDirectories" << QStringList{"inner.txt", ".both.txt"} << 5;
    QTest::newRow("read-only") << "readOnlyFiles" << QStringList{"ro.txt"} << 6;
    QTest::newRow("system") << "systemFiles" << QStringList{"fifo", "link.txt", "loop"} << 6;
    QTest::newRow("sub-directories") << "subDirectories"
                                     << QStringList{"inner.txt", ".both.txt", "x.dat", "f1.txt", "f2.txt"}
                                     << 1;
}

void TstIndexingRun::attributeOptions()
{
    QFETCH(QString, off);
    QFETCH(QStringList, missing);
    QFETCH(int, directories);
    auto p = params();
    ScanOptions &o = p.options;
    for (auto [key, flag] : {std::pair{"hiddenFiles", &o.hiddenFiles},
                             {"hiddenDirectories", &o.hiddenDirectories},
                             {"readOnlyFiles", &o.readOnlyFiles},
                             {"systemFiles", &o.systemFiles},
                             {"subDirectories", &o.subDirectories}})
        *flag = off != QLatin1String(key);
    IndexingRun::Result result;
    QSet<QString> names;
    for (const QString &line : run(p, &result))
        names.insert(CommaText::split(line).value(0));
    QSet<QString> expected = allNames();
    for (const QString &name : missing)
        expected.remove(name);
    QCOMPARE(names, expected);
    // The link loop is a system entry, never a directory to enter, and
    // "Case" and "case" are two directories.
    QCOMPARE(result.directoryCount, qint64(directories));
}

void TstIndexingRun::linesMatchStat()
{
    const QStringList lines = run(params());
    QCOMPARE(lines.size(), allNames().size());
    for (const QString &line : lines) {
        const QStringList f = CommaText::split(line);
        QCOMPARE(f.size(), 5);
        const QString path = f.at(3) + f.at(0);
        QProcess stat;
        stat.start(QStringLiteral("stat"), {QStringLiteral("-c"), QStringLiteral("%s %Y"), path});
        QVERIFY(stat.waitForFinished());
        const QStringList fact = QString::fromUtf8(stat.readAllStandardOutput()).split(u' ');
        QCOMPARE(f.at(1), fact.value(0));
        const qint64 seconds = fact.value(1).toLongLong();
        QCOMPARE(f.at(2), seconds == 0
                              ? QString()
                              : Formats.format(QDateTime::fromSecsSinceEpoch(seconds - seconds % 2)));
        QVERIFY(f.at(3).startsWith(m_root) && f.at(3).endsWith(u'/'));
        QVERIFY(f.at(4).isEmpty());
    }
    QCOMPARE(lines.filter(QStringLiteral("\"big.bin\",\"3221225472\",")).size(), 1);
    QCOMPARE(lines.filter(QStringLiteral("\"zero.txt\",\"5\",\"\"")).size(), 1);
}

void TstIndexingRun::masksStatusTextsAndInformation()
{
    auto p = params();
    p.options.subDirectories = false;
    p.options.readOnlyFiles = false;
    p.masks = QStringList{"*.txt", "*.TXT"};
    IndexingRun::Result result;
    QStringList statuses;
    const QStringList lines = run(p, &result, &statuses);
    QCOMPARE(lines.size(), 7); // root files ending in .txt but ro.txt, link.txt among them, each once
    for (const QString &line : lines)
        QVERIFY(CommaText::split(line).value(0).endsWith(QLatin1String(".txt")));
    QCOMPARE(statuses, (QStringList{"Preparing Directory List", "Found One Directory. Scanning...",
                                    "Found 7 Files. Preparing Results To Display."}));
    QCOMPARE(result.summary, QStringLiteral("7 Files In 1 Directories"));
    QVERIFY(!m_state.keepGoing && !m_state.displayMode.newScan);
    QCOMPARE(CommaText::split(m_state.lastRunInfo),
             (QStringList{"7", "1", "/", m_root, "2 KB", "1 KB", "Fixed", "03/05/2024", "True", "False",
                          "True", "False", "True", "False", "2", "*.txt", "*.TXT"}));
}

void TstIndexingRun::zipMembers_data()
{
    QTest::addColumn<bool>("confirmAnswer");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("listed") << true << QStringList{"x.txt", "inner/z.txt"};
    QTest::newRow("declined") << false << QStringList();
}

void TstIndexingRun::zipMembers()
{
    QFETCH(bool, confirmAnswer);
    QFETCH(QStringList, expected);
    const QString archive = m_root + QStringLiteral("sub/arc.zip");
    const int made =
        QProcess::execute(QStringLiteral("python3"),
                          {"-c",
                           "import sys,zipfile\nz=zipfile.ZipFile(sys.argv[1],'w')\n"
                           "for n in ('x.txt','y.doc','inner/z.txt'): z.writestr(n,'data')\nz.close()",
                           archive});
    if (made != 0)
        QSKIP("python3 is needed to make the archive");
    auto p = params();
    p.options.zipContents = true;
    p.confirmZip = true;
    p.masks = QStringList{"*.txt"};
    QStringList asked;
    p.confirmZipFile = [&](const QString &q) {
        asked << q;
        return confirmAnswer;
    };
    QStringList members;
    for (const QString &line : run(p)) {
        const QStringList f = CommaText::split(line);
        if (f.at(3) == archive)
            members << f.at(0);
    }
    members.sort();
    expected.sort();
    QCOMPARE(members, expected);
    QCOMPARE(asked, QStringList{"Proceed to include the contents of:\n" + archive});
}

void TstIndexingRun::stop_data()
{
    QTest::addColumn<bool>("subDirectories");
    QTest::addColumn<qint64>("stopAfter");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("files");
    QTest::newRow("while listing directories")
        << true << qint64(1) << int(IndexingRun::Outcome::Stopped) << 0;
    QTest::newRow("while listing files") << false << qint64(3) << int(IndexingRun::Outcome::Finished) << 3;
    QTest::newRow("at once") << false << qint64(0) << int(IndexingRun::Outcome::NothingFound) << 0;
}

void TstIndexingRun::stop()
{
    QFETCH(bool, subDirectories);
    QFETCH(qint64, stopAfter);
    QFETCH(int, outcome);
    QFETCH(int, files);
    auto p = params();
    p.options.subDirectories = subDirectories;
    ScanTestControl control(m_state, stopAfter);
    const auto r = IndexingRun(m_state, control).run(p);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(m_state.fileLines.count(), qsizetype(files));
    QCOMPARE(r.stoppedInFiles, !subDirectories);
    if (files == 0) {
        QCOMPARE(control.statuses.last(), QStringLiteral("0 Files Cataloged"));
        QVERIFY(m_state.dirList.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TstIndexingRun)
#include "tst_indexingrun.moc"
