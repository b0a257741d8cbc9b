#pragma once

#include <QString>

#include <vector>

class ResultRun;

// What the Visual Table does for the other features beyond its model and
// view (which the context holds): showing a catalog or a run's lines,
// saving or dropping its unsaved edits, and its column widths.
class TableService
{
public:
    virtual ~TableService() = default;

    // Shows a catalog in the table. It does not offer to save the table's
    // edits: callers that replace an edited table call offerSaveChanges first.
    virtual void openCatalog(const QString &name) = 0;
    // Asks whether the table's unsaved edits are saved, and does as answered.
    virtual void offerSaveChanges() = 0;
    // Sets the layout the display mode asks for and fills the table with
    // the state's file lines (taking them over).
    virtual void showFileLines() = 0;
    // The same with a search's results, one run per catalog.
    virtual void showResults(std::vector<ResultRun> &&runs) = 0;
    virtual void applyColumnWidths() = 0;
    virtual void selectTableCell(int column, int row) = 0;
    // Removes the data rows and keeps the layout, as when the catalog the
    // table shows was deleted.
    virtual void emptyTable() = 0;
    // Saves or drops what the table holds before it shows something else.
    virtual void closeQuery() = 0;
};
