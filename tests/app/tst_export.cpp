#include "AppFixture.h"
#include "TestSupport.h"

#include "library/CommaText.h"
#include "table/HtmlExport.h"
#include "table/ModelTableCells.h"
#include "table/TextExport.h"
#include "table/VisualTableModel.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kCancel = "<cancel>";
const QString kBefore = "Kestrovane v2.01 - Before";
const QString kTextSave = "save: Save catalog as | Text Files(*.txt);;HTML Files(*.htm) | Text Files(*.txt)";
const QString kHtmlSave = "save: Save catalog as | Text Files(*.txt);;HTML Files(*.htm) | HTML Files(*.htm)";
const QString kTitlePrompt = "input: Saving Table Contents | Enter a title for the HTML page (optional)";

QString entry(const QString &name, const QString &path, const QString &comment = QString())
{
    return CommaText::join({name, "1024", "06/14/1998 10:00:00", path, comment});
}

// Games holds Backup, whose rows include a ZIP member and a hostile name.
void writeLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Backup\""});
    app.writeLines("Catalogs/Master",
                   {"Backup", "\"3\",\"1\",\"/\",\"/media/disc/\",\"20 GB\",\"1 GB\",\"Fixed\",\"06/14/1998 "
                              "10:00:00\",\"True\",\"True\",\"True\",\"True\",\"True\",\"True\",\"0\""});
    app.writeLines("Catalogs/Backup.TXT",
                   {entry("Tom & Jerry.avi", "/media/disc/", "café"), entry("<script>.txt", "/media/disc/"),
                    entry("inner.txt", "/media/disc/pack.zip/")});
}

// The table in the layout named, as its command leaves it.
void showLayout(AppFixture &app, const QString &layout)
{
    MainWindow &w = app.window();
    if (layout == "catalog") {
        QVERIFY(app.openCatalog("Backup"));
    } else {
        QVERIFY(app.trigger("Report1"));
    }
    w.StatusLine("Before");
}

QByteArray expectedFile(const VisualTableModel &model, const QString &command, const QString &title)
{
    const ModelTableCells cells(model);
    return command == "TextFileFormatted1" ? TextExport::formatted(cells) : HtmlExport::page(cells, title);
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void flows_data();
    void flows();
    void failedWriteKeepsOldFileAndCaption();
    void libraryFilesRefused_data();
    void libraryFilesRefused();
    void dialogsOpenInLastFolderUsed();
};

void TestExport::flows_data()
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
    QTest::newRow("html, hostile title") << html << "catalog" << QStringList{"page", "Tom & <b>Jerry</b>"}
                                         << QStringList{kHtmlSave, kTitlePrompt} << "page.htm";
    QTest::newRow("html, report") << html << "report" << QStringList{"page", "All"}
                                  << QStringList{kHtmlSave, kTitlePrompt} << "page.htm";
}

void TestExport::flows()
{
    QFETCH(QString, command);
    QFETCH(QString, layout);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, questions);
    QFETCH(QString, file);
    AppFixture app;
    writeLibrary(app);
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
void TestExport::failedWriteKeepsOldFileAndCaption()
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

    AppFixture app;
    writeLibrary(app);
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

void TestExport::libraryFilesRefused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::newRow("text over a catalog") << "TextFileFormatted1" << QString("Catalogs/Backup.TXT");
    QTest::newRow("html into Catalogs") << "HTMLFile1" << QString("Catalogs/page.htm");
    QTest::newRow("printout over the tree") << "PrintAll1" << QString("Master.TXT");
}

void TestExport::libraryFilesRefused()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    AppFixture app;
    writeLibrary(app);
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
void TestExport::dialogsOpenInLastFolderUsed()
{
    AppFixture app;
    writeLibrary(app);
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

QTEST_MAIN(TestExport)
#include "tst_export.moc"
