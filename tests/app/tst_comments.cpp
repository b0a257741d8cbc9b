#include "AppFixture.h"
#include "CommentsController.h"
#include "FileCommentPanel.h"
#include "TestSupport.h"
#include "ToolPanel.h"
#include "library/CommaText.h"
#include "library/TextFile.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

QString entry(const QString &name, const QString &size, const QString &comment = QString())
{
    return QString("\"%1\",\"%2\",\"06/14/1998 10:00:00\",\"/media/disc/\",\"%3\"").arg(name, size, comment);
}

// Games holds Backup (a.txt, b.txt commented "old", c.doc once opened) and
// Disc; the pre-defined list is stored unsorted.
void writePredefined(AppFixture &app, const QStringList &predefined)
{
    QStringList ini{"[Global.predefinedbox_Items]", QString("Count=%1").arg(predefined.size())};
    for (int i = 0; i < predefined.size(); ++i)
        ini << QString("Item%1=%2").arg(i).arg(predefined.at(i));
    app.writeLines("Kestrovane.INI", ini);
}

void writeLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"1Backup\",\"3Disc\""});
    app.writeLines("Catalogs/Backup.TXT",
                   {entry("b.txt", "20", "old"), entry("a.txt", "10"), entry("c.doc", "5")});
    app.writeLines("Catalogs/Disc.TXT", {entry("x.iso", "700")});
    writePredefined(app, {});
}

void select(MainWindow &w, int column, int row)
{
    w.tableView()->setCurrentIndex(w.tableModel()->index(row - 1, column));
}

FileCommentPanel *commentWindow(MainWindow &w)
{
    return w.feature<CommentsController>()->fileCommentPanel();
}

// A control of the comment window, found by its object name.
template <typename Control = QPushButton>
Control *control(FileCommentPanel *panel, const char *name)
{
    return panel->findChild<Control *>(name);
}

bool windowShown(MainWindow &w)
{
    return !w.panel("Filecommentdlg")->isHidden();
}

// The enabled states of the menu's and the popup's Undo Delete.
QList<bool> undoItems(MainWindow &w)
{
    return {w.action("UndoDelete1")->isEnabled(), w.action("UndoDelete2")->isEnabled()};
}

const QList<bool> kEnabled{true, true};
const QList<bool> kDisabled{false, false};

QString storedComment(AppFixture &app, const QString &catalog, int line)
{
    QStringList lines;
    TextFile::readLines(app.path("Catalogs/" + catalog + ".TXT"), lines);
    return CommaText::field(CommaText::split(lines.value(line)), 4);
}

} // namespace

class TestComments : public QObject
{
    Q_OBJECT
private slots:
    void acceptWithEmptyTextChangesNothing();
    void acceptWritesOneLineAndCloseOffersSave();
    void predefinedListEditing();
    void addSelectedTwice_data();
    void addSelectedTwice();
    void deleteCommentAndUndo_data();
    void deleteCommentAndUndo();
    void refillDisablesUndoAndAccept();
    void nothingOutsideTheCatalogView_data();
    void nothingOutsideTheCatalogView();
    void replacesAndReloadsTheTable();
};

void TestComments::acceptWithEmptyTextChangesNothing()
{
    AppFixture app(writeLibrary);
    MainWindow &w = app.start();
    FileCommentPanel *panel = commentWindow(w);
    QVERIFY(app.trigger("AddEdit1"));
    QVERIFY(!windowShown(w)); // no entry in an empty table
    QVERIFY(app.openCatalog("Backup"));
    select(w, 0, 1);
    QVERIFY(app.trigger("AddEditComment1"));
    QVERIFY(windowShown(w));
    QCOMPARE(panel->text(), QString());
    control(panel, "Addfilecomment")->click();
    QVERIFY(!windowShown(w));

    select(w, 0, 2);
    QVERIFY(app.trigger("AddEdit1"));
    QCOMPARE(panel->text(), QString("old"));
    control(panel, "Clearmemo")->click();
    control(panel, "Addfilecomment")->click();
    QVERIFY(!windowShown(w));
    QCOMPARE(w.tableModel()->cell(4, 2), QString("old"));
    QVERIFY(!w.state().pendingCommentEdits);
}

void TestComments::acceptWritesOneLineAndCloseOffersSave()
{
    AppFixture app(writeLibrary);
    MainWindow &w = app.start();
    FileCommentPanel *panel = commentWindow(w);
    QVERIFY(app.openCatalog("Backup"));
    select(w, 0, 1);
    QTest::keyClick(w.tableView(), Qt::Key_Return);
    QVERIFY(windowShown(w));
    panel->setText("first");
    QTest::keyClick(control<QPlainTextEdit>(panel, "Memo1"), Qt::Key_Return);
    QCOMPARE(panel->text(), QString("first"));
    panel->setText("first\r\nsecond, \"quoted\"");
    control(panel, "Addfilecomment")->click();
    QCOMPARE(w.tableModel()->cell(4, 1), QString("first second, \"quoted\""));
    QVERIFY(w.state().pendingCommentEdits);

    app.dialogs().answerYes();
    app.close();
    QVERIFY(app.dialogs().shown().contains("confirm: Proceed to save changes to Backup catalog?"));
    QCOMPARE(storedComment(app, "Backup", 0), QString("first second, \"quoted\""));
    QCOMPARE(storedComment(app, "Backup", 1), QString("old"));
}

void TestComments::predefinedListEditing()
{
    AppFixture app(writeLibrary);
    writePredefined(app, {"zeta", "BACKUP"});
    MainWindow &w = app.start();
    FileCommentPanel *panel = commentWindow(w);
    auto *list = control<QListWidget>(panel, "predefinedbox");
    QCOMPARE(panel->items(), QStringList({"BACKUP", "zeta"}));
    panel->setText("apple");
    control(panel, "Addtolist")->click();
    QCOMPARE(panel->items(), QStringList({"apple", "BACKUP", "zeta"}));

    list->setCurrentRow(2);
    app.dialogs().answerText("again");
    control(panel, "Editpredefined")->click();
    QCOMPARE(app.dialogs().lastShown(), QString("input: Edit Pre-Defined Comment | Comment"));
    QCOMPARE(panel->items(), QStringList({"again", "apple", "BACKUP"}));

    list->setCurrentRow(1);
    app.dialogs().answerNo();
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(app.dialogs().lastShown(), QString("confirm: Proceed to delete comment?"));
    QCOMPARE(panel->items().size(), 3);
    app.dialogs().answerYes();
    control<QAction>(panel, "DeleteSelectedPreDefinedComment1")->trigger();
    QCOMPARE(panel->items(), QStringList({"again", "BACKUP"}));
    QVERIFY(app.dialogs().allAnswersUsed());

    QCOMPARE(commentWindow(app.restart())->items(), QStringList({"again", "BACKUP"}));
}

void TestComments::addSelectedTwice_data()
{
    QTest::addColumn<QString>("way");
    for (const char *way : {"button", "enter", "double click", "menu"})
        QTest::newRow(way) << QString(way);
}

void TestComments::addSelectedTwice()
{
    QFETCH(QString, way);
    AppFixture app(writeLibrary);
    writePredefined(app, {"old"});
    FileCommentPanel *panel = commentWindow(app.start());
    auto *list = control<QListWidget>(panel, "predefinedbox");
    const auto add = [&] {
        if (way == "button")
            control(panel, "Listtocomment")->click();
        else if (way == "enter")
            QTest::keyClick(list, Qt::Key_Return);
        else if (way == "double click")
            emit list->itemDoubleClicked(list->item(0));
        else
            control<QAction>(panel, "AddSelectedPreDefinedComment1")->trigger();
    };
    add(); // nothing is selected yet
    QCOMPARE(panel->text(), QString());
    list->setCurrentRow(0);
    add();
    add();
    QCOMPARE(panel->text(), QString("old old"));
}

void TestComments::deleteCommentAndUndo_data()
{
    QTest::addColumn<QString>("deleteCommand");
    QTest::addColumn<QString>("undoCommand");
    QTest::newRow("menu") << "Delete2" << QString("UndoDelete1");
    QTest::newRow("table popup") << "DeleteComment1" << QString("UndoDelete2");
    QTest::newRow("menu, then popup") << "Delete2" << QString("UndoDelete2");
}

void TestComments::deleteCommentAndUndo()
{
    QFETCH(QString, deleteCommand);
    QFETCH(QString, undoCommand);
    AppFixture app(writeLibrary);
    MainWindow &w = app.startWithOpen("Backup");
    select(w, 0, 1);
    QVERIFY(app.trigger(deleteCommand)); // a.txt has no comment
    QCOMPARE(undoItems(w), kDisabled);
    select(w, 0, 2);
    QVERIFY(app.trigger(deleteCommand));
    QCOMPARE(w.tableModel()->cell(4, 2), QString());
    QCOMPARE(undoItems(w), kEnabled);
    select(w, 0, 1);
    QVERIFY(app.trigger(deleteCommand)); // nothing to delete: the undo still holds "old"
    QCOMPARE(undoItems(w), kEnabled);
    // Sorted by size, largest first, b.txt moves to row 1: the undo follows it.
    w.tableModel()->sort(1, Qt::DescendingOrder);
    QCOMPARE(w.tableModel()->cell(0, 1), QString("b.txt"));
    QVERIFY(app.trigger(undoCommand));
    QCOMPARE(w.tableModel()->cell(4, 1), QString("old"));
    QCOMPARE(w.tableModel()->cell(4, 2), QString());
    QCOMPARE(undoItems(w), kDisabled);
    QVERIFY(!w.state().pendingCommentEdits);
}

void TestComments::refillDisablesUndoAndAccept()
{
    AppFixture app(writeLibrary);
    MainWindow &w = app.startWithOpen("Backup");
    select(w, 0, 2);
    QVERIFY(app.trigger("Delete2"));
    QVERIFY(app.openCatalog("Disc"));
    QCOMPARE(undoItems(w), kDisabled);

    select(w, 0, 1);
    QVERIFY(app.trigger("AddEdit1"));
    commentWindow(w)->setText("for x.iso");
    QVERIFY(app.openCatalog("Backup"));
    select(w, 0, 1);
    control(commentWindow(w), "Addfilecomment")->click();
    QCOMPARE(w.tableModel()->cell(4, 1), QString());
    QVERIFY(!w.state().pendingCommentEdits);
}

void TestComments::nothingOutsideTheCatalogView_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("search results") << "ViewAllCatalogs1";
    QTest::newRow("report") << "Report1";
}

void TestComments::nothingOutsideTheCatalogView()
{
    QFETCH(QString, command);
    AppFixture app(writeLibrary);
    app.writeLines("Catalogs/Master", {"Backup", "", "Disc", ""});
    MainWindow &w = app.start();
    QVERIFY(app.trigger(command));
    QVERIFY(w.tableModel()->columnCount() > 5);
    for (int row = 1; row < w.tableModel()->tableRowCount(); ++row) {
        select(w, 0, row);
        QVERIFY(app.trigger("AddEdit1") && app.trigger("Delete2"));
        QVERIFY(!windowShown(w));
        QCOMPARE(undoItems(w), kDisabled);
    }
}

void TestComments::replacesAndReloadsTheTable()
{
    AppFixture app;
    app.writeLines("Master.TXT", {"\"1\",\"0Discs\",\"3Films\""});
    app.writeLines("Catalogs/Films.TXT", {entry("a.iso", "1", "box"), entry("b.iso", "1", "old CD")});
    app.writeLines("Catalogs/Loose.TXT", {entry("c.iso", "1", "CD, CD")});
    MainWindow &w = app.startWithOpen("Films");
    VisualTableModel *table = w.tableModel();
    QVERIFY(table->setData(table->index(0, 4), "CD box"));

    // The pending edit is saved first, so the run sees it.
    app.dialogs().answerYes();
    QVERIFY(app.trigger("SearchAndReplace1"));
    QCOMPARE(app.dialogs().shown(), QStringList{"confirm: Proceed to save changes to Films catalog?"});
    ToolPanel *p = w.panel("SandRdlg");
    QVERIFY(!p->isHidden());
    QCOMPARE(p->title(), QString("Search And Replace File Comments (Case sensitive)"));
    QCOMPARE(p->status(), QString("Ready..."));
    auto *search = p->findChild<QLineEdit *>("Edit1");
    auto *replacement = p->findChild<QLineEdit *>("Edit2");
    auto *start = p->findChild<QPushButton *>("Button1");
    QVERIFY(search->text().isEmpty() && replacement->text().isEmpty());

    search->setText("CD");
    start->click(); // no replacement text: nothing happens
    QCOMPARE(p->status(), QString("Ready..."));
    replacement->setText("DVD");
    start->click();
    QCOMPARE(p->status(), QString("Finished"));
    QVERIFY(start->isEnabled() && !w.isBusy());
    QCOMPARE(table->data(table->index(0, 4)).toString(), QString("DVD box"));
    QCOMPARE(table->data(table->index(1, 4)).toString(), QString("old DVD"));
    QCOMPARE(TestSupport::readFile(app.path("Catalogs/Loose.TXT")),
             (entry("c.iso", "1", "DVD, CD") + "\r\n").toUtf8());

    // An edit made while the panel is open is offered before the next run.
    QVERIFY(table->setData(table->index(0, 4), "new CD"));
    app.dialogs().answerYes();
    start->click();
    QCOMPARE(app.dialogs().lastShown(), QString("confirm: Proceed to save changes to Films catalog?"));
    QCOMPARE(table->data(table->index(0, 4)).toString(), QString("new DVD"));

    // A catalog that cannot be read: the error box, the panel ready again,
    // and the table as it was, not reloaded.
    const QString loose = app.path("Catalogs/Loose.TXT");
    QVERIFY(TestSupport::makeUnreadable(loose, "owner-only file"));
    QVERIFY(table->setData(table->index(1, 4), "unsaved"));
    app.dialogs().answerNo();
    QVERIFY(TestSupport::readOverride(false));
    start->click();
    QVERIFY(TestSupport::readOverride(true));
    QCOMPARE(app.dialogs().lastShown(), "error: Cannot open file " + loose);
    QCOMPARE(p->status(), QString("Finished"));
    QVERIFY(start->isEnabled() && !w.isBusy());
    QCOMPARE(table->data(table->index(1, 4)).toString(), QString("unsaved"));

    QVERIFY(QFile::remove(app.path("Catalogs/Films.TXT")) && QFile::remove(loose));
    start->click();
    QCOMPARE(app.dialogs().lastShown(), QString("warning: No catalogs exists!"));
    QVERIFY(p->isHidden());
    QVERIFY(app.dialogs().unexpected().isEmpty());
}

QTEST_MAIN(TestComments)
#include "tst_comments.moc"
