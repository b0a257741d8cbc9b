// The print options panel: its stored options, printing and preview.
#include "AppFixture.h"
#include "TestSupport.h"
#include "ToolPanel.h"

#include "library/CommaText.h"
#include "table/ModelTableCells.h"
#include "table/VisualTableModel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

namespace {

void writeCatalog(AppFixture &app, const QString &name, int entries, const QString &folder = "/media/disc/")
{
    QStringList lines;
    for (int i = 0; i < entries; ++i)
        lines << CommaText::join({QString("f%1.txt").arg(i, 3, 10, QChar('0')), QString::number(i),
                                  "06/14/1998 10:20:30", folder, "c" + QString::number(i)});
    app.writeLines("Catalogs/" + name + ".TXT", lines);
}

void writeLibrary(AppFixture &app, int entries)
{
    app.writeLines("Master.TXT", {"\"1\",\"0Games\",\"3Disc\""});
    writeCatalog(app, "Disc", entries);
}

template <typename W>
W *control(MainWindow &w, const char *name)
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

class TestPrinting : public QObject
{
    Q_OBJECT
private slots:
    void storedOptionsAfterRestart();
    void storedFontKeptUnlessChosen();
    void printSelectedRegion();
    void previewShowsEveryPage();
    void previewNeverStale();
};

// First start: all four boxes on, landscape; what the user sets is there
// after a restart, under the keys of each box's place.
void TestPrinting::storedOptionsAfterRestart()
{
    AppFixture app;
    MainWindow &w = app.start();
    QVERIFY(app.trigger("PrintTable1"));
    QVERIFY(!w.panel("Printsetupdlg")->isHidden());
    QVERIFY(control<QLineEdit>(w, "Edit3")->text().isEmpty());
    QStringList captions;
    for (const char *name : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"}) {
        QVERIFY(control<QCheckBox>(w, name)->isChecked());
        captions << control<QCheckBox>(w, name)->text();
    }
    QCOMPARE(captions, QStringList({"Time", "Date", "Borders", "Page Number"}));
    const QList<QRadioButton *> orientation = w.panel("Printsetupdlg")->findChildren<QRadioButton *>();
    QCOMPARE(orientation.size(), 2);
    QVERIFY(orientation.at(0)->isChecked());

    control<QCheckBox>(w, "CheckBox1")->setChecked(false);
    control<QCheckBox>(w, "CheckBox3")->setChecked(false);
    orientation.at(1)->setChecked(true);
    app.dialogs().answerFont(QFont("DejaVu Serif", 14));
    QTest::mouseClick(control<QPushButton>(w, "BitBtn1"), Qt::LeftButton);
    QVERIFY(app.dialogs().allAnswersUsed());

    MainWindow &again = app.restart();
    QVERIFY(!control<QCheckBox>(again, "CheckBox1")->isChecked());
    QVERIFY(control<QCheckBox>(again, "CheckBox2")->isChecked());
    QVERIFY(!control<QCheckBox>(again, "CheckBox3")->isChecked());
    QVERIFY(control<QCheckBox>(again, "CheckBox4")->isChecked());
    QVERIFY(again.panel("Printsetupdlg")->findChildren<QRadioButton *>().at(1)->isChecked());
    const QByteArray ini = TestSupport::readFile(app.path("Kestrovane.INI"));
    for (const char *line :
         {"CheckBox1_Checked=False", "CheckBox2_Checked=True", "RadioGroup1_ItemIndex=1",
          "FontDialog1_FontName=DejaVu Serif", "FontDialog1_FontSize=14", "FontDialog1_FontHeight=-19"})
        QVERIFY2(ini.contains(line), line);
    // The font dialog starts from the stored font.
    app.dialogs().answerNo();
    QTest::mouseClick(control<QPushButton>(again, "BitBtn1"), Qt::LeftButton);
}

// A font stored at 120 dots to the inch (8 points, 13 pixels) is not
// rewritten by a run that never opened the font dialog.
void TestPrinting::storedFontKeptUnlessChosen()
{
    AppFixture app;
    app.writeLines("Kestrovane.INI", {"[Global]", "FontDialog1_FontSize=8", "FontDialog1_FontHeight=-13"});
    app.start();
    app.close();
    QVERIFY(TestSupport::readFile(app.path("Kestrovane.INI")).contains("FontDialog1_FontHeight=-13"));
}

// "Print Selected Region" with one selected cell prints that cell alone,
// under the title typed in the panel.
void TestPrinting::printSelectedRegion()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("poppler-utils (pdftotext) is not installed");
    AppFixture app;
    writeLibrary(app, 3);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Disc"));
    QVERIFY(app.trigger("PrintTable1"));
    control<QLineEdit>(w, "Edit3")->setText("Games Disc");
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

void TestPrinting::previewShowsEveryPage()
{
    AppFixture app;
    writeLibrary(app, 120);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Disc"));
    QVERIFY(app.trigger("PreviewAll1"));
    auto *preview = w.findChild<QPrintPreviewDialog *>("Form2");
    QVERIFY(preview && preview->isVisible());
    QCOMPARE(preview->windowTitle(), QString("Print Preview"));
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    QTRY_VERIFY(pages->pageCount() > 2);
    w.tableView()->selectionModel()->select(w.tableModel()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    QVERIFY(app.trigger("PreviewSelectedRegion1"));
    QTRY_COMPARE(pages->pageCount(), 1);
}

// The preview shows the table and options of the moment it is asked for,
// even after it was closed.
void TestPrinting::previewNeverStale()
{
    AppFixture app;
    app.writeLines("Master.TXT", {"\"2\",\"0Games\",\"3Small\",\"3Large\""});
    writeCatalog(app, "Small", 3);
    writeCatalog(app, "Large", 200);
    MainWindow &w = app.start();
    QVERIFY(app.openCatalog("Small"));
    QVERIFY(app.trigger("PreviewAll1"));
    auto *preview = w.findChild<QPrintPreviewDialog *>("Form2");
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    QTRY_COMPARE(pages->pageCount(), 1);
    preview->close();
    QVERIFY(app.openCatalog("Large"));
    QVERIFY(app.trigger("PreviewAll1"));
    QTRY_VERIFY(pages->pageCount() > 2);
    const int landscapePages = pages->pageCount();
    preview->close();
    w.panel("Printsetupdlg")->findChildren<QRadioButton *>().at(1)->setChecked(true);
    QVERIFY(app.trigger("PreviewAll1"));
    QTRY_VERIFY(pages->pageCount() < landscapePages);
    QCOMPARE(pages->orientation(), QPageLayout::Portrait);
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
