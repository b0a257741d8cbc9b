#include "DuplicateFinder.h"

#include "CatalogLines.h"
#include "CheckTree.h"
#include "LineFields.h"
#include "LineMatcher.h"
#include "library/RunControl.h"
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

// The gathered order compares whole lines, so lines of names that differ
// only in letter case or accent ("Same.txt" and "same.TXT", two files)
// interleave when their later fields differ. Ordering by name first, then
// by the exact name, puts the lines of each exact name next to each other,
// or neighbours of one name would never be compared. Lines of one name keep
// their gathered order.
void orderByExactName(QStringList &lines)
{
    struct Item {
        QStringView name;
        qsizetype index;
    };
    std::vector<Item> items;
    items.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        items.push_back({nameOf(lines.at(i)), i});
    const auto byName = [](const Item &a, const Item &b) {
        int order = TextCompare::compareNoCase(a.name, b.name);
        if (order == 0)
            order = a.name.compare(b.name);
        return order != 0 ? order < 0 : a.index < b.index;
    };
    if (std::is_sorted(items.cbegin(), items.cend(), byName))
        return;
    std::sort(items.begin(), items.end(), byName);
    QStringList ordered;
    ordered.reserve(lines.size());
    for (const Item &item : items)
        ordered.append(lines.at(item.index));
    lines.swap(ordered);
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
    SortedLineList gathered;
    bool finished = gather(tree, control, gathered, result);
    if (finished) {
        QStringList lines = gathered.takeLines();
        orderByExactName(lines);
        finished = compare(lines, criteria, control, results);
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

bool DuplicateFinder::gather(const CheckTree &tree, RunControl &control,
                             SortedLineList &gathered, Result &result) const
{
    LineFields scratch;
    QString text;
    for (const CheckTree::Category &category : tree.categories()) {
        for (const CheckTree::Node &catalog : category.catalogs) {
            if (!control.keepGoing())
                return false;
            if (!catalog.checked)
                continue;
            control.status(QStringLiteral("Reading %1 Catalog").arg(catalog.text));
            if (!CatalogLines::readText(m_library, catalog.text, text, result.unreadable))
                continue;
            const QString name = CatalogLines::quotedName(catalog.text);
            qsizetype start = 0;
            while (start < text.size()) {
                const qsizetype end = LineMatcher::lineEnd(text, start);
                const QString line =
                    CatalogLines::resultLine(QStringView(text).mid(start, end - start), name, scratch);
                if (!line.isEmpty())
                    gathered.add(line);
                start = end + 1;
            }
        }
    }
    return true;
}

bool DuplicateFinder::compare(const QStringList &lines, const Criteria &criteria,
                              RunControl &control, SortedLineList &results)
{
    const qsizetype n = lines.size();
    if (n < 2)
        return true;
    LineFields current;
    LineFields next;
    current.parse(lines.at(0));
    qsizetype lastAdded = -1;
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (i % CompareBatch == 0) {
            control.status(QStringLiteral("Comparing %1 Files Out Of %2").arg(i + 1).arg(n));
            if (!control.keepGoing())
                return false;
        }
        next.parse(lines.at(i + 1));
        if (sameKey(current, next, criteria)) {
            if (lastAdded != i)
                results.add(lines.at(i));
            results.add(lines.at(i + 1));
            lastAdded = i + 1;
        }
        std::swap(current, next);
    }
    return true;
}
