#include "library/CategoryTree.h"
#include "queries/CheckTree.h"

#include <QtTest>

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

} // namespace

class TestCheckTree : public QObject
{
    Q_OBJECT
private slots:
    void categoryCarries();
};

void TestCheckTree::categoryCarries()
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

QTEST_GUILESS_MAIN(TestCheckTree)
#include "tst_checktree.moc"
