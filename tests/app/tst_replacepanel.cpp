#include "AppFixture.h"
#include "TestSupport.h"

#include "ToolPanel.h"
#include "table/VisualTableModel.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QString entry(const QString &name, const QString &comment)
{
    return QString("\"%1\",\"1\",\"06/14/1998 10:00:00\",\"/media/disc/\",\"%2\"").arg(name, comment);
}

} // namespace

class TestReplacePanel : public QObject
{
    Q_OBJECT
private slots:
    void replacesAndReloadsTheTable();
};

void TestReplacePanel::replacesAndReloadsTheTable()
{
    AppFixture app;
    app.writeLines("Master.TXT", {"\"1\",\"0Discs\",\"3Films\""});
    app.writeLines("Catalogs/Films.TXT", {entry("a.iso", "box"), entry("b.iso", "old CD")});
    app.writeLines("Catalogs/Loose.TXT", {entry("c.iso", "CD, CD")});
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Films"));
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
             (entry("c.iso", "DVD, CD") + "\r\n").toUtf8());

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

QTEST_MAIN(TestReplacePanel)
#include "tst_replacepanel.moc"
