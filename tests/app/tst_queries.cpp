#include "AppFixture.h"
#include "TestSupport.h"

#include "ToolPanel.h"
#include "table/VisualTableModel.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

namespace {

QString entry(const QString &name, const QString &size, const QString &date, const QString &path,
              const QString &comment = QString())
{
    return QString("\"%1\",\"%2\",\"%3\",\"%4\",\"%5\"").arg(name, size, date, path, comment);
}

QString info(const QString &type, const QString &total, const QString &path)
{
    return QString("\"3\",\"1\",\"/\",\"%1\",\"%2\",\"1 MB\",\"%3\",\"06/14/1998 10:00:00\","
                   "\"True\",\"True\",\"True\",\"True\",\"True\",\"False\",\"0\"")
        .arg(path, total, type);
}

// Games holds Backup and Disc (Disc without an information line), Music
// holds Tunes, Empty holds nothing.
void writeLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"1Backup\",\"3Disc\"", "\"1\",\"0Music\",\"2Tunes\"",
                                  "\"0\",\"0Empty\""});
    app.writeLines("Catalogs/Master", {"Backup", info("Fixed", "20 GB", "/media/disc/"), "Disc", "", "Tunes",
                                       info("Removable", "2 GB", "/usb/")});
    app.writeLines("Comments.TXT", {"Backup", "weekly copy"});
    const QString day = "06/14/1998 10:00:00";
    app.writeLines("Catalogs/Backup.TXT", {entry("Readme.txt", "10", day, "/media/disc/", "read me first"),
                                           entry("setup.exe", "300", "01/01/1997 10:00:00", "/media/disc/"),
                                           entry("notes", "5", "06/30/1997 10:00:00", "/media/disc/doc/"),
                                           entry("", "0", "", "/media/disc/empty/")});
    app.writeLines("Catalogs/Disc.TXT", {entry("README.TXT", "10", day, "/cdrom/"),
                                         entry("photo.jpg", "2048", "12/25/1998 09:00:00", "/cdrom/")});
    app.writeLines("Catalogs/Tunes.TXT", {entry("readme.txt", "10", day, "/usb/"),
                                          entry("setup.exe", "300", "01/01/1997 10:00:00", "/usb/"),
                                          entry("song.wav", "4000", "03/03/1998 08:00:00", "/usb/")});
}

template <typename W>
W *control(MainWindow &w, const char *name)
{
    W *widget = w.findChild<W *>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// "name|catalog" of every result row, in table order.
QStringList resultRows(MainWindow &w)
{
    QStringList rows;
    VisualTableModel *m = w.tableModel();
    for (int r = 1; r < m->tableRowCount(); ++r)
        rows << m->cell(0, r) + "|" + m->cell(5, r);
    return rows;
}

void tickAll(QTreeWidget *tree)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        tree->topLevelItem(i)->setCheckState(0, Qt::Checked);
}

// The catalogs ticked in a check tree, in tree order.
QStringList tickedCatalogs(QTreeWidget *tree)
{
    QStringList ticked;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        for (int k = 0; k < tree->topLevelItem(i)->childCount(); ++k) {
            const QTreeWidgetItem *catalog = tree->topLevelItem(i)->child(k);
            if (catalog->checkState(0) == Qt::Checked)
                ticked << catalog->text(0);
        }
    }
    return ticked;
}

void openSearchTickAll(AppFixture &app)
{
    QVERIFY(app.trigger("Search1"));
    tickAll(control<QTreeWidget>(app.window(), "TreeView2"));
}

} // namespace

class TestQueries : public QObject
{
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void invalidDateWarns_data();
    void invalidDateWarns();
    void viewAllListsEveryNamedEntry();
    void stopDropsResults_data();
    void stopDropsResults();
    void commandsWaitWhileSearching();
    void historyAndBoxesSurviveRestart();
    void duplicates_data();
    void duplicates();
    void singleCopies_data();
    void singleCopies();
    void report();
};

void TestQueries::search_data()
{
    QTest::addColumn<QString>("mode"); // word, ext or date
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("viaEnter");
    QTest::addColumn<QStringList>("rows");

    const QStringList readmes{"README.TXT|Disc", "Readme.txt|Backup", "readme.txt|Tunes"};
    QTest::newRow("word, any case") << "word" << QString("readme*") << false << false << readmes;
    QTest::newRow("word, case sensitive")
        << "word" << QString("Readme*") << true << true << QStringList{"Readme.txt|Backup"};
    QTest::newRow("extension in capitals") << "ext" << QString("*.TXT") << false << true << readmes;
    QTest::newRow("dates, bounds excluded")
        << "date" << QString("06/14/98") << false << true << QStringList{"photo.jpg|Disc"};
    QTest::newRow("nothing found") << "word" << QString("nothing") << false << true << QStringList();
}

void TestQueries::search()
{
    QFETCH(QString, mode);
    QFETCH(QString, text);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, viaEnter);
    QFETCH(QStringList, rows);
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Tunes"));
    openSearchTickAll(app);
    QWidget *box = nullptr;
    if (mode == "word") {
        control<QComboBox>(w, "Searchword")->setCurrentText(text);
        control<QCheckBox>(w, "Casesearch")->setChecked(caseSensitive);
        box = control<QComboBox>(w, "Searchword")->lineEdit();
    } else if (mode == "ext") {
        control<QRadioButton>(w, "Rbext")->click();
        control<QComboBox>(w, "Extcombo")->setCurrentText(text);
        box = control<QComboBox>(w, "Extcombo")->lineEdit();
    } else {
        control<QRadioButton>(w, "Rbdate")->click();
        control<QLineEdit>(w, "Fromdate")->setText(text);
        control<QLineEdit>(w, "Todate")->setText("12/26/98");
        box = control<QLineEdit>(w, "Todate");
    }
    if (viaEnter)
        QTest::keyClick(box, Qt::Key_Return);
    else
        control<QPushButton>(w, "Searchbtn")->click();

    QCOMPARE(w.statusText(), QString("Found %1 Matches").arg(rows.size()));
    if (rows.isEmpty()) { // the table keeps the open catalog
        QCOMPARE(w.tableModel()->columnCount(), 5);
        QCOMPARE(w.tableModel()->cell(0, 1), QString("readme.txt"));
    } else {
        QCOMPARE(resultRows(w), rows);
        QCOMPARE(w.tableModel()->cell(5, 0), QString("Catalog Name"));
    }
    QVERIFY(w.state().fileLines.isEmpty());
    QVERIFY(!w.state().searching && !w.isBusy());
    QVERIFY(control<QPushButton>(w, "Searchbtn")->isEnabled());
    QVERIFY(!control<QPushButton>(w, "Stopsearch")->isEnabled());
    QVERIFY(w.panel("Searchcatdlg")->isVisibleTo(&w));
}

void TestQueries::invalidDateWarns_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::newRow("from") << "xx" << QString("13/45/98") << "warning: 'xx' is not a valid date";
    QTest::newRow("to") << "01/01/98" << QString("13/45/98") << "warning: '13/45/98' is not a valid date";
}

void TestQueries::invalidDateWarns()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    const QString before = w.statusText();
    openSearchTickAll(app);
    control<QRadioButton>(w, "Rbdate")->click();
    control<QLineEdit>(w, "Fromdate")->setText(from);
    control<QLineEdit>(w, "Todate")->setText(to);
    control<QPushButton>(w, "Searchbtn")->click();
    QCOMPARE(app.dialogs().shown(), QStringList{message});
    QCOMPARE(w.tableModel()->columnCount(), 5);
    QCOMPARE(w.statusText(), before);
    QVERIFY(control<QPushButton>(w, "Searchbtn")->isEnabled());
}

// The listing itself is the search's; with no catalog at all nothing happens.
void TestQueries::viewAllListsEveryNamedEntry()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.trigger("ViewAllCatalogs1"));
    QCOMPARE(w.statusText(), QString("Found 8 Matches"));

    AppFixture empty;
    MainWindow &e = empty.start();
    QVERIFY(empty.trigger("ViewAllCatalogs1"));
    QVERIFY(empty.trigger("Search1"));
    QVERIFY(!e.panel("Searchcatdlg")->isVisibleTo(&e));
    QCOMPARE(e.statusText(), QString());
}

void TestQueries::stopDropsResults_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("status");
    QTest::newRow("search") << "Search1" << QString("TreeView2") << "Searchbtn" << QString("Stopsearch")
                            << "Search Cancelled";
    QTest::newRow("duplicates") << "FindDuplicates1" << QString("TreeView3") << "Dupstart"
                                << QString("Dupstop") << "Duplicate Search Stopped";
    QTest::newRow("single copies") << "FindSingleCopies1" << QString("Singletree") << "Singlestart"
                                   << QString("Singlestop") << "Single Copy Search Stopped";
    // Hiding the panel leaves no Stop to press, so it stops the run.
    QTest::newRow("nowhere else, panel hidden")
        << "FilesFoundNowhereElse1" << QString("Singletree") << "Singlestart" << QString("SingledlgClose")
        << "Single Copy Search Stopped";
}

void TestQueries::stopDropsResults()
{
    QFETCH(QString, command);
    QFETCH(QString, tree);
    QFETCH(QString, start);
    QFETCH(QString, stop);
    QFETCH(QString, status);
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    QVERIFY(app.trigger(command));
    tickAll(control<QTreeWidget>(w, tree.toLatin1()));
    control<QComboBox>(w, "Searchword")->setCurrentText("*");
    // The click lands while the run yields before its first catalog; a
    // disabled Stop would not take it.
    QTimer::singleShot(0, &w, [&] { control<QAbstractButton>(w, stop.toLatin1())->click(); });
    control<QPushButton>(w, start.toLatin1())->click();
    QCOMPARE(w.statusText(), status);
    QCOMPARE(w.tableModel()->columnCount(), 5);
    QCOMPARE(w.tableModel()->tableRowCount(), 5);
    QCOMPARE(w.tableModel()->cell(0, 2), QString("notes"));
    QVERIFY(w.state().fileLines.isEmpty());
    QVERIFY(!w.isBusy());
    QVERIFY(control<QPushButton>(w, start.toLatin1())->isEnabled());
    if (auto *button = w.findChild<QPushButton *>(stop))
        QVERIFY(!button->isEnabled());
}

void TestQueries::commandsWaitWhileSearching()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.trigger("FindDuplicates1"));
    openSearchTickAll(app);
    QComboBox *word = control<QComboBox>(w, "Searchword");
    word->setCurrentText("*");
    int finished = 0;
    QObject::connect(&w, &QWidget::windowTitleChanged, &w,
                     [&](const QString &title) { finished += title.contains("Found"); });
    bool viewEnabled = true;
    bool treeEnabled = true;
    QTimer::singleShot(0, &w, [&] {
        viewEnabled = w.action("View1")->isEnabled() || w.action("Report1")->isEnabled() ||
                      w.action("FindSingleCopies1")->isEnabled();
        // Another panel's run would share the running flag.
        treeEnabled = w.treeView()->isEnabled() || w.panel("Dupdlg")->isEnabled();
        // A second search from the keyboard would run to its end right here.
        QTest::keyClick(word->lineEdit(), Qt::Key_Return);
        QCOMPARE(finished, 0);
    });
    control<QPushButton>(w, "Searchbtn")->click();
    QVERIFY(!viewEnabled);
    QVERIFY(!treeEnabled);
    QCOMPARE(finished, 1);
    QVERIFY(w.action("View1")->isEnabled());
    QVERIFY(w.action("Report1")->isEnabled());
    QVERIFY(w.treeView()->isEnabled());
    QVERIFY(w.tableView()->isEnabled());
    QVERIFY(w.panel("Dupdlg")->isEnabled());
    QVERIFY(w.panel("Searchcatdlg")->isEnabled());
}

void TestQueries::historyAndBoxesSurviveRestart()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    openSearchTickAll(app);
    QComboBox *word = control<QComboBox>(w, "Searchword");
    for (const char *typed : {"a?c", "zeta", "A?C"}) {
        word->setCurrentText(typed);
        QTest::keyClick(word->lineEdit(), Qt::Key_Return);
    }
    QCOMPARE(w.statusText(), QString("Found 0 Matches"));
    control<QCheckBox>(w, "Comparesize")->setChecked(false);
    control<QCheckBox>(w, "Singledate")->setChecked(false);

    MainWindow &again = app.restart();
    word = control<QComboBox>(again, "Searchword");
    QCOMPARE(word->count(), 2);
    QCOMPARE(word->itemText(0), QString("a?c"));
    QCOMPARE(word->itemText(1), QString("zeta"));
    QVERIFY(control<QCheckBox>(again, "Comparename")->isChecked());
    QVERIFY(!control<QCheckBox>(again, "Comparesize")->isChecked());
    QVERIFY(control<QCheckBox>(again, "Singlesize")->isChecked());
    QVERIFY(!control<QCheckBox>(again, "Singledate")->isChecked());
    // Reopening empties the box but keeps the list.
    word->setCurrentText("left over");
    QVERIFY(app.trigger("Search1"));
    QCOMPARE(word->currentText(), QString());

    app.dialogs().answerNo();
    control<QPushButton>(again, "Clearhistory")->click();
    QCOMPARE(word->count(), 2);
    app.dialogs().answerYes();
    control<QPushButton>(again, "Clearhistory")->click();
    QCOMPARE(app.dialogs().shown().count("confirm: Proceed to clear history list?"), 2);
    QCOMPARE(word->count(), 0);
    MainWindow &third = app.restart();
    QCOMPARE(control<QComboBox>(third, "Searchword")->count(), 0);
}

void TestQueries::duplicates_data()
{
    QTest::addColumn<bool>("name");
    QTest::addColumn<bool>("size");
    QTest::addColumn<bool>("date");
    QTest::addColumn<QStringList>("rows");
    const QStringList setups{"setup.exe|Backup", "setup.exe|Tunes"};
    // Names that differ in case only are never the same name.
    QTest::newRow("all three") << true << true << true << setups;
    QTest::newRow("none") << false << false << false << QStringList();
}

void TestQueries::duplicates()
{
    QFETCH(bool, name);
    QFETCH(bool, size);
    QFETCH(bool, date);
    QFETCH(QStringList, rows);
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    QVERIFY(app.trigger("FindDuplicates1"));
    tickAll(control<QTreeWidget>(w, "TreeView3"));
    control<QCheckBox>(w, "Comparename")->setChecked(name);
    control<QCheckBox>(w, "Comparesize")->setChecked(size);
    control<QCheckBox>(w, "Comparedate")->setChecked(date);
    control<QPushButton>(w, "Dupstart")->click();
    if (rows.isEmpty()) {
        QCOMPARE(app.dialogs().shown(),
                 QStringList{"warning: Please check at least one of Name, Size or Date!"});
        QCOMPARE(w.tableModel()->columnCount(), 5);
        QCOMPARE(w.statusText(), QString("Backup Catalog 3 Files 1 Directories"));
        return;
    }
    QCOMPARE(resultRows(w), rows);
    QCOMPARE(w.tableModel()->columnCount(), 6);
    QCOMPARE(w.statusText(), QString("Found %1 Duplicate Files").arg(rows.size()));
    QVERIFY(!w.state().findingDuplicates && !w.isBusy());
}

void TestQueries::singleCopies_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("criteria");   // of n, s and d
    QTest::addColumn<QString>("untick");     // a catalog, or a file deleted before Find
    QTest::addColumn<QStringList>("ticked"); // as the panel opens
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("caption"); // or, with no rows, the dialog shown

    const QStringList all{"Backup", "Disc", "Tunes"};
    const QString across = "FindSingleCopies1";
    const QString nowhere = "FilesFoundNowhereElse1";
    // Names that differ in case only are never the same name.
    QTest::newRow("across, all three")
        << across << "nsd" << QString() << all
        << QStringList{"notes|Backup",      "photo.jpg|Disc",   "README.TXT|Disc",
                       "Readme.txt|Backup", "readme.txt|Tunes", "song.wav|Tunes"}
        << "Found 6 Single Copies";
    QTest::newRow("across, size only")
        << across << "s" << QString() << all
        << QStringList{"notes|Backup", "photo.jpg|Disc", "song.wav|Tunes"} << "Found 3 Single Copies";
    QTest::newRow("across, Tunes left out")
        << across << "nsd"
        << "Tunes" << all
        << QStringList{"notes|Backup", "photo.jpg|Disc", "README.TXT|Disc", "Readme.txt|Backup",
                       "setup.exe|Backup"}
        << "Found 5 Single Copies";
    QTest::newRow("nowhere else, all others")
        << nowhere << "nsd" << QString() << QStringList{"Disc", "Tunes"}
        << QStringList{"notes|Backup", "Readme.txt|Backup"} << "2 Files Of Backup Are Found Nowhere Else";
    QTest::newRow("nowhere else, Tunes left out")
        << nowhere << "nsd"
        << "Tunes" << QStringList{"Disc", "Tunes"}
        << QStringList{"notes|Backup", "Readme.txt|Backup", "setup.exe|Backup"}
        << "3 Files Of Backup Are Found Nowhere Else";
    QTest::newRow("nowhere else, size only")
        << nowhere << "s" << QString() << QStringList{"Disc", "Tunes"} << QStringList{"notes|Backup"}
        << "1 Files Of Backup Are Found Nowhere Else";
    QTest::newRow("no criterion") << across << "" << QString() << all << QStringList()
                                  << "warning: Please check at least one of Name, Size or Date!";
    // Another program deleted the catalog while the panel was open.
    QTest::newRow("nowhere else, catalog gone")
        << nowhere << "nsd"
        << "Catalogs/Backup.TXT" << QStringList{"Disc", "Tunes"} << QStringList()
        << "error: The catalog file of Backup is missing";
}

void TestQueries::singleCopies()
{
    QFETCH(QString, command);
    QFETCH(QString, criteria);
    QFETCH(QString, untick);
    QFETCH(QStringList, ticked);
    QFETCH(QStringList, rows);
    QFETCH(QString, caption);
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    QVERIFY(app.trigger(command));
    auto *tree = control<QTreeWidget>(w, "Singletree");
    QCOMPARE(tickedCatalogs(tree), ticked);
    for (QTreeWidgetItem *item : tree->findItems(untick, Qt::MatchExactly | Qt::MatchRecursive))
        item->setCheckState(0, Qt::Unchecked);
    QFile::remove(app.path(untick));
    control<QCheckBox>(w, "Singlename")->setChecked(criteria.contains('n'));
    control<QCheckBox>(w, "Singlesize")->setChecked(criteria.contains('s'));
    control<QCheckBox>(w, "Singledate")->setChecked(criteria.contains('d'));
    control<QPushButton>(w, "Singlestart")->click();
    if (rows.isEmpty()) {
        QCOMPARE(app.dialogs().shown(), QStringList{caption});
        QCOMPARE(w.tableModel()->columnCount(), 5);
        QVERIFY(control<QPushButton>(w, "Singlestart")->isEnabled());
        return;
    }
    QCOMPARE(w.statusText(), caption);
    QCOMPARE(w.panel("Singledlg")->status(), caption);
    QCOMPARE(resultRows(w), rows);
    QCOMPARE(w.tableModel()->cell(5, 0), QString("Catalog Name"));
    QVERIFY(w.tableView()->horizontalHeader()->isSortIndicatorShown());
    QVERIFY(!w.state().findingSingleCopies && !w.isBusy());
    QVERIFY(control<QPushButton>(w, "Singlestart")->isEnabled());
}

void TestQueries::report()
{
    AppFixture app;
    writeLibrary(app);
    // Lower-case names sort among the others without regard to case.
    app.writeLines("Catalogs/Master", {"beta", info("Fixed", "20 GB", "/b/"), "Alpha", "", "gamma",
                                       info("CdRom", "650 MB", "/g/")});
    app.writeLines("Comments.TXT", {"GAMMA", "the old disc"});
    // Only beta's medium is recorded, as in a library with imported catalogs.
    app.writeLines("Catalogs/Volumes", {R"("BETA","1A2B-3C4D","Backup Disk","vfat","")"});
    // Widths saved while the report had seven columns.
    app.writeLines("Kestrovane.INI", {"[Reportcolsizes]", "Col6=120"});
    MainWindow &w = app.start();
    QVERIFY(app.trigger("Report1"));
    VisualTableModel *m = w.tableModel();
    QCOMPARE(w.statusText(), QString("3 Catalogs"));
    QCOMPARE(m->tableRowCount(), 4);
    QStringList cells;
    for (int r = 0; r < 4; ++r)
        cells << QStringList{m->cell(0, r), m->cell(6, r), m->cell(7, r), m->cell(8, r)}.join('|');
    QCOMPARE(cells, (QStringList{"Catalog Name|Comment|Label|UUID", "Alpha|||", "beta||Backup Disk|1A2B-3C4D",
                                 "gamma|the old disc||"}));
    QCOMPARE(m->columnCount(), 9);
    const QTableView *view = w.tableView();
    QCOMPARE((QList<int>{view->columnWidth(0), view->columnWidth(6), view->columnWidth(8)}),
             (QList<int>{100, 120, 100}));
    QVERIFY(!view->horizontalHeader()->isSortIndicatorShown());

    QVERIFY(m->setData(m->index(1, 6), "shelf 3"));
    QVERIFY(m->setData(m->index(2, 6), QString()));
    QVERIFY(!w.state().pendingCommentEdits);
    w.tableView()->setColumnWidth(8, 140);
    QVERIFY(app.trigger("SaveColumnsWidths1"));
    MainWindow &again = app.restart();
    QCOMPARE(again.state().treeComments.value(u"beta"), QString("shelf 3"));
    QVERIFY(!again.state().treeComments.contains(u"gamma"));
    QVERIFY(app.trigger("Report1"));
    QCOMPARE(again.tableModel()->cell(6, 2), QString("shelf 3"));
    QCOMPARE(again.tableView()->columnWidth(8), 140);
}

QTEST_MAIN(TestQueries)
#include "tst_queries.moc"
