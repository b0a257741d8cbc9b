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
    void quotedNames();
    void quoteFoldsOnlyToItself();
    void resultLineAsText_data();
    void resultLineAsText();
    void windows1252Catalog();

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

DuplicateFinder::Result TestDuplicateFinder::find(const DuplicateFinder::Criteria &c, RunControl &control)
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
        << QStringList{entry("a.txt", "5", d, "/x/"), entry("a.txt", "5", d, "/x/")} << true << true << true
        << QStringList{};
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
        << QStringList{entry("Readme.txt", "5", d, "/x/"), entry("README.TXT", "5", d, "/y/")} << true << true
        << true << QStringList{};
    QTest::newRow("name only, any size and date")
        << QStringList{entry("a", "1", d, "/1/"), entry("a", "2", "", "/2/"), entry("b", "2", d, "/1/")}
        << true << false << false << QStringList{"a", "a"};
    QTest::newRow("size only, neighbours only")
        << QStringList{entry("a", "7", d, "/"), entry("b", "3", d, "/"), entry("c", "7", d, "/"),
                       entry("d", "3", d, "/")}
        << false << true << false << QStringList{};
    QTest::newRow("size only, adjacent")
        << QStringList{entry("a", "7", d, "/"), entry("b", "7", d, "/"), entry("c", "3", d, "/")} << false
        << true << false << QStringList{"a", "b"};
    // Fields are compared one by one, so no digits move from name to size.
    QTest::newRow("name and size do not run together")
        << QStringList{entry("file1", "23", d, "/"), entry("file12", "3", d, "/")} << true << true << false
        << QStringList{};
    QTest::newRow("date differs") << QStringList{entry("a", "1", d, "/1/"), entry("a", "1", "", "/2/")}
                                  << true << true << true << QStringList{};
    QTest::newRow("short lines count missing fields as empty")
        << QStringList{QStringLiteral(R"("a","1")"), QStringLiteral(R"("a","1","","/p/")"), QString(),
                       QString()}
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
    QCOMPARE(m_results.lines(),
             (QStringList{line + QStringLiteral(",\"Backup\""), line + QStringLiteral(",\"Main\"")}));
    QCOMPARE(
        control.statuses,
        (QStringList{QStringLiteral("Reading Backup Catalog"), QStringLiteral("Reading Main Catalog"),
                     QStringLiteral("Reading Missing Catalog"), QStringLiteral("Comparing 1 Files Out Of 2"),
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

// Names holding quotes, stored quoted and bare: "x""y" and x"y are one
// name, but x"A sorts between them, so none of the three is reported;
// "z""w" and z"w are neighbours and duplicates.
void TestDuplicateFinder::quotedNames()
{
    writeCatalog(QStringLiteral("Quotes"),
                 {QStringLiteral(R"("x""y","1","d","/p/","")"), QStringLiteral(R"(x"A,"1","d","/p/","")"),
                  QStringLiteral(R"(x"y,"1","d","/q/","")"), QStringLiteral(R"("z""w","1","d","/p/","")"),
                  QStringLiteral(R"(z"w,"1","d","/q/","")")});
    RecordingControl control(0);
    find({true, true, true}, control);
    const QStringList found = m_results.lines();
    QCOMPARE(found, (QStringList{R"("z""w","1","d","/p/","","Quotes")", R"(z"w,"1","d","/q/","","Quotes")"}));
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

void TestDuplicateFinder::resultLineAsText_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("whole entry") << entry("a.txt", "5", "01/01/2000", "/x/");
    QTest::newRow("more fields than an entry") << QStringLiteral(R"("a","1","d","/p/","c","extra",x)");
    QTest::newRow("two fields") << QStringLiteral(R"("a","1")");
    QTest::newRow("bare quote") << QStringLiteral(R"(x"y , 1)");
    QTest::newRow("doubled quotes") << QStringLiteral(R"("x""y","1")");
    QTest::newRow("unclosed quote") << QStringLiteral(R"("x,y)");
    QTest::newRow("blanks and accents") << QStringLiteral(" \u00e9t\u00e9 ,\t\"\u4e2d\" ");
    QTest::newRow("blank") << QStringLiteral(" 	 ");
}

// The UTF-8 result line is the text one's bytes, a rebuilt damaged line
// included.
void TestDuplicateFinder::resultLineAsText()
{
    QFETCH(QString, line);
    const QString name = CatalogLines::quotedName(QStringLiteral("Cat \"1\""));
    LineFields scratch;
    QByteArray utf8;
    const bool any = CatalogLines::resultLineUtf8(line.toUtf8(), name.toUtf8(), utf8);
    const QString text = CatalogLines::resultLine(line, name, scratch);
    QCOMPARE(any, !text.isEmpty());
    QCOMPARE(QString::fromUtf8(utf8), text);
}

// A catalog of the Windows version is read as Windows-1252 throughout.
void TestDuplicateFinder::windows1252Catalog()
{
    writeCatalog(QStringLiteral("Old"), {});
    QFile file(m_dir->path() + QStringLiteral("/Catalogs/Old.TXT"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\"caf\xe9\",\"1\",\"d\",\"/a/\",\"\"\r\n\"caf\xe9\",\"1\",\"d\",\"/b/\",\"\"\r\n");
    file.close();
    RecordingControl control;
    find({}, control);
    QCOMPARE(m_results.lines(),
             (QStringList{QStringLiteral("\"caf\u00e9\",\"1\",\"d\",\"/a/\",\"\",\"Old\""),
                          QStringLiteral("\"caf\u00e9\",\"1\",\"d\",\"/b/\",\"\",\"Old\"")}));
}

QTEST_GUILESS_MAIN(TestDuplicateFinder)
#include "tst_duplicatefinder.moc"
