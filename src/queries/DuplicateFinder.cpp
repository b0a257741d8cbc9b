#include "DuplicateFinder.h"

#include "CatalogFileLines.h"
#include "CatalogLines.h"
#include "CheckTree.h"
#include "CompareProgress.h"
#include "RepeatedNames.h"
#include "ResultSorter.h"
#include "indexing/RunControl.h"
#include "library/CatalogLibrary.h"
#include "library/OrderedWork.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"
#include "library/Utf8Fields.h"

#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

namespace {

const QString kStopped = QStringLiteral("Duplicate Search Stopped");
const QString kReading = QStringLiteral("Reading %1 Catalog");
// Catalogs read at once on the pool while the run takes the parts of the
// ones before: each holds its part in memory meanwhile.
constexpr qsizetype kAhead = 2;

// The name, size and date fields of a result line as they stand in it.
struct KeyFields {
    QByteArrayView line;
    Utf8Fields::Span spans[3];
    int count = 0;

    void read(QByteArrayView text)
    {
        line = text;
        Utf8Fields::Cursor cursor(text);
        count = 0;
        while (count < 3 && cursor.next(spans[count]))
            ++count;
    }
    QByteArrayView raw(int k) const
    {
        return k < count ? line.sliced(spans[k].start, spans[k].length) : QByteArrayView();
    }
    bool escaped(int k) const { return k < count && spans[k].escaped; }
};

// Fields are equal when their texts are, doubled quotes read as one.
bool sameField(const KeyFields &a, const KeyFields &b, int k)
{
    if (!a.escaped(k) && !b.escaped(k))
        return a.raw(k) == b.raw(k);
    const auto text = [](const KeyFields &f, int k) {
        return f.escaped(k) ? Utf8Fields::bytes(f.line, f.spans[k]) : f.raw(k).toByteArray();
    };
    return text(a, k) == text(b, k);
}

// The key fields are compared one by one: joined into one text, a name
// ending in digits could borrow from the size ("file1" of 23 bytes would
// equal "file12" of 3 bytes).
bool sameKey(const KeyFields &a, const KeyFields &b, const DuplicateFinder::Criteria &c)
{
    return (!c.name || sameField(a, b, 0)) && (!c.size || sameField(a, b, 1)) &&
           (!c.date || sameField(a, b, 2));
}

// The name field of a line as it stands in the line, quotes still
// doubled; false for a blank line, which gathers no entry.
bool rawName(QByteArrayView line, QByteArrayView &name)
{
    Utf8Fields::Cursor cursor(line);
    Utf8Fields::Span span;
    if (!cursor.next(span))
        return false;
    name = line.sliced(span.start, span.length);
    return true;
}

struct NamedLine {
    QByteArrayView name;
    qsizetype index;
};

// Sorts items by merging the ascending runs they already hold: one
// comparison per item when they are in order, as many as a full sort at
// worst.
template <typename T, typename Less>
void sortByRuns(std::vector<T> &items, const Less &less)
{
    std::vector<size_t> starts{0};
    for (size_t i = 1; i < items.size(); ++i) {
        if (less(items[i], items[i - 1]))
            starts.push_back(i);
    }
    starts.push_back(items.size());
    const auto at = [&items](size_t i) { return items.begin() + qsizetype(i); };
    while (starts.size() > 2) {
        std::vector<size_t> merged{0};
        for (size_t r = 0; r + 1 < starts.size(); r += 2) {
            const bool pair = r + 2 < starts.size();
            const size_t end = starts[pair ? r + 2 : r + 1];
            if (pair)
                std::inplace_merge(at(starts[r]), at(starts[r + 1]), at(end), less);
            merged.push_back(end);
        }
        starts.swap(merged);
    }
}

// The order in which lines are compared: by name first, then by exact name,
// then by line (case-insensitive, then exact). The gathered lines are in
// line order, so the last two steps are their positions; and that order
// mostly is name order already, so the runs it holds are merged. Line
// order alone interleaves lines of names that differ only in letter case
// or accent ("Same.txt" and "same.TXT", two files) when their later fields
// differ; ordered by name, the lines of each exact name stand next to each
// other, or neighbours of one name would never be compared.
std::vector<NamedLine> comparingOrder(const SortedLineList &lines)
{
    const qsizetype n = lines.count();
    std::vector<NamedLine> order(size_t(n), NamedLine{});
    for (qsizetype i = 0; i < n; ++i) {
        order[size_t(i)].index = i;
        rawName(lines.utf8At(i), order[size_t(i)].name);
    }
    sortByRuns(order, [](const NamedLine &a, const NamedLine &b) {
        const int byName = TextCompare::compareLinesUtf8(a.name, b.name);
        return byName != 0 ? byName < 0 : a.index < b.index;
    });
    return order;
}

// A catalog of the tree, ticked or not: the run is asked to go on before
// each.
struct Source {
    QString name;
    bool ticked = false;
    QString path;
    QByteArray quotedName; // UTF-8, the result lines' sixth field
};

std::vector<Source> sourcesOf(const CheckTree &tree, const CatalogLibrary &library)
{
    std::vector<Source> sources;
    for (const CheckTree::Category &category : tree.categories()) {
        for (const CheckTree::Node &catalog : category.catalogs) {
            Source source;
            source.name = catalog.text;
            source.ticked = catalog.checked;
            if (source.ticked) {
                source.path = library.catalogFilePath(catalog.text);
                source.quotedName = SortedLineList::encode(CatalogLines::quotedName(catalog.text));
            }
            sources.push_back(std::move(source));
        }
    }
    return sources;
}

// Hands a ticked catalog's file to visitPiece as UTF-8, a piece of whole
// lines at a time, on a thread of the pool, until stopped; restart() drops
// what the file gave so far (it is read again in Windows-1252). A missing
// file gives nothing, as the search skips it. False when the file could not
// be read to its end.
template <typename VisitPiece, typename Restart>
bool readSource(const Source &source, const std::atomic<bool> &stopped, const VisitPiece &visitPiece,
                const Restart &restart)
{
    if (!source.ticked || !QFileInfo(source.path).isFile())
        return true;
    return CatalogFileLines::readPieces(source.path, visitPiece, restart, [&stopped] { return !stopped; }) !=
           CatalogFileLines::Read::Failed;
}

// What one catalog gives each reading.
struct Counted {
    bool whole = true;
    RepeatedNames names;
};

struct Gathered {
    bool whole = true;
    SortedLineList lines; // sorted on the reading thread
    qsizetype dropped = 0;
};

// The catalog's quote-free names. A catalog read again in Windows-1252
// counts its first lines twice, which only keeps more lines.
Counted countNames(const Source &source, const std::atomic<bool> &stopped)
{
    Counted counted;
    QByteArrayView name;
    const auto count = [&](QByteArrayView line) {
        if (rawName(line, name) && !name.contains('"'))
            counted.names.add(name);
    };
    counted.whole = readSource(
        source, stopped, [&count](QByteArrayView piece) { CatalogFileLines::forEachLine(piece, count); },
        [] {});
    return counted;
}

// The result lines of the catalog's lines; with names, only of those whose
// name is repeated or holds a double quote, the others counted as dropped.
// A catalog not read to its end gives nothing.
Gathered gatherLines(const Source &source, const RepeatedNames *names, const std::atomic<bool> &stopped)
{
    Gathered gathered;
    QByteArray entry;
    const auto keep = [&](QByteArrayView line) {
        // A long line is taken over rather than copied; entry then starts
        // afresh.
        if (CatalogLines::resultLineUtf8(line, source.quotedName, entry))
            gathered.lines.addUtf8(std::move(entry));
    };
    // A piece's lines that need a look-up, and their names: looked up
    // together.
    std::vector<QByteArrayView> lines;
    std::vector<QByteArrayView> lineNames;
    std::vector<char> repeated;
    QByteArrayView name;
    const auto visitPiece = [&](QByteArrayView piece) {
        if (!names)
            return CatalogFileLines::forEachLine(piece, keep);
        lines.clear();
        lineNames.clear();
        CatalogFileLines::forEachLine(piece, [&](QByteArrayView line) {
            if (!rawName(line, name))
                return;
            if (name.contains('"')) {
                keep(line);
            } else {
                lines.push_back(line);
                lineNames.push_back(name);
            }
        });
        names->findRepeated(lineNames, repeated);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (repeated[i])
                keep(lines[i]);
            else
                ++gathered.dropped;
        }
    };
    const auto forget = [&gathered] {
        gathered.lines.clear();
        gathered.dropped = 0;
    };
    gathered.whole = readSource(source, stopped, visitPiece, forget);
    if (!gathered.whole)
        forget();
    gathered.lines.settle(); // on this thread
    return gathered;
}

// Reads every ticked catalog on the pool with read(source, stopped) and
// takes each one's part, in the tree's order. With announce, the run is
// asked to go on before each catalog of the tree, ticked or not, and shown
// which ticked one is read; it is asked every few milliseconds while it
// waits for a part. False when it is to stop.
template <typename Part, typename Read, typename Take>
bool readInOrder(const std::vector<Source> &sources, const Read &read, RunControl &control, bool announce,
                 const Take &take)
{
    OrderedWork<Part> work(
        qsizetype(sources.size()),
        [&]() -> typename OrderedWork<Part>::Job {
            return [&sources, &read](qsizetype i, const std::atomic<bool> &stopped) {
                return read(sources[size_t(i)], stopped);
            };
        },
        0, kAhead);
    for (qsizetype i = 0; i < qsizetype(sources.size()); ++i) {
        const Source &source = sources[size_t(i)];
        if (announce && !control.keepGoing())
            return false;
        if (!source.ticked) {
            work.take(i);
            continue;
        }
        if (announce)
            control.status(kReading.arg(source.name));
        if (!work.await(i, [&control] { return control.keepGoing(); }))
            return false;
        take(source, work.take(i));
    }
    return true;
}

// Gathers the result lines of every ticked catalog (with names, see
// gatherLines), sorted on a second thread as they come; unreadable gains
// the catalogs not read to their end.
bool gatherAll(const std::vector<Source> &sources, const RepeatedNames *names, bool announce,
               RunControl &control, SortedLineList &lines, qsizetype &dropped, QStringList &unreadable)
{
    ResultSorter sorter;
    const auto gather = [names](const Source &source, const std::atomic<bool> &stopped) {
        return gatherLines(source, names, stopped);
    };
    const bool finished = readInOrder<Gathered>(sources, gather, control, announce,
                                                [&](const Source &source, Gathered &&gathered) {
                                                    if (!gathered.whole)
                                                        unreadable << source.name;
                                                    dropped += gathered.dropped;
                                                    sorter.add(std::move(gathered.lines));
                                                });
    if (finished)
        lines = sorter.takeSorted();
    return finished;
}

// When names must be equal, a line whose name no other line has can never
// be reported, and leaving it out changes none of the neighbours that are
// compared; so only the other lines are gathered, which on a large library
// is a small part of it. The catalogs are read twice: first to count the
// names (as hashes), then to gather the lines whose name is repeated.
//
// Why leaving lines out changes nothing. A line's name here is its first
// field as stored; a name without a double quote reads the same in the
// gathered line as in the catalog line (a short line is written out again,
// quoted, and a longer one only gains the catalog name at its end). The
// gathered lines are put in order of that stored name first, so lines of
// one quote-free name stand together. Keep every line whose name is
// repeated, and every line whose name holds a double quote. Then:
// - two neighbours with equal names are both kept, and stay neighbours;
// - two kept lines that become neighbours had only dropped lines between
//   them, each with a quote-free name no other line has. Had the two equal
//   names, and were these quote-free, the lines between them would share
//   that name. Were they quoted names, both stored names begin with the
//   same quote-free text and a quote, and every name ordered between them
//   begins so too (a quote folds only to itself), so holds a quote. Either
//   way no dropped line could lie between them: their names differ, and the
//   pair is no duplicate, as it was not before.
// A hash shared by two different names only keeps more lines, which by the
// above changes nothing either. An exact copy of a line has its name, so
// every dropped line is distinct from all others: the number of distinct
// lines a full gathering would hold is the dropped lines plus the distinct
// kept ones.
bool gatherRepeatedNames(const std::vector<Source> &sources, RunControl &control, SortedLineList &lines,
                         qsizetype &dropped, QStringList &unreadable)
{
    RepeatedNames names;
    const bool counted =
        readInOrder<Counted>(sources, countNames, control, true, [&](const Source &source, Counted &&part) {
            if (!part.whole)
                unreadable << source.name;
            names.add(std::move(part.names));
        });
    if (!counted)
        return false;
    names.settle();
    QStringList unreadableAgain; // already reported by the first reading
    return gatherAll(sources, &names, false, control, lines, dropped, unreadableAgain);
}

// Keeps the lines whose key equals that of a neighbour in the comparing
// order. gatheredCount: the distinct lines of the ticked catalogs, lines
// those of them that are compared.
bool keepDuplicates(SortedLineList &lines, qsizetype gatheredCount, const DuplicateFinder::Criteria &criteria,
                    RunControl &control)
{
    const std::vector<NamedLine> order = comparingOrder(lines);
    const qsizetype n = qsizetype(order.size());
    CompareProgress progress(control, gatheredCount, n, DuplicateFinder::CompareBatch);
    std::vector<bool> keep(order.size(), false);
    KeyFields current;
    KeyFields next;
    if (n > 0)
        current.read(lines.utf8At(order[0].index));
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (!progress.reach(i))
            return false;
        next.read(lines.utf8At(order[size_t(i + 1)].index));
        if (sameKey(current, next, criteria)) {
            keep[size_t(order[size_t(i)].index)] = true;
            keep[size_t(order[size_t(i + 1)].index)] = true;
        }
        std::swap(current, next);
    }
    if (!progress.finish())
        return false;
    lines.keepOnly(keep);
    return true;
}

} // namespace

QString DuplicateFinder::noCriterionMessage()
{
    return QStringLiteral("Please check at least one of Name, Size or Date!");
}

QString DuplicateFinder::foundText(qsizetype duplicates)
{
    return QStringLiteral("Found %1 Duplicate Files").arg(duplicates);
}

DuplicateFinder::Result DuplicateFinder::run(const CheckTree &tree, const Criteria &criteria,
                                             RunControl &control, SortedLineList &results) const
{
    results.clear();
    Result result;
    if (!criteria.any()) {
        result.outcome = Outcome::Refused;
        result.message = noCriterionMessage();
        return result;
    }
    const std::vector<Source> sources = sourcesOf(tree, m_library);
    qsizetype dropped = 0;
    bool finished = criteria.name
                        ? gatherRepeatedNames(sources, control, results, dropped, result.unreadable)
                        : gatherAll(sources, nullptr, true, control, results, dropped, result.unreadable);
    if (finished)
        finished = keepDuplicates(results, dropped + results.count(), criteria, control);
    if (!finished) {
        results.clear();
        control.status(kStopped);
        result.outcome = Outcome::Stopped;
        return result;
    }
    result.duplicates = results.count();
    control.status(foundText(result.duplicates));
    return result;
}
