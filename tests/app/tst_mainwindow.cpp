// The main window: its start-up, the storing of each change at once,
// library files it cannot read, the general commands and the caption.
#include "AppFixture.h"
#include "AppIdentity.h"
#include "CategoryTreeModel.h"
#include "HelpDocument.h"
#include "HelpWindow.h"
#include "TestSupport.h"
#include "ToolPanel.h"
#include "library/CommaText.h"
#include "library/TextFile.h"
#include "table/VisualTableModel.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolTip>
#include <QTreeView>

namespace {

void writeStorageLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Disc\"", "\"0\",\"0Music\""});
    app.writeLines("Catalogs/Master", {"Disc", "\"1\""});
    app.writeLines("Comments.TXT", {"Disc", "the disc"});
    app.writeLines("Catalogs/Disc.TXT", {"\"a.txt\",\"1\",\"\",\"/m/\",\"note\""});
}

bool hintShownOver(QWidget *widget)
{
    QToolTip::hideText();
    QHelpEvent hint(QEvent::ToolTip, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &hint);
    return QToolTip::isVisible();
}

QSet<QString> anchorNames(QTextDocument *doc)
{
    QSet<QString> names;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            for (const QString &name : it.fragment().charFormat().anchorNames())
                names.insert(name);
    return names;
}

QStringList linkTargets(QTextDocument *doc)
{
    QStringList hrefs;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor() && !format.anchorHref().isEmpty())
                hrefs.append(format.anchorHref());
        }
    hrefs.removeDuplicates();
    return hrefs;
}

// The display name the program set for itself, empty when none: without one
// Qt reports the application name instead, so the reported name follows a
// change of the application name.
QString ownDisplayName()
{
    const QString name = QCoreApplication::applicationName();
    const QString probe = name + QStringLiteral(".probe");
    QCoreApplication::setApplicationName(probe);
    const QString shown = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(name);
    return shown == probe ? QString() : shown;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void firstStartInEmptyLibrary();
    void busyIsNotCounted();
    void catalogsFolderCannotBeCreated();
    void treeChangesStoredAtOnce();
    void unreadableFileAtStartUp_data();
    void unreadableFileAtStartUp();
    void unloadedLinesCounted();
    void fullDiskChangeUndone();
    void unreadableSettingsNeverWritten_data();
    void unreadableSettingsNeverWritten();
    void tooltipsStoredOffStayOff();
    void coloursAppliedAndRestored_data();
    void coloursAppliedAndRestored();
    void closeQuery_data();
    void closeQuery();
    void helpLinksByKeyboard();
    void initTestCase();
    void titleBarShowsExactlyTheCaption();
    void windowIconWithoutIconTheme();
};

void TestMainWindow::firstStartInEmptyLibrary()
{
    AppFixture app;
    MainWindow &w = app.start();
    QVERIFY(QFileInfo(app.path("Catalogs")).isDir());
    QCOMPARE(w.treeModel()->rowCount(), 1);
    QCOMPARE(w.treeModel()->nodeText(w.treeModel()->index(0, 0)), QString("Sample Category"));
    QCOMPARE(w.tableModel()->columnCount(), 5);
    QCOMPARE(w.tableModel()->tableRowCount(), 2);
    QCOMPARE(w.tableView()->columnWidth(4), 100);
    app.close();
    const QByteArray ini = TestSupport::readFile(app.path("Kestrovane.INI"));
    for (const char *key : {"[Global]", "NormPos=", "ShowCmd=", "PixelsPerInch=", "Panel1_Width=",
                            "TooltipsOn1_Checked=True", "Catcommdlg_Left=88", "Searchcatdlg_Top=24",
                            "[Global.Masklistbox_Items]", "Count=0", "FontDialog1_FontName=MS Sans Serif"})
        QVERIFY2(ini.contains(key), key);
    QVERIFY(app.dialogs().shown().isEmpty());
}

void TestMainWindow::busyIsNotCounted()
{
    AppFixture app;
    MainWindow &w = app.start();
    w.setBusy(true);
    w.setBusy(true);
    w.setBusy(false); // not counted: one end restores the arrow
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestMainWindow::catalogsFolderCannotBeCreated()
{
    AppFixture app;
    TestSupport::writeFile(app.path("Catalogs"), "a file in the way");
    TestSupport::writeFile(app.path("Comments.TXT"), "Games\r\nkeep me\r\n");
    MainWindow &w = app.start();
    QVERIFY(!w.startedUp());
    QVERIFY(app.dialogs().lastShown().startsWith("error: "));
    app.close();
    // Nothing of the library was overwritten.
    QCOMPARE(TestSupport::readFile(app.path("Comments.TXT")), QByteArray("Games\r\nkeep me\r\n"));
    QVERIFY(!QFile::exists(app.path("Master.TXT")));
}

// A crash after a command costs nothing: the files hold the change before
// the program closes.
void TestMainWindow::treeChangesStoredAtOnce()
{
    AppFixture app(writeStorageLibrary);
    app.start();
    app.dialogs().answerText("Films");
    QVERIFY(app.trigger("Add1"));
    QCOMPARE(TestSupport::readFile(app.path("Master.TXT")),
             QByteArray("\"0\",\"0Films\"\r\n\"0\",\"0Music\"\r\n\"1\",\"0Games\",\"3Disc\"\r\n"));
    QVERIFY(app.clickCatalog("Disc"));
    app.dialogs().answerYes();
    QVERIFY(app.trigger("Delete1"));
    QVERIFY(!QFile::exists(app.path("Catalogs/Disc.TXT")));
    QCOMPARE(TestSupport::readFile(app.path("Catalogs/Master")), QByteArray());
    QCOMPARE(TestSupport::readFile(app.path("Comments.TXT")), QByteArray());
    QCOMPARE(TestSupport::readFile(app.path("Master.TXT")),
             QByteArray("\"0\",\"0Films\"\r\n\"0\",\"0Games\"\r\n\"0\",\"0Music\"\r\n"));
}

void TestMainWindow::unreadableFileAtStartUp_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"Master.TXT", "Catalogs/Master", "Comments.TXT"})
        QTest::newRow(file) << QString(file);
}

void TestMainWindow::unreadableFileAtStartUp()
{
    QFETCH(QString, file);
    AppFixture app(writeStorageLibrary);
    QVERIFY(QFile::remove(app.path(file)));
    QVERIFY(QDir().mkpath(app.path(file)));
    MainWindow &w = app.start();
    QVERIFY(w.startedUp());
    QCOMPARE(app.dialogs().shown().size(), 1);
    QVERIFY(app.dialogs().lastShown().startsWith("error: "));
    QVERIFY2(app.dialogs().lastShown().contains(app.path(file)), qPrintable(app.dialogs().lastShown()));
    QCOMPARE(w.state().tree.findCategory(u"Sample Category"), -1);
    // Later changes store the other files and leave this one alone.
    app.dialogs().answerText("Films");
    QVERIFY(app.trigger("Add1"));
    app.close();
    // Neither that command nor the shutdown tried to write it.
    QCOMPARE(app.dialogs().shown().filter(QRegularExpression("^error: ")).size(), 1);
    QVERIFY(QFileInfo(app.path(file)).isDir());
}

void TestMainWindow::unloadedLinesCounted()
{
    AppFixture app(writeStorageLibrary);
    app.writeLines("Master.TXT",
                   {"\"1\",\"0Games\",\"3Disc\"", "\"99999999999\",\"0Huge\"", "\"1\",\"0Bad\",\"\""});
    MainWindow &w = app.start();
    QCOMPARE(w.windowTitle(),
             QString("Kestrovane v2.01 - 2 Line(s) Of Master.TXT Could Not Be Read And Are Kept Unchanged"));
    QVERIFY(app.dialogs().shown().isEmpty());
}

void TestMainWindow::fullDiskChangeUndone()
{
    AppFixture app;
    QString reason;
    if (!TestSupport::mountTmpfs(app.root(), 256, &reason))
        QSKIP(qPrintable(reason));
    writeStorageLibrary(app);
    const QByteArray tree = TestSupport::readFile(app.path("Master.TXT"));
    MainWindow &w = app.start();
    TestSupport::fillDisk(app.root());
    app.dialogs().answerText("Films");
    QVERIFY(app.trigger("Add1"));
    const QString shown = app.dialogs().lastShown();
    const QString title = w.windowTitle();
    const int categories = w.state().tree.categoryCount();
    const QByteArray stored = TestSupport::readFile(app.path("Master.TXT"));
    app.close();
    TestSupport::unmount(app.root());
    QVERIFY2(shown.startsWith("error: "), qPrintable(shown));
    QCOMPARE(title, QString("Kestrovane v2.01 - Failed To Save Catalog"));
    QCOMPARE(categories, 2);
    QCOMPARE(stored, tree);
}

void TestMainWindow::unreadableSettingsNeverWritten_data()
{
    QTest::addColumn<QString>("kind");
    for (const QString &kind : TestSupport::unreadableKinds())
        QTest::newRow(qPrintable(kind)) << kind;
}

// Said once at start-up; neither the run nor its close writes the file.
void TestMainWindow::unreadableSettingsNeverWritten()
{
    QFETCH(QString, kind);
    AppFixture app(writeStorageLibrary);
    app.writeLines("Kestrovane.INI", {"[Global]", "Panel1_Width=90"});
    const QString ini = app.path("Kestrovane.INI");
    QVERIFY(TestSupport::makeUnreadable(ini, kind));
    const QByteArray before = TestSupport::fileState(ini);
    QVERIFY(TestSupport::readOverride(false));
    auto restore = qScopeGuard([] { TestSupport::readOverride(true); });
    app.start();
    app.dialogs().answerText("Films");
    const bool added = app.trigger("Add1");
    app.close();
    restore.dismiss();
    QVERIFY(TestSupport::readOverride(true));
    QVERIFY(added);
    const QStringList errors = app.dialogs().shown().filter(QRegularExpression("^error: "));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith("error: The settings file " + ini + " exists but cannot be read"),
             qPrintable(errors.first()));
    QVERIFY(TestSupport::readFile(app.path("Master.TXT")).contains("Films"));
    QCOMPARE(TestSupport::fileState(ini), before);
}

void TestMainWindow::tooltipsStoredOffStayOff()
{
    AppFixture app;
    app.writeLines("Kestrovane.INI", {"[Global]", "TooltipsOn1_Checked=False"});
    MainWindow &w = app.start();
    w.show();
    QCOMPARE(w.action("TooltipsOn1")->text(), QString("Tooltips Off"));
    QVERIFY(!w.action("TooltipsOn1")->isChecked());
    QCOMPARE(w.windowTitle(), MainWindow::Caption);
    QVERIFY(!hintShownOver(w.tableView()->viewport()));
    QVERIFY(app.trigger("TooltipsOn1"));
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01 - Tooltips On"));
    QCOMPARE(w.action("TooltipsOn1")->text(), QString("Tooltips On"));
    QVERIFY(hintShownOver(w.tableView()->viewport()));
    QToolTip::hideText();
}

void TestMainWindow::coloursAppliedAndRestored_data()
{
    QTest::addColumn<QString>("storedHint");
    QTest::addColumn<QString>("storedText");
    QTest::addColumn<QColor>("hint");
    QTest::addColumn<QColor>("text"); // invalid: the system's colour stays
    QTest::newRow("defaults") << "65535" << QString("0") << QColor(Qt::yellow) << QColor();
    QTest::newRow("red hints, navy text")
        << "255" << QString("8388608") << QColor(Qt::red) << QColor(0, 0, 128);
    QTest::newRow("unnamed colours ignored")
        << "1193046" << QString("-16777208") << QColor(Qt::yellow) << QColor();
}

void TestMainWindow::coloursAppliedAndRestored()
{
    QFETCH(QString, storedHint);
    QFETCH(QString, storedText);
    QFETCH(QColor, hint);
    QFETCH(QColor, text);
    AppFixture app;
    app.writeLines("Kestrovane.INI", {"[Global]", "Hintcolorcombo_ColorValue=" + storedHint,
                                      "Textcolorcombo_ColorValue=" + storedText});
    const QColor systemText = QApplication::palette().color(QPalette::WindowText);
    MainWindow &w = app.start();
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), hint);
    QCOMPARE(w.palette().color(QPalette::WindowText), text.isValid() ? text : systemText);

    // The user's choice is applied at once and kept for the next start.
    QVERIFY(app.trigger("SetTooltipAndTextColor1"));
    QCOMPARE(w.panel("Colordlg")->title(), QString("Set Text And Hint Color"));
    auto *hintPicker = w.findChild<QComboBox *>("Hintcolorcombo");
    auto *textPicker = w.findChild<QComboBox *>("Textcolorcombo");
    hintPicker->setCurrentText("Aqua");
    textPicker->setCurrentText("Maroon");
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(Qt::cyan));
    QCOMPARE(w.tableView()->palette().color(QPalette::Text), QColor(128, 0, 0));
    MainWindow &again = app.restart();
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(Qt::cyan));
    QCOMPARE(again.palette().color(QPalette::WindowText), QColor(128, 0, 0));
}

void TestMainWindow::closeQuery_data()
{
    QTest::addColumn<QString>("view"); // catalog or scan (a saved run)
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("stored");
    QTest::newRow("catalog edited, no") << "catalog" << true << false << "note";
    QTest::newRow("saved run edited, yes") << "scan" << true << true << "new";
    QTest::newRow("nothing pending") << "catalog" << false << false << "note";
}

void TestMainWindow::closeQuery()
{
    QFETCH(QString, view);
    QFETCH(bool, edit);
    QFETCH(bool, answer);
    QFETCH(QString, stored);
    AppFixture app(writeStorageLibrary);
    MainWindow &w = app.startWithOpen("Disc");
    if (edit)
        QVERIFY(w.tableModel()->setData(w.tableModel()->index(0, 4), "new"));
    if (view == "scan") {
        w.state().openCatalogName.clear();
        w.state().savedScanName = "Disc";
    }
    const bool asks = edit;
    if (asks)
        answer ? app.dialogs().answerYes() : app.dialogs().answerNo();
    app.close();
    QVERIFY2(app.dialogs().unexpected().isEmpty(), qPrintable(app.dialogs().unexpected()));
    QVERIFY(app.dialogs().allAnswersUsed());
    QCOMPARE(app.dialogs().shown().size(), asks ? 1 : 0);
    if (asks)
        QCOMPARE(app.dialogs().shown().first(), QString("confirm: Proceed to save changes to Disc catalog?"));
    QStringList lines;
    QVERIFY(TextFile::readLines(app.path("Catalogs/Disc.TXT"), lines));
    QCOMPARE(CommaText::split(lines.value(0)).value(4), stored);
    QVERIFY(QFile::exists(app.path("Kestrovane.INI"))); // the shutdown ran whatever the answer
}

// Tab visits each of the 34 contents links and 9 up-arrows in turn, Enter
// follows the focused one, and screen readers get a window with its text.
void TestMainWindow::helpLinksByKeyboard()
{
    AppFixture app;
    MainWindow &w = app.start();
    QVERIFY(app.trigger("Help1"));
    HelpWindow *help = w.helpWindow();
    QVERIFY(QTest::qWaitForWindowActive(help));
    QTextBrowser *browser = help->browser();
    QCOMPARE(QApplication::focusWidget(), browser);
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(help);
    QCOMPARE(window->role(), QAccessible::Window);
    QAccessibleInterface *text = QAccessible::queryAccessibleInterface(browser);
    QVERIFY(text->state().readOnly && text->textInterface());
    QVERIFY(text->textInterface()->text(0, 200).contains("Catalogs"));
    QScrollBar *bar = browser->verticalScrollBar();
    QStringList reached;
    for (int i = 0; i < 43; ++i) {
        QTest::keyClick(browser, Qt::Key_Tab);
        const QTextCursor cursor = browser->textCursor();
        QVERIFY(cursor.hasSelection() && cursor.charFormat().isAnchor());
        reached << QString::number(cursor.selectionStart());
        if (i == 0) {
            QCOMPARE(bar->value(), 0);
            QTest::keyClick(browser, Qt::Key_Return);
            QVERIFY(bar->value() > 0); // on the first section
        }
    }
    reached.removeDuplicates();
    QCOMPARE(reached.size(), 43);
    // Every link names an anchor of the page; each section's up-arrow the top.
    QTextDocument *doc = browser->document();
    const QSet<QString> anchors = anchorNames(doc);
    for (const QString &href : linkTargets(doc))
        QVERIFY2(anchors.contains(QUrl(href).fragment()), qPrintable(href));
    QCOMPARE(doc->toHtml().count("href=\"#top\""), int(HelpDocument::groups().size()));
    help->followLink(QUrl("#top"));
    QCOMPARE(bar->value(), 0);
}

void TestMainWindow::initTestCase()
{
    // As the program's main block does before it makes the main window.
    AppIdentity::apply();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Kestrovane"));
}

// Qt's xcb platform appends " — " and the display name to a title that
// does not end with it; the program sets none, so the bar shows the caption.
void TestMainWindow::titleBarShowsExactlyTheCaption()
{
    AppFixture app;
    MainWindow &w = app.start();
    w.StatusLine(QStringLiteral("Busy"));
    w.StatusLine(QString());
    QCOMPARE(w.windowTitle(), QString("Kestrovane v2.01"));
    QCOMPARE(ownDisplayName(), QString());
}

// An install whose prefix the desktop does not search (or a run from the
// build folder) still shows the program's own icon.
void TestMainWindow::windowIconWithoutIconTheme()
{
    QTemporaryDir noThemes;
    QIcon::setThemeSearchPaths({noThemes.path()});
    QIcon::setFallbackSearchPaths({});
    AppIdentity::apply();
    QVERIFY(!QGuiApplication::windowIcon().pixmap(32).isNull());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
