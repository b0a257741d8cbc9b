#pragma once

#include "AppContext.h"
#include "FeatureController.h"
#include "TableService.h"
#include "TreeService.h"
#include "indexing/VolumeInfo.h"
#include "library/SaveNewCatalog.h"
#include "table/TableSearch.h"

#include <QMainWindow>
#include <QModelIndex>
#include <QPersistentModelIndex>
#include <functional>
#include <optional>

class CategoryTreeModel;
class GeneralController;
class CreateCatPanel;
class FileCommentPanel;
class UpdatePanel;
class QAction;
class QLineEdit;
class RunControl;
class QMenu;
class QSplitter;
class QSystemTrayIcon;
class QTableView;
class QTreeView;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
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
    // Builds the tool panels (MainWindowComments.cpp); each panel's builder
    // lives with its handlers.
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

    // MainWindowIndexing.cpp: the create panel, saving a run, the update panel.
    void connectIndexingCommands();
    void createIndexingPanels();

public:
    // How the volume of a path is read (tests hand in fixed figures).
    using VolumeReader = std::function<VolumeInfo(const QString &path)>;
    void setVolumeReader(VolumeReader reader) { m_volumeReader = std::move(reader); }
    // How often a run lets the event loop in, in milliseconds.
    void setRunYieldInterval(int ms) { m_runYieldMs = ms; }
    CreateCatPanel *createCatPanel() const { return m_createCat; }
    UpdatePanel *updatePanel() const { return m_updateDlg; }
    bool indexing() const { return m_indexing; }
    bool unsavedScan() const { return m_unsavedScan; }
    // Stores the table's run as a catalog; true when it was stored.
    bool SaveNewCatalogNamed(const QString &name);

private:
    void createCreatePanel();
    // Keeps m_form in step with the create panel's stored controls.
    void storeIndexingProperties();
    void showCreatePanel();
    bool scanGuard();
    void browseIndexDirectory();
    void showVolume(const QString &path);
    void nameCatalogAfterVolume();
    void readDiskLabel();
    void ejectDisc();
    void startIndexing();
    void endIndexing(bool showResult, const QString &summary);
    void stopIndexing();
    void saveScannedCatalog();
    void closeCreatePanel();
    void addCreateMask();
    void reloadSavedMasks();
    CatalogSaving::TableRows tableRows() const;
    void applySaveResult(const SaveNewCatalog::Result &result);
    void showMergedCatalog(const QString &name);
    int selectedCategoryRow() const;
    // MainWindowUpdate.cpp: the update panel and its run.
    void createUpdatePanel();
    void showUpdatePanel();
    void fillUpdatePanel(const QString &name);
    void addUpdateMask();
    void browseUpdateDirectory();
    void startUpdate();
    QString updateDriveText() const;

    CreateCatPanel *m_createCat = nullptr;
    UpdatePanel *m_updateDlg = nullptr;
    VolumeReader m_volumeReader;
    std::optional<VolumeInfo> m_volume; // the create panel's volume, once read
    int m_runYieldMs = 15;
    bool m_indexing = false;
    bool m_unsavedScan = false;
    bool m_closedDuringRun = false;
    QString m_updateName;
    QString m_updateDriveType;
    QString m_updateDrive;

    // MainWindowQueries.cpp: catalog search, duplicates, report.
    void connectQueryCommands();
    void createQueryPanels();
    // Writes the search history and the comparison boxes into m_form.
    void collectQueryProperties();
    void showSearchPanel();
    void startSearch();
    void searchOnEnter();
    void stopSearch();
    void clearSearchHistory();
    void viewAllCatalogs();
    void showDuplicatePanel();
    void startDuplicateSearch();
    void stopDuplicateSearch();
    void showReport();
    // A comment edited in the report's Comment column.
    void reportCommentEdited(int column, int row);
    bool queryRunning() const;
    // Runs a search or duplicate loop with its flags, the commands that wait
    // and the busy cursor around it; shows the result lines when run says so.
    void runQuery(bool DisplayMode::*results, bool LibraryState::*running, const QString &panelName,
                  const std::function<void(bool)> &setPanelRunning,
                  const std::function<bool(RunControl &)> &run);
    void reportUnreadable(const QStringList &catalogs);
    class SearchPanel *m_searchPanel = nullptr;
    class DuplicatePanel *m_dupPanel = nullptr;

    // MainWindowExport.cpp: the table saved as a text or HTML file.
    void connectExportCommands();
    void exportTextFile();
    void exportHtmlFile();

    // MainWindowReplace.cpp: search and replace in file comments.
    void createReplacePanel();
    void showReplacePanel();
    void replaceInComments();
    void setReplaceRunning(bool running);
    class QLineEdit *m_sandrSearch = nullptr;         // Edit1
    class QLineEdit *m_sandrReplace = nullptr;        // Edit2
    class QPushButton *m_sandrSearchButton = nullptr; // Button1
    class QPushButton *m_sandrCloseButton = nullptr;  // Button2

    // MainWindowTableTools.cpp: table search, file deletion, the clipboard.
    void connectTableToolCommands();
    void createTableSearchPanel();
    void showTableSearchPanel();
    void findFirstInTable();
    void findNextInTable();
    void showTableSearchOutcome(TableSearch::Outcome outcome);
    void deleteSelectedFile();
    void copySelection();
    void copySelectedRegion();
    void pasteFromClipboard();
    class TableSearchPanel *m_tableSearchPanel = nullptr;
    TableSearch m_tableSearch;

    // MainWindowUpgrade.cpp: the import from the earlier version.
public:
    class UpgradePanel *upgradePanel() const { return m_upgradePanel; }

private:
    void connectUpgradeCommands();
    void createUpgradePanel();
    void showUpgradePanel();
    QString oldDirectory() const;
    void browseOldDirectory();
    void importOldColumnWidths();
    void importOldComments();
    void importOldMasks();
    void importCatalogs();
    class UpgradePanel *m_upgradePanel = nullptr;

    // MainWindowComments.cpp: comments of categories and catalogs.
    void createTreeCommentPanel();
    void showTreeComment();
    void acceptTreeComment();

    // MainWindowFileComments.cpp: the comment window and Delete Comment.
public:
    FileCommentPanel *fileCommentPanel() const { return m_fileComment; }

private:
    void connectFileCommentCommands();
    void createCommentWindow();
    bool isCommentableRow(int row) const;
    void openCommentWindow();
    void acceptFileComment();
    void addCommentToPredefined();
    void usePredefinedComment();
    void editPredefinedComment();
    void removePredefinedComment();
    // Shows the pre-defined list and keeps the stored property in step.
    void showPredefined(const QStringList &items, int selectRow = -1);
    void deleteFileComment();
    void undoDeleteComment();
    // Disables Undo Delete once its row is gone or no longer an entry.
    void checkUndoTarget();
    void setUndoEnabled(bool enabled);
    FileCommentPanel *m_fileComment = nullptr;
    int m_tableFills = 0;        // table refills so far
    int m_commentWindowFill = 0; // m_tableFills when the window was opened
    QPersistentModelIndex m_undoRow;
    QString m_undoText;

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
    // Catcommdlg's controls.
    QLabel *m_catCommKind = nullptr;
    QLabel *m_catCommName = nullptr;
    QLabel *m_catCommCount = nullptr;
    QPlainTextEdit *m_catCommText = nullptr;
};

template <typename Feature>
Feature *MainWindow::feature() const
{
    for (FeatureController *candidate : m_features)
        if (auto *found = qobject_cast<Feature *>(candidate))
            return found;
    return nullptr;
}
