#include "DuplicateFinder.h"

#include "CatalogLines.h"
#include "CheckTree.h"
#include "LineFields.h"
#include "LineMatcher.h"
#include "library/RunControl.h"
#include "library/SortedLineList.h"

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
    if (!gather(tree, control, gathered, result)
        || !compare(gathered.lines(), criteria, control, results)) {
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
