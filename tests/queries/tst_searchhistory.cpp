#include "queries/SearchHistory.h"

#include <QtTest>

namespace {

// w00 ... w29: thirty words already in sorted order.
QStringList thirtyWords()
{
    QStringList words;
    for (int i = 0; i < SearchHistory::MaxWords; ++i)
        words << QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0'));
    return words;
}

} // namespace

class TestSearchHistory : public QObject
{
    Q_OBJECT
private slots:
    void historyKeepsSortedAndUnique();
    void historyFull_data();
    void historyFull();
};

void TestSearchHistory::historyKeepsSortedAndUnique()
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

void TestSearchHistory::historyFull_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("added");
    QTest::newRow("new word") << "new" << true;
    // Nothing is added, so no word has to give way.
    QTest::newRow("present in other case") << "W05" << false;
}

void TestSearchHistory::historyFull()
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

QTEST_GUILESS_MAIN(TestSearchHistory)
#include "tst_searchhistory.moc"
