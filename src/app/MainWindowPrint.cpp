// The print options panel (Printsetupdlg), the preview window and printing.
#include "MainWindow.h"

#include "PanelWidgets.h"
#include "ToolPanel.h"
#include "library/OutputTarget.h"
#include "table/ModelTableCells.h"
#include "table/PrintFont.h"
#include "table/TablePrinter.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace
{

const QString kPrintPanel = QStringLiteral("Printsetupdlg");

template <typename W> W *accessible(W *widget, const QString &name)
{
    widget->setAccessibleName(name);
    return widget;
}

} // namespace

void MainWindow::createPrintsetupdlg()
{
    ToolPanel *panel = m_ctx.addPanel(kPrintPanel, QStringLiteral("Setup Printing Options, Then Preview Or Print"));
    QWidget *body = panel->body();
    auto *grid = new QGridLayout(body);
    auto *titleLabel = new QLabel(QStringLiteral("Title:"), body);
    m_printTitle = accessible(PanelWidgets::named(new QLineEdit(body), "Edit3"), QStringLiteral("Title"));
    titleLabel->setBuddy(m_printTitle);
    // Each box is captioned by what it prints; the stored keys stay those of
    // the box's place (CheckBox1 prints the time, CheckBox2 the date).
    m_printTime = PanelWidgets::checkBox(body, QStringLiteral("CheckBox1"), QStringLiteral("Time"));
    m_printDate = PanelWidgets::checkBox(body, QStringLiteral("CheckBox2"), QStringLiteral("Date"));
    m_printBorders = PanelWidgets::checkBox(body, QStringLiteral("CheckBox3"), QStringLiteral("Borders"));
    m_printPageNumbers =
        PanelWidgets::checkBox(body, QStringLiteral("CheckBox4"), QStringLiteral("Page Number"));
    for (QCheckBox *box : {m_printTime, m_printDate, m_printBorders, m_printPageNumbers})
        box->setAccessibleName(box->text());
    auto *orientation =
        accessible(PanelWidgets::named(new QGroupBox(QStringLiteral("Orientation"), body), "RadioGroup1"),
                   QStringLiteral("Orientation"));
    m_landscape =
        accessible(new QRadioButton(QStringLiteral("Landscape"), orientation), QStringLiteral("Landscape"));
    m_portrait =
        accessible(new QRadioButton(QStringLiteral("Portrait"), orientation), QStringLiteral("Portrait"));
    auto *orientationLayout = new QVBoxLayout(orientation);
    orientationLayout->addWidget(m_landscape);
    orientationLayout->addWidget(m_portrait);
    QPushButton *font = PanelWidgets::button(body, QStringLiteral("BitBtn1"), QStringLiteral("Setup Font"));
    font->setAccessibleName(font->text());
    QWidget *preview = createPrintMenuButton(
        QStringLiteral("RxSpeedButton1"), QStringLiteral("Preview"),
        {{QStringLiteral("PreviewAll1"), QStringLiteral("Preview All")},
         {QStringLiteral("PreviewSelectedRegion1"), QStringLiteral("Preview Selected Region")}});
    QWidget *print = createPrintMenuButton(
        QStringLiteral("RxSpeedButton2"), QStringLiteral("Print"),
        {{QStringLiteral("PrintAll1"), QStringLiteral("Print All")},
         {QStringLiteral("PrintSelectedRegion1"), QStringLiteral("Print Selected Region")}});
    grid->addWidget(titleLabel, 0, 0);
    grid->addWidget(m_printTitle, 0, 1, 1, 2);
    grid->addWidget(m_printTime, 1, 0);
    grid->addWidget(m_printDate, 1, 1);
    grid->addWidget(m_printBorders, 2, 0);
    grid->addWidget(m_printPageNumbers, 2, 1);
    grid->addWidget(orientation, 1, 2, 2, 1);
    grid->addWidget(font, 3, 0);
    grid->addWidget(preview, 3, 1);
    grid->addWidget(print, 3, 2);

    m_printTime->setChecked(m_ctx.form().boolean(QStringLiteral("CheckBox1_Checked")));
    m_printDate->setChecked(m_ctx.form().boolean(QStringLiteral("CheckBox2_Checked")));
    m_printBorders->setChecked(m_ctx.form().boolean(QStringLiteral("CheckBox3_Checked")));
    m_printPageNumbers->setChecked(m_ctx.form().boolean(QStringLiteral("CheckBox4_Checked")));
    (m_ctx.form().integer(QStringLiteral("RadioGroup1_ItemIndex")) == 1 ? m_portrait : m_landscape)
        ->setChecked(true);
    m_fontChoice = PrintFont::read(m_ctx.form());

    connect(font, &QPushButton::clicked, this, &MainWindow::BitBtn1Click);
    connectCommand(QStringLiteral("PrintTable1"), &MainWindow::PrintTable1Click);
    connectCommand(QStringLiteral("PreviewAll1"), &MainWindow::PreviewAll1Click);
    connectCommand(QStringLiteral("PreviewSelectedRegion1"), &MainWindow::PreviewSelectedRegion1Click);
    connectCommand(QStringLiteral("PrintAll1"), &MainWindow::PrintAll1Click);
    connectCommand(QStringLiteral("PrintSelectedRegion1"), &MainWindow::PrintSelectedRegion1Click);
}

QWidget *MainWindow::createPrintMenuButton(const QString &objectName, const QString &caption,
                                           const QList<QPair<QString, QString>> &items)
{
    QWidget *body = panel(kPrintPanel)->body();
    auto *button = new QToolButton(body);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setAccessibleName(caption);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto *menu = new QMenu(button);
    for (const auto &[name, text] : items) {
        QAction *item = menu->addAction(text);
        item->setObjectName(name);
    }
    button->setMenu(menu);
    return button;
}

void MainWindow::collectPrintProperties()
{
    if (!m_printTime)
        return;
    m_ctx.form().setBoolean(QStringLiteral("CheckBox1_Checked"), m_printTime->isChecked());
    m_ctx.form().setBoolean(QStringLiteral("CheckBox2_Checked"), m_printDate->isChecked());
    m_ctx.form().setBoolean(QStringLiteral("CheckBox3_Checked"), m_printBorders->isChecked());
    m_ctx.form().setBoolean(QStringLiteral("CheckBox4_Checked"), m_printPageNumbers->isChecked());
    m_ctx.form().setInteger(QStringLiteral("RadioGroup1_ItemIndex"), m_portrait->isChecked() ? 1 : 0);
    // Only a font chosen in this run is written back, so a stored font the
    // fonts here cannot match is not replaced by its stand-in.
    if (m_printFont)
        PrintFont::write(m_ctx.form(), *m_printFont);
}

void MainWindow::PrintTable1Click()
{
    m_printTitle->clear();
    panel(kPrintPanel)->showPanel();
    m_printTitle->setFocus();
}

void MainWindow::BitBtn1Click()
{
    QFont font = m_printFont.value_or(m_fontChoice);
    if (!m_ctx.dialogs().chooseFont(font))
        return;
    m_printFont = font;
}

PrintOptions MainWindow::printOptions() const
{
    PrintOptions options;
    options.title = m_printTitle->text();
    options.time = m_printTime->isChecked();
    options.date = m_printDate->isChecked();
    options.borders = m_printBorders->isChecked();
    options.pageNumbers = m_printPageNumbers->isChecked();
    options.landscape = !m_portrait->isChecked();
    options.font = m_printFont;
    options.dates = m_ctx.formats();
    if (!m_printAll)
        options.region = m_printRegion;
    return options;
}

// The bounding rectangle of the selected cells; the selected cell when
// nothing is selected. The titles row is the view's header and never part
// of a selection.
CellRegion MainWindow::selectedRegion() const
{
    const QItemSelection selection = m_tableView->selectionModel()->selection();
    if (selection.isEmpty())
        return {selectedTableColumn(), selectedTableRow(), selectedTableColumn(), selectedTableRow()};
    CellRegion region{INT_MAX, INT_MAX, -1, -1};
    for (const QItemSelectionRange &range : selection) {
        region.left = std::min(region.left, range.left());
        region.right = std::max(region.right, range.right());
        region.top = std::min(region.top, range.top() + 1);
        region.bottom = std::max(region.bottom, range.bottom() + 1);
    }
    return region;
}

void MainWindow::choosePrintRange(bool all)
{
    m_printAll = all;
    if (!all)
        m_printRegion = selectedRegion();
    if (!m_printer)
        m_printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    TablePrinter::applyOrientation(*m_printer, !m_portrait->isChecked());
}

void MainWindow::paintPrintout(QPrinter *printer)
{
    QList<int> widths;
    for (int column = 0; column < m_tableModel->columnCount(); ++column)
        widths << m_tableView->columnWidth(column);
    const ModelTableCells cells(*m_tableModel);
    TablePrinter(cells, widths, printOptions()).print(*printer);
}

void MainWindow::showPreview(bool all)
{
    choosePrintRange(all);
    if (!m_preview) {
        m_preview = new QPrintPreviewDialog(m_printer.get(), this);
        m_preview->setObjectName(QStringLiteral("Form2"));
        m_preview->setWindowTitle(QStringLiteral("Print Preview"));
        m_preview->setAccessibleName(QStringLiteral("Print Preview"));
        connect(m_preview, &QPrintPreviewDialog::paintRequested, this, &MainWindow::paintPrintout);
        // The window is deleted with the main window's children, after its
        // members: this connection keeps the printer alive until then.
        connect(m_preview, &QObject::destroyed, m_preview, [keep = m_printer] {});
    } else if (auto *pages = m_preview->findChild<QPrintPreviewWidget *>()) {
        // The preview paints itself only when first shown; after that it
        // asks for the pages again here, with the table and options of this
        // moment, open or closed in between.
        pages->updatePreview();
    }
    m_preview->setWindowState(Qt::WindowMaximized);
    m_preview->show();
    m_preview->raise();
}

void MainWindow::printTable(bool all)
{
    choosePrintRange(all);
    if (!m_ctx.dialogs().choosePrinter(*m_printer))
        return;
    // Printing to a file writes it as an export does.
    const QString file = m_printer->outputFileName();
    if (const QString refusal = file.isEmpty() ? QString() : OutputTarget::refusal(m_ctx.library(), file);
        !refusal.isEmpty()) {
        m_ctx.dialogs().error(refusal);
        return;
    }
    paintPrintout(m_printer.get());
}
