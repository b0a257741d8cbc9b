#include "AppFixture.h"

#include "library/CommaText.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {

QString entry(const QString &name, const QString &comment)
{
    return CommaText::join({name, "10", "06/14/1998 10:00:00", "/media/disc/", comment});
}

MainWindow &startWithBackup(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Backup\""});
    app.writeLines("Catalogs/Master", {"Backup", ""});
    app.writeLines("Catalogs/Backup.TXT", {entry("a.txt", "first"), entry("b.txt", "second")});
    MainWindow &w = app.start();
    app.openCatalog("Backup");
    return w;
}

void showResults(AppFixture &app)
{
    MainWindow &w = app.window();
    QVERIFY(app.trigger("Search1"));
    w.findChild<QTreeWidget *>("TreeView2")->topLevelItem(0)->setCheckState(0, Qt::Checked);
    w.findChild<QComboBox *>("Searchword")->setCurrentText("*.txt");
    w.findChild<QPushButton *>("Searchbtn")->click();
    QCOMPARE(w.tableModel()->columnCount(), 6);
}

QStringList cellsOf(MainWindow &w, int c)
{
    QStringList cells;
    for (int r = 1; r < w.tableModel()->tableRowCount(); ++r)
        cells << w.tableModel()->cell(c, r);
    return cells;
}

} // namespace

class TestClipboardCommands : public QObject
{
    Q_OBJECT
private slots:
    void copyWholeTableAndRegion();
    void paste_data();
    void paste();
    void popupKeysOnlyInTable_data();
    void popupKeysOnlyInTable();
};

void TestClipboardCommands::copyWholeTableAndRegion()
{
    AppFixture app;
    MainWindow &w = startWithBackup(app);
    VisualTableModel *m = w.tableModel();
    w.tableView()->setCurrentIndex(m->index(1, 4));
    QVERIFY(app.trigger("CopySelectionToClipboard1"));
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("File Name\tFile Size\tFile Date\tFile Path\tComments\r\n"
                     "a.txt\t10\t06/14/1998 10:00:00\t/media/disc/\tfirst\r\n"
                     "b.txt\t10\t06/14/1998 10:00:00\t/media/disc/\tsecond"));

    w.tableView()->selectionModel()->select(QItemSelection(m->index(0, 3), m->index(1, 4)),
                                            QItemSelectionModel::ClearAndSelect);
    QVERIFY(app.trigger("CopySelectedRegionToClipboard1"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("/media/disc/\tfirst\r\n/media/disc/\tsecond"));
}

void TestClipboardCommands::paste_data()
{
    QTest::addColumn<bool>("results");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QVariant>("clipboard"); // no text when invalid
    QTest::addColumn<QStringList>("comments");
    QTest::addColumn<bool>("pending");
    const QStringList unchanged{"first", "second"};
    QTest::newRow("one line") << false << 4 << 1 << QVariant("new") << QStringList{"new", "second"} << true;
    QTest::newRow("lines past the last row add rows")
        << false << 4 << 2 << QVariant("x\r\ny\nz") << QStringList{"first", "x", "y", "z"} << true;
    QTest::newRow("no text") << false << 4 << 1 << QVariant() << unchanged << true;
    QTest::newRow("name column") << false << 0 << 1 << QVariant("new") << unchanged << false;
    QTest::newRow("search results") << true << 4 << 1 << QVariant("new") << unchanged << false;
}

void TestClipboardCommands::paste()
{
    QFETCH(bool, results);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QVariant, clipboard);
    QFETCH(QStringList, comments);
    QFETCH(bool, pending);
    AppFixture app;
    MainWindow &w = startWithBackup(app);
    if (results)
        showResults(app);
    if (clipboard.isValid()) {
        QGuiApplication::clipboard()->setText(clipboard.toString());
    } else {
        auto *data = new QMimeData;
        data->setData("application/x-kestrovane-test", "bytes");
        QGuiApplication::clipboard()->setMimeData(data);
    }
    const QStringList names = cellsOf(w, 0);
    w.tableView()->setCurrentIndex(w.tableModel()->index(row - 1, column));
    QVERIFY(app.trigger("PasteFromClipboard1"));
    QCOMPARE(cellsOf(w, 4), comments);
    QCOMPARE(cellsOf(w, 0).mid(0, names.size()), names);
    QCOMPARE(w.tableModel()->columnCount(), results ? 6 : 5);
    QCOMPARE(w.state().pendingCommentEdits, pending);
    if (pending)
        app.dialogs().answerNo(); // the close query offers to save the comments
}

void TestClipboardCommands::popupKeysOnlyInTable_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("copy") << "CopySelectionToClipboard1" << QKeySequence("Ctrl+C");
    QTest::newRow("copy region") << "CopySelectedRegionToClipboard1" << QKeySequence("Ctrl+Shift+C");
    QTest::newRow("paste") << "PasteFromClipboard1" << QKeySequence("Ctrl+V");
    QTest::newRow("delete file") << "DeleteSelectedFile1" << QKeySequence("Shift+Del");
    QTest::newRow("expand") << "ExpandSelectedColumn1" << QKeySequence("Ctrl++");
    QTest::newRow("default") << "ResizeSelectedColumnToDefault1" << QKeySequence("Ctrl+0");
    QTest::newRow("all default") << "ResizeAllColumnsToDefault1" << QKeySequence("Ctrl+Shift+D");
}

// Each pop-up command has its key, shown in the pop-up, working in the table
// and leaving other controls' keys alone.
void TestClipboardCommands::popupKeysOnlyInTable()
{
    QFETCH(QString, command);
    QFETCH(QKeySequence, keys);
    AppFixture app;
    MainWindow &w = startWithBackup(app);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QAction *action = w.action(command);
    QCOMPARE(action->shortcut(), keys);
    QVERIFY(w.findChild<QMenu *>("PopupMenu1")->actions().contains(action));
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    QSignalSpy triggered(action, &QAction::triggered);
    QVERIFY(app.trigger("SearchTable1"));
    auto *text = w.findChild<QLineEdit *>("findtext");
    text->setFocus();
    QTest::keySequence(text, keys);
    QCOMPARE(triggered.count(), 0);
    w.tableView()->setFocus();
    w.tableView()->setCurrentIndex(w.tableModel()->index(1, 0));
    QTest::keySequence(w.tableView(), keys);
    QCOMPARE(triggered.count(), 1);
}

QTEST_MAIN(TestClipboardCommands)
#include "tst_clipboardcommands.moc"
