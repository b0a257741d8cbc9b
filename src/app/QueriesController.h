#pragma once

#include "FeatureController.h"
#include "library/DisplayMode.h"
#include "library/LibraryState.h"

#include <QString>
#include <QStringList>
#include <functional>

class DuplicatePanel;
class RunControl;
class SearchPanel;
class SingleCopyPanel;

// The queries over the whole library: the catalog search with its history,
// View All Catalogs, the duplicate finder, the single-copy finder and the
// catalog report, whose Comment column edits the catalogs' comments.
class QueriesController : public FeatureController
{
    Q_OBJECT
public:
    QueriesController(AppContext &context, QObject *parent);

    void createPanels() override;
    void collectStoredProperties() override;

private:
    // What sets one kind of query apart in a run: the layout of its result
    // lines, the flag that says it runs, and its panel, whose Stop button
    // stays usable while the rest of the window waits.
    struct QueryKind {
        bool DisplayMode::*results;
        bool LibraryState::*running;
        QString panelName;
        std::function<void(bool)> setPanelRunning;
        // The status texts go to the panel's own status bar as well.
        bool panelStatus = false;
    };

    void createSearchPanel();
    void createDuplicatePanel();
    void createSingleCopyPanel();
    void showSearchPanel();
    void searchOnEnter();
    void startSearch();
    void clearSearchHistory();
    void viewAllCatalogs();
    void showDuplicatePanel();
    void startDuplicateSearch();
    void showSingleCopyPanel();
    // The same panel asking about the catalog selected in the tree.
    void showNowhereElsePanel();
    void startSingleCopySearch();
    // Stop: the running query ends at its next check.
    void stopQuery();
    void showReport();
    // Stores a comment edited in the report's Comment column.
    void storeReportComment(int column, int row);
    // Runs a query's loop with its flags, the commands that wait and the
    // busy cursor around it; shows the result lines when run says so.
    // show fills the table when run found something; by default from the
    // state's file lines.
    void runQuery(const QueryKind &kind, const std::function<bool(RunControl &)> &run,
                  const std::function<void()> &show = {});
    void reportUnreadable(const QStringList &catalogs);

    SearchPanel *m_searchPanel = nullptr;
    DuplicatePanel *m_duplicatePanel = nullptr;
    SingleCopyPanel *m_singleCopyPanel = nullptr;
    bool m_queryRunning = false; // one query at a time, whatever its kind
};
