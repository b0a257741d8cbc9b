#include "library/PairList.h"
#include "queries/CatalogReport.h"

#include <QtTest>

namespace {

QString info(const QString &type, const QString &path)
{
    return QStringLiteral(R"("10","2","/","%2","1.44 MB","12 KB","%1","06/24/1997 10:00:00",)"
                          R"("True","True","False","True","False","False","0")")
        .arg(type, path);
}

} // namespace

class TestCatalogReport : public QObject
{
    Q_OBJECT
private slots:
    void rows();
    void storeComment_data();
    void storeComment();
};

void TestCatalogReport::rows()
{
    const PairList catalogs({QStringLiteral("gamma"), info(QStringLiteral("CdRom"), QStringLiteral("/cd/")),
                             QStringLiteral("beta"), QString(), QStringLiteral("Alpha"),
                             info(QStringLiteral("Fixed"), QStringLiteral("/home/")),
                             QStringLiteral("delta")}); // cut short: no line after the name
    const PairList comments({QStringLiteral("Photos"), QStringLiteral("a category"), QStringLiteral("ALPHA"),
                             QStringLiteral("first disk")});
    const std::vector<QStringList> rows = CatalogReport::rows(catalogs, comments);
    QCOMPARE(rows.size(), size_t(4));
    QCOMPARE(rows.at(0), (QStringList{"Alpha", "Fixed", "1.44 MB", "12 KB", "/home/", "06/24/1997 10:00:00",
                                      "first disk"}));
    QCOMPARE(rows.at(1), (QStringList{"beta", "", "", "", "", "", ""}));
    QCOMPARE(rows.at(2).at(CatalogReport::Name), QStringLiteral("delta"));
    QCOMPARE(rows.at(3).at(CatalogReport::Type), QStringLiteral("CdRom"));
    QCOMPARE(rows.at(3).at(CatalogReport::Comment), QString());
    QCOMPARE(CatalogReport::statusText(qsizetype(rows.size())), QStringLiteral("4 Catalogs"));
    QCOMPARE(CatalogReport::statusText(1), QStringLiteral("1 Catalogs"));
    QVERIFY(CatalogReport::rows(PairList(), comments).empty());
}

void TestCatalogReport::storeComment_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("replace in place")
        << "new words" << QStringList{"Photos", "a category", "ALPHA", "new words"};
    QTest::newRow("empty removes") << "" << QStringList{"Photos", "a category"};
    QTest::newRow("line breaks flattened")
        << "two\r\nlines" << QStringList{"Photos", "a category", "ALPHA", "two  lines"};
}

void TestCatalogReport::storeComment()
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

QTEST_GUILESS_MAIN(TestCatalogReport)
#include "tst_catalogreport.moc"
