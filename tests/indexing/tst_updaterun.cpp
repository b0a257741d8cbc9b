#include "ScanTestControl.h"
#include "TestSupport.h"
#include "indexing/IndexingRun.h"
#include "indexing/UpdateRun.h"
#include "library/CatalogLibrary.h"
#include "library/CommaText.h"
#include "library/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Stops at the first test after the file listing has reported a file, so
// the stop falls there however many tests the directory walk makes.
constexpr qint64 kStopInFileListing = -2;

class FileListingStop : public ScanTestControl
{
public:
    explicit FileListingStop(LibraryState &state) : ScanTestControl(state), m_state(state) {}
    void status(const QString &text) override
    {
        ScanTestControl::status(text);
        m_listing = text == QLatin1String("Scanning...");
    }
    void progress(const QString &text) override
    {
        ScanTestControl::progress(text);
        m_listed += m_listing ? 1 : 0;
    }
    bool keepGoing() override
    {
        if (m_listed > 0)
            m_state.keepGoing = false;
        return ScanTestControl::keepGoing();
    }
    qint64 listed() const { return m_listed; }

private:
    LibraryState &m_state;
    bool m_listing = false;
    qint64 m_listed = 0;
};

} // namespace

class TstUpdateRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void keepsStoredLinesOfPresentFiles();
    void deletedCatalogFileMakesEveryLineNew();
    void stoppedOrUnreadableLeavesCatalogAlone_data();
    void stoppedOrUnreadableLeavesCatalogAlone();
    void emptyRescanAsksFirst_data();
    void emptyRescanAsksFirst();

private:
    UpdateRun::Params params() const;
    UpdateRun::Result update(const UpdateRun::Params &p, qint64 stopAfter = -1);
    QString catalogPath() const { return m_library->catalogFilePath(QStringLiteral("Disc")); }

    std::unique_ptr<QTemporaryDir> m_lib;
    std::unique_ptr<QTemporaryDir> m_volume;
    std::unique_ptr<CatalogLibrary> m_library;
    LibraryState m_state;
    QString m_lastStatus;
    QStringList m_statuses;
    qint64 m_filesListed = 0;
    QString m_commented; // the stored line of a.txt, with its comment
};

void TstUpdateRun::init()
{
    m_lib = std::make_unique<QTemporaryDir>();
    m_volume = std::make_unique<QTemporaryDir>();
    QDir(m_lib->path()).mkpath(QStringLiteral("Catalogs"));
    m_library = std::make_unique<CatalogLibrary>(m_lib->path());
    m_state = LibraryState();
    const QString v = m_volume->path() + u'/';
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d/e.txt"})
        QVERIFY(TestSupport::writeFile(v + QLatin1String(name), "1234"));

    // Store a catalog of the volume as a save would, with a comment on a.txt.
    IndexingRun::Params first;
    first.directory = m_volume->path();
    first.volume = VolumeInfo(QStringLiteral("/"), QStringLiteral("Fixed"), 0, 0);
    ScanTestControl control(m_state);
    IndexingRun(m_state, control).run(first);
    QStringList lines = m_state.fileLines.lines();
    QStringList fields = CommaText::split(lines.first());
    QCOMPARE(fields.first(), QStringLiteral("a.txt"));
    fields[4] = QStringLiteral("my comment");
    m_commented = lines[0] = CommaText::join(fields);
    QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"), lines));
    m_state.catalogInfo.append(QStringLiteral("Disc"), m_state.lastRunInfo);
}

UpdateRun::Params TstUpdateRun::params() const
{
    UpdateRun::Params p;
    p.catalogName = QStringLiteral("Disc");
    p.directory = m_volume->path();
    p.now = QDateTime(QDate(2025, 1, 2), QTime(3, 4, 6));
    p.volume = VolumeInfo(QStringLiteral("/"), QStringLiteral("Removable"), 1048576, 1048576);
    return p;
}

UpdateRun::Result TstUpdateRun::update(const UpdateRun::Params &p, qint64 stopAfter)
{
    std::unique_ptr<ScanTestControl> control;
    FileListingStop *listingStop = nullptr;
    if (stopAfter == kStopInFileListing)
        control.reset(listingStop = new FileListingStop(m_state));
    else
        control = std::make_unique<ScanTestControl>(m_state, stopAfter);
    const auto r = UpdateRun(m_state, *m_library, *control).run(p);
    m_statuses = control->statuses;
    m_filesListed = listingStop ? listingStop->listed() : 0;
    m_lastStatus = m_statuses.value(m_statuses.size() - 1);
    return r;
}

void TstUpdateRun::emptyRescanAsksFirst_data()
{
    QTest::addColumn<bool>("emptyCatalog");
    QTest::addColumn<int>("answer"); // -1 nobody to ask, 0 No, 1 Yes
    QTest::addColumn<int>("outcome");
    QTest::newRow("nobody to ask") << false << -1 << int(UpdateRun::Outcome::Refused);
    QTest::newRow("answered No") << false << 0 << int(UpdateRun::Outcome::Refused);
    QTest::newRow("answered Yes") << false << 1 << int(UpdateRun::Outcome::Updated);
    QTest::newRow("nothing stored to lose") << true << -1 << int(UpdateRun::Outcome::Updated);
}

// An empty mount point (or another disk mounted there) looks like a volume
// whose files were all deleted: every line and comment would go.
void TstUpdateRun::emptyRescanAsksFirst()
{
    QFETCH(bool, emptyCatalog);
    QFETCH(int, answer);
    QFETCH(int, outcome);
    if (emptyCatalog)
        QVERIFY(m_library->writeCatalog(QStringLiteral("Disc"), {}));
    const QByteArray before = TestSupport::readFile(catalogPath());
    const QString info = m_state.catalogInfo.value(QStringLiteral("Disc"));
    QVERIFY(QDir(m_volume->path()).removeRecursively());
    QVERIFY(QDir().mkpath(m_volume->path()));

    QStringList asked;
    bool askedWhileRunning = false;
    UpdateRun::Params p = params();
    if (answer >= 0) {
        p.confirmEmptyRescan = [&](const QString &question) {
            asked << question;
            askedWhileRunning = m_state.keepGoing && m_state.displayMode.update;
            return answer == 1;
        };
    }
    const auto r = update(p);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(askedWhileRunning, !asked.isEmpty());
    if (emptyCatalog) {
        QVERIFY(asked.isEmpty());
        QVERIFY(!m_statuses.contains(QStringLiteral("Updating Stopped")));
        return;
    }
    if (answer >= 0)
        QCOMPARE(asked, QStringList{UpdateRun::emptyRescanQuestion(QStringLiteral("Disc"),
                                                                   m_volume->path() + u'/', 4)});
    const int stoppedAt = int(m_statuses.indexOf(QStringLiteral("Updating Stopped")));
    QVERIFY(stoppedAt > m_statuses.indexOf(QStringLiteral("Scanning...")));
    if (answer == 1) {
        QCOMPARE(m_lastStatus, QStringLiteral("0 New Addition(s) 4 Removed"));
        QVERIFY(TestSupport::readFile(catalogPath()).isEmpty());
        return;
    }
    QCOMPARE(m_lastStatus, QStringLiteral("Updating Stopped"));
    QVERIFY(r.warning.isEmpty());
    QCOMPARE(TestSupport::readFile(catalogPath()), before);
    QCOMPARE(m_state.catalogInfo.value(QStringLiteral("Disc")), info);
    QVERIFY(m_state.fileLines.isEmpty() && !m_state.displayMode.update && !m_state.keepGoing);
}

void TstUpdateRun::keepsStoredLinesOfPresentFiles()
{
    const QString v = m_volume->path() + u'/';
    QVERIFY(TestSupport::writeFile(v + QStringLiteral("a.txt"), "grown to a larger size"));
    QVERIFY(QFile::remove(v + QStringLiteral("b.txt")));
    QVERIFY(QFile::rename(v + QStringLiteral("c.txt"), v + QStringLiteral("C.TXT")));
    QVERIFY(TestSupport::writeFile(v + QStringLiteral("new.txt"), "x"));

    const auto r = update(params());
    QCOMPARE(int(r.outcome), int(UpdateRun::Outcome::Updated));
    QCOMPARE(m_lastStatus, QStringLiteral("1 New Addition(s) 1 Removed"));
    QStringList lines;
    QVERIFY(TextFile::readLines(catalogPath(), lines));
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.contains(m_commented)); // old size, date and comment
    QCOMPARE(lines.filter(QStringLiteral("\"c.txt\"")).size(), 1);
    QCOMPARE(r.fileCount, qint64(4));
    const QStringList info = CommaText::split(m_state.catalogInfo.value(QStringLiteral("Disc")));
    QCOMPARE(info.mid(0, 8),
             (QStringList{"4", "2", "/", v, "1.44 MB", "1.44 MB", "Removable", "01/02/2025 03:04:06"}));
    QVERIFY(m_state.fileLines.isEmpty() && !m_state.displayMode.update && !m_state.keepGoing);
}

void TstUpdateRun::deletedCatalogFileMakesEveryLineNew()
{
    QVERIFY(QFile::remove(catalogPath()));
    const auto r = update(params());
    QCOMPARE(int(r.outcome), int(UpdateRun::Outcome::Updated));
    QCOMPARE(m_lastStatus, QStringLiteral("4 New Addition(s) 0 Removed"));
    QVERIFY(m_library->catalogFileExists(QStringLiteral("Disc")));
}

void TstUpdateRun::stoppedOrUnreadableLeavesCatalogAlone_data()
{
    QTest::addColumn<bool>("removeVolume");
    QTest::addColumn<qint64>("stopAfter");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("lastPhase"); // the last phase the run announced
    QTest::newRow("stop in the directory walk")
        << false << qint64(0) << int(UpdateRun::Outcome::Stopped) << "Preparing Directory List";
    QTest::newRow("stop in the file listing")
        << false << kStopInFileListing << int(UpdateRun::Outcome::Stopped) << "Scanning...";
    QTest::newRow("volume gone") << true << qint64(-1) << int(UpdateRun::Outcome::Refused)
                                 << "Preparing Directory List";
}

void TstUpdateRun::stoppedOrUnreadableLeavesCatalogAlone()
{
    QFETCH(bool, removeVolume);
    QFETCH(qint64, stopAfter);
    QFETCH(int, outcome);
    QFETCH(QString, lastPhase);
    const QByteArray before = TestSupport::readFile(catalogPath());
    const QString info = m_state.catalogInfo.value(QStringLiteral("Disc"));
    if (removeVolume)
        QVERIFY(QDir(m_volume->path()).removeRecursively());
    const auto r = update(params(), stopAfter);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(m_lastStatus, QStringLiteral("Updating Stopped"));
    QCOMPARE(m_statuses.value(m_statuses.size() - 2), lastPhase);
    if (lastPhase == QLatin1String("Scanning..."))
        QCOMPARE(m_filesListed, qint64(1));
    QCOMPARE(r.warning.isEmpty(), !removeVolume);
    QCOMPARE(TestSupport::readFile(catalogPath()), before);
    QCOMPARE(m_state.catalogInfo.value(QStringLiteral("Disc")), info);
}

QTEST_GUILESS_MAIN(TstUpdateRun)
#include "tst_updaterun.moc"
