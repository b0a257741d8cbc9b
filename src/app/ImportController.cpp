#include "ImportController.h"

#include "AppContext.h"
#include "ToolPanel.h"
#include "TreeService.h"
#include "UpgradePanel.h"
#include "library/TextCompare.h"
#include "settings/LastFolder.h"
#include "upgrade/CatalogImport.h"
#include "upgrade/UpgradeImport.h"

#include <QFileInfo>
#include <algorithm>

namespace {

const QString kImportPanel = QStringLiteral("Upgradedlg");
// The lists of the form the imports add to; their panels belong to other
// features, which show them again when told.
const QString kCommentsKey = QStringLiteral("predefinedbox_Items");
const QString kMasksKey = QStringLiteral("Masklistbox_Items");

} // namespace

ImportController::ImportController(AppContext &context, QObject *parent) : FeatureController(context, parent)
{
    m_ctx.onCommand(QStringLiteral("UpgradeTov2xx1"), this, &ImportController::showImportPanel);
    m_ctx.holdBackWhileRunning({"UpgradeTov2xx1"});
}

void ImportController::createPanels()
{
    ToolPanel *p = m_ctx.addPanel(kImportPanel, QStringLiteral("Upgrade To v2.0"));
    m_panel = new UpgradePanel(p->body());
    p->setContent(m_panel);
    connect(m_panel, &UpgradePanel::browseClicked, this, &ImportController::browseOldDirectory);
    connect(m_panel, &UpgradePanel::importClicked, this, &ImportController::importRow);
}

void ImportController::showImportPanel()
{
    m_panel->resetLabels();
    m_ctx.panel(kImportPanel)->showPanel();
}

void ImportController::browseOldDirectory()
{
    const QString dir =
        m_ctx.dialogs().chooseFolder(QStringLiteral("Select the directory of the earlier version"),
                                     LastFolder::start(m_ctx.settings(), m_panel->directory()));
    LastFolder::remember(m_ctx.settings(), dir);
    if (!dir.isEmpty())
        m_panel->setDirectory(dir);
}

void ImportController::importRow(UpgradePanel::Row row)
{
    switch (row) {
    case UpgradePanel::Columns:
        importColumnWidths();
        break;
    case UpgradePanel::Comments:
        importPredefinedComments();
        break;
    case UpgradePanel::Masks:
        importFileMasks();
        break;
    case UpgradePanel::Catalogs:
    case UpgradePanel::RowCount:
        importCatalogs();
        break;
    }
}

void ImportController::importColumnWidths()
{
    m_panel->setLabel(UpgradePanel::Columns, UpgradeImport::Attempting);
    QString label;
    QString error;
    if (UpgradeImport::forDirectory(m_panel->directory()).importColumnWidths(m_ctx.settings(), label, &error))
        m_panel->setLabel(UpgradePanel::Columns, label);
    else
        m_ctx.dialogs().error(error);
}

void ImportController::importPredefinedComments()
{
    m_panel->setLabel(UpgradePanel::Comments, UpgradeImport::Attempting);
    QStringList comments = m_ctx.form().list(kCommentsKey);
    const auto result = UpgradeImport::forDirectory(m_panel->directory()).importComments(comments);
    // The pre-defined comments are kept in the list's case-insensitive order.
    comments << result.added;
    std::stable_sort(comments.begin(), comments.end(),
                     [](const QString &a, const QString &b) { return TextCompare::compareNoCase(a, b) < 0; });
    m_ctx.replaceStoredList(kCommentsKey, comments);
    m_panel->setLabel(UpgradePanel::Comments, result.label);
}

void ImportController::importFileMasks()
{
    m_panel->setLabel(UpgradePanel::Masks, UpgradeImport::Attempting);
    const QStringList masks = m_ctx.form().list(kMasksKey);
    const auto result = UpgradeImport::forDirectory(m_panel->directory()).importMasks(masks);
    m_ctx.replaceStoredList(kMasksKey, masks + result.added);
    m_panel->setLabel(UpgradePanel::Masks, result.label);
}

void ImportController::importCatalogs()
{
    const QString dir = m_panel->directory();
    if (dir.isEmpty() || !QFileInfo(dir).isDir() || m_ctx.refuseWhileRunning())
        return;
    m_ctx.setBusy(true);
    const UpgradeImport settings = UpgradeImport::forDirectory(dir);
    CatalogImport import(m_ctx.state(), m_ctx.library(), settings);
    auto ask = [this](const QString &name, QString &newName) {
        return m_ctx.dialogs().duplicateImport(name, newName);
    };
    auto label = [this](const QString &text) { m_panel->setLabel(UpgradePanel::Catalogs, text); };
    auto warn = [this](const QString &text) { m_ctx.dialogs().warning(text); };
    const CatalogImport::Result result = import.run(dir, ask, label, warn);
    m_ctx.setBusy(false);
    m_ctx.tree().refreshTree();
    if (!result.errors.isEmpty())
        m_ctx.dialogs().error(result.errors.join(u'\n'));
    if (!result.failure.isEmpty()) {
        m_ctx.setStatus(QStringLiteral("Failed To Save Catalog"));
        m_ctx.dialogs().error(result.failure);
    }
}
