#include "RecordingControl.h"
#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/CategoryTree.h"
#include "library/SortedLineList.h"
#include "library/Utf8Fields.h"
#include "queries/CheckTree.h"
#include "queries/SingleCopyFinder.h"

#include <QtTest>

using Outcome = SingleCopyFinder::Outcome;

namespace {

const QString kDay = QStringLiteral("01/01/2000 10:00:00");
const QString kOtherDay = QStringLiteral("02/02/2002 10:00:00");

QString entry(const QString &name, const QString &size, const QString &date = kDay,
              const QString &path = QStringLiteral("/d/"))
{
    return QStringLiteral(R"("%1","%2","%3","%4","")").arg(name, size, date, path);
}

// Each case of the issue, one line each: A is the disc asked about, B the
// other one, and Gone is listed but its file is missing.
const QStringList kDiscA{
    entry("only-a.txt", "1"),
    entry("both.txt", "2"),
    entry("twice.txt", "3", kDay, "/d/x/"),
    entry("twice.txt", "3", kDay, "/d/y/"),
    entry("sized.txt", "4"),
    entry("dated.txt", "5"),
    entry("Case.txt", "6"),
    entry(R"(say ""hi"", then.txt)", "7"),
    entry("member.txt", "8", kDay, "/d/pack.zip"),
    entry("", "0", kDay, "/d/folder/"),
};
const QStringList kDiscB{
    entry("both.txt", "2", kDay, "/e/"),   entry("sized.txt", "40"),
    entry("dated.txt", "5", kOtherDay),    entry("case.TXT", "6"),
    entry(R"(say ""hi"", then.txt)", "7"), entry("member.txt", "8", kDay, "/e/"),
    entry("", "0", kDay, "/e/folder/"),
};

} // namespace

class TestSingleCopyFinder : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void criteria_data();
    void criteria();
    void othersAreTheTickedOnes();
    void askedCatalogWithoutFile();
    void refusesWithoutCriterion();
    void stops_data();
    void stops();

private:
    void tick(const QStringList &catalogs);
    // "name catalog" of each result line, in order.
    static QStringList found(const SortedLineList &results);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CatalogLibrary> m_library;
    CategoryTree m_tree;
    CheckTree m_check;
};

void TestSingleCopyFinder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_library = std::make_unique<CatalogLibrary>(m_dir->path());
    m_tree = CategoryTree();
    m_tree.addCategory(QStringLiteral("Discs"));
    const QString catalogs = m_dir->path() + QStringLiteral("/Catalogs/");
    TestSupport::writeLines(catalogs + QStringLiteral("A.TXT"), kDiscA);
    TestSupport::writeLines(catalogs + QStringLiteral("B.TXT"), kDiscB);
    for (const char *name : {"A", "B", "Gone"})
        m_tree.addCatalog(0, QLatin1String(name), CategoryTree::FixedImage);
    m_check.rebuild(m_tree);
    m_check.setAllChecked(true);
}

void TestSingleCopyFinder::tick(const QStringList &catalogs)
{
    m_check.setAllChecked(false);
    const CheckTree::Category &discs = m_check.category(0);
    for (int i = 0; i < int(discs.catalogs.size()); ++i)
        m_check.setCatalogChecked(0, i, catalogs.contains(discs.catalogs.at(size_t(i)).text));
}

QStringList TestSingleCopyFinder::found(const SortedLineList &results)
{
    QStringList names;
    for (qsizetype i = 0; i < results.count(); ++i) {
        const QByteArrayView line = results.utf8At(i);
        // The search's six columns, the catalog's name last.
        names << (Utf8Fields::count(line) == 6 ? Utf8Fields::text(line, 0) + u' ' + Utf8Fields::text(line, 5)
                                               : QString::fromUtf8(line));
    }
    return names;
}

void TestSingleCopyFinder::criteria_data()
{
    QTest::addColumn<bool>("byName");
    QTest::addColumn<bool>("bySize");
    QTest::addColumn<bool>("byDate");
    QTest::addColumn<QStringList>("onlyInA");              // A's files found nowhere else
    QTest::addColumn<QStringList>("onlyInB");              // the rest of the single copies
    const QStringList twice{"twice.txt A", "twice.txt A"}; // repeats within A are no copies
    QTest::newRow("name, size and date")
        << true << true << true
        << QStringList{"Case.txt A", "dated.txt A", "only-a.txt A", "sized.txt A"} + twice
        << QStringList{"case.TXT B", "dated.txt B", "sized.txt B"};
    QTest::newRow("name and size") << true << true << false
                                   << QStringList{"Case.txt A", "only-a.txt A", "sized.txt A"} + twice
                                   << QStringList{"case.TXT B", "sized.txt B"};
    QTest::newRow("name and date") << true << false << true
                                   << QStringList{"Case.txt A", "dated.txt A", "only-a.txt A"} + twice
                                   << QStringList{"case.TXT B", "dated.txt B"};
    QTest::newRow("name") << true << false << false << QStringList{"Case.txt A", "only-a.txt A"} + twice
                          << QStringList{"case.TXT B"};
    QTest::newRow("size and date") << false << true << true
                                   << QStringList{"dated.txt A", "only-a.txt A", "sized.txt A"} + twice
                                   << QStringList{"dated.txt B", "sized.txt B"};
    QTest::newRow("size") << false << true << false << QStringList{"only-a.txt A", "sized.txt A"} + twice
                          << QStringList{"sized.txt B"};
    QTest::newRow("date") << false << false << true << QStringList{} << QStringList{"dated.txt B"};
}

void TestSingleCopyFinder::criteria()
{
    QFETCH(bool, byName);
    QFETCH(bool, bySize);
    QFETCH(bool, byDate);
    QFETCH(QStringList, onlyInA);
    QFETCH(QStringList, onlyInB);
    const SingleCopyFinder finder(*m_library);
    const SingleCopyFinder::Criteria criteria{byName, bySize, byDate};
    SortedLineList results;
    RecordingControl control;

    SingleCopyFinder::Result result = finder.nowhereElse("A", m_check, criteria, control, results);
    QCOMPARE(result.outcome, Outcome::Finished);
    QCOMPARE(found(results), onlyInA);
    QCOMPARE(result.found, onlyInA.size());
    QVERIFY(result.unreadable.isEmpty()); // Gone, without a file, is passed over
    QCOMPARE(control.statuses.last(),
             QStringLiteral("%1 Files Of A Are Found Nowhere Else").arg(onlyInA.size()));

    result = finder.singleCopies(m_check, criteria, control, results);
    QCOMPARE(result.outcome, Outcome::Finished);
    QStringList all = onlyInA + onlyInB;
    std::sort(all.begin(), all.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QStringList got = found(results);
    std::sort(got.begin(), got.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QCOMPARE(got, all);
    QCOMPARE(control.statuses.last(), QStringLiteral("Found %1 Single Copies").arg(all.size()));
}

void TestSingleCopyFinder::othersAreTheTickedOnes()
{
    tick({"A"});
    SortedLineList results;
    RecordingControl control;
    const SingleCopyFinder finder(*m_library);
    finder.nowhereElse("a", m_check, {}, control, results);
    QCOMPARE(results.count(), kDiscA.size() - 1); // all but the folder
}

void TestSingleCopyFinder::askedCatalogWithoutFile()
{
    SortedLineList results;
    RecordingControl control;
    const SingleCopyFinder::Result result =
        SingleCopyFinder(*m_library).nowhereElse("Gone", m_check, {}, control, results);
    QCOMPARE(result.outcome, Outcome::Failed);
    QCOMPARE(result.message, QStringLiteral("The catalog file of Gone is missing"));
}

void TestSingleCopyFinder::refusesWithoutCriterion()
{
    SortedLineList results;
    RecordingControl control;
    const SingleCopyFinder finder(*m_library);
    QCOMPARE(finder.singleCopies(m_check, {false, false, false}, control, results).outcome, Outcome::Refused);
    QCOMPARE(finder.nowhereElse("A", m_check, {false, false, false}, control, results).outcome,
             Outcome::Refused);
}

void TestSingleCopyFinder::stops_data()
{
    QTest::addColumn<bool>("onlyIn");
    QTest::newRow("nowhere else") << true;
    QTest::newRow("single copies") << false;
}

// A stop asked at any of the run's tests ends it there, with nothing found.
// How often the run tests while it waits for its readers depends on the
// threads, so each run is stopped one test later until one finishes first.
void TestSingleCopyFinder::stops()
{
    QFETCH(bool, onlyIn);
    const SingleCopyFinder finder(*m_library);
    SortedLineList results;
    const auto run = [&](RunControl &control) {
        return onlyIn ? finder.nowhereElse("A", m_check, {}, control, results)
                      : finder.singleCopies(m_check, {}, control, results);
    };
    for (int stopAt = 1;; ++stopAt) {
        RecordingControl control(stopAt);
        if (run(control).outcome == Outcome::Finished) {
            QVERIFY(control.calls < stopAt);
            QVERIFY(stopAt > 4);
            break;
        }
        QCOMPARE(control.calls, stopAt);
        QVERIFY(results.isEmpty());
        QCOMPARE(control.statuses.last(), QStringLiteral("Single Copy Search Stopped"));
    }
}

QTEST_GUILESS_MAIN(TestSingleCopyFinder)
#include "tst_singlecopyfinder.moc"
