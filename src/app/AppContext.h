#pragma once

#include "Dialogs.h"
#include "RunGate.h"
#include "indexing/VolumeInfo.h"
#include "library/CatalogLibrary.h"
#include "library/DateFormats.h"
#include "library/LibraryState.h"
#include "library/MountTable.h"
#include "library/VolumeProbe.h"
#include "settings/FormValues.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QStringList>
#include <functional>

class QTableView;
class QWidget;
class VisualTableModel;
class ToolPanel;
class TableService;
class TreeService;

// What the window's features share: the library and the state read from it,
// the settings and the stored properties of the form, the date formats, the
// dialogs, the caption's status line, the busy cursor, the tool panels and
// the run gate. Features reach one another only through this and its
// signals, never through each other's widgets.
class AppContext : public QObject
{
    Q_OBJECT
public:
    AppContext(const QString &libraryRoot, Dialogs &dialogs, const DateFormats &formats, QWidget *window,
               const QString &caption);

    CatalogLibrary &library() { return m_library; }
    const CatalogLibrary &library() const { return m_library; }
    SettingsFile &settings() { return m_settings; }
    const DateFormats &formats() const { return m_formats; }
    Dialogs &dialogs() const { return m_dialogs; }
    LibraryState &state() { return m_state; }
    const LibraryState &state() const { return m_state; }
    FormValues &form() { return m_form; }
    const FormValues &form() const { return m_form; }

    QWidget *window() const { return m_window; }

    // How the volume of a path is read (tests hand in fixed figures).
    using VolumeReader = std::function<VolumeInfo(const QString &path)>;
    void setVolumeReader(VolumeReader reader) { m_volumeReader = std::move(reader); }
    VolumeInfo readVolume(const QString &path) const { return m_volumeReader(path); }

    // Where the mount table and udev's links to the media are read (tests
    // hand in prepared ones).
    struct MountSource {
        QString mountinfo = QStringLiteral("/proc/self/mountinfo");
        QString byUuid = QStringLiteral("/dev/disk/by-uuid");
        QString byLabel = QStringLiteral("/dev/disk/by-label");
    };
    void setMountSource(const MountSource &source);
    const MountSource &mountSource() const { return m_mountSource; }
    // The mount table as it is now, and what reads the media of a table.
    MountTable readMounts() const;
    VolumeProbe volumeProbe(const MountTable &mounts) const;

    // Replaces a list of the form that one feature's panel shows (the file
    // masks, the pre-defined comments) from another feature: the owner
    // shows the stored list again.
    void replaceStoredList(const QString &key, const QStringList &items);

    // The caption is the status line: the caption alone, or caption + " - " + text.
    void setStatus(const QString &text);
    QString statusText() const;
    // What a feature has to tell about a catalog selected in the tree; the
    // status line shows it in place of the usual hint when not empty.
    using CatalogNote = std::function<QString(const QString &catalog)>;
    void setCatalogNote(CatalogNote note) { m_catalogNote = std::move(note); }
    QString catalogNote(const QString &catalog) const
    {
        return m_catalogNote ? m_catalogNote(catalog) : QString();
    }
    // The hourglass: a single flag, not counted.
    void setBusy(bool busy);
    bool isBusy() const { return m_busy; }

    // The window's commands, found by object name in its menu table.
    QAction *action(const QString &objectName) const;
    template <typename Receiver, typename Handler>
    void onCommand(const QString &objectName, Receiver *receiver, Handler handler);

    // A tool panel of the window, opening where the form stored it.
    ToolPanel *addPanel(const QString &objectName, const QString &title);
    ToolPanel *panel(const QString &objectName) const;
    const QHash<QString, ToolPanel *> &panels() const { return m_panels; }
    // A panel's stored Left and Top, relative to the client area.
    QPoint storedPanelPosition(const QString &objectName) const;

    // The Visual Table, whose rows and selection several features use.
    void setTable(QTableView *view, VisualTableModel *model);
    QTableView *tableView() const { return m_tableView; }
    VisualTableModel *tableModel() const { return m_tableModel; }
    // The selected cell, as the view's current index: column 0 and row 0
    // (no data row) when there is none.
    int selectedTableColumn() const;
    int selectedTableRow() const;

    // The tree's and the table's commands the other features use.
    void setServices(TreeService *tree, TableService *table);
    TreeService &tree() const { return *m_tree; }
    TableService &table() const { return *m_table; }

    // Commands (by object name) and views a run must hold back.
    void holdBackWhileRunning(const QStringList &commands);
    void holdBackWhileRunning(QObject *view) { m_runGate.holdBackWhileRunning(view); }
    // True, with a word on the status line, while a run goes on.
    bool refuseWhileRunning();
    bool isRunning() const { return m_runGate.isRunning(); }
    // Holds back what waits during a run; runningPanel stays usable for its Stop button.
    void startRun(const QString &runningPanel);
    void finishRun() { m_runGate.finish(); }

    // Applies a change of the tree or its comments and stores the list files
    // it altered; on failure the change is undone and reported. The change
    // runs under the library's lock on the lists as they are on disk, so it
    // finds its nodes by name; it returns why it cannot be made, or nothing.
    bool storeChange(const std::function<QString()> &change);

signals:
    // The lists were stored or read again: views of the tree catch up.
    void listsChanged();
    // The mount table is read from elsewhere now.
    void mountSourceChanged();
    // A list of the form was replaced by replaceStoredList.
    void storedListReplaced(const QString &key);

private:
    CatalogLibrary m_library;
    SettingsFile m_settings;
    DateFormats m_formats;
    Dialogs &m_dialogs;
    LibraryState m_state;
    FormValues m_form;
    QWidget *m_window;
    VolumeReader m_volumeReader = [](const QString &path) { return VolumeInfo::read(path); };
    MountSource m_mountSource;
    QString m_caption;
    CatalogNote m_catalogNote;
    bool m_busy = false;
    QHash<QString, ToolPanel *> m_panels;
    QTableView *m_tableView = nullptr;
    VisualTableModel *m_tableModel = nullptr;
    TreeService *m_tree = nullptr;
    TableService *m_table = nullptr;
    RunGate m_runGate;
};

template <typename Receiver, typename Handler>
void AppContext::onCommand(const QString &objectName, Receiver *receiver, Handler handler)
{
    if (QAction *a = action(objectName))
        QObject::connect(a, &QAction::triggered, receiver, handler);
}
