#include "DuplicateFinder.h"

#include "CatalogFileLines.h"
#include "CatalogLines.h"
#include "CheckTree.h"
#include "CompareProgress.h"
#include "RepeatedNames.h"
#include "ResultGathering.h"
#include "indexing/RunControl.h"
#include "library/CatalogLibrary.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"
#include "library/Utf8Fields.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QString kStopped = QStringLiteral("Duplicate Search Stopped");

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

// The order in which lines are compared: by name first, then by exact name,
// then by line (case-insensitive, then exact). The gathered lines are in
// line order, so the last two steps are their positions. Line order alone
// interleaves lines of names that differ only in letter case or accent
// ("Same.txt" and "same.TXT", two files) when their later fields differ;
// ordered by name, the lines of each exact name stand next to each other,
// or neighbours of one name would never be compared.
std::vector<NamedLine> comparingOrder(const SortedLineList &lines)
{
    const qsizetype n = lines.count();
    std::vector<NamedLine> order(size_t(n), NamedLine{});
    for (qsizetype i = 0; i < n; ++i) {
        order[size_t(i)].index = i;
        rawName(lines.utf8At(i), order[size_t(i)].name);
    }
    std::sort(order.begin(), order.end(), [](const NamedLine &a, const NamedLine &b) {
        const int byName = TextCompare::compareLinesUtf8(a.name, b.name);
        return byName != 0 ? byName < 0 : a.index < b.index;
    });
    return order;
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
    qsizetype dropped = 0;
    bool finished = criteria.name ? gatherRepeatedNames(tree, control, results, dropped, result)
                                  : gatherAll(tree, control, results, result);
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

// Hands every line of every ticked catalog to visit.line as UTF-8, with the
// catalog's quoted name; visit.forget() drops what a catalog gave so far
// (it is being read again, or could not be read to its end) and
// visit.endCatalog() follows each catalog read. With a control, it is asked
// to go on before each catalog of a category and shown which catalog is
// read.
template <typename Visit>
bool DuplicateFinder::readCatalogs(const CheckTree &tree, RunControl *control, QStringList &unreadable,
                                   Visit &visit) const
{
    for (const CheckTree::Category &category : tree.categories()) {
        for (const CheckTree::Node &catalog : category.catalogs) {
            if (control && !control->keepGoing())
                return false;
            if (!catalog.checked)
                continue;
            if (control)
                control->status(QStringLiteral("Reading %1 Catalog").arg(catalog.text));
            const QString path = m_library.catalogFilePath(catalog.text);
            if (!QFileInfo(path).isFile())
                continue;
            const QByteArray name = SortedLineList::encode(CatalogLines::quotedName(catalog.text));
            const bool read = CatalogFileLines::readWhole(
                path, [&](QByteArrayView line) { visit.line(line, name); }, [&] { visit.forget(); });
            if (!read) {
                unreadable << catalog.text;
                visit.forget();
            }
            visit.endCatalog();
        }
    }
    return true;
}

bool DuplicateFinder::gatherAll(const CheckTree &tree, RunControl &control, SortedLineList &lines,
                                Result &result) const
{
    struct Visit {
        ResultGathering gathering;
        void line(QByteArrayView line, QByteArrayView catalog) { gathering.add(line, catalog); }
        void forget() { gathering.forget(); }
        void endCatalog() { gathering.endCatalog(); }
    } visit;
    if (!readCatalogs(tree, &control, result.unreadable, visit))
        return false;
    lines = visit.gathering.take();
    return true;
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
bool DuplicateFinder::gatherRepeatedNames(const CheckTree &tree, RunControl &control, SortedLineList &lines,
                                          qsizetype &dropped, Result &result) const
{
    // A catalog read again in Windows-1252 counts its first lines twice,
    // which only keeps more lines.
    struct Count {
        RepeatedNames names;
        QByteArrayView name;
        void line(QByteArrayView line, QByteArrayView)
        {
            if (rawName(line, name) && !name.contains('"'))
                names.add(name);
        }
        void forget() {}
        void endCatalog() {}
    } count;
    if (!readCatalogs(tree, &control, result.unreadable, count))
        return false;
    count.names.settle();

    struct Gather {
        Gather(const RepeatedNames &names, qsizetype &dropped) : names(names), dropped(dropped) {}
        const RepeatedNames &names;
        qsizetype &dropped;
        qsizetype droppedHere = 0;
        QByteArrayView name;
        ResultGathering gathering;
        void line(QByteArrayView line, QByteArrayView catalog)
        {
            if (!rawName(line, name))
                return;
            if (name.contains('"') || names.isRepeated(name))
                gathering.add(line, catalog);
            else
                ++droppedHere;
        }
        void forget()
        {
            gathering.forget();
            droppedHere = 0;
        }
        void endCatalog()
        {
            gathering.endCatalog();
            dropped += std::exchange(droppedHere, 0);
        }
    } gather(count.names, dropped);
    QStringList unreadableAgain; // already reported by the first reading
    readCatalogs(tree, nullptr, unreadableAgain, gather);
    lines = gather.gathering.take();
    return true;
}

// Keeps the lines whose key equals that of a neighbour in the comparing
// order. gatheredCount: the distinct lines of the ticked catalogs, lines
// those of them that are compared.
bool DuplicateFinder::keepDuplicates(SortedLineList &lines, qsizetype gatheredCount, const Criteria &criteria,
                                     RunControl &control)
{
    const std::vector<NamedLine> order = comparingOrder(lines);
    const qsizetype n = qsizetype(order.size());
    CompareProgress progress(control, gatheredCount, n, CompareBatch);
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
