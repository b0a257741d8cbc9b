// The import from the earlier version: the panel "Upgrade To v2.0" and its
// four imports. The rules live in src/upgrade; these handlers read the
// panel, ask the user and show the results.

#include "MainWindow.h"

#include "CreateCatPanel.h"
#include "FileCommentPanel.h"
#include "MaskListEditor.h"
#include "ToolPanel.h"
#include "UpgradePanel.h"
#include "library/TextCompare.h"
#include "settings/LastFolder.h"
#include "upgrade/CatalogImport.h"
#include "upgrade/UpgradeImport.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

const QString kUpgradePanel = QStringLiteral("Upgradedlg");

} // namespace

void MainWindow::connectUpgradeCommands()
{
    connectCommand(QStringLiteral("UpgradeTov2xx1"), &MainWindow::showUpgradePanel);
    m_ctx.holdBackWhileRunning({"UpgradeTov2xx1"});
}

void MainWindow::createUpgradePanel()
{
    ToolPanel *p = m_ctx.addPanel(kUpgradePanel, QStringLiteral("Upgrade To v2.0"));
    m_upgradePanel = new UpgradePanel(p->body());
    p->setContent(m_upgradePanel);
    connect(m_upgradePanel->browseButton(), &QPushButton::clicked, this, &MainWindow::browseOldDirectory);
    const std::pair<UpgradePanel::Row, void (MainWindow::*)()> imports[] = {
        {UpgradePanel::Columns, &MainWindow::importOldColumnWidths},
        {UpgradePanel::Comments, &MainWindow::importOldComments},
        {UpgradePanel::Masks, &MainWindow::importOldMasks},
        {UpgradePanel::Catalogs, &MainWindow::importCatalogs}};
    for (const auto &[row, handler] : imports)
        connect(m_upgradePanel->importButton(row), &QPushButton::clicked, this, handler);
}

void MainWindow::showUpgradePanel()
{
    m_upgradePanel->resetLabels();
    panel(kUpgradePanel)->showPanel();
}

QString MainWindow::oldDirectory() const
{
    return m_upgradePanel->directoryBox()->text();
}

void MainWindow::browseOldDirectory()
{
    const QString dir =
        m_ctx.dialogs().chooseFolder(QStringLiteral("Select the directory of the earlier version"),
                                     LastFolder::start(m_ctx.settings(), oldDirectory()));
    LastFolder::remember(m_ctx.settings(), dir);
    if (!dir.isEmpty())
        m_upgradePanel->directoryBox()->setText(dir);
}

void MainWindow::importOldColumnWidths()
{
    m_upgradePanel->setLabel(UpgradePanel::Columns, UpgradeImport::Attempting);
    QString label;
    QString error;
    if (UpgradeImport::forDirectory(oldDirectory()).importColumnWidths(m_ctx.settings(), label, &error))
        m_upgradePanel->setLabel(UpgradePanel::Columns, label);
    else
        m_ctx.dialogs().error(error);
}

void MainWindow::importOldComments()
{
    m_upgradePanel->setLabel(UpgradePanel::Comments, UpgradeImport::Attempting);
    QStringList comments = m_fileComment->items();
    const auto result = UpgradeImport::forDirectory(oldDirectory()).importComments(comments);
    // The pre-defined comments are kept in the list's case-insensitive order.
    comments << result.added;
    std::stable_sort(comments.begin(), comments.end(),
                     [](const QString &a, const QString &b) { return TextCompare::compareNoCase(a, b) < 0; });
    showPredefined(comments); // the comment window's list, kept in step with the stored one
    m_upgradePanel->setLabel(UpgradePanel::Comments, result.label);
}

void MainWindow::importOldMasks()
{
    m_upgradePanel->setLabel(UpgradePanel::Masks, UpgradeImport::Attempting);
    const QStringList masks = m_createCat->masks()->masks();
    const auto result = UpgradeImport::forDirectory(oldDirectory()).importMasks(masks);
    m_createCat->masks()->setMasks(masks + result.added);
    storeIndexingProperties();
    m_upgradePanel->setLabel(UpgradePanel::Masks, result.label);
}

void MainWindow::importCatalogs()
{
    const QString dir = oldDirectory();
    if (dir.isEmpty() || !QFileInfo(dir).isDir() || m_ctx.refuseWhileRunning())
        return;
    setBusy(true);
    const UpgradeImport settings = UpgradeImport::forDirectory(dir);
    CatalogImport import(m_ctx.state(), m_ctx.library(), settings);
    auto ask = [this](const QString &name, QString &newName) {
        return m_ctx.dialogs().duplicateImport(name, newName);
    };
    auto label = [this](const QString &text) { m_upgradePanel->setLabel(UpgradePanel::Catalogs, text); };
    auto warn = [this](const QString &text) { m_ctx.dialogs().warning(text); };
    const CatalogImport::Result result = import.run(dir, ask, label, warn);
    setBusy(false);
    m_ctx.tree().refreshTree();
    if (!result.errors.isEmpty())
        m_ctx.dialogs().error(result.errors.join(u'\n'));
    if (!result.failure.isEmpty()) {
        StatusLine(QStringLiteral("Failed To Save Catalog"));
        m_ctx.dialogs().error(result.failure);
    }
}
