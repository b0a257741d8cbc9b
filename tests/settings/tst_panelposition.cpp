#include "settings/PanelPosition.h"

#include <QTest>

class TestPanelPosition : public QObject
{
    Q_OBJECT
private slots:
    void keptInside_data();
    void keptInside();
};

void TestPanelPosition::keptInside_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QPoint>("placed");
    // The client area is 600 x 400 in every row.
    QTest::newRow("inside stays") << QPoint(40, 8) << QSize(300, 200) << QPoint(40, 8);
    QTest::newRow("touching the corner stays") << QPoint(300, 200) << QSize(300, 200) << QPoint(300, 200);
    QTest::newRow("past the right and bottom") << QPoint(5000, 4000) << QSize(300, 200) << QPoint(300, 200);
    QTest::newRow("partly past the right") << QPoint(450, 20) << QSize(300, 200) << QPoint(300, 20);
    QTest::newRow("above and left") << QPoint(-30, -8) << QSize(300, 200) << QPoint(0, 0);
    QTest::newRow("larger than the area") << QPoint(100, 100) << QSize(800, 500) << QPoint(0, 0);
}

void TestPanelPosition::keptInside()
{
    QFETCH(QPoint, stored);
    QFETCH(QSize, panel);
    QFETCH(QPoint, placed);
    QCOMPARE(PanelPosition::keptInside(stored, panel, QSize(600, 400)), placed);
}

QTEST_GUILESS_MAIN(TestPanelPosition)
#include "tst_panelposition.moc"
