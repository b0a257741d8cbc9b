#pragma once

#include "FeatureController.h"
#include "table/ExportFile.h"
#include "table/TableSearch.h"

class TableSearchPanel;

// The tools that work on whatever the table shows: the table search panel
// with Find First and Find Next, deleting the file behind a row, the
// clipboard commands and saving the table as a text or HTML file.
class TableToolsController : public FeatureController
{
    Q_OBJECT
public:
    TableToolsController(AppContext &context, QObject *parent);

    void createPanels() override;

private:
    void showTableSearchPanel();
    void findFirstInTable();
    void findNextInTable();
    void showTableSearchOutcome(TableSearch::Outcome outcome);
    void deleteSelectedFile();
    void copyWholeTable();
    void copySelectedRegion();
    void pasteFromClipboard();
    void exportTextFile();
    void exportHtmlFile();
    // The path the user chose for an export of one kind; empty when there
    // is nothing to write.
    QString askExportPath(const QString &filter, const QString &extension);
    void writeExport(const QString &path, const ExportFile::Producer &produce);

    TableSearchPanel *m_searchPanel = nullptr;
    TableSearch m_search;
};
