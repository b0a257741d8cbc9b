#include "IndexingController.h"

#include "AppContext.h"
#include "AppRunControl.h"
#include "CategoryTreeModel.h"
#include "CreateCatPanel.h"
#include "TableService.h"
#include "ToolPanel.h"
#include "TreeService.h"
#include "UpdatePanel.h"
#include "indexing/IndexingRun.h"
#include "indexing/MaskList.h"
#include "indexing/UpdateRun.h"
#include "indexing/VolumeCommands.h"
#include "library/CatalogInfo.h"
#include "library/MountedCatalogs.h"
#include "settings/LastFolder.h"
#include "table/VisualTableModel.h"

namespace {

const QString kCreatePanel = QStringLiteral("CreateCat");
const QString kUpdatePanel = QStringLiteral("Updatedlg");
const QString kMasksKey = QStringLiteral("Masklistbox_Items");
const QString kCreateTitle = QStringLiteral("Select A Drive Or Directory, Set Options, Then Start");
const QString kNameFirst = QStringLiteral("Please specify a name for this catalog first!");

bool stored(SaveNewCatalog::Outcome outcome)
{
    return outcome == SaveNewCatalog::Outcome::Saved || outcome == SaveNewCatalog::Outcome::Overwrote ||
           outcome == SaveNewCatalog::Outcome::Updated;
}

} // namespace

IndexingController::IndexingController(AppContext &context, QObject *parent)
    : FeatureController(context, parent)
{
    m_ctx.onCommand(QStringLiteral("Create1"), this, &IndexingController::showCreatePanel);
    m_ctx.onCommand(QStringLiteral("Update1"), this, &IndexingController::showUpdatePanel);
    m_ctx.onCommand(QStringLiteral("UpdateSelectedCatalog1"), this, &IndexingController::showUpdatePanel);
    m_ctx.holdBackWhileRunning({"Create1", "Update1", "UpdateSelectedCatalog1"});
    connect(&m_ctx, &AppContext::storedListReplaced, this, &IndexingController::showImportedMasks);
}

void IndexingController::createPanels()
{
    createCreatePanel();
    createUpdatePanel();
}

void IndexingController::createCreatePanel()
{
    ToolPanel *p = m_ctx.addPanel(kCreatePanel, kCreateTitle);
    m_createCat = new CreateCatPanel(p->body());
    p->setContent(m_createCat);

    const FormValues &form = m_ctx.form();
    ScanOptions o;
    o.hiddenFiles = form.boolean(QStringLiteral("Hiddenfiles_Checked"));
    o.readOnlyFiles = form.boolean(QStringLiteral("Readonly_Checked"));
    o.systemFiles = form.boolean(QStringLiteral("System_Checked"));
    o.subDirectories = form.boolean(QStringLiteral("Subdir_Checked"));
    o.hiddenDirectories = form.boolean(QStringLiteral("Hiddendirs_Checked"));
    o.zipContents = form.boolean(QStringLiteral("Zipfiles_Checked"));
    m_createCat->setOptions(o);
    m_createCat->setConfirmZip(form.boolean(QStringLiteral("Confirmzip_Checked")));
    m_createCat->setMasks(form.list(kMasksKey));

    connect(m_createCat, &CreateCatPanel::browseClicked, this, &IndexingController::browseIndexDirectory);
    connect(m_createCat, &CreateCatPanel::refreshVolumeRequested, this, &IndexingController::refreshVolume);
    connect(m_createCat, &CreateCatPanel::diskLabelClicked, this, &IndexingController::editDiskLabel);
    connect(m_createCat, &CreateCatPanel::ejectClicked, this, &IndexingController::ejectDisc);
    connect(m_createCat, &CreateCatPanel::indexClicked, this, &IndexingController::startIndexing);
    connect(m_createCat, &CreateCatPanel::stopClicked, this, &IndexingController::stopRun);
    connect(m_createCat, &CreateCatPanel::saveClicked, this, &IndexingController::saveScannedCatalog);
    connect(m_createCat, &CreateCatPanel::clearMasksRequested, this, &IndexingController::clearCreateMasks);
    connect(m_createCat, &CreateCatPanel::restoreMasksRequested, this, &IndexingController::reloadSavedMasks);
    connect(p, &ToolPanel::closeClicked, this, &IndexingController::closeCreatePanel);
    connect(m_createCat, &CreateCatPanel::storedChoicesChanged, this,
            &IndexingController::storeCreateChoices);
}

// Stored properties are collected when the program closes; the create
// panel's are kept in the form as they change, for the update panel and
// the import to read.
void IndexingController::storeCreateChoices()
{
    const ScanOptions o = m_createCat->options();
    FormValues &form = m_ctx.form();
    form.setBoolean(QStringLiteral("Hiddendirs_Checked"), o.hiddenDirectories);
    form.setBoolean(QStringLiteral("Hiddenfiles_Checked"), o.hiddenFiles);
    form.setBoolean(QStringLiteral("Readonly_Checked"), o.readOnlyFiles);
    form.setBoolean(QStringLiteral("System_Checked"), o.systemFiles);
    form.setBoolean(QStringLiteral("Subdir_Checked"), o.subDirectories);
    form.setBoolean(QStringLiteral("Zipfiles_Checked"), o.zipContents);
    form.setBoolean(QStringLiteral("Confirmzip_Checked"), m_createCat->confirmZip());
    form.setList(kMasksKey, m_createCat->masks());
}

void IndexingController::showImportedMasks(const QString &key)
{
    if (key == kMasksKey)
        m_createCat->setMasks(m_ctx.form().list(kMasksKey));
}

void IndexingController::showCreatePanel()
{
    m_ctx.table().offerSaveChanges();
    ToolPanel *p = m_ctx.panel(kCreatePanel);
    p->setTitle(kCreateTitle);
    m_createCat->setDiskLabelEnabled(false);
    m_createCat->setSaveEnabled(false);
    m_createCat->setRunning(false);
    m_createCat->setCatalogName(QString());
    m_createCat->setDirectory(QString());
    m_unsavedScan = false;
    p->showPanel();
}

// Asked before a new run, a new directory and closing the panel while a
// finished run is unsaved. False abandons the action that asked.
bool IndexingController::offerToSaveScan()
{
    if (!m_unsavedScan)
        return true;
    if (!m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to save recently indexed volume?"))) {
        m_unsavedScan = false;
        return true;
    }
    const QString name = m_createCat->catalogName();
    if (name.isEmpty()) {
        m_ctx.dialogs().warning(kNameFirst);
        m_createCat->focusCatalogName();
        return false;
    }
    if (selectedCategoryRow() < 0) {
        m_ctx.dialogs().warning(QStringLiteral("Please select a category to save this catalog first!"));
        return false;
    }
    // The user asked for the run to be kept: a save that did not store it
    // (cancelled, refused, failed) keeps it and abandons the action.
    if (!saveScanAs(name))
        return false;
    m_unsavedScan = false;
    return true;
}

void IndexingController::browseIndexDirectory()
{
    if (!offerToSaveScan())
        return;
    const QString dir =
        m_ctx.dialogs().chooseFolder(QStringLiteral("Select a drive or directory"),
                                     LastFolder::start(m_ctx.settings(), m_createCat->directory()));
    LastFolder::remember(m_ctx.settings(), dir);
    if (dir.isEmpty())
        return;
    m_createCat->setDirectory(dir);
    showVolume(dir);
}

void IndexingController::showVolume(const QString &path)
{
    if (path.isEmpty())
        return;
    m_volume = m_ctx.readVolume(path);
    m_ctx.panel(kCreatePanel)->setTitle(m_volume->title());
    if (m_volume->driveTypeText() == QLatin1String("Removable"))
        m_createCat->setDiskLabelEnabled(true);
}

void IndexingController::refreshVolume()
{
    const QString path = m_createCat->directory();
    if (path.isEmpty())
        return;
    m_ctx.setBusy(true);
    showVolume(path);
    m_ctx.setBusy(false);
}

void IndexingController::editDiskLabel()
{
    const QString path = m_createCat->directory();
    if (!m_volume || m_volume->driveTypeText() != QLatin1String("Removable") || path.isEmpty())
        return;
    const auto label = m_ctx.dialogs().inputBox(QStringLiteral("Edit/Enter Disk Label"),
                                                QStringLiteral("Disk Label"), m_createCat->catalogName());
    if (!label || !VolumeCommands::isAcceptableLabel(*label))
        return;
    VolumeCommands::setDiskLabel(path, *label);
    m_createCat->setCatalogName(*label);
}

void IndexingController::ejectDisc()
{
    m_ctx.setStatus(QStringLiteral("Attempting To Open CD-ROM"));
    VolumeCommands::ejectCd();
}

void IndexingController::startIndexing()
{
    if (m_ctx.refuseWhileRunning() || !offerToSaveScan() || !indexCataloguedMedium())
        return;
    m_ctx.setBusy(true);
    forgetShownCatalog();
    m_unsavedScan = false;
    m_closedDuringRun = false;
    const IndexingRun::Params params = indexingParams();

    m_createCat->setRunning(true);
    m_indexing = true;
    m_ctx.startRun(kCreatePanel);
    AppRunControl control = runControl(kCreatePanel, [this](const QString &text) { m_ctx.setStatus(text); });
    const IndexingRun::Result result = IndexingRun(m_ctx.state(), control).run(params);
    m_indexing = false;
    m_ctx.finishRun();
    endIndexing(result.outcome == IndexingRun::Outcome::Finished && !m_closedDuringRun, result.summary);
}

// Asked before indexing a medium that a catalog was made from: Yes updates
// that catalog instead, No goes on, Cancel does neither. True to go on.
bool IndexingController::indexCataloguedMedium()
{
    const QString path = m_createCat->directory();
    if (path.isEmpty())
        return true;
    const VolumeIdentity medium = m_ctx.volumeProbe(m_ctx.readMounts()).identify(path);
    const QString catalog = MountedCatalogs::catalogOf(medium, m_ctx.state().volumes);
    const CategoryTree::CatalogRef node = m_ctx.state().tree.findCatalog(catalog);
    if (catalog.isEmpty() || !node.isValid())
        return true;
    const QString name = m_ctx.state().tree.catalog(node).name;
    const std::optional<bool> update = m_ctx.dialogs().confirmYesNoCancel(
        QStringLiteral("This Medium Is Already Cataloged As ") + name + QStringLiteral("\nUpdate ") + name +
        QStringLiteral(" instead?\n(No indexes it as a new catalog.)"));
    if (update.value_or(false))
        updateCatalog(name);
    return update.has_value() && !*update;
}

// What Update Selected does for a catalog, started at once.
void IndexingController::updateCatalog(const QString &name)
{
    m_ctx.tree().refreshTree(name, true);
    if (!CategoryTreeModel::isCatalog(m_ctx.tree().selectedNode()))
        return;
    showUpdatePanel();
    startUpdate();
}

// The table is about to hold rows of no stored catalog: nothing may be
// saved from it into the catalog it showed before.
void IndexingController::forgetShownCatalog()
{
    LibraryState &state = m_ctx.state();
    state.openCatalogName.clear();
    state.savedScanName.clear();
    state.pendingCommentEdits = false;
    state.pendingRowDeletions = false;
}

IndexingRun::Params IndexingController::indexingParams()
{
    IndexingRun::Params params;
    params.directory = m_createCat->directory();
    fillScanSettings(params, m_createCat->options(), m_createCat->masks(), m_createCat->confirmZip());
    params.now = QDateTime::currentDateTime();
    if (!params.directory.isEmpty()) {
        m_volume = m_ctx.readVolume(params.directory);
        m_createCat->setCatalogName(m_volume->label());
        if (m_volume->driveTypeText() == QLatin1String("Removable"))
            m_createCat->setDiskLabelEnabled(true);
        m_ctx.panel(kCreatePanel)->setTitle(m_volume->title());
    }
    // Without a directory the current one is indexed, described by the
    // volume figures the panel last showed, if any.
    params.volume = m_volume;
    return params;
}

// What both runs scan for, with the questions about archives put through
// the dialogs.
void IndexingController::fillScanSettings(DirectoryScan::Settings &settings, const ScanOptions &options,
                                          const QStringList &masks, bool confirmZip) const
{
    settings.options = options;
    settings.masks = masks;
    settings.confirmZip = confirmZip;
    settings.confirmZipFile = [this](const QString &question) {
        return m_ctx.dialogs().confirmYesNo(question);
    };
    settings.zipMessage = [this](const QString &message) { m_ctx.dialogs().information(message); };
    settings.formats = m_ctx.formats();
}

// Status texts go to the caption (through status), progress to the running
// panel's status bar.
AppRunControl IndexingController::runControl(const QString &panelName,
                                             std::function<void(const QString &)> status) const
{
    ToolPanel *p = m_ctx.panel(panelName);
    return AppRunControl(
        std::move(status), [p](const QString &text) { p->setStatus(text); }, m_ctx.state().keepGoing,
        m_runYieldMs);
}

void IndexingController::endIndexing(bool showResult, const QString &summary)
{
    m_createCat->setRunning(false);
    LibraryState &state = m_ctx.state();
    if (showResult) {
        state.displayMode.clear();
        state.displayMode.newScan = true;
        m_ctx.table().showFileLines();
        state.displayMode.newScan = false;
        m_ctx.setStatus(summary);
        m_createCat->setSaveEnabled(true);
        m_unsavedScan = true;
    } else {
        // Nothing to save: the table still shows whatever it showed before.
        m_createCat->setSaveEnabled(false);
        if (m_closedDuringRun)
            m_ctx.setStatus(QStringLiteral("0 Files Cataloged"));
    }
    m_ctx.panel(kCreatePanel)->setStatus(QStringLiteral("Ready..."));
    m_ctx.setBusy(false);
    state.fileLines.clear();
    state.dirList.clear();
}

void IndexingController::stopRun()
{
    m_ctx.state().keepGoing = false;
}

void IndexingController::saveScannedCatalog()
{
    const QString name = m_createCat->catalogName();
    if (name.isEmpty()) {
        m_ctx.dialogs().warning(kNameFirst);
        m_createCat->focusCatalogName();
        return;
    }
    // Only a run that was stored stops being unsaved, so the guard still
    // offers a run whose save was cancelled, refused or failed.
    if (saveScanAs(name))
        m_unsavedScan = false;
}

void IndexingController::closeCreatePanel()
{
    ToolPanel *p = m_ctx.panel(kCreatePanel);
    if (m_indexing) {
        // The run ends at its next test and its lines are dropped.
        m_ctx.state().keepGoing = false;
        m_ctx.state().displayMode.newScan = false;
        m_closedDuringRun = true;
        m_ctx.setBusy(false);
    }
    if (!offerToSaveScan()) {
        p->show();
        p->raise();
        return;
    }
    if (m_ctx.state().masksCleared)
        reloadSavedMasks();
    p->hide();
}

void IndexingController::clearCreateMasks()
{
    m_createCat->clearMasks();
    m_ctx.state().masksCleared = true;
}

void IndexingController::reloadSavedMasks()
{
    m_createCat->setMasks(MaskList::readSaved(m_ctx.settings()));
    m_ctx.state().masksCleared = false;
}

bool IndexingController::saveScanAs(const QString &name)
{
    const int category = selectedCategoryRow();
    SaveNewCatalog::Request request{name, category, m_ctx.tableModel()->catalogRows(),
                                    m_volume ? m_volume->driveTypeText() : QString()};
    if (category >= 0 && !SaveNewCatalog::isTaken(m_ctx.state(), m_ctx.library(), name))
        m_ctx.setStatus(QStringLiteral("Attempting To Save ") + name);
    SaveNewCatalog save(m_ctx.state(), m_ctx.library(), request);
    m_ctx.setBusy(true);
    SaveNewCatalog::Result result = save.start();
    while (result.outcome == SaveNewCatalog::Outcome::NeedsChoice) {
        m_ctx.setBusy(false);
        QString newName;
        const Dialogs::SameNameChoice choice = m_ctx.dialogs().sameName(result.name, newName);
        if (choice == Dialogs::SameNameChoice::Overwrite)
            m_ctx.setStatus(QStringLiteral("Attempting To Overwrite ") + result.name +
                            QStringLiteral(" Catalog"));
        else if (choice == Dialogs::SameNameChoice::Update)
            m_ctx.setStatus(QStringLiteral("Attempting To Update ") + result.name +
                            QStringLiteral(" Catalog"));
        m_ctx.setBusy(true);
        result = save.choose(choice, newName);
        if (choice == Dialogs::SameNameChoice::RenameTo && result.outcome != SaveNewCatalog::Outcome::Refused)
            m_createCat->setCatalogName(result.name);
    }
    m_ctx.setBusy(false);
    applySaveResult(result);
    return stored(result.outcome);
}

void IndexingController::applySaveResult(const SaveNewCatalog::Result &result)
{
    if (!result.status.isEmpty())
        m_ctx.setStatus(result.status);
    if (!result.warning.isEmpty())
        m_ctx.dialogs().warning(result.warning);
    if (!result.error.isEmpty())
        m_ctx.dialogs().error(result.error);
    if (result.clearName)
        m_createCat->setCatalogName(QString());
    if (result.focusName)
        m_createCat->focusCatalogName();
    if (result.reloadMasks)
        reloadSavedMasks();
    if (result.hidePanel)
        m_ctx.panel(kCreatePanel)->hide();
    if (!stored(result.outcome))
        return;
    // Show the new node (or its new picture) and keep the selection.
    TreeService &tree = m_ctx.tree();
    const QModelIndex node = tree.selectedNode();
    const bool catalog = CategoryTreeModel::isCatalog(node);
    const QString selected = node.isValid() ? tree.treeModel()->nodeText(node) : QString();
    tree.refreshTree(selected, catalog);
    if (!catalog && tree.selectedNode().isValid())
        tree.expandNode(tree.selectedNode());
    if (result.outcome == SaveNewCatalog::Outcome::Updated)
        showMergedCatalog(result.name);
}

// After an update the file holds the stored lines, comments included, not
// the run's rows: the table shows the file, so a later Save Changes writes
// back what is stored instead of the run's rows with their empty comments.
void IndexingController::showMergedCatalog(const QString &name)
{
    m_ctx.table().openCatalog(name);
    m_ctx.state().pendingCommentEdits = false;
    m_ctx.state().pendingRowDeletions = false;
}

int IndexingController::selectedCategoryRow() const
{
    const QModelIndex node = m_ctx.tree().selectedNode();
    return CategoryTreeModel::isCategory(node) ? node.row() : -1;
}

void IndexingController::createUpdatePanel()
{
    ToolPanel *p = m_ctx.addPanel(kUpdatePanel, QStringLiteral("Set/Check Options, Then Start"));
    m_update = new UpdatePanel(p->body());
    p->setContent(m_update);

    connect(m_update, &UpdatePanel::startClicked, this, &IndexingController::startUpdate);
    connect(m_update, &UpdatePanel::stopClicked, this, &IndexingController::stopRun);
    connect(m_update, &UpdatePanel::closeClicked, p, &QWidget::hide);
    connect(m_update, &UpdatePanel::browseClicked, this, &IndexingController::browseUpdateDirectory);
    connect(m_update, &UpdatePanel::clearMasksRequested, m_update, &UpdatePanel::clearMasks);
    connect(m_update, &UpdatePanel::restoreMasksRequested, this, &IndexingController::restoreUpdateMasks);
    // A hidden panel would leave no way to stop its run, so hiding stops it.
    connect(p, &ToolPanel::closeClicked, this, [this] {
        if (m_ctx.state().updating)
            m_ctx.state().keepGoing = false;
    });
}

void IndexingController::showUpdatePanel()
{
    m_ctx.table().offerSaveChanges();
    const QModelIndex node = m_ctx.tree().selectedNode();
    if (!CategoryTreeModel::isCatalog(node))
        return;
    fillUpdatePanel(m_ctx.tree().treeModel()->nodeText(node));
    m_ctx.panel(kUpdatePanel)->showPanel();
}

// The catalog's stored options and masks, or the create panel's when the
// catalog has no information line.
void IndexingController::fillUpdatePanel(const QString &name)
{
    m_updateName = name;
    CatalogInfo info;
    if (CatalogInfo::fromLine(m_ctx.state().catalogInfo.value(name), info)) {
        m_update->showCatalog(name, info.lastUpdate);
        m_update->setPath(info.path);
        m_update->setOptions(info.options);
        m_update->setMasks(info.masks);
        m_updateDriveType = info.driveType;
        m_updateDrive = info.drive;
        followMedium(name, info.path);
        return;
    }
    m_update->showCatalog(name, QStringLiteral("Unknown"));
    m_update->setPath(QString());
    m_update->setOptions(m_createCat->options());
    m_update->setMasks(m_createCat->masks());
    m_updateDriveType.clear();
    m_updateDrive.clear();
    followMedium(name, QString());
}

// The recorded medium comes first: mounted somewhere other than the stored
// path, it is scanned where it is now.
void IndexingController::followMedium(const QString &name, const QString &storedPath)
{
    m_updateStoredPath = storedPath;
    m_updateLocation = UpdateLocation::find(storedPath, m_ctx.state().volumes.identityOf(name),
                                            m_ctx.volumeProbe(m_ctx.readMounts()));
    if (m_updateLocation.kind != UpdateLocation::Kind::Moved)
        return;
    m_update->setPath(m_updateLocation.path);
    m_ctx.setStatus(UpdateLocation::movedNote(name, m_updateLocation.path));
}

void IndexingController::restoreUpdateMasks()
{
    CatalogInfo info;
    if (CatalogInfo::fromLine(m_ctx.state().catalogInfo.value(m_updateName), info))
        m_update->setMasks(info.masks);
    else
        m_update->setMasks(m_createCat->masks());
}

void IndexingController::browseUpdateDirectory()
{
    const QString dir = m_ctx.dialogs().chooseFolder(QStringLiteral("Select a drive or directory"),
                                                     LastFolder::start(m_ctx.settings(), m_update->path()));
    LastFolder::remember(m_ctx.settings(), dir);
    if (!dir.isEmpty())
        m_update->setPath(dir);
}

// The drive the catalog's disk goes into: the stored mount point while the
// path lies on it, else the path itself.
QString IndexingController::updateDriveText() const
{
    const QString path = m_update->path();
    return !m_updateDrive.isEmpty() && path.startsWith(m_updateDrive) ? m_updateDrive : path;
}

void IndexingController::startUpdate()
{
    if (m_ctx.refuseWhileRunning())
        return;
    const QString path = m_update->path();
    std::optional<VolumeInfo> volume = confirmUpdateOf(path);
    if (!volume)
        return;

    m_ctx.setBusy(true);
    m_update->setRunning(true);
    m_ctx.state().updating = true;
    m_ctx.startRun(kUpdatePanel);
    AppRunControl control = runControl(kUpdatePanel, [this](const QString &text) {
        // Once the comparison starts the run can no longer be stopped.
        if (text == QLatin1String("Comparing..."))
            m_update->disableStop();
        m_ctx.setStatus(text);
    });
    const UpdateRun::Result result =
        UpdateRun(m_ctx.state(), m_ctx.library(), control).run(updateParams(path, *volume));
    m_ctx.state().updating = false;
    m_ctx.finishRun();
    m_update->setRunning(false);
    m_ctx.setBusy(false);
    showUpdateResult(result);
}

// The questions before an update: a path, the disk to insert, a label that
// differs from the catalog's name. The path's volume once all are answered.
std::optional<VolumeInfo> IndexingController::confirmUpdateOf(const QString &path)
{
    if (path.isEmpty()) {
        m_ctx.dialogs().warning(QStringLiteral("Please specify the path for this catalog."));
        return std::nullopt;
    }
    // A path typed over the one the medium's lookup chose is taken as it is.
    const bool lookedUp = path == m_updateLocation.path;
    if (lookedUp && m_updateLocation.kind == UpdateLocation::Kind::OtherMedium) {
        m_ctx.dialogs().warning(UpdateLocation::otherMediumMessage(
            m_updateName, m_ctx.state().volumes.identityOf(m_updateName).value_or(VolumeIdentity()), path));
        return std::nullopt;
    }
    if (!(lookedUp && m_updateLocation.mediumFound()) && UpdateRun::asksForDisk(m_updateDriveType) &&
        !m_ctx.dialogs().confirmOkCancel(UpdateRun::insertDiskQuestion(m_updateName, updateDriveText())))
        return std::nullopt;
    VolumeInfo volume = m_ctx.readVolume(path);
    if (UpdateRun::labelDiffers(m_updateName, volume.label()) &&
        !m_ctx.dialogs().confirmYesNo(UpdateRun::labelQuestion(m_updateName, volume.label())))
        return std::nullopt;
    return volume;
}

void IndexingController::showUpdateResult(const UpdateRun::Result &result)
{
    if (!result.warning.isEmpty())
        m_ctx.dialogs().warning(result.warning);
    if (!result.error.isEmpty())
        m_ctx.dialogs().error(result.error);
    if (result.outcome != UpdateRun::Outcome::Updated)
        return;
    m_ctx.panel(kUpdatePanel)->hide();
    m_ctx.table().openCatalog(m_updateName);
}

UpdateRun::Params IndexingController::updateParams(const QString &path, const VolumeInfo &volume) const
{
    UpdateRun::Params params;
    params.catalogName = m_updateName;
    params.directory = path;
    fillScanSettings(params, m_update->options(), m_update->masks(), m_update->confirmZip());
    params.confirmEmptyRescan = [this](const QString &question) {
        return m_ctx.dialogs().confirmYesNo(question);
    };
    params.now = QDateTime::currentDateTime();
    params.volume = volume;
    params.medium = m_ctx.volumeProbe(m_ctx.readMounts()).identify(path);
    if (path == m_updateLocation.path && m_updateLocation.kind == UpdateLocation::Kind::Moved)
        params.movedFrom = m_updateStoredPath;
    return params;
}
