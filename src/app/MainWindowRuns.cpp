// What waits while a run goes on. Runs share FileLines and the running
// flag, so while one is active nothing may replace the table, change the
// catalogs it works on or start another run.
#include "MainWindow.h"

#include "ToolPanel.h"

#include <QAction>
#include <QTableView>
#include <QTreeView>

namespace {

const char *const kBlockedWhileRunning[] = {
    "Create1", "View1", "ViewCatalog1", "Delete1", "DeleteSelectedCatalog1", "Rename1",
    "RenameSelectedCatalog1", "DeleteSelectedCategory1", "DeleteSelectedCategory2",
    "RenameSelectedCategory1", "RenameSelectedCategory2", "SaveChanges1", "Update1",
    "UpdateSelectedCatalog1", "Search1", "FindDuplicates1", "Report1", "ViewAllCatalogs1",
    "SearchAndReplace1", "AddEdit1", "Delete2", "UpgradeTov2xx1",
};

} // namespace

void MainWindow::blockWhileRunning(bool running, const QString &runningPanel)
{
    if (!running) {
        for (auto it = m_runBlocked.cbegin(); it != m_runBlocked.cend(); ++it) {
            if (auto *a = qobject_cast<QAction *>(it.key()))
                a->setEnabled(it.value());
            else if (auto *w = qobject_cast<QWidget *>(it.key()))
                w->setEnabled(it.value());
        }
        m_runBlocked.clear();
        return;
    }
    m_runBlocked.clear();
    for (const char *name : kBlockedWhileRunning) {
        if (QAction *a = action(QLatin1String(name))) {
            m_runBlocked.insert(a, a->isEnabled());
            a->setEnabled(false);
        }
    }
    // The tree opens catalogs and the table takes edits without a command.
    QList<QWidget *> widgets{m_treeView, m_tableView};
    for (auto it = m_panels.cbegin(); it != m_panels.cend(); ++it) {
        if (it.key() != runningPanel)
            widgets << it.value();
    }
    for (QWidget *w : widgets) {
        m_runBlocked.insert(w, w->isEnabled());
        w->setEnabled(false);
    }
}
