#include "AppFixture.h"

#include "ToolPanel.h"
#include "library/CommaText.h"
#include "table/VisualTableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {

QString entry(const QString &name, const QString &path, const QString &comment = QString())
{
    return CommaText::join({name, "10", "06/14/1998 10:00:00", path, comment});
}

QString info(const QString &type)
{
    return QString("\"3\",\"1\",\"/\",\"/media/disc/\",\"20 GB\",\"1 MB\",\"%1\",\"06/14/1998 10:00:00\","
                   "\"True\",\"True\",\"True\",\"True\",\"True\",\"False\",\"0\"")
        .arg(type);
}

void writeLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"3Backup\",\"3Disc\""});
    app.writeLines("Catalogs/Master", {"Backup", info("Fixed"), "Disc", info("CdRom")});
    app.writeLines("Catalogs/Backup.TXT",
                   {entry("alpha.txt", "/media/disc/", "Readme first"), entry("beta.txt", "/media/disc/"),
                    entry("readme.txt", "/media/disc/docs/")});
    app.writeLines("Catalogs/Disc.TXT", {entry("README.TXT", "/cdrom/")});
}

// Fills the table in the named layout.
void showLayout(AppFixture &app, const QString &layout)
{
    MainWindow &w = app.window();
    if (layout == "catalog") {
        QVERIFY(app.openCatalog("Backup"));
    } else if (layout == "results") {
        QVERIFY(app.trigger("Search1"));
        auto *ticks = w.findChild<QTreeWidget *>("TreeView2");
        for (int i = 0; i < ticks->topLevelItemCount(); ++i)
            ticks->topLevelItem(i)->setCheckState(0, Qt::Checked);
        w.findChild<QComboBox *>("Searchword")->setCurrentText("readme*");
        w.findChild<QPushButton *>("Searchbtn")->click();
        QCOMPARE(w.tableModel()->columnCount(), 6);
    } else {
        QVERIFY(app.trigger("Report1"));
        QCOMPARE(w.tableModel()->columnCount(), 7);
    }
}

// "column,row" of the selected cell in table numbering.
QString selectedCell(MainWindow &w)
{
    const QModelIndex current = w.tableView()->currentIndex();
    if (!current.isValid() || !w.tableView()->selectionModel()->isSelected(current))
        return QString();
    return QString("%1,%2").arg(current.column()).arg(current.row() + 1);
}

void click(MainWindow &w, const char *button)
{
    w.findChild<QPushButton *>(QLatin1String(button))->click();
}

} // namespace

class TestTableSearchDlg : public QObject
{
    Q_OBJECT
private slots:
    void findsInEveryLayout_data();
    void findsInEveryLayout();
    void noMatchAndEmptyText();
};

void TestTableSearchDlg::findsInEveryLayout_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("options");
    QTest::addColumn<QStringList>("found");
    // Column 0 is searched to its end before column 4 begins.
    QTest::newRow("catalog, any case") << "catalog" << QString("readme") << 0 << QStringList{"0,3", "4,1"};
    QTest::newRow("catalog, case sensitive") << "catalog" << QString("readme") << 1 << QStringList{"0,3"};
    QTest::newRow("catalog, whole cell") << "catalog" << QString("README.TXT") << 2 << QStringList{"0,3"};
    QTest::newRow("results, whole cell") << "results" << QString("disc") << 2 << QStringList{"5,2"};
    QTest::newRow("results, any case")
        << "results" << QString("readme.txt") << 0 << QStringList{"0,2", "0,3"};
    QTest::newRow("report, wild cards") << "report" << QString("D*") << 4 << QStringList{"0,2"};
    QTest::newRow("report, comparison") << "report" << QString(">E") << 4 << QStringList{"1,1"};
}

void TestTableSearchDlg::findsInEveryLayout()
{
    QFETCH(QString, layout);
    QFETCH(QString, text);
    QFETCH(int, options);
    QFETCH(QStringList, found);
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    showLayout(app, layout);

    QVERIFY(app.trigger("SearchTable1"));
    QVERIFY(!w.panel("Searchtabledlg")->isHidden());
    QCOMPARE(w.panel("Searchtabledlg")->title(), QString("Search Visual Table For A Word/Phrase"));
    auto *box = w.findChild<QLineEdit *>("findtext");
    box->setText(text);
    w.findChild<QCheckBox *>("chkcase")->setChecked(options & 1);
    w.findChild<QCheckBox *>("chkfull")->setChecked(options & 2);
    w.findChild<QCheckBox *>("chkregular")->setChecked(options & 4);
    click(w, "Button3");
    QCOMPARE(selectedCell(w), found.first());
    // Find Next keeps to the text and options of Find First.
    box->setText("zzz");
    w.findChild<QCheckBox *>("chkregular")->setChecked(!(options & 4));
    for (int i = 1; i < found.size(); ++i) {
        click(w, "Button4");
        QCOMPARE(selectedCell(w), found.at(i));
    }
    QVERIFY(app.dialogs().shown().isEmpty());
    click(w, "Button4");
    QCOMPARE(app.dialogs().shown(), QStringList{"information: No More Match Was Found"});
    click(w, "Button4");
    QCOMPARE(selectedCell(w), found.first());
}

void TestTableSearchDlg::noMatchAndEmptyText()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    showLayout(app, "catalog");
    QVERIFY(app.trigger("SearchTable1"));
    click(w, "Button3");
    click(w, "Button4");
    QVERIFY(app.dialogs().shown().isEmpty());
    w.findChild<QLineEdit *>("findtext")->setText("nowhere");
    click(w, "Button3");
    QCOMPARE(app.dialogs().shown(), QStringList{"information: No Match Was Found"});
}

QTEST_MAIN(TestTableSearchDlg)
#include "tst_tablesearchdlg.moc"
