#pragma once

#include "library/DateFormats.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CatalogLibrary;
class CheckTree;
class LineMatcher;
class ResultRun;
class RunControl;
class SortedLineList;

// The search of the ticked catalogs' files on disk. The panel builds a
// Request from its controls, records a word search in the SearchHistory,
// and hands run() the check tree, its RunControl and a place for the
// results: one run per catalog, which the table takes over, or one list.
class CatalogSearch
{
public:
    enum class Mode { Word, Extension, Date };

    struct Request {
        Mode mode = Mode::Word;
        QString word;
        bool caseSensitive = false;
        QString extension = QStringLiteral("*.*");
        QString from = QStringLiteral("06/24/97");
        QString to = QStringLiteral("06/14/98");

        // "View All Catalogs": the extension "*.*" lists every entry that
        // has a file name (tick the whole tree as well).
        static Request viewAll();
    };

    enum class Outcome {
        NothingToDo, // the box of the chosen mode is empty: end silently
        InvalidDate, // message holds the text to show
        Cancelled,
        Finished,
    };

    struct Result {
        Outcome outcome = Outcome::NothingToDo;
        QString message;
        qsizetype matches = 0;
        // Ticked catalogs whose file exists but could not be read.
        QStringList unreadable;
    };

    CatalogSearch(const CatalogLibrary &library, const DateFormats &formats, int currentYear);

    // The matcher of a request; null when the mode's box is empty or, with
    // error set, when a date cannot be read (From is read first).
    std::unique_ptr<LineMatcher> matcherFor(const Request &request, QString *error) const;

    // Empties results, then searches every ticked catalog. keepGoing() is
    // asked before each ticked catalog; a stop empties the results. The
    // files are read ahead on other threads, but statuses, stops and
    // results come in the tree's order as if read one after another.
    Result run(const Request &request, const CheckTree &tree, RunControl &control,
               SortedLineList &results) const;
    // The same, leaving each catalog's results as a sorted run of their
    // own, in the tree's order (ResultMerge walks them in the list's
    // order): the results are held once, in about the bytes they take.
    Result run(const Request &request, const CheckTree &tree, RunControl &control,
               std::vector<ResultRun> &runs) const;

    static QString foundText(qsizetype matches);

    // How many threads read the catalogs' files; below 1 (the default),
    // one per processor.
    void setThreads(int threads) { m_threads = threads; }

private:
    // The search itself; each catalog's results go to take, in order. The
    // status of the end is left to the caller.
    Result search(const Request &request, const CheckTree &tree, RunControl &control,
                  const std::function<void(ResultRun &&)> &take) const;

    const CatalogLibrary &m_library;
    DateFormats m_formats;
    int m_currentYear;
    int m_threads = 0;
};
