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

// The gathered order ignores letter case, so the lines of "Same.txt" and
// "same.TXT" (two files) interleave. Lines of one exact name are put next
// to each other inside such a run, or neighbours of one name would never be
// compared.
void groupExactNames(QStringList &lines)
{
    const auto byExactName = [](const QString &a, const QString &b) {
        return nameOf(a).compare(nameOf(b)) < 0;
    };
    const auto settleRun = [&](qsizetype from, qsizetype to, bool mixed) {
        if (mixed)
            std::stable_sort(lines.begin() + from, lines.begin() + to, byExactName);
    };
    qsizetype start = 0;
    bool mixed = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringView first = nameOf(lines.at(start));
        const QStringView name = nameOf(lines.at(i));
        if (TextCompare::equalNoCase(first, name)) {
            mixed = mixed || first != name;
            continue;
        }
        settleRun(start, i, mixed);
        start = i;
        mixed = false;
    }
    settleRun(start, lines.size(), mixed);
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
        groupExactNames(lines);
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
