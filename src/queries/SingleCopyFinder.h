#pragma once

#include "DuplicateFinder.h"
#include "EntryKeyHasher.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class CatalogLibrary;
class CheckTree;
class RunControl;
class SortedLineList;

// Finds the files that have no second copy: the entries of the ticked
// catalogs whose key (name, size and date, as the duplicate finder compares
// them) no other ticked catalog holds, or the entries of one catalog that
// no other ticked catalog holds. An entry repeated within its own catalog
// is still a single copy, and folder entries are left out.
//
// The catalogs are read piece by piece, twice: first to gather a hash of
// every key with the catalog it came from, then to list the entries whose
// key came from one catalog only. So a run holds sixteen bytes per entry
// and the results, never the library's lines. Single copies are read on a
// pool of threads, a few catalogs ahead; statuses, stops and the order of
// the results stay as if one thread read them all.
class SingleCopyFinder
{
public:
    using Criteria = DuplicateFinder::Criteria;

    enum class Outcome {
        Refused, // no criterion chosen
        Failed,  // the one catalog asked about has no readable file
        Stopped,
        Finished,
    };

    struct Result {
        Outcome outcome = Outcome::Finished;
        QString message; // of a refusal or failure
        qsizetype found = 0;
        // Ticked catalogs whose file exists but could not be read.
        QStringList unreadable;
    };

    // Takes the result lines of one catalog at a time, in line order.
    using Deliver = std::function<void(SortedLineList &&lines)>;

    explicit SingleCopyFinder(const CatalogLibrary &library) : m_library(library) {}

    // How many threads read the catalogs' files for singleCopies(); below
    // 1 (the default), one per processor.
    void setThreads(int threads) { m_threads = threads; }

    static QString singleCopiesText(qsizetype found);
    static QString nowhereElseText(qsizetype found, const QString &catalog);
    static QString stoppedText();

    // Every entry whose key is held by exactly one of the ticked catalogs.
    Result singleCopies(const CheckTree &tree, const Criteria &criteria, RunControl &control,
                        const Deliver &deliver) const;
    // Every entry of catalog whose key no other ticked catalog holds;
    // catalog itself is never one of the others, ticked or not.
    Result nowhereElse(const QString &catalog, const CheckTree &tree, const Criteria &criteria,
                       RunControl &control, const Deliver &deliver) const;

    // The same gathered into one sorted list of result lines (the search's
    // six columns), for the table. results is emptied first; a stop, which
    // keepGoing() may ask for before each catalog and after every piece
    // read, leaves it empty.
    Result singleCopies(const CheckTree &tree, const Criteria &criteria, RunControl &control,
                        SortedLineList &results) const;
    Result nowhereElse(const QString &catalog, const CheckTree &tree, const Criteria &criteria,
                       RunControl &control, SortedLineList &results) const;

private:
    struct Source {
        QString name;
        QString path;
        QByteArray quotedName; // UTF-8, the result lines' sixth field
    };
    enum class Read { Done, Failed, Stopped };
    // What a reading thread hands back for one catalog.
    struct Keys;
    struct Listed;

    Source sourceOf(const QString &catalog) const;
    std::vector<Source> tickedSources(const CheckTree &tree, const QString &except) const;
    template <typename Line, typename Forget, typename KeepGoing>
    static Read readFile(const Source &source, const Line &line, const Forget &forget,
                         const KeepGoing &keepGoing);
    template <typename Line, typename Forget>
    Read readSource(const Source &source, const QString &status, RunControl &control, const Line &line,
                    const Forget &forget) const;
    static Keys gatherKeys(const Source &source, std::uint32_t tag, EntryKeyHasher &hasher,
                           const std::atomic<bool> &stopped);
    static Listed listSingles(const Source &source, const KeyHash *first, const KeyHash *last,
                              EntryKeyHasher &hasher, const std::atomic<bool> &stopped);
    Read listSource(const Source &source, RunControl &control,
                    const std::function<bool(QByteArrayView)> &wanted, const Deliver &deliver,
                    Result &result) const;
    static Result finish(Result result, RunControl &control, const QString &foundText);

    const CatalogLibrary &m_library;
    int m_threads = 0;
};
