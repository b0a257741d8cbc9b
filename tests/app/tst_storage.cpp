// The program stores each change of the tree and its lists at once, tells
// the user about library files it cannot read, and keeps what it cannot load.
#include "AppFixture.h"
#include "TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

namespace {

void writeLibrary(AppFixture &app)
{
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Disc\"", "\"0\",\"0Music\""});
    app.writeLines("Catalogs/Master", {"Disc", "\"1\""});
    app.writeLines("Comments.TXT", {"Disc", "the disc"});
    app.writeLines("Catalogs/Disc.TXT", {"\"a.txt\",\"1\",\"\",\"/m/\",\"note\""});
}

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT
private slots:
    void treeChangesStoredAtOnce();
    void unreadableFileAtStartUp_data();
    void unreadableFileAtStartUp();
    void unloadedLinesCounted();
    void fullDiskChangeUndone();
    void unreadableSettingsNeverWritten_data();
    void unreadableSettingsNeverWritten();
};

// A crash after a command costs nothing: the files hold the change before
// the program closes.
void TestStorage::treeChangesStoredAtOnce()
{
    AppFixture app;
    writeLibrary(app);
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

void TestStorage::unreadableFileAtStartUp_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"Master.TXT", "Catalogs/Master", "Comments.TXT"})
        QTest::newRow(file) << QString(file);
}

void TestStorage::unreadableFileAtStartUp()
{
    QFETCH(QString, file);
    AppFixture app;
    writeLibrary(app);
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

void TestStorage::unloadedLinesCounted()
{
    AppFixture app;
    writeLibrary(app);
    app.writeLines("Master.TXT",
                   {"\"1\",\"0Games\",\"3Disc\"", "\"99999999999\",\"0Huge\"", "\"1\",\"0Bad\",\"\""});
    MainWindow &w = app.start();
    QCOMPARE(w.windowTitle(),
             QString("Kestrovane v2.01 - 2 Line(s) Of Master.TXT Could Not Be Read And Are Kept Unchanged"));
    QVERIFY(app.dialogs().shown().isEmpty());
}

void TestStorage::fullDiskChangeUndone()
{
    AppFixture app;
    QString reason;
    if (!TestSupport::mountTmpfs(app.root(), 256, &reason))
        QSKIP(qPrintable(reason));
    writeLibrary(app);
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

void TestStorage::unreadableSettingsNeverWritten_data()
{
    QTest::addColumn<QString>("kind");
    for (const QString &kind : TestSupport::unreadableKinds())
        QTest::newRow(qPrintable(kind)) << kind;
}

// Said once at start-up; neither the run nor its close writes the file.
void TestStorage::unreadableSettingsNeverWritten()
{
    QFETCH(QString, kind);
    AppFixture app;
    writeLibrary(app);
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

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
