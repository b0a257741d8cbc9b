#pragma once

#include "AppContext.h"
#include "FeatureController.h"
#include "TableService.h"
#include "TreeService.h"

#include <QMainWindow>
#include <QModelIndex>
#include <functional>
#include <optional>

class CategoryTreeModel;
class GeneralController;
class QAction;
class QMenu;
class QSplitter;
class QSystemTrayIcon;
class QTableView;
class QTreeView;
class QKeyEvent;
class ToolPanel;
class VisualTableModel;

// The main window: the widgets, the menu table, the tray, start-up and
// shutdown, and the feature controllers, which share the AppContext it
// owns. The handlers of the areas without a controller of their own are
// glue as well: they read controls, call the library code and show the
// results, defined in several source files by menu area (MainWindow*.cpp).
class MainWindow : public QMainWindow
{
    Q_OBJECT
    AppContext m_ctx; // first: everything else is built on it

public:
    static const QString Caption; // "Kestrovane v2.01"

    MainWindow(const QString &libraryRoot, Dialogs &dialogs, const DateFormats &formats,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // The caption is the status line: Caption, or Caption + " - " + text.
    void StatusLine(const QString &text);
    QString statusText() const { return m_ctx.statusText(); }
    // The hourglass: a single flag, not counted.
    void setBusy(bool busy) { m_ctx.setBusy(busy); }
    bool isBusy() const { return m_ctx.isBusy(); }

    LibraryState &state() { return m_ctx.state(); }
    const CatalogLibrary &library() const { return m_ctx.library(); }
    SettingsFile &settings() { return m_ctx.settings(); }
    const DateFormats &dateFormats() const { return m_ctx.formats(); }
    Dialogs &dialogs() { return m_ctx.dialogs(); }
    QAction *action(const QString &objectName) const;
    ToolPanel *panel(const QString &objectName) const;
    bool startedUp() const { return m_startedUp; }
    class HelpWindow *helpWindow() const;
    // A feature area's controller (tests reach a feature's panels this way).
    template <typename Feature>
    Feature *feature() const;

    QTreeView *treeView() const { return m_treeView; }
    CategoryTreeModel *treeModel() const { return m_treeModel; }
    QTableView *tableView() const { return m_tableView; }
    VisualTableModel *tableModel() const { return m_tableModel; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // MainWindow.cpp: construction and wiring.
    void createWidgets();
    void createMenus();
    void createTrayIcon();
    QAction *addCommand(QMenu *menu, const QString &objectName, const QString &caption);
    QMenu *addMenu(const QString &objectName, const QString &caption);
    void connectCommand(const QString &objectName, void (MainWindow::*handler)());
    // Each feature area's controller, in the order their panels are built,
    // given the views it works on.
    template <typename Feature, typename... Views>
    Feature *addFeature(Views *...views);
    QList<FeatureController *> m_features;
    GeneralController *m_general = nullptr;
    // MainWindowKeyboard.cpp
    void createMenuBarKey();

    // MainWindowStartup.cpp: start-up and shutdown.
    void startUp();
    void scaleToScreen();
    void restoreForm();
    // Has each feature build its tool panels, once the stored properties are read.
    void createPanels();
    void applyStoredProperties();
    void saveForm();
    void collectStoredProperties();
    // MainWindowSettings.cpp: false when Kestrovane.INI is there but cannot
    // be read, said once a run.
    bool checkSettingsReadable();
    void shutDown();
    void showFromTray();
    void exitProgram();

public:
    // How the volume of a path is read (tests hand in fixed figures).
    void setVolumeReader(AppContext::VolumeReader reader) { m_ctx.setVolumeReader(std::move(reader)); }
    // Where the mount table and the media's links are read (tests hand in prepared ones).
    void setMountSource(const AppContext::MountSource &source) { m_ctx.setMountSource(source); }

private:
    bool m_settingsUnreadableShown = false;
    FormValues m_storedForm; // the form as read or last written, to store only changes
    bool m_startedUp = false;
    bool m_shutDown = false;

    QSplitter *m_splitter = nullptr;
    QWidget *m_panel1 = nullptr;
    QTreeView *m_treeView = nullptr;
    CategoryTreeModel *m_treeModel = nullptr;
    QTableView *m_tableView = nullptr;
    VisualTableModel *m_tableModel = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
};

template <typename Feature>
Feature *MainWindow::feature() const
{
    for (FeatureController *candidate : m_features)
        if (auto *found = qobject_cast<Feature *>(candidate))
            return found;
    return nullptr;
}
