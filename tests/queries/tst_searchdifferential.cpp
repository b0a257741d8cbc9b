// The streamed search against a copy of the plain whole-file search it
// replaced, over awkward catalogs: every result line, the unreadable list
// and every status text must agree.
#include "HostileCatalog.h"
#include "RecordingControl.h"
#include "TestSupport.h"
#include "library/CatalogLibrary.h"
#include "library/CategoryTree.h"
#include "library/SortedLineList.h"
#include "library/Windows1252.h"
#include "queries/CatalogLines.h"
#include "queries/CatalogSearch.h"
#include "queries/CheckTree.h"
#include "queries/LineFields.h"
#include "queries/LineMatcher.h"
#include "queries/ResultMerge.h"
#include "queries/ResultRun.h"

#include <QtTest>

namespace {

using Mode = CatalogSearch::Mode;

struct Outcome {
    QStringList lines;
    QStringList unreadable;
    QStringList statuses;
    int calls = 0;
};

// The search as it was: each catalog read whole, then searched as one text,
// one after another, stopped at the given keepGoing call (0: never).
Outcome referenceSearch(const CatalogLibrary &library, const CatalogSearch &search,
                        const CatalogSearch::Request &request, const CheckTree &tree, int stopAt = 0)
{
    Outcome out;
    RecordingControl control(stopAt);
    SortedLineList results;
    const std::unique_ptr<LineMatcher> matcher = search.matcherFor(request, nullptr);
    LineFields scratch;
    QString text;
    for (const CheckTree::Category &category : tree.categories()) {
        for (const CheckTree::Node &catalog : category.catalogs) {
            if (!catalog.checked)
                continue;
            if (!control.keepGoing()) {
                control.status(QStringLiteral("Search Cancelled"));
                out.statuses = control.statuses;
                out.calls = control.calls;
                return out;
            }
            control.status(QStringLiteral("Searching %1 Catalog").arg(catalog.text));
            if (!CatalogLines::readText(library, catalog.text, text, out.unreadable))
                continue;
            const QString name = CatalogLines::quotedName(catalog.text);
            matcher->findIn(
                text, [&](QStringView line) { results.add(CatalogLines::resultLine(line, name, scratch)); });
        }
    }
    control.status(CatalogSearch::foundText(results.count()));
    out.lines = results.lines();
    out.statuses = control.statuses;
    out.calls = control.calls;
    return out;
}

// Windows-1252 bytes of text; characters the code page lacks become "?".
QByteArray windows1252(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        char b = '?';
        Windows1252::fromUnicode(c, b);
        bytes += b;
    }
    return bytes;
}

QByteArray hostileBytes(quint32 seed, int count)
{
    return HostileCatalog::fileBytes(seed, HostileCatalog::lines(seed, count));
}

// A catalog line naming a file that holds the given raw bytes.
QByteArray lineWith(const QByteArray &raw)
{
    return "\"report " + raw + ".txt\",\"1\",\"01/02/2003\",\"/kelvin/\",\"\"\r\n";
}

// The runs' lines as one list, in the order the merge walks them.
QStringList mergedLines(const std::vector<ResultRun> &runs)
{
    QStringList lines;
    ResultMerge merge(runs);
    const ResultRun *run = nullptr;
    qsizetype index = 0;
    QByteArray line;
    while (merge.next(run, index)) {
        run->lineAt(index, line);
        lines << SortedLineList::decode(line);
    }
    return lines;
}

} // namespace

class TestSearchDifferential : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sameResults_data();
    void sameResults();
    void threadsAndStops_data();
    void threadsAndStops();
    void cleanupTestCase();

private:
    void addCatalog(const QString &name, const QByteArray &bytes);
    void compareWithReference(const CatalogSearch::Request &request, int threads, int stopAt);

    QTemporaryDir m_dir;
    CategoryTree m_tree;
};

void TestSearchDifferential::addCatalog(const QString &name, const QByteArray &bytes)
{
    QVERIFY(TestSupport::writeFile(CatalogLibrary(m_dir.path()).catalogFilePath(name), bytes));
    m_tree.addCatalog(0, name, CategoryTree::FixedImage);
}

void TestSearchDifferential::initTestCase()
{
    m_tree.addCategory(QStringLiteral("Hostile"));
    for (quint32 seed = 1; seed <= 3; ++seed)
        addCatalog(QStringLiteral("Hostile %1").arg(seed), hostileBytes(seed, 2000));
    // Larger than a piece of the stream, so lines straddle the cuts; the
    // second turns out not to be UTF-8 only near its end.
    const QByteArray big = hostileBytes(7, 8000);
    addCatalog(QStringLiteral("Big"), big);
    addCatalog(QStringLiteral("Late Windows"), big + lineWith("caf\xE9"));
    addCatalog(QStringLiteral("Old Windows"),
               windows1252(HostileCatalog::lines(8, 1500).join(QStringLiteral("\r\n"))));
    addCatalog(QStringLiteral("Marked, then cut"),
               "\xEF\xBB\xBF" + hostileBytes(9, 500) + '\0' + hostileBytes(10, 500));
    addCatalog(QStringLiteral("Long line"), lineWith(QByteArray(3 << 19, 'k')) + hostileBytes(11, 50) +
                                                lineWith("\xC4\xB0stanbul \xE2\x84\xAA"));
    // Byte sequences at the edges of UTF-8: each file is read as UTF-8 or
    // as Windows-1252 as a whole.
    const QList<QByteArray> edges{"\xC0\xAF",         "\xED\xA0\x80", "\xEF\xBF\xBE", "\xF4\x8F\xBF\xBF",
                                  "\xF4\x90\x80\x80", "\xE2\x84",     "\xE2\x84\xAA", "\xC4\xB0"};
    for (qsizetype i = 0; i < edges.size(); ++i)
        addCatalog(QStringLiteral("Edge %1").arg(i), hostileBytes(20 + i, 30) + lineWith(edges.at(i)));
    // The same entries in two catalogs whose names sort the other way round
    // from the tree's order, and a line that is the start of another's: the
    // names decide their order. A line given twice is one result.
    const QByteArray shared = hostileBytes(30, 300) + lineWith("x");
    addCatalog(QStringLiteral("Zulu"), shared + lineWith("x"));
    addCatalog(QStringLiteral("Alpha"),
               shared + "\"report x.txt\",\"1\",\"01/02/2003\",\"/kelvin/\",\"\",\"m\"\r\n");
    addCatalog(QStringLiteral("Empty"), QByteArray());
    m_tree.addCatalog(0, QStringLiteral("No File"), CategoryTree::FixedImage);
    addCatalog(QStringLiteral("Locked"), hostileBytes(12, 100));
    const QString locked = CatalogLibrary(m_dir.path()).catalogFilePath(QStringLiteral("Locked"));
    QVERIFY(TestSupport::makeUnreadable(locked, QStringLiteral("owner-only file")));
    // Threads started later inherit the main thread's lack of the power.
    QVERIFY(TestSupport::readOverride(false));
}

void TestSearchDifferential::cleanupTestCase()
{
    TestSupport::readOverride(true);
}

void TestSearchDifferential::sameResults_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("caseSensitive");
    const auto word = [](const QString &w, bool cs) {
        QTest::addRow("word %s%s", qPrintable(w), cs ? " (case)" : "") << int(Mode::Word) << w << cs;
    };
    for (const QString &w : HostileCatalog::frequentWords()) {
        word(u'*' + w + u'*', false);
        word(u'*' + w + u'*', true);
    }
    for (const char *w :
         {"*", "?", "*k*", "*K*", "*i*", "*İ*", "*\u212A*", "*istanbul*", "*kelvin*", "*ünïcödé*",
          "*straSSe*", "rep?rt*", "*/media/*", "*, *", "*\"\"*", "*12*", "report", "*.txt\",\"*"}) {
        word(QString::fromUtf8(w), false);
    }
    for (const char *w : {"*K*", "*\u212A*", "rep?rt*", "report*"})
        word(QString::fromUtf8(w), true);
    for (const char *e : {"*.*", "*", "*.", "*.txt", "*.TXT", "*.t?t", "*.éxt", "*.gz", "*.tar.gz"})
        QTest::addRow("extension %s", e) << int(Mode::Extension) << QString::fromUtf8(e) << false;
    for (const char *range : {"01/01/90-12/31/24", "06/01/2000-07/01/2010"})
        QTest::addRow("date %s", range) << int(Mode::Date) << QString::fromUtf8(range) << false;
}

void TestSearchDifferential::sameResults()
{
    QFETCH(int, mode);
    QFETCH(QString, text);
    QFETCH(bool, caseSensitive);
    CatalogSearch::Request request;
    request.mode = Mode(mode);
    request.caseSensitive = caseSensitive;
    if (request.mode == Mode::Word) {
        request.word = text;
    } else if (request.mode == Mode::Extension) {
        request.extension = text;
    } else {
        request.from = text.section(u'-', 0, 0);
        request.to = text.section(u'-', 1, 1);
    }
    compareWithReference(request, 0, 0);
}

// However many threads read ahead, and wherever Stop comes, a run shows
// what the catalogs read one after another showed.
void TestSearchDifferential::threadsAndStops_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("stopAt");
    for (const int threads : {1, 2, 7}) {
        for (const int stopAt : {0, 2, 11})
            QTest::addRow("%d threads, stop at %d", threads, stopAt) << threads << stopAt;
    }
}

void TestSearchDifferential::threadsAndStops()
{
    QFETCH(int, threads);
    QFETCH(int, stopAt);
    CatalogSearch::Request request;
    request.word = QStringLiteral("*e*");
    compareWithReference(request, threads, stopAt);
}

void TestSearchDifferential::compareWithReference(const CatalogSearch::Request &request, int threads,
                                                  int stopAt)
{
    const CatalogLibrary library(m_dir.path());
    CatalogSearch search(library, DateFormats(), 2026);
    search.setThreads(threads);
    CheckTree tree(m_tree);
    tree.setAllChecked(true);
    const Outcome expected = referenceSearch(library, search, request, tree, stopAt);
    if (stopAt == 0)
        QCOMPARE(expected.unreadable, QStringList{QStringLiteral("Locked")});

    RecordingControl control(stopAt);
    SortedLineList results;
    const CatalogSearch::Result result = search.run(request, tree, control, results);
    QCOMPARE(result.matches, expected.lines.size());
    QCOMPARE(result.unreadable, expected.unreadable);
    QCOMPARE(control.statuses, expected.statuses);
    QCOMPARE(control.calls, expected.calls);
    const QStringList &lines = results.lines();
    QCOMPARE(lines.size(), expected.lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        QCOMPARE(lines.at(i), expected.lines.at(i));

    // The same search kept as one run per catalog.
    RecordingControl runsControl(stopAt);
    std::vector<ResultRun> runs;
    const CatalogSearch::Result runsResult = search.run(request, tree, runsControl, runs);
    QCOMPARE(runsResult.matches, expected.lines.size());
    QCOMPARE(runsControl.statuses, expected.statuses);
    QCOMPARE(mergedLines(runs), expected.lines);
}

QTEST_GUILESS_MAIN(TestSearchDifferential)
#include "tst_searchdifferential.moc"
