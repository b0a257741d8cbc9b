#include "AppFixture.h"
#include "TestSupport.h"

#include "HelpDocument.h"
#include "HelpWindow.h"
#include "LinkLabel.h"
#include "SpinningDisc.h"
#include "ToolPanel.h"
#include "library/CommaText.h"
#include "library/TextFile.h"
#include "table/VisualTableModel.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolTip>

namespace {

QString entry(const QString &name, const QString &comment = QString())
{
    return QString("\"%1\",\"10\",\"06/14/1998 10:00:00\",\"/media/disc/\",\"%2\"").arg(name, comment);
}

void writeLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"1Backup\""});
    app.writeLines("Catalogs/Master", {"Backup", ""});
    app.writeLines("Catalogs/Backup.TXT", {entry("a.txt"), entry("b.txt")});
}

QString storedComment(AppFixture &app, int line)
{
    QStringList lines;
    TextFile::readLines(app.path("Catalogs/Backup.TXT"), lines);
    return CommaText::split(lines.value(line)).value(4);
}

bool hintShownOver(QWidget *widget)
{
    QToolTip::hideText();
    QHelpEvent hint(QEvent::ToolTip, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &hint);
    return QToolTip::isVisible();
}

// Each anchor of the document with the vertical position it starts at.
QHash<QString, qreal> anchorPositions(QTextDocument *doc)
{
    QHash<QString, qreal> positions;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            for (const QString &name : it.fragment().charFormat().anchorNames())
                positions.insert(name, doc->documentLayout()->blockBoundingRect(block).top());
    return positions;
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

} // namespace

class TestGeneral : public QObject
{
    Q_OBJECT
private slots:
    void tooltipsStoredOffStayOff();
    void coloursAppliedAndRestored_data();
    void coloursAppliedAndRestored();
    void closeQuery_data();
    void closeQuery();
    void trayOrPlainMinimise();
    void helpLinksLand();
    void helpLinksByKeyboard();
    void aboutAnimatesOnlyWhileShown();
};

void TestGeneral::tooltipsStoredOffStayOff()
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
    QVERIFY(hintShownOver(w.tableView()->viewport()));
    QToolTip::hideText();
}

void TestGeneral::coloursAppliedAndRestored_data()
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

void TestGeneral::coloursAppliedAndRestored()
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

void TestGeneral::closeQuery_data()
{
    QTest::addColumn<QString>("view"); // catalog or scan (a saved run)
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("stored");
    QTest::newRow("catalog edited, yes") << "catalog" << true << true << "new";
    QTest::newRow("catalog edited, no") << "catalog" << true << false << "";
    QTest::newRow("saved run edited, yes") << "scan" << true << true << "new";
    QTest::newRow("nothing pending") << "catalog" << false << false << "";
}

void TestGeneral::closeQuery()
{
    QFETCH(QString, view);
    QFETCH(bool, edit);
    QFETCH(bool, answer);
    QFETCH(QString, stored);
    AppFixture app;
    writeLibrary(app);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Backup"));
    if (edit)
        QVERIFY(w.tableModel()->setData(w.tableModel()->index(0, 4), "new"));
    if (view == "scan") {
        w.state().openCatalogName.clear();
        w.state().savedScanName = "Backup";
    }
    const bool asks = edit;
    if (asks)
        answer ? app.dialogs().answerYes() : app.dialogs().answerNo();
    app.close();
    QVERIFY2(app.dialogs().unexpected().isEmpty(), qPrintable(app.dialogs().unexpected()));
    QVERIFY(app.dialogs().allAnswersUsed());
    QCOMPARE(app.dialogs().shown().size(), asks ? 1 : 0);
    if (asks)
        QCOMPARE(app.dialogs().shown().first(),
                 QString("confirm: Proceed to save changes to Backup catalog?"));
    QCOMPARE(storedComment(app, 0), stored);
    QVERIFY(QFile::exists(app.path("Kestrovane.INI"))); // the shutdown ran whatever the answer
}

void TestGeneral::trayOrPlainMinimise()
{
    AppFixture app;
    MainWindow &w = app.start();
    w.show();
    QCOMPARE(w.action("ShowKestrovane1")->text(), QString("Show Kestrovane"));
    w.showMinimized();
    QCoreApplication::processEvents();
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        QVERIFY(!w.isVisible()); // hidden to the tray
        auto *tray = w.findChild<QSystemTrayIcon *>();
        QVERIFY(tray);
        QCOMPARE(tray->toolTip(), QString("Kestrovane v 2.0"));
        emit tray->activated(QSystemTrayIcon::Trigger);
    } else {
        // Without a tray the window only minimises, so it can always be found.
        QVERIFY(w.isVisible());
        QVERIFY(!w.findChild<QSystemTrayIcon *>());
        QVERIFY(app.trigger("ShowKestrovane1"));
    }
    QVERIFY(w.isVisible() && !w.isMinimized());
    QVERIFY(app.trigger("Exit1"));
    QVERIFY(QFile::exists(app.path("Kestrovane.INI")));
}

void TestGeneral::helpLinksLand()
{
    AppFixture app;
    MainWindow &w = app.start();
    QVERIFY(app.trigger("Help1"));
    HelpWindow *help = w.helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->windowTitle(), QString("Kestrovane Help"));
    QTextBrowser *browser = help->browser();
    QTextDocument *doc = browser->document();
    doc->setTextWidth(browser->viewport()->width());
    const QHash<QString, qreal> anchors = anchorPositions(doc);
    const QStringList hrefs = linkTargets(doc);
    QCOMPARE(hrefs.size(), 37); // 36 contents links and the up-arrows' one target
    QScrollBar *bar = browser->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    for (const QString &href : hrefs) {
        const QString name = QUrl(href).fragment();
        QVERIFY2(anchors.contains(name), qPrintable(href));
        if (name == HelpDocument::topAnchor())
            continue;
        help->followLink(QUrl(href));
        QVERIFY2(qAbs(bar->value() - qMin<int>(int(anchors.value(name)), bar->maximum())) <= 2,
                 qPrintable(href));
    }
    // Each of the nine sections has an up-arrow back to the top.
    QCOMPARE(doc->toHtml().count("href=\"#top\""), int(HelpDocument::groups().size()));
    QCOMPARE(HelpDocument::groups().size(), size_t(9));
    help->followLink(QUrl("#top"));
    QCOMPARE(bar->value(), 0);
}

// Tab visits each of the 34 contents links and 9 up-arrows in turn, Enter
// follows the focused one, and screen readers get a window with its text.
void TestGeneral::helpLinksByKeyboard()
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
}

void TestGeneral::aboutAnimatesOnlyWhileShown()
{
    AppFixture app;
    MainWindow &w = app.start();
    w.show();
    auto *disc = w.findChild<SpinningDisc *>();
    QVERIFY(disc && !disc->isSpinning());
    QVERIFY(app.trigger("About1"));
    ToolPanel *about = w.panel("Aboutdlg");
    QCOMPARE(about->title(), QString("About Kestrovane"));
    QVERIFY(disc->isSpinning());
    auto *mail = w.findChild<LinkLabel *>("Emaillabel");
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(mail, &enter);
    QCOMPARE(mail->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QCOMPARE(mail->cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(mail, &leave);
    QCOMPARE(mail->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(mail->cursor().shape(), Qt::ArrowCursor);
    // This build sets no addresses: the links say so and do nothing.
    for (const char *name : {"Emaillabel", "Homepagelabel"}) {
        auto *link = w.findChild<LinkLabel *>(name);
        QVERIFY(link->toolTip().startsWith("No "));
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::keyClick(link, Qt::Key_Return);
        QVERIFY(about->isVisible() && disc->isSpinning() && !w.isMinimized());
    }
    about->hide();
    QVERIFY(!disc->isSpinning());
}

QTEST_MAIN(TestGeneral)
#include "tst_general.moc"
