// The update panel: rescanning a catalog's volume and merging the result
// into its stored file.
#include "MainWindow.h"

#include "AppRunControl.h"
#include "CategoryTreeModel.h"
#include "CreateCatPanel.h"
#include "MaskListEditor.h"
#include "ToolPanel.h"
#include "UpdatePanel.h"
#include "indexing/UpdateRun.h"
#include "library/CatalogInfo.h"
#include "settings/LastFolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void MainWindow::createUpdatePanel()
{
    ToolPanel *p =
        m_ctx.addPanel(QStringLiteral("Updatedlg"), QStringLiteral("Set/Check Options, Then Start"));
    m_updateDlg = new UpdatePanel(p->body());
    p->setContent(m_updateDlg);

    connect(m_updateDlg->startButton(), &QPushButton::clicked, this, &MainWindow::startUpdate);
    connect(m_updateDlg->stopButton(), &QPushButton::clicked, this,
            [this] { m_ctx.state().keepGoing = false; });
    connect(m_updateDlg->closeButton(), &QPushButton::clicked, p, &QWidget::hide);
    connect(m_updateDlg->browseButton(), &QPushButton::clicked, this, &MainWindow::browseUpdateDirectory);
    connect(m_updateDlg->masks(), &MaskListEditor::f5Pressed, m_updateDlg->masks(), &MaskListEditor::clear);
    connect(m_updateDlg->masks(), &MaskListEditor::f6Pressed, this, &MainWindow::addUpdateMask);
    // A hidden panel would leave no way to stop its run, so hiding stops it.
    connect(p, &ToolPanel::closeClicked, this, [this] {
        if (m_ctx.state().updating)
            m_ctx.state().keepGoing = false;
    });
}

void MainWindow::showUpdatePanel()
{
    m_ctx.table().offerSaveChanges();
    const QModelIndex node = m_ctx.tree().selectedNode();
    if (!CategoryTreeModel::isCatalog(node))
        return;
    fillUpdatePanel(m_treeModel->nodeText(node));
    panel(QStringLiteral("Updatedlg"))->showPanel();
}

// The catalog's stored options and masks, or the create panel's when the
// catalog has no information line.
void MainWindow::fillUpdatePanel(const QString &name)
{
    m_updateName = name;
    m_updateDlg->nameLabel()->setText(name);
    m_updateDlg->maskEntry()->setText(QStringLiteral("*.*"));
    CatalogInfo info;
    if (CatalogInfo::fromLine(m_ctx.state().catalogInfo.value(name), info)) {
        m_updateDlg->pathBox()->setText(info.path);
        m_updateDlg->lastUpdatedLabel()->setText(info.lastUpdate);
        m_updateDlg->setOptions(info.options);
        m_updateDlg->masks()->setMasks(info.masks);
        m_updateDriveType = info.driveType;
        m_updateDrive = info.drive;
        return;
    }
    m_updateDlg->pathBox()->clear();
    m_updateDlg->lastUpdatedLabel()->setText(QStringLiteral("Unknown"));
    m_updateDlg->setOptions(m_createCat->options());
    m_updateDlg->masks()->setMasks(m_createCat->masks()->masks());
    m_updateDriveType.clear();
    m_updateDrive.clear();
}

void MainWindow::addUpdateMask()
{
    CatalogInfo info;
    if (CatalogInfo::fromLine(m_ctx.state().catalogInfo.value(m_updateName), info))
        m_updateDlg->masks()->setMasks(info.masks);
    else
        m_updateDlg->masks()->setMasks(m_createCat->masks()->masks());
}

void MainWindow::browseUpdateDirectory()
{
    const QString dir =
        m_ctx.dialogs().chooseFolder(QStringLiteral("Select a drive or directory"),
                                     LastFolder::start(m_ctx.settings(), m_updateDlg->pathBox()->text()));
    LastFolder::remember(m_ctx.settings(), dir);
    if (!dir.isEmpty())
        m_updateDlg->pathBox()->setText(dir);
}

// The drive the catalog's disk goes into: the stored mount point while the
// path lies on it, else the path itself.
QString MainWindow::updateDriveText() const
{
    const QString path = m_updateDlg->pathBox()->text();
    return !m_updateDrive.isEmpty() && path.startsWith(m_updateDrive) ? m_updateDrive : path;
}

void MainWindow::startUpdate()
{
    if (m_ctx.refuseWhileRunning())
        return;
    const QString path = m_updateDlg->pathBox()->text();
    if (path.isEmpty()) {
        m_ctx.dialogs().warning(QStringLiteral("Please specify the path for this catalog."));
        return;
    }
    if (UpdateRun::asksForDisk(m_updateDriveType) &&
        !m_ctx.dialogs().confirmOkCancel(UpdateRun::insertDiskQuestion(m_updateName, updateDriveText())))
        return;
    const VolumeInfo volume = m_volumeReader(path);
    if (UpdateRun::labelDiffers(m_updateName, volume.label()) &&
        !m_ctx.dialogs().confirmYesNo(UpdateRun::labelQuestion(m_updateName, volume.label())))
        return;

    ToolPanel *p = panel(QStringLiteral("Updatedlg"));
    setBusy(true);
    m_updateDlg->startButton()->setEnabled(false);
    m_updateDlg->closeButton()->setEnabled(false);
    m_updateDlg->stopButton()->setEnabled(true);
    m_ctx.state().updating = true;
    m_ctx.startRun(QStringLiteral("Updatedlg"));

    UpdateRun::Params params;
    params.catalogName = m_updateName;
    params.directory = path;
    params.options = m_updateDlg->options();
    params.masks = m_updateDlg->masks()->masks();
    params.confirmZip = m_updateDlg->confirmZip();
    params.confirmZipFile = [this](const QString &question) {
        return m_ctx.dialogs().confirmYesNo(question);
    };
    params.zipMessage = [this](const QString &message) { m_ctx.dialogs().information(message); };
    params.confirmEmptyRescan = [this](const QString &question) {
        return m_ctx.dialogs().confirmYesNo(question);
    };
    params.formats = m_ctx.formats();
    params.now = QDateTime::currentDateTime();
    params.volume = volume;
    AppRunControl control(
        [this](const QString &text) {
            // Once the comparison starts the run can no longer be stopped.
            if (text == QLatin1String("Comparing..."))
                m_updateDlg->stopButton()->setEnabled(false);
            StatusLine(text);
        },
        [p](const QString &text) { p->setStatus(text); }, m_ctx.state().keepGoing, m_runYieldMs);
    const UpdateRun::Result result = UpdateRun(m_ctx.state(), m_ctx.library(), control).run(params);

    m_ctx.state().updating = false;
    m_ctx.finishRun();
    m_updateDlg->startButton()->setEnabled(true);
    m_updateDlg->closeButton()->setEnabled(true);
    m_updateDlg->stopButton()->setEnabled(false);
    setBusy(false);
    if (!result.warning.isEmpty())
        m_ctx.dialogs().warning(result.warning);
    if (!result.error.isEmpty())
        m_ctx.dialogs().error(result.error);
    if (result.outcome != UpdateRun::Outcome::Updated)
        return;
    p->hide();
    m_ctx.table().openCatalog(m_updateName);
}
