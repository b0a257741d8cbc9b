// Catalog search, the duplicate finder and the report.
#include "MainWindow.h"

#include "AppRunControl.h"
#include "CheckTreeView.h"
#include "DuplicatePanel.h"
#include "SearchPanel.h"
#include "ToolPanel.h"
#include "library/CommaText.h"
#include "queries/CatalogReport.h"
#include "queries/LineMatcher.h"
#include "queries/SearchHistory.h"
#include "table/VisualTableModel.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTreeView>

namespace {

const QString kSearchPanel = QStringLiteral("Searchcatdlg");
const QString kDupPanel = QStringLiteral("Dupdlg");
constexpr int kYieldMs = 15;

} // namespace

void MainWindow::connectQueryCommands()
{
    connectCommand(QStringLiteral("Search1"), &MainWindow::showSearchPanel);
    connectCommand(QStringLiteral("ViewAllCatalogs1"), &MainWindow::viewAllCatalogs);
    connectCommand(QStringLiteral("FindDuplicates1"), &MainWindow::showDuplicatePanel);
    connectCommand(QStringLiteral("Report1"), &MainWindow::showReport);
    m_ctx.holdBackWhileRunning({"Search1", "FindDuplicates1", "Report1", "ViewAllCatalogs1"});
    connect(m_tableModel, &VisualTableModel::cellEdited, this, &MainWindow::reportCommentEdited);
}

void MainWindow::createQueryPanels()
{
    ToolPanel *search = m_ctx.addPanel(kSearchPanel, QStringLiteral("Set Options, Then Start"));
    m_searchPanel = new SearchPanel(search->body());
    search->setContent(m_searchPanel);
    m_searchPanel->setHistory(SearchHistory(m_ctx.form().list(QStringLiteral("Searchword_Items"))).items());
    connect(m_searchPanel, &SearchPanel::searchClicked, this, &MainWindow::startSearch);
    connect(m_searchPanel, &SearchPanel::enterSearch, this, &MainWindow::searchOnEnter);
    connect(m_searchPanel, &SearchPanel::stopClicked, this, &MainWindow::stopSearch);
    connect(m_searchPanel, &SearchPanel::closeClicked, search, &QWidget::hide);
    connect(m_searchPanel, &SearchPanel::clearHistoryClicked, this, &MainWindow::clearSearchHistory);

    ToolPanel *dup = m_ctx.addPanel(kDupPanel, QStringLiteral("Check Desired Categories, Then Start"));
    m_dupPanel = new DuplicatePanel(dup->body());
    dup->setContent(m_dupPanel);
    // This panel reports through the status line only.
    if (auto *bar = dup->findChild<QLabel *>(kDupPanel + QStringLiteral("Status")))
        bar->hide();
    DuplicateFinder::Criteria criteria;
    criteria.name = m_ctx.form().boolean(QStringLiteral("Comparename_Checked"));
    criteria.size = m_ctx.form().boolean(QStringLiteral("Comparesize_Checked"));
    criteria.date = m_ctx.form().boolean(QStringLiteral("Comparedate_Checked"));
    m_dupPanel->setCriteria(criteria);
    connect(m_dupPanel, &DuplicatePanel::startClicked, this, &MainWindow::startDuplicateSearch);
    connect(m_dupPanel, &DuplicatePanel::stopClicked, this, &MainWindow::stopDuplicateSearch);
    connect(m_dupPanel, &DuplicatePanel::closeClicked, dup, &QWidget::hide);
}

void MainWindow::collectQueryProperties()
{
    m_ctx.form().setList(QStringLiteral("Searchword_Items"), m_searchPanel->history());
    const DuplicateFinder::Criteria criteria = m_dupPanel->criteria();
    m_ctx.form().setBoolean(QStringLiteral("Comparename_Checked"), criteria.name);
    m_ctx.form().setBoolean(QStringLiteral("Comparesize_Checked"), criteria.size);
    m_ctx.form().setBoolean(QStringLiteral("Comparedate_Checked"), criteria.date);
}

bool MainWindow::queryRunning() const
{
    return m_ctx.state().searching || m_ctx.state().findingDuplicates;
}

void MainWindow::reportUnreadable(const QStringList &catalogs)
{
    if (!catalogs.isEmpty())
        m_ctx.dialogs().error(QStringLiteral("Cannot read the catalog file of ") +
                              catalogs.join(QStringLiteral(", ")));
}

void MainWindow::showSearchPanel()
{
    if (m_ctx.state().catalogInfo.isEmpty())
        return;
    m_ctx.table().offerSaveChanges();
    ToolPanel *p = panel(kSearchPanel);
    setBusy(true);
    p->setStatus(QStringLiteral("Ready..."));
    m_searchPanel->tree()->rebuild(m_ctx.state().tree);
    setBusy(false);
    p->showPanel();
    m_searchPanel->prepare();
}

void MainWindow::searchOnEnter()
{
    // Search is disabled while a run goes on; ENTER must wait as well.
    if (!queryRunning())
        startSearch();
}

void MainWindow::startSearch()
{
    if (queryRunning())
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

    // A copy: ticks changed while the run yields apply to the next search.
    const CheckTree tree = m_searchPanel->tree()->checkTree();
    CatalogSearch::Result result;
    runQuery(
        &DisplayMode::searchResults, &LibraryState::searching, kSearchPanel,
        [this](bool running) { m_searchPanel->setRunning(running); },
        [&](RunControl &control) {
            result = search.run(request, tree, control, m_ctx.state().fileLines);
            return result.outcome == CatalogSearch::Outcome::Finished && result.matches > 0;
        });
    reportUnreadable(result.unreadable);
}

void MainWindow::runQuery(bool DisplayMode::*results, bool LibraryState::*running, const QString &panelName,
                          const std::function<void(bool)> &setPanelRunning,
                          const std::function<bool(RunControl &)> &run)
{
    setBusy(true);
    m_ctx.state().displayMode.clear();
    m_ctx.state().displayMode.*results = true;
    m_ctx.state().*running = true;
    m_ctx.state().keepGoing = true;
    setPanelRunning(true);
    m_ctx.startRun(panelName);
    AppRunControl control([this](const QString &text) { StatusLine(text); }, nullptr, m_ctx.state().keepGoing,
                          kYieldMs);
    if (run(control)) {
        m_ctx.state().displayMode.clear();
        m_ctx.state().displayMode.*results = true;
        m_ctx.table().showFileLines();
    }
    m_ctx.state().fileLines.clear();
    m_ctx.state().displayMode.*results = false;
    m_ctx.state().*running = false;
    m_ctx.state().keepGoing = false;
    m_ctx.finishRun();
    setPanelRunning(false);
    setBusy(false);
}

void MainWindow::stopSearch()
{
    m_ctx.state().keepGoing = false;
}

void MainWindow::clearSearchHistory()
{
    if (m_ctx.dialogs().confirmYesNo(QStringLiteral("Proceed to clear history list?")))
        m_searchPanel->setHistory({});
}

void MainWindow::viewAllCatalogs()
{
    if (m_ctx.state().catalogInfo.isEmpty())
        return;
    showSearchPanel();
    m_searchPanel->tree()->setAllChecked(true);
    m_searchPanel->setMode(CatalogSearch::Mode::Extension);
    m_searchPanel->extensionBox()->setCurrentText(QStringLiteral("*.*"));
    startSearch();
    panel(kSearchPanel)->hide();
}

void MainWindow::showDuplicatePanel()
{
    m_ctx.table().offerSaveChanges();
    setBusy(true);
    m_dupPanel->tree()->rebuild(m_ctx.state().tree);
    setBusy(false);
    panel(kDupPanel)->showPanel();
}

void MainWindow::startDuplicateSearch()
{
    if (queryRunning())
        return;
    const DuplicateFinder::Criteria criteria = m_dupPanel->criteria();
    if (!criteria.any()) {
        m_ctx.dialogs().warning(DuplicateFinder::noCriterionMessage());
        return;
    }
    m_ctx.state().fileLines.clear();
    const CheckTree tree = m_dupPanel->tree()->checkTree();
    DuplicateFinder::Result result;
    runQuery(
        &DisplayMode::duplicateResults, &LibraryState::findingDuplicates, kDupPanel,
        [this](bool running) { m_dupPanel->setRunning(running); },
        [&](RunControl &control) {
            result = DuplicateFinder(m_ctx.library()).run(tree, criteria, control, m_ctx.state().fileLines);
            return result.outcome == DuplicateFinder::Outcome::Finished && result.duplicates > 0;
        });
    reportUnreadable(result.unreadable);
}

void MainWindow::stopDuplicateSearch()
{
    m_ctx.state().keepGoing = false;
}

void MainWindow::showReport()
{
    m_ctx.table().offerSaveChanges();
    if (m_ctx.state().catalogInfo.isEmpty())
        return;
    setBusy(true);
    const std::vector<QStringList> rows =
        CatalogReport::rows(m_ctx.state().catalogInfo, m_ctx.state().treeComments);
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const QStringList &cells : rows)
        lines << CommaText::join(cells);
    m_tableModel->setUpReportView();
    m_tableModel->fill(lines);
    m_tableView->horizontalHeader()->setSortIndicatorShown(false);
    m_ctx.table().applyColumnWidths();
    StatusLine(CatalogReport::statusText(qsizetype(rows.size())));
    setBusy(false);
}

void MainWindow::reportCommentEdited(int column, int row)
{
    if (m_tableModel->columnCount() != CatalogReport::ColumnCount || column != CatalogReport::Comment)
        return;
    const QString catalog = m_tableModel->cell(CatalogReport::Name, row);
    if (catalog.isEmpty())
        return;
    const QString comment = m_tableModel->cell(column, row);
    m_ctx.storeChange([&] {
        CatalogReport::storeComment(m_ctx.state().treeComments, catalog, comment);
        return QString();
    });
}
