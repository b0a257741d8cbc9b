#pragma once

#include "FeatureController.h"
#include "UpgradePanel.h"

// The import from the earlier version: the panel "Upgrade To v2.0" and its
// four imports. The rules live in src/upgrade; this reads the panel, asks
// the user and shows the results.
class ImportController : public FeatureController
{
    Q_OBJECT
public:
    ImportController(AppContext &context, QObject *parent);

    void createPanels() override;
    UpgradePanel *upgradePanel() const { return m_panel; }

private:
    void showImportPanel();
    void browseOldDirectory();
    void importRow(UpgradePanel::Row row);
    void importColumnWidths();
    void importPredefinedComments();
    void importFileMasks();
    void importCatalogs();

    UpgradePanel *m_panel = nullptr;
};
