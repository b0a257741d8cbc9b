#include "AppFixture.h"
#include "TestSupport.h"

#include "CategoryTreeModel.h"
#include "CommentsController.h"
#include "CreateCatPanel.h"
#include "DuplicateImportDialog.h"
#include "FileCommentPanel.h"
#include "ImportController.h"
#include "IndexingController.h"
#include "ToolPanel.h"
#include "UpgradePanel.h"
#include "library/CommaText.h"
#include "library/TextFile.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using Choice = Dialogs::DuplicateImportChoice;

namespace {

QString entry(const char *name)
{
    return CommaText::join({name, "10", "01/02/1999 10:00:00", "D:\\", ""});
}

const char *const kImportButtons[] = {"Colimport", "Commimport", "Maskimport", "Catimport"};

QStringList labels(UpgradePanel *p)
{
    QStringList texts;
    for (const char *button : kImportButtons)
        texts << p->findChild<QLabel *>(QLatin1String(button) + "label")->text();
    return texts;
}

} // namespace

class TstUpgradeDlg : public QObject
{
    Q_OBJECT

private slots:
    void panelFlow();
    void duplicateDialogAnswers_data();
    void duplicateDialogAnswers();
};

void TstUpgradeDlg::panelFlow()
{
    AppFixture app;
    const QString old = app.path("prefix/drive_c/Old");
    QVERIFY(QDir().mkpath(old));
    QVERIFY(QFile::copy(KESTROVANE_TEST_DATA "/upgrade/user.reg", app.path("prefix/user.reg")));
    QVERIFY(
        TestSupport::writeLines(old + "/Catalogs/CdRom/Disc1.TXT", {"1 Files", "0 Directories", entry("a")}));
    QVERIFY(TestSupport::writeLines(old + "/Catalogs/Removable/Floppy.TXT",
                                    {"1 Files", "0 Directories", entry("b")}));
    app.writeLines("Master.TXT", {"\"1\",\"0Saved\",\"3Disc1\""});
    app.writeLines("Catalogs/Disc1.TXT", {entry("mine")});

    MainWindow &w = app.start();
    w.treeView()->expand(w.treeModel()->index(0, 0));
    QVERIFY(app.clickCategory("Saved"));
    QVERIFY(app.trigger("UpgradeTov2xx1"));
    ToolPanel *panel = w.panel("Upgradedlg");
    UpgradePanel *p = w.feature<ImportController>()->upgradePanel();
    QVERIFY(panel->isVisibleTo(&w));
    QCOMPARE(panel->title(), QStringLiteral("Upgrade To v2.0"));
    QCOMPARE(labels(p), (QStringList{"Pre-Set Column Widths", "Pre-Defined Comments", "Pre-Set File Mask(s)",
                                     "Catalogs"}));
    QVERIFY(!p->findChild<QPushButton *>("Catimport")->isEnabled());
    p->setDirectory(old);

    app.dialogs().answerDuplicateImport(Choice::Overwrite);
    for (const char *button : kImportButtons)
        p->findChild<QPushButton *>(button)->click();
    QCOMPARE(labels(p), (QStringList{"Pre-Set Column Widths Imported", "3 Pre-Defined Comments Imported",
                                     "2 File Mask(s) Imported", "Imported 2 Catalogs"}));
    QVERIFY(app.dialogs().allAnswersUsed());
    QCOMPARE(app.dialogs().lastShown(), QStringLiteral("duplicate import: Disc1"));
    QCOMPARE(w.settings().readString("Colsizes", "Col0"), QStringLiteral("120"));
    QCOMPARE(w.feature<IndexingController>()->createCatPanel()->masks(), (QStringList{"*.DOC", "*.txt"}));
    QCOMPARE(w.feature<CommentsController>()->fileCommentPanel()->items(),
             (QStringList{"Backup \"old\" disk", "KEEP", "tab\there\\back"}));
    // The overwritten catalog stays where it was filed.
    QCOMPARE(app.treeCatalogs("Saved"), QStringList{"Disc1"});
    QCOMPARE(app.treeCatalogs("Imported"), QStringList{"Floppy"});
    // The rebuilt tree is as the user left it, though "Imported" now comes
    // first: Saved open and selected.
    QCOMPARE(w.treeModel()->nodeText(w.treeModel()->index(1, 0)), QStringLiteral("Saved"));
    QVERIFY(w.treeView()->isExpanded(w.treeModel()->index(1, 0)));
    QVERIFY(!w.treeView()->isExpanded(w.treeModel()->index(0, 0)));
    QCOMPARE(w.treeModel()->nodeText(w.treeView()->currentIndex()), QStringLiteral("Saved"));

    // Reopening resets the labels; the lists reach the settings at close.
    QVERIFY(app.trigger("UpgradeTov2xx1"));
    QCOMPARE(labels(p).first(), QStringLiteral("Pre-Set Column Widths"));
    MainWindow &again = app.restart();
    QCOMPARE(again.settings().readList("Global.predefinedbox_Items"),
             (QStringList{"Backup \"old\" disk", "KEEP", "tab\there\\back"}));
    QCOMPARE(again.settings().readList("Global.Masklistbox_Items"), (QStringList{"*.DOC", "*.txt"}));
    QCOMPARE(app.treeCatalogs("Imported"), QStringList{"Floppy"});
}

void TstUpgradeDlg::duplicateDialogAnswers_data()
{
    QTest::addColumn<QString>("button"); // empty: press Escape
    QTest::addColumn<int>("expected");
    QTest::newRow("rename") << "Rename" << int(Choice::Rename);
    QTest::newRow("skip") << "Skip" << int(Choice::Skip);
    QTest::newRow("overwrite") << "Overwrite" << int(Choice::Overwrite);
    QTest::newRow("escape") << "" << int(Choice::Skip);
}

void TstUpgradeDlg::duplicateDialogAnswers()
{
    QFETCH(QString, button);
    QFETCH(int, expected);
    DuplicateImportDialog dialog;
    // A failed check inside the dialog would leave it open: read, then check.
    QString shown, spoken;
    QTimer::singleShot(0, &dialog, [&] {
        const QLabel *from = dialog.findChild<QLabel *>("Fromname");
        shown = from->text();
        spoken = from->accessibleName();
        QTest::keyClicks(dialog.findChild<QLineEdit *>("Toname"), "Disc2");
        if (button.isEmpty())
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.findChild<QPushButton *>(button)->click();
    });
    QCOMPARE(int(dialog.ask("Disc1")), expected);
    QCOMPARE(shown, QStringLiteral("Disc1"));
    QCOMPARE(spoken, QStringLiteral("Disc1"));
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(dialog.newName(), QStringLiteral("Disc2"));
}

QTEST_MAIN(TstUpgradeDlg)
#include "tst_upgradedlg.moc"
