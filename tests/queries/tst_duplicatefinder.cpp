#include "HostileCatalog.h"
#include "RecordingControl.h"
#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/CategoryTree.h"
#include "library/CellFields.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"
#include "queries/CatalogLines.h"
#include "queries/CheckTree.h"
#include "queries/DuplicateFinder.h"
#include "queries/LineFields.h"
#include "queries/LineMatcher.h"

#include <QtTest>

#include <algorithm>
#include <vector>

using Outcome = DuplicateFinder::Outcome;

namespace {

QString entry(const QString &name, const QString &size, const QString &date, const QString &path)
{
    return QStringLiteral(R"("%1","%2","%3","%4","")").arg(name, size, date, path);
}

// The finder as it first was: every line of every ticked catalog gathered
// into one sorted list, ordered by exact name, every neighbour compared.
// The finder must give its results and status texts line for line.
namespace reference {

QStringView nameOf(const QString &line)
{
    CellFields::Span span;
    if (!CellFields::find(line, 0, span))
        return {};
    return QStringView(line).mid(span.start, span.length);
}

void orderByExactName(QStringList &lines)
{
    struct Item {
        QStringView name;
        qsizetype index;
    };
    std::vector<Item> items;
    for (qsizetype i = 0; i < lines.size(); ++i)
        items.push_back({nameOf(lines.at(i)), i});
    std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) {
        int order = TextCompare::compareNoCase(a.name, b.name);
        if (order == 0)
            order = a.name.compare(b.name);
        return order < 0;
    });
    QStringList ordered;
    for (const Item &item : items)
        ordered.append(lines.at(item.index));
    lines.swap(ordered);
}

bool sameKey(const LineFields &a, const LineFields &b, const DuplicateFinder::Criteria &c)
{
    return (!c.name || a.field(0) == b.field(0)) && (!c.size || a.field(1) == b.field(1))
        && (!c.date || a.field(2) == b.field(2));
}

bool gather(const CatalogLibrary &library, const CheckTree &tree, RunControl &control,
            SortedLineList &gathered)
{
    LineFields scratch;
    QString text;
    QStringList unreadable;
    for (const CheckTree::Category &category : tree.categories()) {
        for (const CheckTree::Node &catalog : category.catalogs) {
            if (!control.keepGoing())
                return false;
            if (!catalog.checked)
                continue;
            control.status(QStringLiteral("Reading %1 Catalog").arg(catalog.text));
            if (!CatalogLines::readText(library, catalog.text, text, unreadable))
                continue;
            const QString name = CatalogLines::quotedName(catalog.text);
            qsizetype start = 0;
            while (start < text.size()) {
                const qsizetype end = LineMatcher::lineEnd(text, start);
                const QString line =
                    CatalogLines::resultLine(QStringView(text).mid(start, end - start), name, scratch);
                if (!line.isEmpty())
                    gathered.add(line);
                start = end + 1;
            }
        }
    }
    return true;
}

bool compare(const QStringList &lines, const DuplicateFinder::Criteria &criteria, RunControl &control,
             SortedLineList &results)
{
    const qsizetype n = lines.size();
    LineFields current;
    LineFields next;
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (i % DuplicateFinder::CompareBatch == 0) {
            control.status(QStringLiteral("Comparing %1 Files Out Of %2").arg(i + 1).arg(n));
            if (!control.keepGoing())
                return false;
        }
        current.parse(lines.at(i));
        next.parse(lines.at(i + 1));
        if (sameKey(current, next, criteria)) {
            results.add(lines.at(i));
            results.add(lines.at(i + 1));
        }
    }
    return true;
}

void findDuplicates(const CatalogLibrary &library, const CheckTree &tree,
                    const DuplicateFinder::Criteria &criteria, RunControl &control, SortedLineList &results)
{
    results.clear();
    SortedLineList gathered;
    bool finished = gather(library, tree, control, gathered);
    if (finished) {
        QStringList lines = gathered.takeLines();
        orderByExactName(lines);
        finished = compare(lines, criteria, control, results);
    }
    if (!finished) {
        results.clear();
        control.status(QStringLiteral("Duplicate Search Stopped"));
        return;
    }
    control.status(QStringLiteral("Found %1 Duplicate Files").arg(results.count()));
}

} // namespace reference

} // namespace

class TestDuplicateFinder : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void criteria_data();
    void criteria();
    void sameFileOnTwoVolumes();
    void refusesWithoutCriterion();
    void stops_data();
    void stops();
    void matchesReference_data();
    void matchesReference();
    void quoteFoldsOnlyToItself();

private:
    DuplicateFinder::Result find(const DuplicateFinder::Criteria &c, RunControl &control);
    void writeCatalog(const QString &name, const QStringList &lines);

    std::unique_ptr<QTemporaryDir> m_dir;
    CategoryTree m_tree;
    CheckTree m_check;
    SortedLineList m_results;
};

void TestDuplicateFinder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_tree = CategoryTree();
    m_tree.addCategory(QStringLiteral("All"));
    m_results.clear();
}

void TestDuplicateFinder::writeCatalog(const QString &name, const QStringList &lines)
{
    TestSupport::writeLines(m_dir->path() + QStringLiteral("/Catalogs/") + name + QStringLiteral(".TXT"),
                            lines);
    m_tree.addCatalog(0, name, CategoryTree::FixedImage);
}

DuplicateFinder::Result TestDuplicateFinder::find(const DuplicateFinder::Criteria &c,
                                                  RunControl &control)
{
    m_check.rebuild(m_tree);
    m_check.setAllChecked(true);
    const CatalogLibrary library(m_dir->path());
    return DuplicateFinder(library).run(m_check, c, control, m_results);
}

void TestDuplicateFinder::criteria_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("byName");
    QTest::addColumn<bool>("bySize");
    QTest::addColumn<bool>("byDate");
    QTest::addColumn<QStringList>("names"); // names of the lines found, in order

    const QString d = QStringLiteral("01/01/2000");
    QTest::newRow("single catalog, two paths")
        << QStringList{entry("a.txt", "5", d, "/x/"), entry("a.txt", "5", d, "/y/"),
                       entry("b.txt", "5", d, "/x/")}
        << true << true << true << QStringList{"a.txt", "a.txt"};
    QTest::newRow("three of a kind, three rows")
        << QStringList{entry("a", "1", d, "/1/"), entry("a", "1", d, "/2/"), entry("a", "1", d, "/3/")}
        << true << true << true << QStringList{"a", "a", "a"};
    QTest::newRow("exact copies of a line are one line")
        << QStringList{entry("a.txt", "5", d, "/x/"), entry("a.txt", "5", d, "/x/")}
        << true << true << true << QStringList{};
    // Case twins interleave in the gathered order; each name's lines are
    // still compared with each other.
    QTest::newRow("case twins, each found twice")
        << QStringList{entry("a.txt", "5", d, "/x/"), entry("A.TXT", "5", d, "/x/"),
                       entry("a.txt", "5", d, "/y/"), entry("A.TXT", "5", d, "/y/")}
        << true << true << true << QStringList{"A.TXT", "a.txt", "A.TXT", "a.txt"};
    // Names from bytes that are not UTF-8 often differ only in an accent.
    QTest::newRow("accent siblings, each found twice")
        << QStringList{entry("n\u00fd", "5", d, "/x/"), entry("n\u00ff", "5", d, "/x/"),
                       entry("n\u00fd", "5", d, "/y/"), entry("n\u00ff", "5", d, "/y/")}
        << true << true << true << QStringList{"n\u00fd", "n\u00ff", "n\u00fd", "n\u00ff"};
    QTest::newRow("names differing in case are no duplicates")
        << QStringList{entry("Readme.txt", "5", d, "/x/"), entry("README.TXT", "5", d, "/y/")}
        << true << true << true << QStringList{};
    QTest::newRow("name only, any size and date")
        << QStringList{entry("a", "1", d, "/1/"), entry("a", "2", "", "/2/"), entry("b", "2", d, "/1/")}
        << true << false << false << QStringList{"a", "a"};
    QTest::newRow("size only, neighbours only")
        << QStringList{entry("a", "7", d, "/"), entry("b", "3", d, "/"), entry("c", "7", d, "/"),
                       entry("d", "3", d, "/")}
        << false << true << false << QStringList{};
    QTest::newRow("size only, adjacent")
        << QStringList{entry("a", "7", d, "/"), entry("b", "7", d, "/"), entry("c", "3", d, "/")}
        << false << true << false << QStringList{"a", "b"};
    // Fields are compared one by one, so no digits move from name to size.
    QTest::newRow("name and size do not run together")
        << QStringList{entry("file1", "23", d, "/"), entry("file12", "3", d, "/")}
        << true << true << false << QStringList{};
    QTest::newRow("date differs") << QStringList{entry("a", "1", d, "/1/"), entry("a", "1", "", "/2/")}
                                  << true << true << true << QStringList{};
    QTest::newRow("short lines count missing fields as empty")
        << QStringList{QStringLiteral(R"("a","1")"), QStringLiteral(R"("a","1","","/p/")"),
                       QString(), QString()}
        << true << true << true << QStringList{"a", "a"};
}

void TestDuplicateFinder::criteria()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, byName);
    QFETCH(bool, bySize);
    QFETCH(bool, byDate);
    QFETCH(QStringList, names);
    writeCatalog(QStringLiteral("One"), lines);
    RecordingControl control;
    const auto result = find({byName, bySize, byDate}, control);
    QCOMPARE(result.outcome, Outcome::Finished);
    QStringList got;
    for (const QString &line : m_results.lines())
        got << line.section(u'"', 1, 1);
    QCOMPARE(got, names);
    QCOMPARE(control.statuses.last(), QStringLiteral("Found %1 Duplicate Files").arg(names.size()));
}

void TestDuplicateFinder::sameFileOnTwoVolumes()
{
    const QString line = entry("song.mp3", "4000", "02/03/2004 10:11:12", "/m/");
    writeCatalog(QStringLiteral("Backup"), {line});
    writeCatalog(QStringLiteral("Main"), {line});
    writeCatalog(QStringLiteral("Missing"), {});
    QFile::remove(m_dir->path() + QStringLiteral("/Catalogs/Missing.TXT"));
    RecordingControl control;
    const auto result = find({}, control);
    QCOMPARE(result.duplicates, 2);
    QCOMPARE(m_results.lines(), (QStringList{line + QStringLiteral(",\"Backup\""),
                                             line + QStringLiteral(",\"Main\"")}));
    QCOMPARE(control.statuses,
             (QStringList{QStringLiteral("Reading Backup Catalog"), QStringLiteral("Reading Main Catalog"),
                          QStringLiteral("Reading Missing Catalog"),
                          QStringLiteral("Comparing 1 Files Out Of 2"),
                          QStringLiteral("Found 2 Duplicate Files")}));
}

void TestDuplicateFinder::refusesWithoutCriterion()
{
    writeCatalog(QStringLiteral("One"), {entry("a", "1", "", "/")});
    m_results.add(QStringLiteral("old"));
    RecordingControl control;
    const auto result = find({false, false, false}, control);
    QCOMPARE(result.outcome, Outcome::Refused);
    QCOMPARE(result.message, DuplicateFinder::noCriterionMessage());
    QCOMPARE(control.calls, 0);
}

void TestDuplicateFinder::stops_data()
{
    QTest::addColumn<int>("stopAt");
    // Calls 1 and 2 come before the two catalogs, call 3 before comparing.
    QTest::newRow("while gathering") << 2;
    QTest::newRow("while comparing") << 3;
}

void TestDuplicateFinder::stops()
{
    QFETCH(int, stopAt);
    const QString line = entry("a", "1", "", "/");
    writeCatalog(QStringLiteral("One"), {line});
    writeCatalog(QStringLiteral("Two"), {line});
    RecordingControl control(stopAt);
    const auto result = find({}, control);
    QCOMPARE(result.outcome, Outcome::Stopped);
    QVERIFY(m_results.isEmpty());
    QCOMPARE(control.statuses.last(), QStringLiteral("Duplicate Search Stopped"));
}

void TestDuplicateFinder::matchesReference_data()
{
    QTest::addColumn<bool>("byName");
    QTest::addColumn<bool>("bySize");
    QTest::addColumn<bool>("byDate");
    QTest::addColumn<int>("stopAt");
    // Six catalogs: keepGoing calls 1 to 6 come before them, 7 and 8 before
    // the first two batches of comparisons.
    for (int stopAt : {0, 8}) {
        for (int mask = 1; mask < 8; ++mask) {
            const bool name = mask & 1;
            const bool size = mask & 2;
            const bool date = mask & 4;
            QTest::addRow("%s%s%s, stop at %d", name ? "name " : "", size ? "size " : "",
                          date ? "date" : "", stopAt)
                << name << size << date << stopAt;
        }
    }
}

void TestDuplicateFinder::matchesReference()
{
    QFETCH(bool, byName);
    QFETCH(bool, bySize);
    QFETCH(bool, byDate);
    QFETCH(int, stopAt);
    const QString catalogs = m_dir->path() + QStringLiteral("/Catalogs/");
    for (quint32 seed = 1; seed <= 5; ++seed) {
        const QStringList lines = HostileCatalog::lines(seed, 600);
        TestSupport::writeFile(catalogs + QStringLiteral("Hostile %1.TXT").arg(seed),
                               HostileCatalog::fileBytes(seed, lines));
        m_tree.addCatalog(0, QStringLiteral("Hostile %1").arg(seed), CategoryTree::FixedImage);
    }
    // Names holding quotes, stored quoted and bare: "x""y" and x"y are one
    // name, x"A sorts between them and is no duplicate of either; "z""w"
    // and z"w are neighbours and duplicates.
    writeCatalog(QStringLiteral("Quotes"),
                 {QStringLiteral(R"("x""y","1","d","/p/","")"), QStringLiteral(R"(x"A,"1","d","/p/","")"),
                  QStringLiteral(R"(x"y,"1","d","/q/","")"), QStringLiteral(R"("z""w","1","d","/p/","")"),
                  QStringLiteral(R"(z"w,"1","d","/q/","")")});
    const DuplicateFinder::Criteria criteria{byName, bySize, byDate};

    RecordingControl control(stopAt);
    find(criteria, control);
    const QStringList found = m_results.lines();

    RecordingControl expectedControl(stopAt);
    SortedLineList expected;
    reference::findDuplicates(CatalogLibrary(m_dir->path()), m_check, criteria, expectedControl, expected);

    QCOMPARE(found, expected.lines());
    QCOMPARE(control.statuses, expectedControl.statuses);
    QCOMPARE(control.calls, expectedControl.calls);
    if (stopAt == 0)
        QVERIFY(found.size() > 10);
}

// Lines of names holding a quote are kept whenever names are compared,
// which is enough only because no other character sorts as a quote.
void TestDuplicateFinder::quoteFoldsOnlyToItself()
{
    const QString quoteLow = QStringLiteral("\"!");
    const QString quoteHigh = QStringLiteral("\"~");
    for (int c = 1; c <= 0xFFFF; ++c) {
        if (c == '"')
            continue;
        const QChar ch = QChar(char16_t(c));
        // Were ch the quote's equal, the second letters would decide and the
        // two comparisons would disagree.
        const bool belowLow = TextCompare::compareNoCase(QString(ch) + u'~', quoteLow) < 0;
        const bool belowHigh = TextCompare::compareNoCase(QString(ch) + u'!', quoteHigh) < 0;
        if (belowLow != belowHigh)
            QFAIL(qPrintable(QStringLiteral("U+%1 sorts as a quote").arg(c, 4, 16, QLatin1Char('0'))));
    }
}

QTEST_GUILESS_MAIN(TestDuplicateFinder)
#include "tst_duplicatefinder.moc"
