#include "DuplicateFinder.h"

#include "CatalogLines.h"
#include "CheckTree.h"
#include "CompareProgress.h"
#include "LineFields.h"
#include "LineMatcher.h"
#include "RepeatedNames.h"
#include "indexing/RunControl.h"
#include "library/CellFields.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QString kStopped = QStringLiteral("Duplicate Search Stopped");

// The key fields are compared one by one: joined into one text, a name
// ending in digits could borrow from the size ("file1" of 23 bytes would
// equal "file12" of 3 bytes).
bool sameKey(const LineFields &a, const LineFields &b, const DuplicateFinder::Criteria &c)
{
    return (!c.name || a.field(0) == b.field(0)) && (!c.size || a.field(1) == b.field(1))
        && (!c.date || a.field(2) == b.field(2));
}

QStringView nameOf(const QString &line)
{
    CellFields::Span span;
    if (!CellFields::find(line, 0, span))
        return {};
    return QStringView(line).mid(span.start, span.length);
}

// The order of the gathered lines: case-insensitive by whole line, lines
// that differ only in letter case by their characters. That order
// interleaves lines of names that differ only in letter case or accent
// ("Same.txt" and "same.TXT", two files) when their later fields differ, so
// the lines are ordered by name first, then by the exact name, then as
// gathered: the lines of each exact name stand next to each other, or
// neighbours of one name would never be compared. An exact copy of a line
// is dropped.
void orderForComparing(QStringList &lines)
{
    struct Item {
        QStringView name;
        qsizetype index;
    };
    std::vector<Item> items;
    items.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        items.push_back({nameOf(lines.at(i)), i});
    const auto before = [&lines](const Item &a, const Item &b) {
        int order = TextCompare::compareNoCase(a.name, b.name);
        if (order == 0)
            order = a.name.compare(b.name);
        if (order == 0) {
            const QString &x = lines.at(a.index);
            const QString &y = lines.at(b.index);
            order = TextCompare::compareNoCase(x, y);
            if (order == 0)
                order = x.compare(y);
        }
        return order < 0;
    };
    std::sort(items.begin(), items.end(), before);
    QStringList ordered;
    ordered.reserve(lines.size());
    for (const Item &item : items) {
        const QString &line = lines.at(item.index);
        if (ordered.isEmpty() || ordered.constLast() != line)
            ordered.append(line);
    }
    lines.swap(ordered);
}

// The name field of a catalog line as it stands in the line, quotes still
// doubled; false for a blank line, which gathers no entry.
bool rawName(QStringView line, QStringView &name)
{
    CellFields::Cursor cursor(line);
    CellFields::Span span;
    if (!cursor.next(span))
        return false;
    name = line.mid(span.start, span.length);
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
    QStringList lines;
    qsizetype dropped = 0;
    bool finished = criteria.name ? gatherRepeatedNames(tree, control, lines, dropped, result)
                                  : gatherAll(tree, control, lines, result);
    if (finished) {
        orderForComparing(lines);
        finished = compare(lines, dropped + lines.size(), criteria, control, results);
    }
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

// Hands every line of every ticked catalog, with the catalog's quoted name,
// to visit. With a control, it is asked to go on before each catalog of a
// category and shown which catalog is read.
template <typename Visit>
bool DuplicateFinder::readCatalogs(const CheckTree &tree, RunControl *control, QStringList &unreadable,
                                   const Visit &visit) const
{
    QString text;
    for (const CheckTree::Category &category : tree.categories()) {
        for (const CheckTree::Node &catalog : category.catalogs) {
            if (control && !control->keepGoing())
                return false;
            if (!catalog.checked)
                continue;
            if (control)
                control->status(QStringLiteral("Reading %1 Catalog").arg(catalog.text));
            if (!CatalogLines::readText(m_library, catalog.text, text, unreadable))
                continue;
            const QString name = CatalogLines::quotedName(catalog.text);
            qsizetype start = 0;
            while (start < text.size()) {
                const qsizetype end = LineMatcher::lineEnd(text, start);
                visit(QStringView(text).mid(start, end - start), name);
                start = end + 1;
            }
        }
    }
    return true;
}

bool DuplicateFinder::gatherAll(const CheckTree &tree, RunControl &control, QStringList &lines,
                                Result &result) const
{
    LineFields scratch;
    const bool finished =
        readCatalogs(tree, &control, result.unreadable, [&](QStringView line, const QString &name) {
            const QString entry = CatalogLines::resultLine(line, name, scratch);
            if (!entry.isEmpty())
                lines.append(entry);
        });
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
bool DuplicateFinder::gatherRepeatedNames(const CheckTree &tree, RunControl &control, QStringList &lines,
                                          qsizetype &dropped, Result &result) const
{
    RepeatedNames names;
    QStringView name;
    const bool finished =
        readCatalogs(tree, &control, result.unreadable, [&](QStringView line, const QString &) {
            if (rawName(line, name) && !name.contains(u'"'))
                names.add(name);
        });
    if (!finished)
        return false;
    names.settle();

    LineFields scratch;
    QStringList unreadableAgain; // already reported by the first reading
    readCatalogs(tree, nullptr, unreadableAgain, [&](QStringView line, const QString &catalog) {
        if (!rawName(line, name))
            return;
        if (name.contains(u'"') || names.isRepeated(name))
            lines.append(CatalogLines::resultLine(line, catalog, scratch));
        else
            ++dropped;
    });
    return true;
}

// gatheredCount: the distinct lines of the ticked catalogs, lines those of
// them that are compared.
bool DuplicateFinder::compare(const QStringList &lines, qsizetype gatheredCount, const Criteria &criteria,
                              RunControl &control, SortedLineList &results)
{
    const qsizetype n = lines.size();
    CompareProgress progress(control, gatheredCount, n, CompareBatch);
    LineFields current;
    LineFields next;
    if (n > 0)
        current.parse(lines.at(0));
    qsizetype lastAdded = -1;
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (!progress.reach(i))
            return false;
        next.parse(lines.at(i + 1));
        if (sameKey(current, next, criteria)) {
            if (lastAdded != i)
                results.add(lines.at(i));
            results.add(lines.at(i + 1));
            lastAdded = i + 1;
        }
        std::swap(current, next);
    }
    return progress.finish();
}
