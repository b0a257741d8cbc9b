#include "QueriesController.h"

#include "AppContext.h"
#include "AppRunControl.h"
#include "CategoryTreeModel.h"
#include "DuplicatePanel.h"
#include "SearchPanel.h"
#include "SingleCopyPanel.h"
#include "TableService.h"
#include "ToolPanel.h"
#include "TreeService.h"
#include "library/CommaText.h"
#include "queries/CatalogReport.h"
#include "queries/LineMatcher.h"
#include "queries/ResultRun.h"
#include "queries/SearchHistory.h"
#include "table/VisualTableModel.h"

#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

namespace {

const QString kSearchPanel = QStringLiteral("Searchcatdlg");
const QString kDuplicatePanel = QStringLiteral("Dupdlg");
const QString kSingleCopyPanel = QStringLiteral("Singledlg");
const QString kHistoryKey = QStringLiteral("Searchword_Items");

} // namespace

QueriesController::QueriesController(AppContext &context, QObject *parent)
    : FeatureController(context, parent)
{
    m_ctx.onCommand(QStringLiteral("Search1"), this, &QueriesController::showSearchPanel);
    m_ctx.onCommand(QStringLiteral("ViewAllCatalogs1"), this, &QueriesController::viewAllCatalogs);
    m_ctx.onCommand(QStringLiteral("FindDuplicates1"), this, &QueriesController::showDuplicatePanel);
    m_ctx.onCommand(QStringLiteral("FindSingleCopies1"), this, &QueriesController::showSingleCopyPanel);
    m_ctx.onCommand(QStringLiteral("FilesFoundNowhereElse1"), this, &QueriesController::showNowhereElsePanel);
    m_ctx.onCommand(QStringLiteral("Report1"), this, &QueriesController::showReport);
    m_ctx.holdBackWhileRunning({"Search1", "FindDuplicates1", "FindSingleCopies1", "FilesFoundNowhereElse1",
                                "Report1", "ViewAllCatalogs1"});
    connect(m_ctx.tableModel(), &VisualTableModel::cellEdited, this, &QueriesController::storeReportComment);
}

void QueriesController::createPanels()
{
    createSearchPanel();
    createDuplicatePanel();
    createSingleCopyPanel();
}

void QueriesController::createSearchPanel()
{
    ToolPanel *panel = m_ctx.addPanel(kSearchPanel, QStringLiteral("Set Options, Then Start"));
    m_searchPanel = new SearchPanel(panel->body());
    panel->setContent(m_searchPanel);
    m_searchPanel->setHistory(SearchHistory(m_ctx.form().list(kHistoryKey)).items());
    connect(m_searchPanel, &SearchPanel::searchClicked, this, &QueriesController::startSearch);
    connect(m_searchPanel, &SearchPanel::enterSearch, this, &QueriesController::searchOnEnter);
    connect(m_searchPanel, &SearchPanel::stopClicked, this, &QueriesController::stopQuery);
    connect(m_searchPanel, &SearchPanel::closeClicked, panel, &QWidget::hide);
    connect(m_searchPanel, &SearchPanel::clearHistoryClicked, this, &QueriesController::clearSearchHistory);
}

void QueriesController::createDuplicatePanel()
{
    ToolPanel *panel =
        m_ctx.addPanel(kDuplicatePanel, QStringLiteral("Check Desired Categories, Then Start"));
    m_duplicatePanel = new DuplicatePanel(panel->body());
    panel->setContent(m_duplicatePanel);
    // This panel reports through the status line only.
    if (auto *bar = panel->findChild<QLabel *>(kDuplicatePanel + QStringLiteral("Status")))
        bar->hide();
    m_duplicatePanel->restore(m_ctx.form());
    connect(m_duplicatePanel, &DuplicatePanel::startClicked, this, &QueriesController::startDuplicateSearch);
    connect(m_duplicatePanel, &DuplicatePanel::stopClicked, this, &QueriesController::stopQuery);
    connect(m_duplicatePanel, &DuplicatePanel::closeClicked, panel, &QWidget::hide);
}

void QueriesController::createSingleCopyPanel()
{
    ToolPanel *panel = m_ctx.addPanel(kSingleCopyPanel, QString());
    m_singleCopyPanel = new SingleCopyPanel(panel->body());
    panel->setContent(m_singleCopyPanel);
    m_singleCopyPanel->restore(m_ctx.form());
    connect(m_singleCopyPanel, &SingleCopyPanel::startClicked, this,
            &QueriesController::startSingleCopySearch);
    connect(m_singleCopyPanel, &SingleCopyPanel::stopClicked, this, &QueriesController::stopQuery);
    connect(m_singleCopyPanel, &SingleCopyPanel::closeClicked, panel, &QWidget::hide);
    // A hidden panel would leave no way to stop its run, so hiding stops it.
    connect(panel, &ToolPanel::closeClicked, this, [this] {
        if (m_ctx.state().findingSingleCopies)
            stopQuery();
    });
}

void QueriesController::collectStoredProperties()
{
    m_ctx.form().setList(kHistoryKey, m_searchPanel->history());
    m_duplicatePanel->store(m_ctx.form());
    m_singleCopyPanel->store(m_ctx.form());
}

void QueriesController::reportUnreadable(const QStringList &catalogs)
{
    if (!catalogs.isEmpty())
        m_ctx.dialogs().error(QStringLiteral("Cannot read the catalog file of ") +
                              catalogs.join(QStringLiteral(", ")));
}

void QueriesController::showSearchPanel()
{
    if (m_ctx.state().catalogInfo.isEmpty())
        return;
    m_ctx.table().offerSaveChanges();
    ToolPanel *panel = m_ctx.panel(kSearchPanel);
    m_ctx.setBusy(true);
    panel->setStatus(QStringLiteral("Ready..."));
    m_searchPanel->showCategories(m_ctx.state().tree);
    m_ctx.setBusy(false);
    panel->showPanel();
    m_searchPanel->prepare();
}

void QueriesController::searchOnEnter()
{
    // Search is disabled while a run goes on; ENTER must wait as well.
    if (!m_queryRunning)
        startSearch();
}

void QueriesController::startSearch()
{
    if (m_queryRunning)
        return;
    const CatalogSearch::Request request = m_searchPanel->request();
    m_ctx.state().fileLines.clear();
    if (request.mode == CatalogSearch::Mode::Word) {
        if (request.word.isEmpty())
            return;
        SearchHistory history(m_searchPanel->history());
        history.add(request.word);
        m_searchPanel->setHistory(history.items());
    }
    const CatalogSearch search(m_ctx.library(), m_ctx.formats(), QDate::currentDate().year());
    QString error;
    if (!search.matcherFor(request, &error)) {
        if (!error.isEmpty())
            m_ctx.dialogs().warning(error);
        return;
    }

    const CheckTree tree = m_searchPanel->tickedCatalogs();
    const QueryKind kind{&DisplayMode::searchResults, &LibraryState::searching, kSearchPanel,
                         [this](bool running) { m_searchPanel->setRunning(running); }};
    CatalogSearch::Result result;
    // Each catalog's results stay a run of their own: the table takes them
    // over with their catalog's name once, not once a row.
    std::vector<ResultRun> runs;
    runQuery(
        kind,
        [&](RunControl &control) {
            result = search.run(request, tree, control, runs);
            return result.outcome == CatalogSearch::Outcome::Finished && result.matches > 0;
        },
        [&] { m_ctx.table().showResults(std::move(runs)); });
    reportUnreadable(result.unreadable);
}

void QueriesController::runQuery(const QueryKind &kind, const std::function<bool(RunControl &)> &run,
                                 const std::function<void()> &show)
{
    LibraryState &state = m_ctx.state();
    m_ctx.setBusy(true);
    state.displayMode.clear();
    state.displayMode.*kind.results = true;
    state.*kind.running = true;
    m_queryRunning = true;
    state.keepGoing = true;
    kind.setPanelRunning(true);
    m_ctx.startRun(kind.panelName);
    ToolPanel *panel = kind.panelStatus ? m_ctx.panel(kind.panelName) : nullptr;
    AppRunControl control(state.keepGoing, [this, panel](const QString &text) {
        m_ctx.setStatus(text);
        if (panel)
            panel->setStatus(text);
    });
    if (run(control)) {
        state.displayMode.clear();
        state.displayMode.*kind.results = true;
        if (show)
            show();
        else
            m_ctx.table().showFileLines();
    }
    state.fileLines.clear();
    state.displayMode.*kind.results = false;
    state.*kind.running = false;
    m_queryRunning = false;
    state.keepGoing = false;
    m_ctx.finishRun();
    kind.setPanelRunning(false);
    m_ctx.setBusy(false);
}

void QueriesController::stopQuery()
{
    m_ctx.state().keepGoing = false;
}

void QueriesController::clearSearchHistory()
{
    if (m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to clear history list?")))
        m_searchPanel->setHistory({});
}

void QueriesController::viewAllCatalogs()
{
    if (m_ctx.state().catalogInfo.isEmpty())
        return;
    showSearchPanel();
    m_searchPanel->chooseEveryFile();
    startSearch();
    m_ctx.panel(kSearchPanel)->hide();
}

void QueriesController::showDuplicatePanel()
{
    m_ctx.table().offerSaveChanges();
    m_ctx.setBusy(true);
    m_duplicatePanel->showCategories(m_ctx.state().tree);
    m_ctx.setBusy(false);
    m_ctx.panel(kDuplicatePanel)->showPanel();
}

void QueriesController::startDuplicateSearch()
{
    if (m_queryRunning)
        return;
    const DuplicateFinder::Criteria criteria = m_duplicatePanel->criteria();
    if (!criteria.any()) {
        m_ctx.dialogs().warning(DuplicateFinder::noCriterionMessage());
        return;
    }
    m_ctx.state().fileLines.clear();
    const CheckTree tree = m_duplicatePanel->tickedCatalogs();
    const QueryKind kind{&DisplayMode::duplicateResults, &LibraryState::findingDuplicates, kDuplicatePanel,
                         [this](bool running) { m_duplicatePanel->setRunning(running); }};
    DuplicateFinder::Result result;
    runQuery(kind, [&](RunControl &control) {
        result = DuplicateFinder(m_ctx.library()).run(tree, criteria, control, m_ctx.state().fileLines);
        return result.outcome == DuplicateFinder::Outcome::Finished && result.duplicates > 0;
    });
    reportUnreadable(result.unreadable);
}

void QueriesController::showSingleCopyPanel()
{
    m_ctx.table().offerSaveChanges();
    m_ctx.setBusy(true);
    m_singleCopyPanel->askAcross(m_ctx.state().tree);
    m_ctx.setBusy(false);
    ToolPanel *panel = m_ctx.panel(kSingleCopyPanel);
    panel->setTitle(QStringLiteral("Check Desired Categories, Then Start"));
    panel->showPanel();
}

void QueriesController::showNowhereElsePanel()
{
    const QModelIndex node = m_ctx.tree().selectedNode();
    if (!CategoryTreeModel::isCatalog(node))
        return;
    m_ctx.table().offerSaveChanges();
    const QString catalog = m_ctx.tree().treeModel()->nodeText(node);
    m_ctx.setBusy(true);
    m_singleCopyPanel->askAbout(catalog, m_ctx.state().tree);
    m_ctx.setBusy(false);
    ToolPanel *panel = m_ctx.panel(kSingleCopyPanel);
    panel->setTitle(QStringLiteral("Check The Catalogs To Compare With, Then Start"));
    panel->showPanel();
}

void QueriesController::startSingleCopySearch()
{
    if (m_queryRunning)
        return;
    const SingleCopyFinder::Criteria criteria = m_singleCopyPanel->criteria();
    if (!criteria.any()) {
        m_ctx.dialogs().warning(DuplicateFinder::noCriterionMessage());
        return;
    }
    m_ctx.state().fileLines.clear();
    const QString catalog = m_singleCopyPanel->catalog();
    const CheckTree tree = m_singleCopyPanel->tickedCatalogs();
    const QueryKind kind{&DisplayMode::singleCopyResults, &LibraryState::findingSingleCopies,
                         kSingleCopyPanel, [this](bool running) { m_singleCopyPanel->setRunning(running); },
                         true};
    SingleCopyFinder::Result result;
    runQuery(kind, [&](RunControl &control) {
        const SingleCopyFinder finder(m_ctx.library());
        SortedLineList &lines = m_ctx.state().fileLines;
        result = catalog.isEmpty() ? finder.singleCopies(tree, criteria, control, lines)
                                   : finder.nowhereElse(catalog, tree, criteria, control, lines);
        return result.outcome == SingleCopyFinder::Outcome::Finished && result.found > 0;
    });
    if (result.outcome == SingleCopyFinder::Outcome::Failed)
        m_ctx.dialogs().error(result.message);
    reportUnreadable(result.unreadable);
}

void QueriesController::showReport()
{
    m_ctx.table().offerSaveChanges();
    if (m_ctx.state().catalogInfo.isEmpty())
        return;
    m_ctx.setBusy(true);
    const LibraryState &state = m_ctx.state();
    const std::vector<QStringList> rows =
        CatalogReport::rows(state.catalogInfo, state.treeComments, state.volumes);
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const QStringList &cells : rows)
        lines << CommaText::join(cells);
    VisualTableModel *model = m_ctx.tableModel();
    model->setUpReportView();
    model->fill(lines);
    m_ctx.tableView()->horizontalHeader()->setSortIndicatorShown(false);
    m_ctx.table().applyColumnWidths();
    m_ctx.setStatus(CatalogReport::statusText(qsizetype(rows.size())));
    m_ctx.setBusy(false);
}

void QueriesController::storeReportComment(int column, int row)
{
    static_assert(CatalogReport::ColumnCount == TableRules::ReportColumnCount &&
                  CatalogReport::Comment == TableRules::ReportCommentColumn);
    const VisualTableModel *model = m_ctx.tableModel();
    // Only the report's own layout holds catalog names and their comments;
    // a comment edited in any other table must never reach them.
    if (TableRules::viewFor(model->columnCount()) != TableRules::View::Report ||
        column != CatalogReport::Comment)
        return;
    const QString catalog = model->cell(CatalogReport::Name, row);
    if (catalog.isEmpty())
        return;
    const QString comment = model->cell(column, row);
    m_ctx.storeChange([&] {
        CatalogReport::storeComment(m_ctx.state().treeComments, catalog, comment);
        return QString();
    });
}
