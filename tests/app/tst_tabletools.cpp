// The table's tools: the clipboard, rows, table search, export, printing
// and the deletion of listed files.
#include "AppFixture.h"
#include "TestSupport.h"
#include "ToolPanel.h"
#include "library/CommaText.h"
#include "library/TextFile.h"
#include "table/HtmlExport.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

QString entry(const QString &name, const QString &size, const QString &path,
              const QString &comment = QString())
{
    return CommaText::join({name, size, "06/14/1998 10:00:00", path, comment});
}

QStringList cellsOf(MainWindow &w, int c)
{
    QStringList cells;
    for (int r = 1; r < w.tableModel()->tableRowCount(); ++r)
        cells << w.tableModel()->cell(c, r);
    return cells;
}

// Games holds Backup (three files of different sizes) and Disc.
void writeRowsLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"3Backup\",\"3Disc\""});
    app.writeLines("Catalogs/Master", {"Backup", "\"3\",\"1\"", "Disc", "\"1\",\"1\""});
    app.writeLines("Catalogs/Backup.TXT", {entry("a.txt", "10", "/media/disc/", "first"),
                                           entry("b.txt", "20", "/media/disc/", "second"),
                                           entry("c.doc", "5", "/media/disc/", "third")});
    app.writeLines("Catalogs/Disc.TXT", {entry("a.txt", "700", "/media/disc/")});
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

QModelIndex cellOf(MainWindow &w, const QString &name, int column)
{
    VisualTableModel *m = w.tableModel();
    for (int r = 1; r < m->tableRowCount(); ++r) {
        if (m->cell(0, r) == name)
            return m->index(r - 1, column);
    }
    return QModelIndex();
}

bool rowShown(MainWindow &w, const QString &name)
{
    return cellOf(w, name, 0).isValid();
}

void clickHeader(MainWindow &w, int column)
{
    emit w.tableView()->horizontalHeader()->sectionClicked(column);
}

QString searchInfo(const QString &type)
{
    return QString("\"3\",\"1\",\"/\",\"/media/disc/\",\"20 GB\",\"1 MB\",\"%1\",\"06/14/1998 10:00:00\","
                   "\"True\",\"True\",\"True\",\"True\",\"True\",\"False\",\"0\"")
        .arg(type);
}

void writeSearchLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"3Backup\",\"3Disc\""});
    app.writeLines("Catalogs/Master", {"Backup", searchInfo("Fixed"), "Disc", searchInfo("CdRom")});
    app.writeLines("Catalogs/Backup.TXT",
                   {entry("alpha.txt", "10", "/media/disc/", "Readme first"),
                    entry("beta.txt", "10", "/media/disc/"), entry("readme.txt", "10", "/media/disc/docs/")});
    app.writeLines("Catalogs/Disc.TXT", {entry("README.TXT", "10", "/cdrom/")});
}

void click(MainWindow &w, const char *button)
{
    w.findChild<QPushButton *>(QLatin1String(button))->click();
}

// Searches every catalog for the word through the search panel.
void searchEveryCatalog(AppFixture &app, const QString &word)
{
    MainWindow &w = app.window();
    QVERIFY(app.trigger("Search1"));
    auto *ticks = w.findChild<QTreeWidget *>("TreeView2");
    for (int i = 0; i < ticks->topLevelItemCount(); ++i)
        ticks->topLevelItem(i)->setCheckState(0, Qt::Checked);
    w.findChild<QComboBox *>("Searchword")->setCurrentText(word);
    click(w, "Searchbtn");
}

// Fills the table in the named layout, as its command leaves it, under
// the status "Before".
void showLayout(AppFixture &app, const QString &layout)
{
    MainWindow &w = app.window();
    if (layout == "catalog") {
        QVERIFY(app.openCatalog("Backup"));
    } else if (layout == "results") {
        searchEveryCatalog(app, "readme*");
        QCOMPARE(w.tableModel()->columnCount(), 6);
    } else {
        QVERIFY(app.trigger("Report1"));
        QCOMPARE(w.tableModel()->columnCount(), 9);
    }
    w.StatusLine("Before");
}

// "column,row" of the selected cell in table numbering.
QString selectedCell(MainWindow &w)
{
    const QModelIndex current = w.tableView()->currentIndex();
    if (!current.isValid() || !w.tableView()->selectionModel()->isSelected(current))
        return QString();
    return QString("%1,%2").arg(current.column()).arg(current.row() + 1);
}

const QString kCancel = "<cancel>";
const QString kBefore = "Kestrovane v2.01 - Before";
const QString kTextSave = "save: Save catalog as | Text Files(*.txt);;HTML Files(*.htm) | Text Files(*.txt)";
const QString kHtmlSave = "save: Save catalog as | Text Files(*.txt);;HTML Files(*.htm) | HTML Files(*.htm)";
const QString kTitlePrompt = "input: Saving Table Contents | Enter a title for the HTML page (optional)";

QByteArray expectedFile(const VisualTableModel &model, const QString &command, const QString &title)
{
    const ModelTableCells cells(model);
    return command == "TextFileFormatted1" ? TextExport::formatted(cells) : HtmlExport::page(cells, title);
}

void writeCatalog(AppFixture &app, const QString &name, int entries, const QString &folder = "/media/disc/")
{
    QStringList lines;
    for (int i = 0; i < entries; ++i)
        lines << CommaText::join({QString("f%1.txt").arg(i, 3, 10, QChar('0')), QString::number(i),
                                  "06/14/1998 10:20:30", folder, "c" + QString::number(i)});
    app.writeLines("Catalogs/" + name + ".TXT", lines);
}

template <typename W>
W *printControl(MainWindow &w, const char *name)
{
    return w.panel("Printsetupdlg")->findChild<W *>(name);
}

QString pdfText(const QString &pdf, const QString &mode = "-layout")
{
    QProcess p;
    p.start("pdftotext", {mode, pdf, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestTableTools : public QObject
{
    Q_OBJECT
private slots:
    void copyWholeTableAndRegion();
    void paste();
    void popupKeysOnlyInTable_data();
    void popupKeysOnlyInTable();
    void deleteAfterSortRemovesTheSelectedRow_data();
    void deleteAfterSortRemovesTheSelectedRow();
    void deletedSearchResultsAreNeverSaved();
    void findsInEveryLayout_data();
    void findsInEveryLayout();
    void flows_data();
    void flows();
    void failedWriteKeepsOldFileAndCaption();
    void libraryFilesRefused_data();
    void libraryFilesRefused();
    void dialogsOpenInLastFolderUsed();
    void storedOptionsAfterRestart();
    void storedFontKeptUnlessChosen();
    void printSelectedRegion();
    void previewNeverStale();
    void initTestCase();
    void deleteSelectedFile();

private:
    QString trashed(const QString &name) const { return m_data + "/Trash/files/" + name; }
    QTemporaryDir m_env;
    QString m_data;
};

void TestTableTools::copyWholeTableAndRegion()
{
    AppFixture app(writeRowsLibrary);
    MainWindow &w = app.startWithOpen("Backup");
    VisualTableModel *m = w.tableModel();
    w.tableView()->setCurrentIndex(m->index(1, 4));
    QVERIFY(app.trigger("CopySelectionToClipboard1"));
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("File Name\tFile Size\tFile Date\tFile Path\tComments\r\n"
                     "a.txt\t10\t06/14/1998 10:00:00\t/media/disc/\tfirst\r\n"
                     "b.txt\t20\t06/14/1998 10:00:00\t/media/disc/\tsecond\r\n"
                     "c.doc\t5\t06/14/1998 10:00:00\t/media/disc/\tthird"));

    w.tableView()->selectionModel()->select(QItemSelection(m->index(0, 3), m->index(1, 4)),
                                            QItemSelectionModel::ClearAndSelect);
    QVERIFY(app.trigger("CopySelectedRegionToClipboard1"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("/media/disc/\tfirst\r\n/media/disc/\tsecond"));
}

// The pasting rules are the clipboard text's; here the window applies them.
void TestTableTools::paste()
{
    AppFixture app(writeRowsLibrary);
    MainWindow &w = app.startWithOpen("Backup");
    QGuiApplication::clipboard()->setText("new");
    const QStringList names = cellsOf(w, 0);
    w.tableView()->setCurrentIndex(w.tableModel()->index(0, 4));
    QVERIFY(app.trigger("PasteFromClipboard1"));
    QCOMPARE(cellsOf(w, 4), (QStringList{"new", "second", "third"}));
    QCOMPARE(cellsOf(w, 0), names);
    QVERIFY(w.state().pendingCommentEdits);
    app.dialogs().answerNo(); // the close query offers to save the comments
}

void TestTableTools::popupKeysOnlyInTable_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("copy") << "CopySelectionToClipboard1" << QKeySequence("Ctrl+C");
    QTest::newRow("delete file") << "DeleteSelectedFile1" << QKeySequence("Shift+Del");
    QTest::newRow("all default") << "ResizeAllColumnsToDefault1" << QKeySequence("Ctrl+Shift+D");
}

// Each pop-up command has its key, shown in the pop-up, working in the table
// and leaving other controls' keys alone.
void TestTableTools::popupKeysOnlyInTable()
{
    QFETCH(QString, command);
    QFETCH(QKeySequence, keys);
    AppFixture app(writeRowsLibrary);
    MainWindow &w = app.startWithOpen("Backup");
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

void TestTableTools::deleteAfterSortRemovesTheSelectedRow_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QStringList>("left");
    // Sizes 10, 20, 5: a size sort moves every row away from its place.
    QTest::newRow("first row, size sort") << "a.txt" << 1 << 1 << QStringList{"b.txt", "c.doc"};
    QTest::newRow("sorted twice") << "b.txt" << 1 << 2 << QStringList{"a.txt", "c.doc"};
}

void TestTableTools::deleteAfterSortRemovesTheSelectedRow()
{
    QFETCH(QString, selected);
    QFETCH(int, sortColumn);
    QFETCH(int, clicks);
    QFETCH(QStringList, left);
    AppFixture app(writeRowsLibrary);
    MainWindow &w = app.startWithOpen("Backup");
    w.tableView()->setCurrentIndex(cellOf(w, selected, 2));
    for (int i = 0; i < clicks; ++i)
        clickHeader(w, sortColumn);
    QCOMPARE(w.tableModel()->cell(0, w.tableView()->currentIndex().row() + 1), selected);

    app.dialogs().answerNo();
    QTest::keyClick(w.tableView(), Qt::Key_Delete);
    QCOMPARE(w.tableModel()->tableRowCount(), 4);
    QVERIFY(!w.state().pendingRowDeletions);
    app.dialogs().answerYes();
    QTest::keyClick(w.tableView(), Qt::Key_Delete);
    QCOMPARE(app.dialogs().shown().count("confirm: Proceed to delete this row?"), 2);
    QVERIFY(!rowShown(w, selected));
    QCOMPARE(w.tableModel()->tableRowCount(), 3);
    app.dialogs().answerYes();
    QVERIFY(app.trigger("SaveChanges1"));
    QStringList names = namesInFile(app, "Backup");
    names.sort();
    QCOMPARE(names, left);
    QVERIFY(app.dialogs().allAnswersUsed());
    app.dialogs().answerNo(); // the close query asks while the flag stays set
}

// Search results in the six-column layout may lose rows to Delete, but the
// catalog opened before must never be written from them.
void TestTableTools::deletedSearchResultsAreNeverSaved()
{
    AppFixture app(writeRowsLibrary);
    MainWindow &w = app.startWithOpen("Backup");
    const QByteArray before = TestSupport::readFile(app.path("Catalogs/Backup.TXT"));

    searchEveryCatalog(app, "a*");
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

void TestTableTools::findsInEveryLayout_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("options");
    QTest::addColumn<QStringList>("found");
    // Column 0 is searched to its end before column 4 begins.
    QTest::newRow("catalog, any case") << "catalog" << QString("readme") << 0 << QStringList{"0,3", "4,1"};
    QTest::newRow("catalog, case sensitive") << "catalog" << QString("readme") << 1 << QStringList{"0,3"};
    QTest::newRow("results, whole cell") << "results" << QString("disc") << 2 << QStringList{"5,2"};
    QTest::newRow("report, wild cards") << "report" << QString("D*") << 4 << QStringList{"0,2"};
}

void TestTableTools::findsInEveryLayout()
{
    QFETCH(QString, layout);
    QFETCH(QString, text);
    QFETCH(int, options);
    QFETCH(QStringList, found);
    AppFixture app(writeSearchLibrary);
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
    box->setText("nowhere");
    click(w, "Button3");
    QCOMPARE(app.dialogs().lastShown(), QString("information: No Match Was Found"));
}

void TestTableTools::flows_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("answers"); // the file name first, in an empty folder
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QString>("file"); // written, or empty for none

    const QString text = "TextFileFormatted1";
    const QString html = "HTMLFile1";
    QTest::newRow("text, dialog cancelled")
        << text << "catalog" << QStringList{kCancel} << QStringList{kTextSave} << QString();
    QTest::newRow("text, extension added")
        << text << "catalog" << QStringList{"list"} << QStringList{kTextSave} << "list.txt";
    QTest::newRow("html, title cancelled: no title") << html << "catalog" << QStringList{"page", kCancel}
                                                     << QStringList{kHtmlSave, kTitlePrompt} << "page.htm";
    QTest::newRow("html, report") << html << "report" << QStringList{"page", "All"}
                                  << QStringList{kHtmlSave, kTitlePrompt} << "page.htm";
}

void TestTableTools::flows()
{
    QFETCH(QString, command);
    QFETCH(QString, layout);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, questions);
    QFETCH(QString, file);
    AppFixture app(writeSearchLibrary);
    MainWindow &w = app.start();
    showLayout(app, layout);
    app.dialogs().reset();
    QTemporaryDir out;
    for (int i = 0; i < answers.size(); ++i) {
        if (answers.at(i) == kCancel)
            app.dialogs().answerCancel();
        else
            app.dialogs().answerText(i == 0 ? out.filePath(answers.at(i)) : answers.at(i));
    }
    QVERIFY(app.trigger(command));

    QCOMPARE(app.dialogs().shown(), questions);
    QVERIFY(app.dialogs().allAnswersUsed());
    const QStringList written = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
    if (file.isEmpty()) {
        QCOMPARE(written, QStringList());
        QCOMPARE(w.windowTitle(), kBefore);
        return;
    }
    QCOMPARE(written, QStringList{file});
    const QString title = answers.value(1) == kCancel ? QString() : answers.value(1);
    QCOMPARE(TestSupport::readFile(out.filePath(file)), expectedFile(*w.tableModel(), command, title));
    QCOMPARE(w.statusText(), out.filePath(file) + " Saved");
}

// The file-level writer has its own full-disk tests; this one shows the
// window reporting the failure and keeping its caption.
void TestTableTools::failedWriteKeepsOldFileAndCaption()
{
    const QString file = "list.txt";
    QTemporaryDir disk;
    QString reason;
    if (!TestSupport::mountTmpfs(disk.path(), 256, &reason))
        QSKIP(qPrintable(reason));
    const QString path = disk.filePath(file);
    const QByteArray old = "the old export\r\n";
    const bool written = TestSupport::writeFile(path, old);
    TestSupport::fillDisk(disk.path());

    AppFixture app(writeSearchLibrary);
    MainWindow &w = app.start();
    showLayout(app, "catalog");
    app.dialogs().reset();
    app.dialogs().answerText(path);
    QVERIFY(app.trigger("TextFileFormatted1"));
    const QString shown = app.dialogs().lastShown();
    const QByteArray after = TestSupport::readFile(path);
    const QStringList left = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);
    TestSupport::unmount(disk.path());

    QVERIFY(written);
    QVERIFY2(shown.startsWith("error: ") && shown.contains(path) && shown.contains("No space left on device"),
             qPrintable(shown));
    QCOMPARE(w.windowTitle(), kBefore);
    QCOMPARE(after, old);
    QCOMPARE(left, QStringList({"filler", file}));
}

void TestTableTools::libraryFilesRefused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::newRow("text over a catalog") << "TextFileFormatted1" << QString("Catalogs/Backup.TXT");
    QTest::newRow("printout over the tree") << "PrintAll1" << QString("Master.TXT");
}

void TestTableTools::libraryFilesRefused()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    AppFixture app(writeSearchLibrary);
    app.start();
    showLayout(app, "catalog");
    const QMap<QString, QByteArray> before = TestSupport::librarySnapshot(app.root());
    app.dialogs().reset();
    if (command == "PrintAll1")
        app.dialogs().answerPrintToPdf(app.path(file));
    else
        app.dialogs().answerText(app.path(file));
    QVERIFY(app.trigger(command));
    QCOMPARE(app.dialogs().lastShown(),
             "error: " + app.path(file) + " is a file of the catalog library and cannot be overwritten");
    QVERIFY(app.dialogs().allAnswersUsed());
    QCOMPARE(TestSupport::librarySnapshot(app.root()), before);
}

// The save and folder dialogs open in the folder last chosen in any of
// them, also after a restart; before any choice, in the home folder.
void TestTableTools::dialogsOpenInLastFolderUsed()
{
    AppFixture app(writeSearchLibrary);
    app.start();
    showLayout(app, "catalog");
    app.dialogs().reset();
    app.dialogs().answerCancel();
    QVERIFY(app.trigger("TextFileFormatted1"));
    QCOMPARE(app.dialogs().lastStart(), QDir::homePath());
    QTemporaryDir out;
    app.dialogs().answerText(out.filePath("list.txt"));
    QVERIFY(app.trigger("TextFileFormatted1"));
    MainWindow &w = app.restart();
    app.dialogs().reset();
    app.dialogs().answerCancel();
    w.findChild<QPushButton *>("CatDirBrowse")->click();
    QCOMPARE(app.dialogs().lastStart(), out.path());
    showLayout(app, "catalog");
    app.dialogs().answerCancel();
    QVERIFY(app.trigger("HTMLFile1"));
    QCOMPARE(app.dialogs().lastStart(), out.path());
}

// The settings' defaults are the settings' tests; what the user sets is
// there after a restart, under the keys of each box's place.
void TestTableTools::storedOptionsAfterRestart()
{
    AppFixture app;
    MainWindow &w = app.start();
    QVERIFY(app.trigger("PrintTable1"));
    const QList<QRadioButton *> orientation = w.panel("Printsetupdlg")->findChildren<QRadioButton *>();
    QVERIFY(orientation.at(0)->isChecked());

    printControl<QCheckBox>(w, "CheckBox1")->setChecked(false);
    printControl<QCheckBox>(w, "CheckBox3")->setChecked(false);
    orientation.at(1)->setChecked(true);
    app.dialogs().answerFont(QFont("DejaVu Serif", 14));
    QTest::mouseClick(printControl<QPushButton>(w, "BitBtn1"), Qt::LeftButton);
    QVERIFY(app.dialogs().allAnswersUsed());

    MainWindow &again = app.restart();
    QVERIFY(!printControl<QCheckBox>(again, "CheckBox1")->isChecked());
    QVERIFY(!printControl<QCheckBox>(again, "CheckBox3")->isChecked());
    QVERIFY(again.panel("Printsetupdlg")->findChildren<QRadioButton *>().at(1)->isChecked());
    const QByteArray ini = TestSupport::readFile(app.path("Kestrovane.INI"));
    for (const char *line :
         {"CheckBox1_Checked=False", "CheckBox2_Checked=True", "RadioGroup1_ItemIndex=1",
          "FontDialog1_FontName=DejaVu Serif", "FontDialog1_FontSize=14", "FontDialog1_FontHeight=-19"})
        QVERIFY2(ini.contains(line), line);
}

// A font stored at 120 dots to the inch (8 points, 13 pixels) is not
// rewritten by a run that never opened the font dialog.
void TestTableTools::storedFontKeptUnlessChosen()
{
    AppFixture app;
    app.writeLines("Kestrovane.INI", {"[Global]", "FontDialog1_FontSize=8", "FontDialog1_FontHeight=-13"});
    app.start();
    app.close();
    QVERIFY(TestSupport::readFile(app.path("Kestrovane.INI")).contains("FontDialog1_FontHeight=-13"));
}

// "Print Selected Region" with one selected cell prints that cell alone,
// under the title typed in the panel.
void TestTableTools::printSelectedRegion()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("poppler-utils (pdftotext) is not installed");
    AppFixture app;
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Disc\""});
    writeCatalog(app, "Disc", 3);
    MainWindow &w = app.startWithOpen("Disc");
    QVERIFY(app.trigger("PrintTable1"));
    printControl<QLineEdit>(w, "Edit3")->setText("Games Disc");
    const QModelIndex cell = w.tableModel()->index(1, 4); // table row 2, "Comments"
    w.tableView()->selectionModel()->select(cell, QItemSelectionModel::ClearAndSelect);
    const QString pdf = app.path("out.pdf");
    app.dialogs().answerPrintToPdf(pdf);
    QVERIFY(app.trigger("PrintSelectedRegion1"));
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains("Games Disc") && text.contains("c1"), qPrintable(text));
    for (const char *other : {"c0", "c2", "f001.txt", "Comments"})
        QVERIFY2(!text.contains(other), other);
    // Cancel in the print dialog prints nothing.
    QFile::remove(pdf);
    app.dialogs().answerCancel();
    QVERIFY(app.trigger("PrintAll1"));
    QVERIFY(!QFile::exists(pdf));
}

// The preview shows the table and options of the moment it is asked for,
// even after it was closed.
void TestTableTools::previewNeverStale()
{
    AppFixture app;
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"3Small\",\"3Large\""});
    writeCatalog(app, "Small", 3);
    writeCatalog(app, "Large", 200);
    MainWindow &w = app.startWithOpen("Small");
    QVERIFY(app.trigger("PreviewAll1"));
    auto *preview = w.findChild<QPrintPreviewDialog *>("Form2");
    QVERIFY(preview && preview->isVisible());
    QCOMPARE(preview->windowTitle(), QString("Print Preview"));
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    QTRY_COMPARE(pages->pageCount(), 1);
    preview->close();
    QVERIFY(app.openCatalog("Large"));
    QVERIFY(app.trigger("PreviewAll1"));
    QTRY_VERIFY(pages->pageCount() > 2);
    const int landscapePages = pages->pageCount();
    w.tableView()->selectionModel()->select(w.tableModel()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    QVERIFY(app.trigger("PreviewSelectedRegion1"));
    QTRY_COMPARE(pages->pageCount(), 1);
    preview->close();
    w.panel("Printsetupdlg")->findChildren<QRadioButton *>().at(1)->setChecked(true);
    QVERIFY(app.trigger("PreviewAll1"));
    QTRY_VERIFY(pages->pageCount() < landscapePages);
    QCOMPARE(pages->orientation(), QPageLayout::Portrait);
}

// Files go to a trash of the test's own: the data folder named by
// XDG_DATA_HOME, which does not exist before a deletion, and a home on the
// same volume as the files, so Qt uses that trash and no other.
void TestTableTools::initTestCase()
{
    m_data = m_env.filePath("data");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data));
    QDir().mkpath(m_env.filePath("home"));
    qputenv("HOME", QFile::encodeName(m_env.filePath("home")));
    // Without its data folder Qt 6.4 makes a trash in the working folder.
    QDir::setCurrent(m_env.path());
}

// The deletion rules are FileDeletion's; here the window applies them: the
// file goes to the trash, its row away, and the catalog is marked changed.
void TestTableTools::deleteSelectedFile()
{
    AppFixture app;
    const QString fullName = app.path("media/a.txt");
    TestSupport::writeFile(fullName, "bytes");
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Disc\""});
    app.writeLines("Catalogs/Disc.TXT", {entry("a.txt", "10", app.path("media") + "/")});
    MainWindow &w = app.start();
    w.setVolumeReader([](const QString &) { return VolumeInfo("/", "Fixed", 1 << 30, 1 << 20); });
    QVERIFY(app.openCatalog("Disc"));
    w.tableView()->setCurrentIndex(cellOf(w, "a.txt", 0));
    app.dialogs().answerYes();
    QVERIFY(app.trigger("DeleteSelectedFile1"));
    QCOMPARE(app.dialogs().shown(), QStringList{"confirm: Proceed to delete?\n" + fullName});
    QCOMPARE(w.statusText(), "Deleted " + fullName);
    QVERIFY(!rowShown(w, "a.txt"));
    QVERIFY(w.state().pendingRowDeletions);
    QVERIFY(QFileInfo::exists(trashed("a.txt")));
    QVERIFY(!QFileInfo::exists(fullName));
    // No stray trash in the working folder or beside the file.
    QVERIFY(!QFileInfo::exists(m_env.filePath("files")));
    QCOMPARE(QDir(app.path("media")).entryList(QDir::Hidden | QDir::Dirs).filter("Trash"), QStringList());
    app.dialogs().answerNo(); // the close query offers to save the removed row
}

QTEST_MAIN(TestTableTools)
#include "tst_tabletools.moc"
