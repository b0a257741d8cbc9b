// Opening catalogs into the table, saving table changes back, and the
// catalog information dialog.
#include "MainWindow.h"

#include "CategoryTreeModel.h"
#include "library/CatalogInfo.h"
#include "library/CatalogSaving.h"
#include "library/CommaText.h"
#include "table/VisualTableModel.h"

#include <QTreeView>

void MainWindow::openSelectedNode()
{
    OfferSaveChanges();
    const QModelIndex node = selectedNode();
    if (!node.isValid())
        return;
    const QString name = m_treeModel->nodeText(node);
    if (CategoryTreeModel::isCatalog(node)) {
        StatusLine(QStringLiteral("Attempting To Open ") + name + QStringLiteral(" Catalog"));
        OpenCatalog(name);
        StatusLine(catalogSummary(name));
        return;
    }
    m_treeView->expand(node);
    const int count = catalogCountOf(node.row());
    StatusLine(count > 0 ? QStringLiteral("%1 Category, Contains %2 Catalogs").arg(name).arg(count)
                         : QString());
}

QString MainWindow::catalogSummary(const QString &name) const
{
    const QString info = m_ctx.state().catalogInfo.value(name);
    if (!m_ctx.state().catalogInfo.contains(name) || info.isEmpty())
        return name + QStringLiteral(" Catalog");
    const QStringList fields = CommaText::split(info);
    return QStringLiteral("%1 Catalog %2 Files %3 Directories")
        .arg(name, CommaText::field(fields, 0), CommaText::field(fields, 1));
}

void MainWindow::OpenCatalog(const QString &name)
{
    setBusy(true);
    if (!m_ctx.library().catalogFileExists(name)) {
        m_ctx.dialogs().warning(QStringLiteral("Catalog ") + name + QStringLiteral(" does not exists!"));
        setBusy(false);
        return;
    }
    m_ctx.state().displayMode.clear();
    m_ctx.state().displayMode.loading = true;
    m_ctx.state().keepGoing = false; // a search or duplicate run stops at its next check
    m_ctx.state().fileLines.clear();
    QString error;
    if (!m_ctx.library().loadCatalog(name, m_ctx.state().fileLines, &error)) {
        setBusy(false);
        m_ctx.dialogs().error(error);
        return;
    }
    setTableLayout();
    fillTableFromFileLines();
    m_ctx.state().displayMode.loading = false;
    m_ctx.state().fileLines.clear();
    m_ctx.state().openCatalogName = name;
    m_ctx.state().savedScanName.clear();
    setBusy(false);
}

void MainWindow::OfferSaveChanges()
{
    if (!m_ctx.state().changesPending() || m_tableModel->columnCount() != 5)
        return;
    const QString owner = m_ctx.state().tableOwner();
    if (owner.isEmpty())
        return;
    SaveChangesTo(owner);
    m_ctx.state().pendingCommentEdits = false;
    m_ctx.state().pendingRowDeletions = false;
}

void MainWindow::SaveChangesTo(const QString &name)
{
    if (!m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to save changes to ") + name +
                                      QStringLiteral(" catalog?")))
        return;
    StatusLine(QStringLiteral("Attempting To Save Changes To ") + name + QStringLiteral(" Catalog"));
    if (WriteTableRows(name))
        StatusLine(QStringLiteral("Changes To ") + name + QStringLiteral(" Catalog Saved"));
}

bool MainWindow::WriteTableRows(const QString &name)
{
    setBusy(true);
    QString error;
    const bool ok = CatalogSaving::WriteTableRows(m_ctx.library(), name, m_tableModel->catalogRows(), &error);
    setBusy(false);
    if (!ok) {
        StatusLine(QStringLiteral("Failed To Save Catalog"));
        m_ctx.dialogs().error(error);
    }
    return ok;
}

void MainWindow::saveTableChanges()
{
    if (m_tableModel->columnCount() != 5)
        return;
    const QString owner = m_ctx.state().tableOwner();
    if (owner.isEmpty()) {
        m_ctx.dialogs().warning(QStringLiteral("Please specify a catalog first!"));
        return;
    }
    SaveChangesTo(owner);
}

void MainWindow::showCatalogInformation()
{
    const QModelIndex node = selectedNode();
    if (!CategoryTreeModel::isCatalog(node))
        return;
    const QString name = m_treeModel->nodeText(node);
    const qsizetype pair = m_ctx.state().catalogInfo.indexOf(name);
    if (pair < 0)
        return;
    const QString storedName = m_ctx.state().catalogInfo.lines().at(pair);
    const QString info = m_ctx.state().catalogInfo.lines().value(pair + 1);
    if (info.isEmpty()) {
        m_ctx.dialogs().warning(QStringLiteral("No information is available for ") + storedName +
                                QStringLiteral(" catalog.\nPlease update the catalog."));
        return;
    }
    const QStringList fields = CommaText::split(info);
    if (fields.size() < CatalogInfo::ShownFieldMinimum) {
        m_ctx.dialogs().information(
            QStringLiteral("No information is available for this catalog.\r\nPlease update."));
        return;
    }
    m_ctx.dialogs().catalogInformation(name + QStringLiteral(" Catalog"),
                                       CatalogInfo::dialogLines(name, fields),
                                       m_ctx.state().treeComments.value(name));
}

void MainWindow::closeQuery()
{
    if (m_ctx.state().changesPending() && m_tableModel->columnCount() == 5) {
        const QString owner = m_ctx.state().tableOwner();
        if (!owner.isEmpty())
            SaveChangesTo(owner);
    }
    m_ctx.state().pendingCommentEdits = false;
    m_ctx.state().pendingRowDeletions = false;
}
