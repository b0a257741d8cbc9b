// Start-up and shutdown of the main window, the stored properties, the
// window placement and the tray.
#include "MainWindow.h"

#include "FeatureController.h"
#include "TableController.h"
#include "ToolPanel.h"
#include "TreeController.h"
#include "library/LibraryLock.h"
#include "settings/ColumnWidths.h"
#include "settings/WindowPlacement.h"
#include "table/TableRules.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTreeView>

namespace {

QSize screenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(640, 480);
}

int screenDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

} // namespace

void MainWindow::startUp()
{
    scaleToScreen();
    restoreForm();
    createPanels();
    QString error;
    if (!m_ctx.library().startUp(m_ctx.state(), &error)) {
        m_ctx.dialogs().error(error);
        return;
    }
    m_ctx.tree().refreshTree();
    m_startedUp = true;
    feature<TreeController>()->startFollowingLibrary();
    if (const QString unreadable = CatalogLibrary::unreadableMessage(m_ctx.state()); !unreadable.isEmpty())
        m_ctx.dialogs().error(unreadable);
    if (const QString unloaded = CatalogLibrary::unloadedLinesMessage(m_ctx.state()); !unloaded.isEmpty())
        StatusLine(unloaded);
}

void MainWindow::scaleToScreen()
{
    const QSize screen = screenSize();
    int width = 636;
    int height = 447;
    if (screen.width() != 640) {
        width = screen.width() * width / 640;
        height = screen.height() * height / 480;
    }
    resize(width, height);
}

void MainWindow::restoreForm()
{
    WindowPlacement placement;
    if (WindowPlacement::read(m_ctx.settings(), screenSize(), placement) &&
        placement.pixelsPerInch == screenDpi() && placement.hasNormalRect()) {
        setGeometry(placement.normalRect());
        switch (WindowPlacement::showState(placement.showCmd)) {
        case WindowPlacement::Maximised:
            setWindowState(Qt::WindowMaximized);
            break;
        case WindowPlacement::Minimised:
            setWindowState(Qt::WindowMinimized);
            break;
        default:
            break;
        }
    }
    m_ctx.form() = FormValues::restore(m_ctx.settings());
    m_storedForm = m_ctx.form();
    checkSettingsReadable();
    applyStoredProperties();
}

void MainWindow::applyStoredProperties()
{
    const int treeWidth = m_ctx.form().integer(QStringLiteral("Panel1_Width"));
    m_splitter->setSizes({treeWidth, qMax(100, width() - treeWidth)});
    for (auto it = m_ctx.panels().cbegin(); it != m_ctx.panels().cend(); ++it)
        it.value()->setHomePosition(m_ctx.storedPanelPosition(it.key()));
}

void MainWindow::createPanels()
{
    for (FeatureController *feature : std::as_const(m_features))
        feature->createPanels();
}

void MainWindow::collectStoredProperties()
{
    if (!m_splitter->sizes().isEmpty())
        m_ctx.form().setInteger(QStringLiteral("Panel1_Width"), m_splitter->sizes().constFirst());
    for (auto it = m_ctx.panels().cbegin(); it != m_ctx.panels().cend(); ++it) {
        m_ctx.form().setInteger(it.key() + QStringLiteral("_Left"), it.value()->homePosition().x());
        m_ctx.form().setInteger(it.key() + QStringLiteral("_Top"), it.value()->homePosition().y());
    }
    for (FeatureController *feature : std::as_const(m_features))
        feature->collectStoredProperties();
}

void MainWindow::saveForm()
{
    if (!checkSettingsReadable())
        return;
    WindowPlacement placement;
    placement.setNormalRect(normalGeometry().isValid() ? normalGeometry() : geometry());
    placement.pixelsPerInch = screenDpi();
    if (isMinimized() || !isVisible())
        placement.showCmd = WindowPlacement::Minimised;
    else if (isMaximized())
        placement.showCmd = WindowPlacement::Maximised;
    collectStoredProperties();
    // The settings file is shared with the command-line tool: only what this
    // window changed is written, under the library's lock.
    const LibraryLock lock(m_ctx.library().root());
    if (!lock.isLocked()) {
        m_ctx.dialogs().error(lock.error());
        return;
    }
    bool ok = placement.write(m_ctx.settings(), screenSize());
    ok = ok && m_ctx.form().saveChanges(m_ctx.settings(), m_storedForm);
    if (ok)
        m_storedForm = m_ctx.form();
    else
        m_ctx.dialogs().error(m_ctx.settings().lastError());
}

void MainWindow::shutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    feature<TreeController>()->stopFollowingLibrary();
    saveForm();
    if (!m_startedUp)
        return;
    QString error;
    if (!m_ctx.library().shutDown(m_ctx.state(), &error))
        m_ctx.dialogs().error(error);
    m_ctx.state().fileLines.clear();
    m_ctx.state().dirList.clear();
    m_ctx.state().lastRunInfo.clear();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_shutDown) {
        m_ctx.state().keepGoing = false; // a run yielding to this close ends at its next check
        m_ctx.table().closeQuery();
        shutDown();
    }
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Minimising hides to the tray, where there is one to come back from.
    if (event->type() == QEvent::WindowStateChange && m_tray && isMinimized())
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool inComment = TableRules::isCommentColumn(m_ctx.selectedTableColumn());
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool letter = key->text().size() == 1 && TableRules::isJumpLetter(key->text().at(0));
        if (watched == m_tableView && (key->key() == Qt::Key_Delete || ((enter || letter) && !inComment))) {
            feature<TableController>()->keyPressed(key);
            return true;
        }
        if (watched == m_treeView) {
            const int k = key->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Insert || k == Qt::Key_Delete) {
                feature<TreeController>()->keyPressed(key);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showFromTray()
{
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::exitProgram()
{
    close();
}
