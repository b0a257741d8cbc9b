#include "AppFixture.h"

#include "AppIdentity.h"

#include <QGuiApplication>
#include <QIcon>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

// What an X11 title bar shows for a window title: Qt's xcb platform appends
// " — " and the display name when one is set and the title does not already
// end with it. The offscreen platform of the tests shows nothing, so the rule
// is applied here.
QString x11TitleBar(const QString &title)
{
    const QString display = ownDisplayName();
    if (display.isEmpty() || title.endsWith(display))
        return title;
    return title + QStringLiteral(" \u2014 ") + display;
}

} // namespace

class TestCaption : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void titleBarShowsExactlyTheCaption_data();
    void titleBarShowsExactlyTheCaption();
    void windowIconWithoutIconTheme();
};

void TestCaption::initTestCase()
{
    // As the program's main block does before it makes the main window.
    AppIdentity::apply();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Kestrovane"));
}

void TestCaption::titleBarShowsExactlyTheCaption_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("caption");
    QTest::newRow("no status") << QString() << "Kestrovane v2.01";
    QTest::newRow("status") << "Column Widths Saved" << QString("Kestrovane v2.01 - Column Widths Saved");
    QTest::newRow("status cleared") << QString() << "Kestrovane v2.01";
}

void TestCaption::titleBarShowsExactlyTheCaption()
{
    QFETCH(QString, status);
    QFETCH(QString, caption);
    AppFixture app;
    MainWindow &w = app.start();
    w.StatusLine(QStringLiteral("Busy"));
    w.StatusLine(status);
    QCOMPARE(w.windowTitle(), caption);
    QCOMPARE(x11TitleBar(w.windowTitle()), caption);
}

// An install whose prefix the desktop does not search (or a run from the
// build folder) still shows the program's own icon.
void TestCaption::windowIconWithoutIconTheme()
{
    QTemporaryDir noThemes;
    QIcon::setThemeSearchPaths({noThemes.path()});
    QIcon::setFallbackSearchPaths({});
    AppIdentity::apply();
    QVERIFY(!QGuiApplication::windowIcon().pixmap(32).isNull());
}

QTEST_MAIN(TestCaption)
#include "tst_caption.moc"
