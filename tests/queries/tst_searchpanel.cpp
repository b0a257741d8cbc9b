#include "library/CategoryTree.h"
#include "queries/CheckTree.h"
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

} // namespace

class TestSearchPanel : public QObject
{
    Q_OBJECT
private slots:
    void historyKeepsSortedAndUnique();
    void historyFull_data();
    void historyFull();
    void checkTreeCategoryCarries();
};

void TestSearchPanel::historyKeepsSortedAndUnique()
{
    SearchHistory h(QStringList{QStringLiteral("beta"), QStringLiteral("Alpha"),
                                QStringLiteral("BETA"), QString()});
    QCOMPARE(h.items(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta")}));
    h.add(QStringLiteral("a?c"));
    h.add(QStringLiteral("ALPHA"));
    h.add(QString());
    QCOMPARE(h.items(),
             (QStringList{QStringLiteral("a?c"), QStringLiteral("Alpha"), QStringLiteral("beta")}));
}

void TestSearchPanel::historyFull_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("added");
    QTest::newRow("new word") << "new" << true;
    // Nothing is added, so no word has to give way.
    QTest::newRow("present in other case") << "W05" << false;
}

void TestSearchPanel::historyFull()
{
    QFETCH(QString, word);
    QFETCH(bool, added);
    SearchHistory h(thirtyWords());
    h.add(word);
    QCOMPARE(h.items().size(), SearchHistory::MaxWords);
    QCOMPARE(h.items().contains(QStringLiteral("w20")), !added);
    QCOMPARE(h.items().contains(word), added);
    QVERIFY(std::is_sorted(h.items().cbegin(), h.items().cend(),
                           [](const QString &a, const QString &b) {
                               return a.compare(b, Qt::CaseInsensitive) < 0;
                           }));
}

void TestSearchPanel::checkTreeCategoryCarries()
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

QTEST_GUILESS_MAIN(TestSearchPanel)
#include "tst_searchpanel.moc"
