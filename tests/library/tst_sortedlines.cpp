#include "library/PairList.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"

#include <QTest>

class TestSortedLines : public QObject
{
    Q_OBJECT
private slots:
    void compare_data();
    void compare();
    void dropsOnlyExactDuplicates_data();
    void dropsOnlyExactDuplicates();
    void addAfterReadMerges();
    void indexOf();
    void pairLookupMatchesNamesOnly();
    void pairEditsInPlace();
};

void TestSortedLines::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("noCase");
    QTest::addColumn<int>("tree");
    QTest::newRow("equal ignoring case") << "Games" << QString("gAMES") << 0 << 1;
    QTest::newRow("lower before upper") << "a" << QString("A") << 0 << -1;
    QTest::newRow("alphabetical") << "apple" << QString("Banana") << -1 << -1;
    QTest::newRow("accent beside base") << QString::fromUtf8("épée") << "f" << -1 << -1;
    QTest::newRow("accent not equal") << QString::fromUtf8("é") << "e" << 1 << 1;
    QTest::newRow("prefix first") << "ab" << QString("abc") << -1 << -1;
    QTest::newRow("digits before letters") << "10" << QString("2") << -1 << -1;
}

void TestSortedLines::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, noCase);
    QFETCH(int, tree);
    QCOMPARE(qBound(-1, TextCompare::compareNoCase(a, b), 1), noCase);
    QCOMPARE(qBound(-1, TextCompare::compareNoCase(b, a), 1), -noCase);
    QCOMPARE(qBound(-1, TextCompare::compareTree(a, b), 1), tree);
}

void TestSortedLines::dropsOnlyExactDuplicates_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("expected");
    // Lines that differ only in letter case are different files: both are
    // held, side by side, in the case-insensitive order.
    QTest::newRow("case twins") << QStringList{"\"b.txt\"", "\"A.txt\"", "\"B.TXT\"",
                                               "\"a.txt\"", "\"c\"",     "\"A.txt\""}
                                << QStringList{"\"A.txt\"", "\"a.txt\"", "\"B.TXT\"", "\"b.txt\"", "\"c\""};
    QTest::newRow("twins interleaved with exact copies")
        << QStringList{"same", "Same", "same", "SAME", "Same", "other"}
        << QStringList{"other", "SAME", "Same", "same"};
    QTest::newRow("accents stay apart")
        << QStringList{"\u00e9", "\u00c9", "e", "\u00e9"} << QStringList{"e", "\u00c9", "\u00e9"};
}

void TestSortedLines::dropsOnlyExactDuplicates()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, expected);
    SortedLineList oneByOne;
    for (const QString &line : added)
        oneByOne.add(line);
    QCOMPARE(oneByOne.lines(), expected);
    // Merging into a settled list follows the same rule.
    SortedLineList merged;
    merged.addAll(added.mid(0, added.size() / 2));
    QVERIFY(merged.count() > 0);
    merged.addAll(added.mid(added.size() / 2));
    QCOMPARE(merged.lines(), expected);
    for (const QString &line : expected)
        QCOMPARE(merged.at(merged.indexOf(line)), line);
}

void TestSortedLines::addAfterReadMerges()
{
    SortedLineList list;
    list.addAll({"b", "d"});
    QCOMPARE(list.count(), 2);
    list.add("C");
    list.add("b");
    list.add("a");
    QCOMPARE(list.lines(), QStringList({"a", "b", "C", "d"}));
    list.add("e");
    QStringList all = list.takeUnsorted();
    std::sort(all.begin(), all.end());
    QCOMPARE(all, QStringList({"C", "a", "b", "d", "e"}));
    QCOMPARE(list.count(), 0);
}

void TestSortedLines::indexOf()
{
    SortedLineList list;
    list.addAll({"x", "Y", "z"});
    QCOMPARE(list.indexOf(u"Y"), 1);
    QCOMPARE(list.indexOf(u"y"), -1); // another file's line
    QCOMPARE(list.indexOf(u"w"), -1);
    list.removeAt(1);
    QVERIFY(!list.contains(u"Y"));
}

void TestSortedLines::pairLookupMatchesNamesOnly()
{
    // "Backup" appears as a value first; only the name line may match.
    PairList pairs({"Music", "Backup", "backup", "\"1\",\"2\""});
    QCOMPARE(pairs.indexOf(u"BACKUP"), 2);
    QCOMPARE(pairs.value(u"Backup"), QString("\"1\",\"2\""));
    QCOMPARE(pairs.value(u"none"), QString());
}

void TestSortedLines::pairEditsInPlace()
{
    PairList pairs({"a", "1", "b", "2"});
    pairs.setValue("B", "3");
    QVERIFY(pairs.rename(u"A", "z"));
    pairs.append("c", "4");
    QCOMPARE(pairs.lines(), QStringList({"z", "1", "b", "3", "c", "4"}));
    QVERIFY(pairs.remove(u"b"));
    QVERIFY(!pairs.remove(u"b"));
    QCOMPARE(pairs.lines(), QStringList({"z", "1", "c", "4"}));
    // A list cut short after a name keeps its pairs aligned when appended to.
    PairList odd({"lonely"});
    odd.append("n", "v");
    QCOMPARE(odd.value(u"n"), QString("v"));
}

QTEST_GUILESS_MAIN(TestSortedLines)
#include "tst_sortedlines.moc"
