#pragma once

#include "FeatureController.h"
#include "table/PrintOptions.h"

#include <QFont>
#include <memory>
#include <optional>

class PrintOptionsPanel;
class QPrintPreviewDialog;
class QPrinter;

// Printing the table: the print options panel, the font of this run, the
// preview window and the printer.
class PrintController : public FeatureController
{
    Q_OBJECT
public:
    PrintController(AppContext &context, QObject *parent);

    void createPanels() override;
    void collectStoredProperties() override;

private:
    void showPrintPanel();
    void chooseFont();
    // Takes the print-all flag and, for a region, the table's selection.
    void choosePrintRange(bool all);
    void showPreview(bool all);
    void printTable(bool all);
    PrintOptions printOptions() const;
    CellRegion selectedRegion() const;
    void paintPrintout(QPrinter *printer);

    PrintOptionsPanel *m_panel = nullptr;
    std::shared_ptr<QPrinter> m_printer;
    QPrintPreviewDialog *m_preview = nullptr; // Form2
    QFont m_fontChoice;                       // the font dialog's starting choice
    std::optional<QFont> m_printFont;         // set by "Setup Font" in this run only
    bool m_printAll = true;
    CellRegion m_printRegion;
};
