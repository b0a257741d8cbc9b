#pragma once

#include <QString>
#include <QStringList>

class CatalogLibrary;
class CheckTree;
class RunControl;
class SortedLineList;

// Finds entries that occur more than once across the ticked catalogs. All
// their lines are gathered into one sorted list (each with its catalog's
// name, as UTF-8) and every line is compared with the next one by the
// chosen fields: name, size and date, each taken exactly as stored, letter
// case counting. The catalogs are read on a pool of threads, a catalog
// ahead; statuses, stops and the results stay as if one thread read them
// all.
class DuplicateFinder
{
public:
    struct Criteria {
        bool name = true;
        bool size = true;
        bool date = true;
        bool any() const { return name || size || date; }
    };

    enum class Outcome {
        Refused, // no criterion chosen; message holds the warning
        Stopped,
        Finished,
    };

    struct Result {
        Outcome outcome = Outcome::Finished;
        QString message;
        qsizetype duplicates = 0;
        // Ticked catalogs whose file exists but could not be read.
        QStringList unreadable;
    };

    // Comparisons between two progress reports and stop tests.
    static constexpr qsizetype CompareBatch = 1024;

    explicit DuplicateFinder(const CatalogLibrary &library) : m_library(library) {}

    static QString noCriterionMessage();
    static QString foundText(qsizetype duplicates);

    // Empties results, then fills it with every line whose key equals its
    // neighbour's. keepGoing() is asked before each catalog of a category
    // that holds any, every few milliseconds while a catalog is read, and
    // before every CompareBatch-th comparison; a stop leaves results empty.
    Result run(const CheckTree &tree, const Criteria &criteria, RunControl &control,
               SortedLineList &results) const;

private:
    const CatalogLibrary &m_library;
};
