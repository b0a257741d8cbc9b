#include "SingleCopyFinder.h"

#include "CatalogFileLines.h"
#include "CatalogLines.h"
#include "CheckTree.h"
#include "EntryKeyHasher.h"
#include "GroupedSort.h"
#include "KeyHashSet.h"
#include "ResultSorter.h"
#include "indexing/RunControl.h"
#include "library/CatalogLibrary.h"
#include "library/OrderedWork.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"

#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace {

const QString kReading = QStringLiteral("Reading %1 Catalog");
const QString kListing = QStringLiteral("Listing %1 Catalog");
// Catalogs read ahead of the one the run waits for: each holds its keys or
// its result lines meanwhile.
constexpr qsizetype kAhead = 2;

SingleCopyFinder::Result ended(SingleCopyFinder::Outcome outcome, const QString &message = QString())
{
    SingleCopyFinder::Result result;
    result.outcome = outcome;
    result.message = message;
    return result;
}

SingleCopyFinder::Result stopped(RunControl &control)
{
    control.status(SingleCopyFinder::stoppedText());
    return ended(SingleCopyFinder::Outcome::Stopped);
}

SingleCopyFinder::Result failed(RunControl &control, const QString &message)
{
    control.status(message);
    return ended(SingleCopyFinder::Outcome::Failed, message);
}

// Keeps one record of each key that came from one catalog only, in place.
// keys: sorted, so the records of a key stand together, ordered by tag.
void keepSingleKeys(std::vector<KeyHash> &keys)
{
    size_t kept = 0;
    for (size_t i = 0; i < keys.size();) {
        size_t end = i + 1;
        while (end < keys.size() && keys[end].sameKey(keys[i]))
            ++end;
        if (keys[i].tag == keys[end - 1].tag)
            keys[kept++] = keys[i];
        i = end;
    }
    keys.resize(kept);
}

// Sorts keys by their leading bits first, then each group alone on a pool
// of threads.
void sortKeys(std::vector<KeyHash> &keys, int threads)
{
    GroupedSort::sort(keys, threads, [](const KeyHash &key) { return size_t(key.high >> 56); });
}

// Puts each catalog's keys together, so that each catalog's look-ups stay
// in a set the size of one catalog, which the processor's caches hold.
// Catalog t's keys are then [starts[t], starts[t + 1]).
std::vector<const KeyHash *> groupByCatalog(std::vector<KeyHash> &keys, size_t catalogs)
{
    std::vector<const KeyHash *> starts;
    for (const size_t end :
         GroupedSort::group(keys, catalogs, [](const KeyHash &key) { return size_t(key.tag); }))
        starts.push_back(keys.data() + end);
    return starts;
}

} // namespace

QString SingleCopyFinder::singleCopiesText(qsizetype found)
{
    return QStringLiteral("Found %1 Single Copies").arg(found);
}

QString SingleCopyFinder::nowhereElseText(qsizetype found, const QString &catalog)
{
    return QStringLiteral("%1 Files Of %2 Are Found Nowhere Else").arg(found).arg(catalog);
}

QString SingleCopyFinder::stoppedText()
{
    return QStringLiteral("Single Copy Search Stopped");
}

SingleCopyFinder::Source SingleCopyFinder::sourceOf(const QString &catalog) const
{
    return {catalog, m_library.catalogFilePath(catalog),
            SortedLineList::encode(CatalogLines::quotedName(catalog))};
}

std::vector<SingleCopyFinder::Source> SingleCopyFinder::tickedSources(const CheckTree &tree,
                                                                      const QString &except) const
{
    std::vector<Source> sources;
    for (const CheckTree::Category &category : tree.categories()) {
        for (const CheckTree::Node &catalog : category.catalogs) {
            if (catalog.checked &&
                !(!except.isEmpty() && TextCompare::equalAsciiNoCase(catalog.text, except)))
                sources.push_back(sourceOf(catalog.text));
        }
    }
    return sources;
}

struct SingleCopyFinder::Keys {
    Read read = Read::Done;
    std::vector<KeyHash> keys;
};

struct SingleCopyFinder::Listed {
    Read read = Read::Done;
    SortedLineList lines; // in order
};

// Hands every line of the source's file to line(); forget() drops what the
// file gave so far (it is read again, or could not be read to its end). A
// missing file is skipped, as the search skips it.
template <typename Line, typename Forget, typename KeepGoing>
SingleCopyFinder::Read SingleCopyFinder::readFile(const Source &source, const Line &line,
                                                  const Forget &forget, const KeepGoing &keepGoing)
{
    if (!QFileInfo(source.path).isFile())
        return Read::Done;
    switch (CatalogFileLines::read(source.path, line, forget, keepGoing)) {
    case CatalogFileLines::Read::Done:
        return Read::Done;
    case CatalogFileLines::Read::Stopped:
        return Read::Stopped;
    case CatalogFileLines::Read::Failed:
        break;
    }
    forget();
    return Read::Failed;
}

template <typename Line, typename Forget>
SingleCopyFinder::Read SingleCopyFinder::readSource(const Source &source, const QString &status,
                                                    RunControl &control, const Line &line,
                                                    const Forget &forget) const
{
    if (!control.keepGoing())
        return Read::Stopped;
    control.status(status.arg(source.name));
    return readFile(source, line, forget, [&] { return control.keepGoing(); });
}

SingleCopyFinder::Keys SingleCopyFinder::gatherKeys(const Source &source, std::uint32_t tag,
                                                    EntryKeyHasher &hasher, const std::atomic<bool> &stopped)
{
    Keys gathered;
    KeyHash key;
    key.tag = tag;
    gathered.read = readFile(
        source,
        [&](QByteArrayView line) {
            if (hasher.hash(line, key)) {
                key.tag = tag;
                gathered.keys.push_back(key);
            }
        },
        [&] { gathered.keys.clear(); }, [&] { return !stopped; });
    return gathered;
}

// The result lines of the source's entries whose key is one of first to
// last, one catalog's single keys.
SingleCopyFinder::Listed SingleCopyFinder::listSingles(const Source &source, const KeyHash *first,
                                                       const KeyHash *last, EntryKeyHasher &hasher,
                                                       const std::atomic<bool> &stopped)
{
    Listed listed;
    std::vector<KeyHash> run(first, last);
    std::sort(run.begin(), run.end());
    const KeyHashSet singles(std::move(run));
    KeyHash key;
    QByteArray entry;
    listed.read = readFile(
        source,
        [&](QByteArrayView line) {
            if (hasher.hash(line, key) && singles.indexOf(key) >= 0 &&
                CatalogLines::resultLineUtf8(line, source.quotedName, entry))
                listed.lines.addUtf8(std::move(entry));
        },
        [&] { listed.lines.clear(); }, [&] { return !stopped; });
    if (listed.read == Read::Done)
        listed.lines.settle(); // on this thread
    else
        listed.lines.clear();
    return listed;
}

// Hands the result lines of the source's wanted lines to deliver, once the
// whole file is read.
SingleCopyFinder::Read SingleCopyFinder::listSource(const Source &source, RunControl &control,
                                                    const std::function<bool(QByteArrayView)> &wanted,
                                                    const Deliver &deliver, Result &result) const
{
    SortedLineList lines;
    QByteArray entry;
    const Read read = readSource(
        source, kListing, control,
        [&](QByteArrayView line) {
            if (wanted(line) && CatalogLines::resultLineUtf8(line, source.quotedName, entry))
                lines.addUtf8(std::move(entry));
        },
        [&] { lines.clear(); });
    if (read == Read::Done) {
        result.found += lines.count();
        deliver(std::move(lines));
    }
    return read;
}

SingleCopyFinder::Result SingleCopyFinder::finish(Result result, RunControl &control,
                                                  const QString &foundText)
{
    control.status(foundText);
    result.outcome = Outcome::Finished;
    return result;
}

SingleCopyFinder::Result SingleCopyFinder::singleCopies(const CheckTree &tree, const Criteria &criteria,
                                                        RunControl &control, const Deliver &deliver) const
{
    if (!criteria.any())
        return ended(Outcome::Refused, DuplicateFinder::noCriterionMessage());
    Result result;
    const std::vector<Source> sources = tickedSources(tree, QString());
    const qsizetype count = qsizetype(sources.size());
    const auto makeHasher = [&criteria] { return std::make_shared<EntryKeyHasher>(criteria); };
    std::vector<KeyHash> keys;
    {
        OrderedWork<Keys> readers(
            count,
            [&]() -> OrderedWork<Keys>::Job {
                return [hasher = makeHasher(), &sources](qsizetype i, const std::atomic<bool> &stopped) {
                    return gatherKeys(sources[size_t(i)], std::uint32_t(i), *hasher, stopped);
                };
            },
            m_threads, kAhead);
        for (qsizetype i = 0; i < count; ++i) {
            const Source &source = sources[size_t(i)];
            if (!control.keepGoing())
                return stopped(control);
            control.status(kReading.arg(source.name));
            if (!readers.await(i, [&] { return control.keepGoing(); }))
                return stopped(control);
            const Keys gathered = readers.take(i);
            if (gathered.read == Read::Failed)
                result.unreadable << source.name;
            keys.insert(keys.end(), gathered.keys.cbegin(), gathered.keys.cend());
        }
    }
    sortKeys(keys, m_threads);
    keepSingleKeys(keys);
    const std::vector<const KeyHash *> starts = groupByCatalog(keys, size_t(count));

    OrderedWork<Listed> listers(
        count,
        [&]() -> OrderedWork<Listed>::Job {
            return [hasher = makeHasher(), &sources, &starts](qsizetype i, const std::atomic<bool> &stopped) {
                const KeyHash *first = starts[size_t(i)];
                const KeyHash *last = starts[size_t(i) + 1];
                return first == last ? Listed()
                                     : listSingles(sources[size_t(i)], first, last, *hasher, stopped);
            };
        },
        m_threads, kAhead);
    for (qsizetype i = 0; i < count; ++i) {
        const Source &source = sources[size_t(i)];
        if (starts[size_t(i)] == starts[size_t(i) + 1]) {
            listers.take(i);
            continue;
        }
        if (!control.keepGoing())
            return stopped(control);
        control.status(kListing.arg(source.name));
        if (!listers.await(i, [&] { return control.keepGoing(); }))
            return stopped(control);
        Listed listed = listers.take(i);
        if (listed.read == Read::Failed && !result.unreadable.contains(source.name))
            result.unreadable << source.name;
        if (listed.read != Read::Done)
            continue;
        result.found += listed.lines.count();
        deliver(std::move(listed.lines));
    }
    if (!control.keepGoing())
        return stopped(control);
    return finish(result, control, singleCopiesText(result.found));
}

SingleCopyFinder::Result SingleCopyFinder::nowhereElse(const QString &catalog, const CheckTree &tree,
                                                       const Criteria &criteria, RunControl &control,
                                                       const Deliver &deliver) const
{
    if (!criteria.any())
        return ended(Outcome::Refused, DuplicateFinder::noCriterionMessage());
    const Source own = sourceOf(catalog);
    // Nothing listed would read as "all of it is elsewhere".
    if (!QFileInfo(own.path).isFile())
        return failed(control, QStringLiteral("The catalog file of %1 is missing").arg(catalog));
    const QString unreadable = QStringLiteral("Cannot read the catalog file of %1").arg(catalog);
    EntryKeyHasher hasher(criteria);
    KeyHash key;
    std::vector<KeyHash> keys;
    const Read ownRead = readSource(
        own, kReading, control,
        [&](QByteArrayView line) {
            if (hasher.hash(line, key))
                keys.push_back(key);
        },
        [&] { keys.clear(); });
    if (ownRead == Read::Stopped)
        return stopped(control);
    if (ownRead == Read::Failed)
        return failed(control, unreadable);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end(),
                           [](const KeyHash &a, const KeyHash &b) { return a.sameKey(b); }),
               keys.end());
    const KeyHashSet ownKeys(std::move(keys));

    Result result;
    std::vector<bool> elsewhere(size_t(ownKeys.size()), false);
    // Marks wait for the end of their catalog: a catalog read again as
    // Windows-1252, or left unread, must mark nothing.
    std::vector<qsizetype> marks;
    for (const Source &other : tickedSources(tree, catalog)) {
        marks.clear();
        const Read read = readSource(
            other, kReading, control,
            [&](QByteArrayView line) {
                const qsizetype i = hasher.hash(line, key) ? ownKeys.indexOf(key) : -1;
                if (i >= 0)
                    marks.push_back(i);
            },
            [&] { marks.clear(); });
        if (read == Read::Stopped)
            return stopped(control);
        if (read == Read::Failed)
            result.unreadable << other.name;
        for (const qsizetype i : marks)
            elsewhere[size_t(i)] = true;
    }

    // A line the first reading did not see (the catalog was rewritten
    // since) was compared with nothing, and is listed.
    const auto wanted = [&](QByteArrayView line) {
        if (!hasher.hash(line, key))
            return false;
        const qsizetype i = ownKeys.indexOf(key);
        return i < 0 || !elsewhere[size_t(i)];
    };
    const Read read = listSource(own, control, wanted, deliver, result);
    if (read == Read::Stopped)
        return stopped(control);
    if (read == Read::Failed)
        return failed(control, unreadable);
    return finish(result, control, nowhereElseText(result.found, catalog));
}

namespace {

// Runs find with a deliverer that hands each catalog's lines to a sorter on
// a second thread; results then holds them all, or nothing after a stop.
template <typename Find>
SingleCopyFinder::Result gathered(SortedLineList &results, const Find &find)
{
    results.clear();
    ResultSorter sorter;
    const SingleCopyFinder::Result result =
        find([&](SortedLineList &&lines) { sorter.add(std::move(lines)); });
    results = sorter.takeSorted();
    if (result.outcome != SingleCopyFinder::Outcome::Finished)
        results.clear();
    return result;
}

} // namespace

SingleCopyFinder::Result SingleCopyFinder::singleCopies(const CheckTree &tree, const Criteria &criteria,
                                                        RunControl &control, SortedLineList &results) const
{
    return gathered(results,
                    [&](const Deliver &deliver) { return singleCopies(tree, criteria, control, deliver); });
}

SingleCopyFinder::Result SingleCopyFinder::nowhereElse(const QString &catalog, const CheckTree &tree,
                                                       const Criteria &criteria, RunControl &control,
                                                       SortedLineList &results) const
{
    return gathered(results, [&](const Deliver &deliver) {
        return nowhereElse(catalog, tree, criteria, control, deliver);
    });
}
