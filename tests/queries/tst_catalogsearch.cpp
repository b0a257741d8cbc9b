#include "RecordingControl.h"
#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/CategoryTree.h"
#include "library/CommaText.h"
#include "library/PairList.h"
#include "library/SortedLineList.h"
#include "library/VolumeStore.h"
#include "queries/CatalogReport.h"
#include "queries/CatalogSearch.h"
#include "queries/CheckTree.h"
#include "queries/ResultRun.h"
#include "queries/SearchHistory.h"

#include <QtTest>

using Mode = CatalogSearch::Mode;
using Outcome = CatalogSearch::Outcome;

namespace {

CategoryTree sampleTree()
{
    CategoryTree tree;
    tree.addCategory(QStringLiteral("Music"));
    tree.addCategory(QStringLiteral("Empty"));
    tree.addCategory(QStringLiteral("Photos"));
    const int music = tree.findCategory(QStringLiteral("Music"));
    const int photos = tree.findCategory(QStringLiteral("Photos"));
    tree.addCatalog(music, QStringLiteral("Jazz"), CategoryTree::CdRomImage);
    tree.addCatalog(music, QStringLiteral("Blues"), CategoryTree::FixedImage);
    tree.addCatalog(photos, QStringLiteral("Summer"), CategoryTree::RemovableImage);
    return tree;
}

// w00 ... w29: thirty words already in sorted order.
QStringList thirtyWords()
{
    QStringList words;
    for (int i = 0; i < SearchHistory::MaxWords; ++i)
        words << QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0'));
    return words;
}

QString info(const QString &type, const QString &path)
{
    return QStringLiteral(R"("10","2","/","%2","1.44 MB","12 KB","%1","06/24/1997 10:00:00",)"
                          R"("True","True","False","True","False","False","0")")
        .arg(type, path);
}

} // namespace

class TestCatalogSearch : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void viewAllListsEveryNamedEntry();
    void catalogFiledTwiceCountsOnce();
    void dateRequests_data();
    void dateRequests();
    void emptyBoxDoesNothing();
    void categoryCarries();
    void historyKeepsSortedAndUnique();
    void historyFull_data();
    void historyFull();
    void reportRows();
    void reportComment_data();
    void reportComment();

private:
    CatalogSearch::Result runSearch(const CatalogSearch::Request &request, RunControl &control);
    std::unique_ptr<QTemporaryDir> m_dir;
    CategoryTree m_tree;
    CheckTree m_check;
    SortedLineList m_results;
};

void TestCatalogSearch::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString catalogs = m_dir->path() + QStringLiteral("/Catalogs/");
    // The file of "Disk One" is stored in other letter case.
    TestSupport::writeLines(catalogs + QStringLiteral("disk one.txt"),
                            {QStringLiteral(R"("readme.txt","12","06/24/1997 10:00:00","/a/","")"),
                             QStringLiteral(R"("README.TXT","12","06/24/1997 10:00:00","/a/","")"),
                             QStringLiteral(R"("","0","","/a/","no name")"),
                             QStringLiteral(R"("Makefile","5","01/01/2001","/b/","readme")"),
                             QStringLiteral(R"("short.c","7")")});
    TestSupport::writeLines(catalogs + QStringLiteral("Two.TXT"),
                            {QStringLiteral(R"("x.jpg","9","bad date","/c/","")"),
                             QStringLiteral(R"("y.jpg","9","12/31/1997 23:59:58","/c/","")")});
    // "Gone" has no file at all.
    m_tree = CategoryTree();
    const int cat = m_tree.addCategory(QStringLiteral("Disks"));
    m_tree.addCatalog(cat, QStringLiteral("Disk One"), CategoryTree::FixedImage);
    m_tree.addCatalog(cat, QStringLiteral("Gone"), CategoryTree::FixedImage);
    const int other = m_tree.addCategory(QStringLiteral("More"));
    m_tree.addCatalog(other, QStringLiteral("Two"), CategoryTree::FixedImage);
    m_check.rebuild(m_tree);
    m_check.setAllChecked(true);
    m_results.clear();
}

CatalogSearch::Result TestCatalogSearch::runSearch(const CatalogSearch::Request &request, RunControl &control)
{
    const CatalogLibrary library(m_dir->path());
    const CatalogSearch search(library, DateFormats(), 2026);
    return search.run(request, m_check, control, m_results);
}

void TestCatalogSearch::viewAllListsEveryNamedEntry()
{
    RecordingControl control;
    const auto result = runSearch(CatalogSearch::Request::viewAll(), control);
    QCOMPARE(result.outcome, Outcome::Finished);
    // The two readme lines differ in case only: two files, two rows. The
    // entry without a name is left out; the short line is filled up to six
    // fields.
    QCOMPARE(result.matches, 6);
    QCOMPARE(m_results.count(), 6);
    for (const QString &line : m_results.lines())
        QCOMPARE(CommaText::split(line).size(), 6);
    QVERIFY(m_results.contains(QStringLiteral(R"("short.c","7","","","","Disk One")")));
    QVERIFY(m_results.contains(QStringLiteral(R"("y.jpg","9","12/31/1997 23:59:58","/c/","","Two")")));
    QCOMPARE(
        control.statuses,
        (QStringList{QStringLiteral("Searching Disk One Catalog"), QStringLiteral("Searching Gone Catalog"),
                     QStringLiteral("Searching Two Catalog"), QStringLiteral("Found 6 Matches")}));
    QCOMPARE(control.calls, 3);
}

// A hand-edited Master.TXT may file a catalog under two categories: its
// lines come twice and are one result each, kept as runs or as one list.
void TestCatalogSearch::catalogFiledTwiceCountsOnce()
{
    m_tree.addCatalog(0, QStringLiteral("Two"), CategoryTree::FixedImage);
    m_check.rebuild(m_tree);
    m_check.setAllChecked(true);
    RecordingControl control;
    QCOMPARE(runSearch(CatalogSearch::Request::viewAll(), control).matches, 6);
    const CatalogLibrary library(m_dir->path());
    std::vector<ResultRun> runs;
    RecordingControl runsControl;
    const CatalogSearch search(library, DateFormats(), 2026);
    QCOMPARE(search.run(CatalogSearch::Request::viewAll(), m_check, runsControl, runs).matches, 6);
    QCOMPARE(runs.size(), size_t(2));
    QCOMPARE(runsControl.statuses, control.statuses);
}

void TestCatalogSearch::dateRequests_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("matches");
    // The entry with an unreadable date is passed over, the search goes on.
    QTest::newRow("defaults") << "06/24/97" << QString("06/14/98") << int(Outcome::Finished) << "" << 1;
    QTest::newRow("wider") << "06/23/97" << QString("06/14/98") << int(Outcome::Finished) << "" << 3;
    QTest::newRow("equal bounds") << "06/24/97" << QString("06/24/97") << int(Outcome::Finished) << "" << 0;
    QTest::newRow("bad From first") << "1/32/97" << QString("nonsense") << int(Outcome::InvalidDate)
                                    << "'1/32/97' is not a valid date" << 0;
    QTest::newRow("bad To") << "1/1/97" << QString("2/30/98") << int(Outcome::InvalidDate)
                            << "'2/30/98' is not a valid date" << 0;
}

void TestCatalogSearch::dateRequests()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    QFETCH(int, matches);
    CatalogSearch::Request r;
    r.mode = Mode::Date;
    r.from = from;
    r.to = to;
    RecordingControl control;
    const auto result = runSearch(r, control);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.message, message);
    QCOMPARE(result.matches, matches);
    QCOMPARE(m_results.count(), matches);
}

void TestCatalogSearch::emptyBoxDoesNothing()
{
    m_results.add(QStringLiteral("left over"));
    CatalogSearch::Request r;
    RecordingControl control;
    QCOMPARE(runSearch(r, control).outcome, Outcome::NothingToDo);
    QVERIFY(control.statuses.isEmpty());
    QVERIFY(m_results.isEmpty());
}

void TestCatalogSearch::categoryCarries()
{
    // The empty category is left out.
    CheckTree t(sampleTree());
    QCOMPARE(t.categoryCount(), 2);
    QCOMPARE(t.category(1).node.text, QStringLiteral("Photos"));
    t.setCategoryChecked(0, true);
    QCOMPARE(t.checkedCatalogs(), (QStringList{QStringLiteral("Blues"), QStringLiteral("Jazz")}));
    // A catalog's own box changes that catalog only.
    t.setCatalogChecked(0, 0, false);
    QVERIFY(t.category(0).node.checked);
    QCOMPARE(t.checkedCatalogs(), QStringList{QStringLiteral("Jazz")});
    // A click on the category brings its catalogs back in line.
    t.categoryClicked(0);
    QCOMPARE(t.checkedCatalogs().size(), 2);
    t.setCatalogChecked(1, 0, true);
    t.setCategoryChecked(0, false);
    QCOMPARE(t.checkedCatalogs(), QStringList{QStringLiteral("Summer")});
    t.setAllChecked(true);
    QCOMPARE(t.checkedCatalogs().size(), 3);
    t.setCatalogChecked(5, 0, true); // out of range: ignored
    t.rebuild(sampleTree());
    QVERIFY(t.checkedCatalogs().isEmpty());
}

void TestCatalogSearch::historyKeepsSortedAndUnique()
{
    SearchHistory h(
        QStringList{QStringLiteral("beta"), QStringLiteral("Alpha"), QStringLiteral("BETA"), QString()});
    QCOMPARE(h.items(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta")}));
    h.add(QStringLiteral("a?c"));
    h.add(QStringLiteral("ALPHA"));
    h.add(QString());
    QCOMPARE(h.items(),
             (QStringList{QStringLiteral("a?c"), QStringLiteral("Alpha"), QStringLiteral("beta")}));
}

void TestCatalogSearch::historyFull_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("added");
    QTest::newRow("new word") << "new" << true;
    // Nothing is added, so no word has to give way.
    QTest::newRow("present in other case") << "W05" << false;
}

void TestCatalogSearch::historyFull()
{
    QFETCH(QString, word);
    QFETCH(bool, added);
    SearchHistory h(thirtyWords());
    h.add(word);
    QCOMPARE(h.items().size(), SearchHistory::MaxWords);
    QCOMPARE(h.items().contains(QStringLiteral("w20")), !added);
    QCOMPARE(h.items().contains(word), added);
    QVERIFY(std::is_sorted(h.items().cbegin(), h.items().cend(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    }));
}

void TestCatalogSearch::reportRows()
{
    const PairList catalogs({QStringLiteral("gamma"), info(QStringLiteral("CdRom"), QStringLiteral("/cd/")),
                             QStringLiteral("beta"), QString(), QStringLiteral("Alpha"),
                             info(QStringLiteral("Fixed"), QStringLiteral("/home/")),
                             QStringLiteral("delta")}); // cut short: no line after the name
    const PairList comments({QStringLiteral("Photos"), QStringLiteral("a category"), QStringLiteral("ALPHA"),
                             QStringLiteral("first disk")});
    const VolumeStore volumes({QStringLiteral(R"("ALPHA","1A2B-3C4D","My Disk","vfat","")")});
    const std::vector<QStringList> rows = CatalogReport::rows(catalogs, comments, volumes);
    QCOMPARE(rows.size(), size_t(4));
    QCOMPARE(rows.at(0), (QStringList{"Alpha", "Fixed", "1.44 MB", "12 KB", "/home/", "06/24/1997 10:00:00",
                                      "first disk", "My Disk", "1A2B-3C4D"}));
    QCOMPARE(rows.at(1), (QStringList{"beta", "", "", "", "", "", "", "", ""}));
    QCOMPARE(rows.at(2).at(CatalogReport::Name), QStringLiteral("delta"));
    QCOMPARE(rows.at(3).at(CatalogReport::Type), QStringLiteral("CdRom"));
    QCOMPARE(rows.at(3).at(CatalogReport::Comment), QString());
    QCOMPARE(CatalogReport::statusText(qsizetype(rows.size())), QStringLiteral("4 Catalogs"));
    QCOMPARE(CatalogReport::statusText(1), QStringLiteral("1 Catalogs"));
    QVERIFY(CatalogReport::rows(PairList(), comments, volumes).empty());
}

void TestCatalogSearch::reportComment_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("replace in place")
        << "new words" << QStringList{"Photos", "a category", "ALPHA", "new words"};
    QTest::newRow("empty removes") << "" << QStringList{"Photos", "a category"};
    QTest::newRow("line breaks flattened")
        << "two\r\nlines" << QStringList{"Photos", "a category", "ALPHA", "two  lines"};
}

void TestCatalogSearch::reportComment()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    PairList comments({QStringLiteral("Photos"), QStringLiteral("a category"), QStringLiteral("ALPHA"),
                       QStringLiteral("first disk")});
    CatalogReport::storeComment(comments, QStringLiteral("alpha"), text);
    QCOMPARE(comments.lines(), expected);
    CatalogReport::storeComment(comments, QStringLiteral("New"), QStringLiteral("added"));
    QCOMPARE(comments.value(QStringLiteral("new")), QStringLiteral("added"));
}

QTEST_GUILESS_MAIN(TestCatalogSearch)
#include "tst_catalogsearch.moc"
