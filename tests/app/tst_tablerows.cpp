#include "AppFixture.h"
#include "TestSupport.h"

#include "library/CommaText.h"
#include "library/TextFile.h"
#include "table/VisualTableModel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {

QString entry(const QString &name, const QString &size, const QString &comment = QString())
{
    return CommaText::join({name, size, "06/14/1998 10:00:00", "/media/disc/", comment});
}

// Games holds Backup (three files of different sizes) and Disc.
void writeLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"3Backup\",\"3Disc\""});
    app.writeLines("Catalogs/Master", {"Backup", "\"3\",\"1\"", "Disc", "\"1\",\"1\""});
    app.writeLines("Catalogs/Backup.TXT", {entry("a.txt", "10", "first"), entry("b.txt", "20", "second"),
                                           entry("c.doc", "5", "third")});
    app.writeLines("Catalogs/Disc.TXT", {entry("a.txt", "700")});
}

QStringList namesInFile(const AppFixture &app, const QString &catalog)
{
    QStringList lines;
    TextFile::readLines(app.path("Catalogs/" + catalog + ".TXT"), lines);
    QStringList names;
    for (const QString &line : lines)
        names << CommaText::split(line).value(0);
    return names;
}

QModelIndex rowOf(MainWindow &w, const QString &name)
{
    VisualTableModel *m = w.tableModel();
    for (int r = 0; r < m->rowCount(); ++r) {
        if (m->cell(0, r + 1) == name)
            return m->index(r, 0);
    }
    return QModelIndex();
}

void clickHeader(MainWindow &w, int column)
{
    emit w.tableView()->horizontalHeader()->sectionClicked(column);
}

} // namespace

class TestTableRows : public QObject
{
    Q_OBJECT
private slots:
    void deleteAfterSortRemovesTheSelectedRow_data();
    void deleteAfterSortRemovesTheSelectedRow();
    void selectionFollowsSortForColumnCommands();
    void deletedSearchResultsAreNeverSaved();
};

void TestTableRows::deleteAfterSortRemovesTheSelectedRow_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QStringList>("left");
    // Sizes 10, 20, 5: a size sort moves every row away from its place.
    QTest::newRow("first row, size sort") << "a.txt" << 1 << 1 << QStringList{"b.txt", "c.doc"};
    QTest::newRow("last row, size sort") << "c.doc" << 1 << 1 << QStringList{"a.txt", "b.txt"};
    QTest::newRow("reversed name sort") << "a.txt" << 0 << 1 << QStringList{"b.txt", "c.doc"};
    QTest::newRow("sorted twice") << "b.txt" << 1 << 2 << QStringList{"a.txt", "c.doc"};
}

void TestTableRows::deleteAfterSortRemovesTheSelectedRow()
{
    QFETCH(QString, selected);
    QFETCH(int, sortColumn);
    QFETCH(int, clicks);
    QFETCH(QStringList, left);
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    w.tableView()->setCurrentIndex(rowOf(w, selected).siblingAtColumn(2));
    for (int i = 0; i < clicks; ++i)
        clickHeader(w, sortColumn);
    QCOMPARE(w.tableModel()->cell(0, w.tableView()->currentIndex().row() + 1), selected);

    app.dialogs().answerYes();
    QTest::keyClick(w.tableView(), Qt::Key_Delete);
    QVERIFY(!rowOf(w, selected).isValid());
    QCOMPARE(w.tableModel()->tableRowCount(), 3);
    app.dialogs().answerYes();
    QVERIFY(app.trigger("SaveChanges1"));
    QStringList names = namesInFile(app, "Backup");
    names.sort();
    QCOMPARE(names, left);
    QVERIFY(app.dialogs().allAnswersUsed());
    app.dialogs().answerNo(); // the close query asks while the flag stays set
}

void TestTableRows::selectionFollowsSortForColumnCommands()
{
    AppFixture app;
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Backup\""});
    // The one long comment sits on the row that the size sort moves last.
    const QString longComment(80, 'w');
    app.writeLines("Catalogs/Backup.TXT",
                   {entry("a.txt", "90", longComment), entry("b.txt", "20"), entry("c.doc", "5")});
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    w.tableView()->setCurrentIndex(rowOf(w, "a.txt").siblingAtColumn(4));
    clickHeader(w, 1);
    QCOMPARE(rowOf(w, "a.txt").row(), 2);
    w.tableView()->setColumnWidth(4, 10);
    QVERIFY(app.trigger("ExpandSelectedColumn1"));
    const QFontMetrics metrics(w.tableView()->font());
    QCOMPARE(w.tableView()->columnWidth(4), metrics.horizontalAdvance(longComment + "xx"));
}

// Search results in the six-column layout may lose rows to Delete, but the
// catalog opened before must never be written from them.
void TestTableRows::deletedSearchResultsAreNeverSaved()
{
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    const QByteArray before = TestSupport::readFile(app.path("Catalogs/Backup.TXT"));

    QVERIFY(app.trigger("Search1"));
    QTreeWidget *ticks = w.findChild<QTreeWidget *>("TreeView2");
    for (int i = 0; i < ticks->topLevelItemCount(); ++i)
        ticks->topLevelItem(i)->setCheckState(0, Qt::Checked);
    w.findChild<QComboBox *>("Searchword")->setCurrentText("a*");
    w.findChild<QPushButton *>("Searchbtn")->click();
    QCOMPARE(w.statusText(), QString("Found 2 Matches"));
    QCOMPARE(w.tableModel()->columnCount(), 6);
    QCOMPARE(w.tableModel()->tableRowCount(), 3);
    QCOMPARE(w.state().openCatalogName, QString("Backup"));

    w.tableView()->setCurrentIndex(w.tableModel()->index(0, 0));
    app.dialogs().answerYes();
    QTest::keyClick(w.tableView(), Qt::Key_Delete);
    QCOMPARE(w.tableModel()->tableRowCount(), 2);
    QVERIFY(w.state().pendingRowDeletions);
    app.dialogs().clearShown();

    QVERIFY(app.trigger("SaveChanges1"));
    QVERIFY(app.trigger("Create1")); // offers to save pending changes first
    app.close();                     // and so does the close query
    QVERIFY2(app.dialogs().shown().isEmpty(), qPrintable(app.dialogs().shown().join('\n')));
    QCOMPARE(TestSupport::readFile(app.path("Catalogs/Backup.TXT")), before);
}

QTEST_MAIN(TestTableRows)
#include "tst_tablerows.moc"
