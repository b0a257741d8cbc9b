#pragma once

#include "FeatureController.h"
#include "TableService.h"
#include "library/CatalogSaving.h"

class PopupMenu;
class QKeyEvent;
class QPoint;
class QTableView;
class VisualTableModel;

// The Visual Table: its layouts and filling, column widths and their
// commands, keys, sorting, cell edits and pop-up menu; opening the selected
// catalog into it, saving its changes back, and the catalog information.
// The window owns the view and the model.
class TableController : public FeatureController, public TableService
{
    Q_OBJECT
public:
    TableController(AppContext &context, QObject *parent);

    // The table starts empty, in the catalog layout with the stored widths.
    void createPanels() override;

    void openCatalog(const QString &name) override;
    void offerSaveChanges() override;
    void showFileLines() override;
    void showResults(std::vector<ResultRun> &&runs) override;
    void applyColumnWidths() override;
    void selectTableCell(int column, int row) override;
    void emptyTable() override;
    void closeQuery() override;

    // Enter, Delete and the jump letters in the table (the window routes
    // them here).
    void keyPressed(QKeyEvent *event);

private:
    void connectView();
    void setCatalogLayout();
    void setResultLayout();
    // The layout the display mode asks for.
    void setTableLayout();
    void fillTableFromFileLines();
    void deleteSelectedRow();
    void jumpToRowStartingWith(QChar letter);
    void sortByColumn(int column);
    void noteUnsavedEdit();
    void showContextMenu(const QPoint &pos);
    // The widths stored for the table's layout, one per column; none for a
    // table of no known layout.
    QList<int> storedColumnWidths() const;
    void saveColumnWidths();
    void resizeAllColumnsToDefault();
    void resizeSelectedColumnToDefault();
    void expandSelectedColumn();

    void viewSelectedNode();
    // "<name> Catalog <files> Files <directories> Directories", or less
    // without its information line.
    QString catalogSummary(const QString &name) const;
    void saveTableChanges();
    void saveChangesTo(const QString &name);
    // Writes the table rows into a catalog file; false after reporting.
    bool writeTableRows(const QString &name);
    void showCatalogInformation();

    QTableView *m_view;
    VisualTableModel *m_model;
    PopupMenu *m_menu; // PopupMenu1
};
