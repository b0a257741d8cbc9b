// The create panel, the indexing run and saving its result as a catalog.
#include "MainWindow.h"

#include "AppRunControl.h"
#include "CategoryTreeModel.h"
#include "CreateCatPanel.h"
#include "MaskListEditor.h"
#include "ToolPanel.h"
#include "indexing/IndexingRun.h"
#include "indexing/MaskList.h"
#include "indexing/VolumeCommands.h"
#include "settings/LastFolder.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeView>

namespace {

const QString kCreateTitle = QStringLiteral("Select A Drive Or Directory, Set Options, Then Start");
const QString kNameFirst = QStringLiteral("Please specify a name for this catalog first!");

bool stored(SaveNewCatalog::Outcome outcome)
{
    return outcome == SaveNewCatalog::Outcome::Saved || outcome == SaveNewCatalog::Outcome::Overwrote ||
           outcome == SaveNewCatalog::Outcome::Updated;
}

} // namespace

void MainWindow::connectIndexingCommands()
{
    connectCommand(QStringLiteral("Create1"), &MainWindow::showCreatePanel);
    connectCommand(QStringLiteral("Update1"), &MainWindow::showUpdatePanel);
    connectCommand(QStringLiteral("UpdateSelectedCatalog1"), &MainWindow::showUpdatePanel);
    m_ctx.holdBackWhileRunning({"Create1", "Update1", "UpdateSelectedCatalog1"});
}

void MainWindow::createIndexingPanels()
{
    if (!m_volumeReader)
        m_volumeReader = [](const QString &path) { return VolumeInfo::read(path); };
    createCreatePanel();
    createUpdatePanel();
}

void MainWindow::createCreatePanel()
{
    ToolPanel *p = m_ctx.addPanel(QStringLiteral("CreateCat"), kCreateTitle);
    m_createCat = new CreateCatPanel(p->body());
    p->setContent(m_createCat);

    ScanOptions o;
    o.hiddenFiles = m_ctx.form().boolean(QStringLiteral("Hiddenfiles_Checked"));
    o.readOnlyFiles = m_ctx.form().boolean(QStringLiteral("Readonly_Checked"));
    o.systemFiles = m_ctx.form().boolean(QStringLiteral("System_Checked"));
    o.subDirectories = m_ctx.form().boolean(QStringLiteral("Subdir_Checked"));
    o.hiddenDirectories = m_ctx.form().boolean(QStringLiteral("Hiddendirs_Checked"));
    o.zipContents = m_ctx.form().boolean(QStringLiteral("Zipfiles_Checked"));
    m_createCat->setOptions(o);
    m_createCat->setConfirmZip(m_ctx.form().boolean(QStringLiteral("Confirmzip_Checked")));
    m_createCat->masks()->setMasks(m_ctx.form().list(QStringLiteral("Masklistbox_Items")));
    m_createCat->stopButton()->setEnabled(false);
    m_createCat->saveButton()->setEnabled(false);
    m_createCat->diskLabelButton()->setEnabled(false);

    connect(m_createCat->browseButton(), &QPushButton::clicked, this, &MainWindow::browseIndexDirectory);
    connect(m_createCat, &CreateCatPanel::refreshVolumeRequested, this, &MainWindow::nameCatalogAfterVolume);
    connect(m_createCat->diskLabelButton(), &QPushButton::clicked, this, &MainWindow::readDiskLabel);
    connect(m_createCat->ejectButton(), &QPushButton::clicked, this, &MainWindow::ejectDisc);
    connect(m_createCat->indexButton(), &QPushButton::clicked, this, &MainWindow::startIndexing);
    connect(m_createCat->stopButton(), &QPushButton::clicked, this, &MainWindow::stopIndexing);
    connect(m_createCat->saveButton(), &QPushButton::clicked, this, &MainWindow::saveScannedCatalog);
    connect(m_createCat->masks(), &MaskListEditor::f5Pressed, this, &MainWindow::addCreateMask);
    connect(m_createCat->masks(), &MaskListEditor::f6Pressed, this, &MainWindow::reloadSavedMasks);
    connect(p, &ToolPanel::closeClicked, this, &MainWindow::closeCreatePanel);
    connect(m_createCat, &CreateCatPanel::optionsChanged, this, &MainWindow::storeIndexingProperties);
    connect(m_createCat->masks(), &MaskListEditor::changed, this, &MainWindow::storeIndexingProperties);
}

// Stored properties are collected when the program closes; the create
// panel's are kept in m_ctx.form() as they change.
void MainWindow::storeIndexingProperties()
{
    const ScanOptions o = m_createCat->options();
    m_ctx.form().setBoolean(QStringLiteral("Hiddendirs_Checked"), o.hiddenDirectories);
    m_ctx.form().setBoolean(QStringLiteral("Hiddenfiles_Checked"), o.hiddenFiles);
    m_ctx.form().setBoolean(QStringLiteral("Readonly_Checked"), o.readOnlyFiles);
    m_ctx.form().setBoolean(QStringLiteral("System_Checked"), o.systemFiles);
    m_ctx.form().setBoolean(QStringLiteral("Subdir_Checked"), o.subDirectories);
    m_ctx.form().setBoolean(QStringLiteral("Zipfiles_Checked"), o.zipContents);
    m_ctx.form().setBoolean(QStringLiteral("Confirmzip_Checked"), m_createCat->confirmZip());
    m_ctx.form().setList(QStringLiteral("Masklistbox_Items"), m_createCat->masks()->masks());
}

void MainWindow::showCreatePanel()
{
    m_ctx.table().offerSaveChanges();
    ToolPanel *p = panel(QStringLiteral("CreateCat"));
    p->setTitle(kCreateTitle);
    m_createCat->diskLabelButton()->setEnabled(false);
    m_createCat->saveButton()->setEnabled(false);
    m_createCat->indexButton()->setEnabled(true);
    m_createCat->stopButton()->setEnabled(false);
    m_createCat->nameBox()->clear();
    m_createCat->directoryBox()->clear();
    m_createCat->directoryBox()->setToolTip(QString());
    m_unsavedScan = false;
    p->showPanel();
}

// Asked before a new run, a new directory and closing the panel while a
// finished run is unsaved. False abandons the action that asked.
bool MainWindow::scanGuard()
{
    if (!m_unsavedScan)
        return true;
    if (!m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to save recently indexed volume?"))) {
        m_unsavedScan = false;
        return true;
    }
    const QString name = m_createCat->nameBox()->text();
    if (name.isEmpty()) {
        m_ctx.dialogs().warning(kNameFirst);
        m_createCat->nameBox()->setFocus();
        return false;
    }
    if (selectedCategoryRow() < 0) {
        m_ctx.dialogs().warning(QStringLiteral("Please select a category to save this catalog first!"));
        return false;
    }
    // The user asked for the run to be kept: a save that did not store it
    // (cancelled, refused, failed) keeps it and abandons the action.
    if (!SaveNewCatalogNamed(name))
        return false;
    m_unsavedScan = false;
    return true;
}

void MainWindow::browseIndexDirectory()
{
    if (!scanGuard())
        return;
    const QString dir = m_ctx.dialogs().chooseFolder(
        QStringLiteral("Select a drive or directory"),
        LastFolder::start(m_ctx.settings(), m_createCat->directoryBox()->text()));
    LastFolder::remember(m_ctx.settings(), dir);
    if (dir.isEmpty())
        return;
    m_createCat->directoryBox()->setText(dir);
    m_createCat->directoryBox()->setToolTip(dir);
    showVolume(dir);
}

void MainWindow::showVolume(const QString &path)
{
    if (path.isEmpty())
        return;
    m_volume = m_volumeReader(path);
    panel(QStringLiteral("CreateCat"))->setTitle(m_volume->title());
    if (m_volume->driveTypeText() == QLatin1String("Removable"))
        m_createCat->diskLabelButton()->setEnabled(true);
}

void MainWindow::nameCatalogAfterVolume()
{
    const QString path = m_createCat->directoryBox()->text();
    if (path.isEmpty())
        return;
    setBusy(true);
    showVolume(path);
    setBusy(false);
}

void MainWindow::readDiskLabel()
{
    const QString path = m_createCat->directoryBox()->text();
    if (!m_volume || m_volume->driveTypeText() != QLatin1String("Removable") || path.isEmpty())
        return;
    const auto label = m_ctx.dialogs().inputBox(QStringLiteral("Edit/Enter Disk Label"),
                                                QStringLiteral("Disk Label"), m_createCat->nameBox()->text());
    if (!label || !VolumeCommands::isAcceptableLabel(*label))
        return;
    VolumeCommands::setDiskLabel(path, *label);
    m_createCat->nameBox()->setText(*label);
}

void MainWindow::ejectDisc()
{
    StatusLine(QStringLiteral("Attempting To Open CD-ROM"));
    VolumeCommands::ejectCd();
}

void MainWindow::startIndexing()
{
    if (m_ctx.refuseWhileRunning() || !scanGuard())
        return;
    ToolPanel *p = panel(QStringLiteral("CreateCat"));
    setBusy(true);
    // The table is about to hold rows of no stored catalog: nothing may be
    // saved from it into the catalog it showed before.
    m_ctx.state().openCatalogName.clear();
    m_ctx.state().savedScanName.clear();
    m_ctx.state().pendingCommentEdits = false;
    m_ctx.state().pendingRowDeletions = false;
    m_unsavedScan = false;
    m_closedDuringRun = false;

    IndexingRun::Params params;
    params.directory = m_createCat->directoryBox()->text();
    params.options = m_createCat->options();
    params.masks = m_createCat->masks()->masks();
    params.confirmZip = m_createCat->confirmZip();
    params.confirmZipFile = [this](const QString &question) {
        return m_ctx.dialogs().confirmYesNo(question);
    };
    params.zipMessage = [this](const QString &message) { m_ctx.dialogs().information(message); };
    params.formats = m_ctx.formats();
    params.now = QDateTime::currentDateTime();
    if (!params.directory.isEmpty()) {
        m_volume = m_volumeReader(params.directory);
        m_createCat->nameBox()->setText(m_volume->label());
        if (m_volume->driveTypeText() == QLatin1String("Removable"))
            m_createCat->diskLabelButton()->setEnabled(true);
        p->setTitle(m_volume->title());
    }
    // Without a directory the current one is indexed, described by the
    // volume figures the panel last showed, if any.
    params.volume = m_volume;

    m_createCat->stopButton()->setEnabled(true);
    m_createCat->indexButton()->setEnabled(false);
    m_indexing = true;
    m_ctx.startRun(QStringLiteral("CreateCat"));
    AppRunControl control([this](const QString &text) { StatusLine(text); },
                          [p](const QString &text) { p->setStatus(text); }, m_ctx.state().keepGoing,
                          m_runYieldMs);
    const IndexingRun::Result result = IndexingRun(m_ctx.state(), control).run(params);
    m_indexing = false;
    m_ctx.finishRun();
    endIndexing(result.outcome == IndexingRun::Outcome::Finished && !m_closedDuringRun, result.summary);
}

void MainWindow::endIndexing(bool showResult, const QString &summary)
{
    m_createCat->stopButton()->setEnabled(false);
    m_createCat->indexButton()->setEnabled(true);
    if (showResult) {
        m_ctx.state().displayMode.clear();
        m_ctx.state().displayMode.newScan = true;
        m_ctx.table().showFileLines();
        m_ctx.state().displayMode.newScan = false;
        StatusLine(summary);
        m_createCat->saveButton()->setEnabled(true);
        m_unsavedScan = true;
    } else {
        // Nothing to save: the table still shows whatever it showed before.
        m_createCat->saveButton()->setEnabled(false);
        if (m_closedDuringRun)
            StatusLine(QStringLiteral("0 Files Cataloged"));
    }
    panel(QStringLiteral("CreateCat"))->setStatus(QStringLiteral("Ready..."));
    setBusy(false);
    m_ctx.state().fileLines.clear();
    m_ctx.state().dirList.clear();
}

void MainWindow::stopIndexing()
{
    m_ctx.state().keepGoing = false;
}

void MainWindow::saveScannedCatalog()
{
    const QString name = m_createCat->nameBox()->text();
    if (name.isEmpty()) {
        m_ctx.dialogs().warning(kNameFirst);
        m_createCat->nameBox()->setFocus();
        return;
    }
    // Only a run that was stored stops being unsaved, so the guard still
    // offers a run whose save was cancelled, refused or failed.
    if (SaveNewCatalogNamed(name))
        m_unsavedScan = false;
}

void MainWindow::closeCreatePanel()
{
    ToolPanel *p = panel(QStringLiteral("CreateCat"));
    if (m_indexing) {
        // The run ends at its next test and its lines are dropped.
        m_ctx.state().keepGoing = false;
        m_ctx.state().displayMode.newScan = false;
        m_closedDuringRun = true;
        setBusy(false);
    }
    if (!scanGuard()) {
        p->show();
        p->raise();
        return;
    }
    if (m_ctx.state().masksCleared)
        reloadSavedMasks();
    p->hide();
}

void MainWindow::addCreateMask()
{
    m_createCat->masks()->clear();
    m_ctx.state().masksCleared = true;
}

void MainWindow::reloadSavedMasks()
{
    m_createCat->masks()->setMasks(MaskList::readSaved(m_ctx.settings()));
    m_ctx.state().masksCleared = false;
}

bool MainWindow::SaveNewCatalogNamed(const QString &name)
{
    const int category = selectedCategoryRow();
    SaveNewCatalog::Request request{name, category, tableRows(),
                                    m_volume ? m_volume->driveTypeText() : QString()};
    if (category >= 0 && !SaveNewCatalog::isTaken(m_ctx.state(), m_ctx.library(), name))
        StatusLine(QStringLiteral("Attempting To Save ") + name);
    SaveNewCatalog save(m_ctx.state(), m_ctx.library(), request);
    setBusy(true);
    SaveNewCatalog::Result result = save.start();
    while (result.outcome == SaveNewCatalog::Outcome::NeedsChoice) {
        setBusy(false);
        QString newName;
        const Dialogs::SameNameChoice choice = m_ctx.dialogs().sameName(result.name, newName);
        if (choice == Dialogs::SameNameChoice::Overwrite)
            StatusLine(QStringLiteral("Attempting To Overwrite ") + result.name + QStringLiteral(" Catalog"));
        else if (choice == Dialogs::SameNameChoice::Update)
            StatusLine(QStringLiteral("Attempting To Update ") + result.name + QStringLiteral(" Catalog"));
        setBusy(true);
        result = save.choose(choice, newName);
        if (choice == Dialogs::SameNameChoice::RenameTo && result.outcome != SaveNewCatalog::Outcome::Refused)
            m_createCat->nameBox()->setText(result.name);
    }
    setBusy(false);
    applySaveResult(result);
    return stored(result.outcome);
}

void MainWindow::applySaveResult(const SaveNewCatalog::Result &result)
{
    if (!result.status.isEmpty())
        StatusLine(result.status);
    if (!result.warning.isEmpty())
        m_ctx.dialogs().warning(result.warning);
    if (!result.error.isEmpty())
        m_ctx.dialogs().error(result.error);
    if (result.clearName)
        m_createCat->nameBox()->clear();
    if (result.focusName)
        m_createCat->nameBox()->setFocus();
    if (result.reloadMasks)
        reloadSavedMasks();
    if (result.hidePanel)
        panel(QStringLiteral("CreateCat"))->hide();
    if (!stored(result.outcome))
        return;
    // Show the new node (or its new picture) and keep the selection.
    const QModelIndex node = m_ctx.tree().selectedNode();
    const bool catalog = CategoryTreeModel::isCatalog(node);
    const QString selected = node.isValid() ? m_treeModel->nodeText(node) : QString();
    m_ctx.tree().refreshTree(selected, catalog);
    if (!catalog && m_ctx.tree().selectedNode().isValid())
        m_treeView->expand(m_ctx.tree().selectedNode());
    if (result.outcome == SaveNewCatalog::Outcome::Updated)
        showMergedCatalog(result.name);
}

// After an update the file holds the stored lines, comments included, not
// the run's rows: the table shows the file, so a later Save Changes writes
// back what is stored instead of the run's rows with their empty comments.
void MainWindow::showMergedCatalog(const QString &name)
{
    m_ctx.table().openCatalog(name);
    m_ctx.state().pendingCommentEdits = false;
    m_ctx.state().pendingRowDeletions = false;
}

CatalogSaving::TableRows MainWindow::tableRows() const
{
    CatalogSaving::TableRows rows;
    const int count = m_tableModel->tableRowCount();
    rows.reserve(count);
    for (int r = 1; r < count; ++r) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << m_tableModel->cell(c, r);
        rows << cells;
    }
    return rows;
}

int MainWindow::selectedCategoryRow() const
{
    const QModelIndex node = m_ctx.tree().selectedNode();
    return CategoryTreeModel::isCategory(node) ? node.row() : -1;
}
