#include "AppContext.h"

#include "ToolPanel.h"
#include "library/LibraryTransaction.h"

#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QWidget>

namespace {

QPoint defaultPanelPosition(const QString &objectName)
{
    static const FormValues defaults = FormValues::defaults();
    return QPoint(defaults.integer(objectName + QStringLiteral("_Left")),
                  defaults.integer(objectName + QStringLiteral("_Top")));
}

} // namespace

AppContext::AppContext(const QString &libraryRoot, Dialogs &dialogs, const DateFormats &formats,
                       QWidget *window, const QString &caption)
    : m_library(libraryRoot), m_settings(CatalogLibrary(libraryRoot).settingsPath()), m_formats(formats),
      m_dialogs(dialogs), m_window(window), m_caption(caption)
{}

void AppContext::setStatus(const QString &text)
{
    m_window->setWindowTitle(text.isEmpty() ? m_caption : m_caption + QStringLiteral(" - ") + text);
}

QString AppContext::statusText() const
{
    const QString title = m_window->windowTitle();
    const QString prefix = m_caption + QStringLiteral(" - ");
    return title.startsWith(prefix) ? title.mid(prefix.size()) : QString();
}

void AppContext::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

void AppContext::setMountSource(const MountSource &source)
{
    m_mountSource = source;
    emit mountSourceChanged();
}

MountTable AppContext::readMounts() const
{
    QFile file(m_mountSource.mountinfo);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return MountTable::fromText(file.readAll());
}

VolumeProbe AppContext::volumeProbe(const MountTable &mounts) const
{
    return VolumeProbe(mounts, m_mountSource.byUuid, m_mountSource.byLabel);
}

void AppContext::replaceStoredList(const QString &key, const QStringList &items)
{
    m_form.setList(key, items);
    emit storedListReplaced(key);
}

void AppContext::setServices(TreeService *tree, TableService *table)
{
    m_tree = tree;
    m_table = table;
}

QAction *AppContext::action(const QString &objectName) const
{
    return m_window->findChild<QAction *>(objectName);
}

ToolPanel *AppContext::addPanel(const QString &objectName, const QString &title)
{
    auto *p = new ToolPanel(objectName, title, m_window);
    p->setDefaultPosition(defaultPanelPosition(objectName));
    p->setHomePosition(storedPanelPosition(objectName));
    m_panels.insert(objectName, p);
    return p;
}

ToolPanel *AppContext::panel(const QString &objectName) const
{
    return m_panels.value(objectName);
}

QPoint AppContext::storedPanelPosition(const QString &objectName) const
{
    return QPoint(m_form.integer(objectName + QStringLiteral("_Left")),
                  m_form.integer(objectName + QStringLiteral("_Top")));
}

void AppContext::setTable(QTableView *view, VisualTableModel *model)
{
    m_tableView = view;
    m_tableModel = model;
}

// The view's current cell is the only record of the selection: the model
// moves it with its row when the rows are sorted or removed, so every command
// acts on the row the user sees selected.
int AppContext::selectedTableColumn() const
{
    const QModelIndex current = m_tableView->currentIndex();
    return current.isValid() ? current.column() : 0;
}

int AppContext::selectedTableRow() const
{
    const QModelIndex current = m_tableView->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void AppContext::holdBackWhileRunning(const QStringList &commands)
{
    for (const QString &name : commands)
        m_runGate.holdBackWhileRunning(action(name));
}

bool AppContext::refuseWhileRunning()
{
    if (!m_runGate.isRunning())
        return false;
    setStatus(QStringLiteral("Please Wait Until The Running Operation Ends"));
    return true;
}

void AppContext::startRun(const QString &runningPanel)
{
    QList<QWidget *> otherPanels;
    for (auto it = m_panels.cbegin(); it != m_panels.cend(); ++it) {
        if (it.key() != runningPanel)
            otherPanels << it.value();
    }
    m_runGate.start(otherPanels);
}

bool AppContext::storeChange(const std::function<QString()> &change)
{
    QString error;
    const auto changeNow = [&](LibraryTransaction &transaction) {
        if (const QString problem = change(); !problem.isEmpty())
            transaction.abort(problem);
    };
    const bool stored = LibraryTransaction::apply(m_library, m_state, changeNow, &error);
    emit listsChanged();
    if (stored)
        return true;
    setStatus(QStringLiteral("Failed To Save Catalog"));
    m_dialogs.error(error);
    return false;
}
