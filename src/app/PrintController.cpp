#include "PrintController.h"

#include "AppContext.h"
#include "PrintOptionsPanel.h"
#include "ToolPanel.h"
#include "library/OutputTarget.h"
#include "table/ModelTableCells.h"
#include "table/PrintFont.h"
#include "table/TablePrinter.h"
#include "table/VisualTableModel.h"

#include <QItemSelectionModel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTableView>

#include <algorithm>
#include <climits>

namespace {

const QString kPrintPanel = QStringLiteral("Printsetupdlg");

} // namespace

PrintController::PrintController(AppContext &context, QObject *parent) : FeatureController(context, parent)
{
    m_ctx.onCommand(QStringLiteral("PrintTable1"), this, &PrintController::showPrintPanel);
}

void PrintController::createPanels()
{
    ToolPanel *panel =
        m_ctx.addPanel(kPrintPanel, QStringLiteral("Setup Printing Options, Then Preview Or Print"));
    m_panel = new PrintOptionsPanel(panel->body());
    panel->setContent(m_panel);
    m_panel->restore(m_ctx.form());
    m_fontChoice = PrintFont::read(m_ctx.form());

    connect(m_panel, &PrintOptionsPanel::fontClicked, this, &PrintController::chooseFont);
    m_ctx.onCommand(QStringLiteral("PreviewAll1"), this, [this] { showPreview(true); });
    m_ctx.onCommand(QStringLiteral("PreviewSelectedRegion1"), this, [this] { showPreview(false); });
    m_ctx.onCommand(QStringLiteral("PrintAll1"), this, [this] { printTable(true); });
    m_ctx.onCommand(QStringLiteral("PrintSelectedRegion1"), this, [this] { printTable(false); });
}

void PrintController::collectStoredProperties()
{
    m_panel->store(m_ctx.form());
    // Only a font chosen in this run is written back, so a stored font the
    // fonts here cannot match is not replaced by its stand-in.
    if (m_printFont)
        PrintFont::write(m_ctx.form(), *m_printFont);
}

void PrintController::showPrintPanel()
{
    m_ctx.panel(kPrintPanel)->showPanel();
    m_panel->startNewPrintout();
}

void PrintController::chooseFont()
{
    QFont font = m_printFont.value_or(m_fontChoice);
    if (!m_ctx.dialogs().chooseFont(font))
        return;
    m_printFont = font;
}

PrintOptions PrintController::printOptions() const
{
    PrintOptions options = m_panel->options();
    options.font = m_printFont;
    options.dates = m_ctx.formats();
    if (!m_printAll)
        options.region = m_printRegion;
    return options;
}

// The bounding rectangle of the selected cells; the selected cell when
// nothing is selected. The titles row is the view's header and never part
// of a selection.
CellRegion PrintController::selectedRegion() const
{
    const QItemSelection selection = m_ctx.tableView()->selectionModel()->selection();
    if (selection.isEmpty()) {
        const int column = m_ctx.selectedTableColumn();
        const int row = m_ctx.selectedTableRow();
        return {column, row, column, row};
    }
    CellRegion region{INT_MAX, INT_MAX, -1, -1};
    for (const QItemSelectionRange &range : selection) {
        region.left = std::min(region.left, range.left());
        region.right = std::max(region.right, range.right());
        region.top = std::min(region.top, range.top() + 1);
        region.bottom = std::max(region.bottom, range.bottom() + 1);
    }
    return region;
}

void PrintController::choosePrintRange(bool all)
{
    m_printAll = all;
    if (!all)
        m_printRegion = selectedRegion();
    if (!m_printer)
        m_printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    TablePrinter::applyOrientation(*m_printer, m_panel->landscape());
}

void PrintController::paintPrintout(QPrinter *printer)
{
    const VisualTableModel &model = *m_ctx.tableModel();
    QList<int> widths;
    for (int column = 0; column < model.columnCount(); ++column)
        widths << m_ctx.tableView()->columnWidth(column);
    const ModelTableCells cells(model);
    TablePrinter(cells, widths, printOptions()).print(*printer);
}

void PrintController::showPreview(bool all)
{
    choosePrintRange(all);
    if (!m_preview) {
        m_preview = new QPrintPreviewDialog(m_printer.get(), m_ctx.window());
        m_preview->setObjectName(QStringLiteral("Form2"));
        m_preview->setWindowTitle(QStringLiteral("Print Preview"));
        m_preview->setAccessibleName(QStringLiteral("Print Preview"));
        connect(m_preview, &QPrintPreviewDialog::paintRequested, this, &PrintController::paintPrintout);
        // The window is deleted with the main window's children, after this
        // controller: this connection keeps the printer alive until then.
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

void PrintController::printTable(bool all)
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
