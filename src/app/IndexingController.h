#pragma once

#include "AppRunControl.h"
#include "FeatureController.h"
#include "indexing/IndexingRun.h"
#include "indexing/UpdateLocation.h"
#include "indexing/UpdateRun.h"
#include "indexing/VolumeInfo.h"
#include "library/SaveNewCatalog.h"

#include <functional>
#include <optional>

class CreateCatPanel;
class UpdatePanel;

// Indexing: the create panel (reading the volume, the run, Stop, saving the
// run as a new catalog or merging it into a stored one, the masks) and the
// update panel, which rescans a catalog's volume into its stored file.
class IndexingController : public FeatureController
{
    Q_OBJECT
public:
    IndexingController(AppContext &context, QObject *parent);

    void createPanels() override;

    // How often a run lets the event loop in, in milliseconds.
    void setRunYieldInterval(int ms) { m_runYieldMs = ms; }
    CreateCatPanel *createCatPanel() const { return m_createCat; }
    // A finished run the user has not stored yet.
    bool unsavedScan() const { return m_unsavedScan; }
    // Stores the table's run as a catalog; true when it was stored.
    bool saveScanAs(const QString &name);

private:
    // The create panel and its run.
    void createCreatePanel();
    // Keeps the form in step with the create panel's stored controls.
    void storeCreateChoices();
    void showCreatePanel();
    bool offerToSaveScan();
    void browseIndexDirectory();
    void showVolume(const QString &path);
    void refreshVolume();
    void editDiskLabel();
    void ejectDisc();
    void startIndexing();
    bool indexCataloguedMedium();
    void updateCatalog(const QString &name);
    void forgetShownCatalog();
    // The run's parameters; reads the volume of the chosen directory.
    IndexingRun::Params indexingParams();
    void endIndexing(bool showResult, const QString &summary);
    void stopRun();
    void saveScannedCatalog();
    void closeCreatePanel();
    void clearCreateMasks();
    void reloadSavedMasks();
    void showImportedMasks(const QString &key);
    void applySaveResult(const SaveNewCatalog::Result &result);
    void showMergedCatalog(const QString &name);
    int selectedCategoryRow() const;

    // The update panel and its run.
    void createUpdatePanel();
    void showUpdatePanel();
    void fillUpdatePanel(const QString &name);
    void followMedium(const QString &name, const QString &storedPath);
    void restoreUpdateMasks();
    void browseUpdateDirectory();
    void startUpdate();
    std::optional<VolumeInfo> confirmUpdateOf(const QString &path);
    void showUpdateResult(const UpdateRun::Result &result);
    QString updateDriveText() const;
    UpdateRun::Params updateParams(const QString &path, const VolumeInfo &volume) const;

    // Both runs.
    void fillScanSettings(DirectoryScan::Settings &settings, const ScanOptions &options,
                          const QStringList &masks, bool confirmZip) const;
    AppRunControl runControl(const QString &panelName, std::function<void(const QString &)> status) const;

    CreateCatPanel *m_createCat = nullptr;
    UpdatePanel *m_update = nullptr;
    std::optional<VolumeInfo> m_volume; // the create panel's volume, once read
    int m_runYieldMs = 15;
    bool m_indexing = false;
    bool m_unsavedScan = false;
    bool m_closedDuringRun = false;
    QString m_updateName;
    QString m_updateDriveType;
    QString m_updateDrive;
    QString m_updateStoredPath;
    UpdateLocation m_updateLocation; // where the catalog's medium is now
};
