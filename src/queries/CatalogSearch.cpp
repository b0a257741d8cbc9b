#include "CatalogSearch.h"

#include "CatalogHitReader.h"
#include "CheckTree.h"
#include "DateRangeMatcher.h"
#include "DateReader.h"
#include "ExtensionMatcher.h"
#include "ResultRun.h"
#include "ResultSorter.h"
#include "WordMatcher.h"
#include "indexing/RunControl.h"
#include "library/CatalogLibrary.h"
#include "library/OrderedWork.h"
#include "library/SortedLineList.h"

#include <QSet>

namespace {

QStringList tickedCatalogs(const CheckTree &tree)
{
    QStringList names;
    for (const CheckTree::Category &category : tree.categories()) {
        for (const CheckTree::Node &catalog : category.catalogs) {
            if (catalog.checked)
                names << catalog.text;
        }
    }
    return names;
}

} // namespace

CatalogSearch::Request CatalogSearch::Request::viewAll()
{
    Request r;
    r.mode = Mode::Extension;
    r.extension = QStringLiteral("*.*");
    return r;
}

CatalogSearch::CatalogSearch(const CatalogLibrary &library, const DateFormats &formats, int currentYear)
    : m_library(library), m_formats(formats), m_currentYear(currentYear)
{}

QString CatalogSearch::foundText(qsizetype matches)
{
    return QStringLiteral("Found %1 Matches").arg(matches);
}

std::unique_ptr<LineMatcher> CatalogSearch::matcherFor(const Request &request, QString *error) const
{
    switch (request.mode) {
    case Mode::Word:
        if (request.word.isEmpty())
            return nullptr;
        return std::make_unique<WordMatcher>(request.word, request.caseSensitive);
    case Mode::Extension:
        if (request.extension.isEmpty())
            return nullptr;
        return std::make_unique<ExtensionMatcher>(request.extension);
    case Mode::Date: {
        if (request.from.isEmpty() || request.to.isEmpty())
            return nullptr;
        const DateReader reader(m_formats, m_currentYear);
        const QDate from = reader.read(request.from);
        if (!from.isValid()) {
            if (error)
                *error = DateReader::invalidDateMessage(request.from);
            return nullptr;
        }
        const QDate to = reader.read(request.to);
        if (!to.isValid()) {
            if (error)
                *error = DateReader::invalidDateMessage(request.to);
            return nullptr;
        }
        return std::make_unique<DateRangeMatcher>(from, to, reader);
    }
    }
    return nullptr;
}

CatalogSearch::Result CatalogSearch::search(const Request &request, const CheckTree &tree,
                                            RunControl &control,
                                            const std::function<void(ResultRun &&)> &take) const
{
    Result result;
    const std::unique_ptr<LineMatcher> matcher = matcherFor(request, &result.message);
    if (!matcher) {
        result.outcome = result.message.isEmpty() ? Outcome::NothingToDo : Outcome::InvalidDate;
        return result;
    }
    const QStringList catalogs = tickedCatalogs(tree);
    using Hits = CatalogHitReader::Hits;
    OrderedWork<Hits> workers(
        catalogs.size(),
        [&]() -> OrderedWork<Hits>::Job {
            auto reader = std::make_shared<CatalogHitReader>(m_library, matcherFor(request, nullptr));
            return [reader, &catalogs](qsizetype i, const std::atomic<bool> &stopped) {
                return reader->read(catalogs.at(i), stopped);
            };
        },
        m_threads);
    for (qsizetype i = 0; i < catalogs.size(); ++i) {
        if (!control.keepGoing()) {
            workers.stop();
            control.status(QStringLiteral("Search Cancelled"));
            result.outcome = Outcome::Cancelled;
            return result;
        }
        control.status(QStringLiteral("Searching %1 Catalog").arg(catalogs.at(i)));
        Hits hits = workers.take(i);
        if (!hits.exists)
            continue;
        if (!hits.read)
            result.unreadable << catalogs.at(i);
        take(std::move(hits.lines));
    }
    result.outcome = Outcome::Finished;
    return result;
}

CatalogSearch::Result CatalogSearch::run(const Request &request, const CheckTree &tree, RunControl &control,
                                         SortedLineList &results) const
{
    results.clear();
    ResultSorter sorter;
    QByteArray line;
    Result result = search(request, tree, control, [&](ResultRun &&run) {
        SortedLineList lines;
        for (qsizetype i = 0; i < run.count(); ++i) {
            run.lineAt(i, line);
            lines.addUtf8(QByteArrayView(line));
        }
        run.clear();
        sorter.add(std::move(lines));
    });
    if (result.outcome != Outcome::Finished)
        return result;
    results.merge(sorter.takeSorted());
    result.matches = results.count();
    control.status(foundText(result.matches));
    return result;
}

CatalogSearch::Result CatalogSearch::run(const Request &request, const CheckTree &tree, RunControl &control,
                                         std::vector<ResultRun> &runs) const
{
    runs.clear();
    qsizetype matches = 0;
    // A catalog filed under two categories is searched twice and gives the
    // same lines again, which the sorted line lists drop as repeats.
    QSet<QByteArray> catalogs;
    Result result = search(request, tree, control, [&](ResultRun &&run) {
        const QByteArray catalog = run.tail().toByteArray();
        if (run.count() == 0 || catalogs.contains(catalog))
            return;
        catalogs.insert(catalog);
        matches += run.count();
        runs.push_back(std::move(run));
    });
    if (result.outcome == Outcome::Cancelled)
        runs.clear();
    if (result.outcome != Outcome::Finished)
        return result;
    result.matches = matches;
    control.status(foundText(result.matches));
    return result;
}
