// Searching commands: search, dupes, report.
#include "CliContext.h"
#include "CliTableExport.h"

#include "indexing/RunControl.h"
#include "library/CommaText.h"
#include "library/SortedLineList.h"
#include "library/TextCompare.h"
#include "library/Utf8Fields.h"
#include "queries/CatalogReport.h"
#include "queries/CatalogSearch.h"
#include "queries/CheckTree.h"
#include "queries/DuplicateFinder.h"
#include "queries/LineMatcher.h"
#include "table/VisualTableModel.h"

#include <QDate>

namespace {

constexpr int kBadArgument = CliExit::BadArguments;

// Which catalogs a search or duplicate run takes: --category and --catalog,
// both repeatable; with neither, every catalog of the tree.
struct Scope {
    QStringList categories;
    QStringList catalogs;
};

// Takes "--category C" and "--catalog N" at args[i]; true when it did.
bool takeScopeOption(const QStringList &args, int &i, Scope &scope, QString &error)
{
    const QString &option = args.at(i);
    QStringList *target = option == QLatin1String("--category") ? &scope.categories
                        : option == QLatin1String("--catalog")  ? &scope.catalogs
                                                                : nullptr;
    if (!target)
        return false;
    if (i + 1 >= args.size())
        error = option + QStringLiteral(" needs a name");
    else
        target->append(args.at(++i));
    return true;
}

// Ticks the chosen catalogs; 0, or the exit code after reporting.
int tickScope(CliContext &c, const Scope &scope, CheckTree &tree)
{
    if (scope.categories.isEmpty() && scope.catalogs.isEmpty()) {
        tree.setAllChecked(true);
        return 0;
    }
    for (const QString &name : scope.categories) {
        if (c.state.tree.findCategory(name) < 0)
            return c.fail(QStringLiteral("Category %1 does not exist").arg(name));
        for (int i = 0; i < tree.categoryCount(); ++i) {
            if (TextCompare::equalAsciiNoCase(tree.category(i).node.text, name))
                tree.setCategoryChecked(i, true);
        }
    }
    for (const QString &name : scope.catalogs) {
        const CategoryTree::CatalogRef ref = c.state.tree.findCatalog(name);
        if (!ref.isValid())
            return c.fail(QStringLiteral("Catalog %1 does not exist").arg(name));
        const QString &category = c.state.tree.category(ref.category).name;
        for (int i = 0; i < tree.categoryCount(); ++i) {
            if (tree.category(i).node.text == category)
                tree.setCatalogChecked(i, ref.catalog, true);
        }
    }
    return 0;
}

// Takes the export options out of args; 0, or the exit status after
// reporting.
int takeExport(CliContext &c, QStringList &args, CliTableExport &target)
{
    QString error;
    if (!CliTableExport::take(args, QStringLiteral("--export"), target, error))
        return c.fail(error, kBadArgument);
    return 0;
}

// Result lines (five entry fields and the catalog name) as output rows, or
// as the result table written to the export file.
int showResults(CliContext &c, const SortedLineList &lines, const CliTableExport &target)
{
    if (target.requested()) {
        VisualTableModel table(c.formats);
        table.setUpResultView();
        table.fill(lines);
        return target.write(c, table);
    }
    // Line by line from the list's bytes, so the results are never held a
    // second time as text. A line with no field is no result.
    RowWriter rows = c.rows();
    Utf8Fields::Span span;
    for (qsizetype i = 0; i < lines.count(); ++i) {
        const QByteArrayView line = lines.utf8At(i);
        if (Utf8Fields::Cursor(line).next(span))
            rows.writeCommaLine(line);
    }
    return CliExit::Ok;
}

int reportUnreadable(CliContext &c, const QStringList &catalogs)
{
    if (catalogs.isEmpty())
        return 0;
    return c.fail(QStringLiteral("Cannot read the catalog file of ") + catalogs.join(QStringLiteral(", ")));
}

bool takeValue(const QStringList &args, int &i, QString &value, QString &error)
{
    if (i + 1 >= args.size()) {
        error = args.at(i) + QStringLiteral(" needs a value");
        return false;
    }
    value = args.at(++i);
    return true;
}

// Reads the search options; an empty error means the request is complete.
CatalogSearch::Request parseSearch(const QStringList &args, Scope &scope, QString &error)
{
    CatalogSearch::Request r;
    QStringList modes;
    bool caseSensitive = false;
    for (int i = 0; i < args.size() && error.isEmpty(); ++i) {
        const QString &option = args.at(i);
        if (takeScopeOption(args, i, scope, error))
            continue;
        if (option == QLatin1String("--case")) {
            caseSensitive = true;
        } else if (option == QLatin1String("--word")) {
            if (takeValue(args, i, r.word, error))
                modes << option;
        } else if (option == QLatin1String("--ext")) {
            if (takeValue(args, i, r.extension, error))
                modes << option;
        } else if (option == QLatin1String("--from")) {
            if (takeValue(args, i, r.from, error))
                modes << option;
        } else if (option == QLatin1String("--to")) {
            takeValue(args, i, r.to, error);
        } else {
            error = QStringLiteral("unknown search option ") + option;
        }
    }
    if (!error.isEmpty())
        return r;
    if (modes.size() != 1) {
        error = QStringLiteral("search needs one of --word, --ext or --from with --to");
        return r;
    }
    const QString &mode = modes.first();
    r.mode = mode == QLatin1String("--word") ? CatalogSearch::Mode::Word
           : mode == QLatin1String("--ext")  ? CatalogSearch::Mode::Extension
                                             : CatalogSearch::Mode::Date;
    r.caseSensitive = caseSensitive;
    const bool hasTo = args.contains(QStringLiteral("--to"));
    if ((r.mode == CatalogSearch::Mode::Date) != hasTo)
        error = QStringLiteral("--from and --to go together");
    else if ((r.mode == CatalogSearch::Mode::Word && r.word.isEmpty())
             || (r.mode == CatalogSearch::Mode::Extension && r.extension.isEmpty())
             || (r.mode == CatalogSearch::Mode::Date && (r.from.isEmpty() || r.to.isEmpty())))
        error = QStringLiteral("the search text is empty");
    return r;
}

int search(CliContext &c, const QStringList &arguments)
{
    QStringList args = arguments;
    CliTableExport target;
    if (const int code = takeExport(c, args, target))
        return code;
    Scope scope;
    QString error;
    const CatalogSearch::Request request = parseSearch(args, scope, error);
    if (!error.isEmpty())
        return c.fail(error, kBadArgument);
    const CatalogSearch searcher(c.library, c.formats, QDate::currentDate().year());
    if (!searcher.matcherFor(request, &error))
        return c.fail(error, kBadArgument);
    CheckTree tree(c.state.tree);
    if (const int code = tickScope(c, scope, tree))
        return code;
    RunControl control;
    SortedLineList results;
    const CatalogSearch::Result result = searcher.run(request, tree, control, results);
    if (const int code = showResults(c, results, target))
        return code;
    c.err << CatalogSearch::foundText(result.matches) << Qt::endl;
    return reportUnreadable(c, result.unreadable);
}

int dupes(CliContext &c, const QStringList &arguments)
{
    QStringList args = arguments;
    CliTableExport target;
    if (const int code = takeExport(c, args, target))
        return code;
    Scope scope;
    DuplicateFinder::Criteria criteria;
    QString error;
    for (int i = 0; i < args.size() && error.isEmpty(); ++i) {
        const QString &option = args.at(i);
        if (takeScopeOption(args, i, scope, error))
            continue;
        if (option == QLatin1String("--no-name"))
            criteria.name = false;
        else if (option == QLatin1String("--no-size"))
            criteria.size = false;
        else if (option == QLatin1String("--no-date"))
            criteria.date = false;
        else
            error = QStringLiteral("unknown dupes option ") + option;
    }
    if (!error.isEmpty())
        return c.fail(error, kBadArgument);
    if (!criteria.any())
        return c.fail(DuplicateFinder::noCriterionMessage(), kBadArgument);
    CheckTree tree(c.state.tree);
    if (const int code = tickScope(c, scope, tree))
        return code;
    RunControl control;
    SortedLineList results;
    const DuplicateFinder::Result result = DuplicateFinder(c.library).run(tree, criteria, control, results);
    if (const int code = showResults(c, results, target))
        return code;
    c.err << DuplicateFinder::foundText(result.duplicates) << Qt::endl;
    return reportUnreadable(c, result.unreadable);
}

// The report's table as the window fills it.
int exportReport(CliContext &c, const std::vector<QStringList> &cells, const CliTableExport &target)
{
    QStringList lines;
    lines.reserve(qsizetype(cells.size()));
    for (const QStringList &row : cells)
        lines << CommaText::join(row);
    VisualTableModel table(c.formats);
    table.setUpReportView();
    table.fill(lines);
    return target.write(c, table);
}

int report(CliContext &c, const QStringList &arguments)
{
    QStringList args = arguments;
    CliTableExport target;
    if (const int code = takeExport(c, args, target))
        return code;
    if (!args.isEmpty())
        return c.fail(QStringLiteral("report takes no options but --export, --html and --title"), kBadArgument);
    const std::vector<QStringList> cells = CatalogReport::rows(c.state.catalogInfo, c.state.treeComments);
    if (target.requested()) {
        if (const int code = exportReport(c, cells, target))
            return code;
    } else {
        RowWriter rows = c.rows();
        for (const QStringList &row : cells)
            rows.write(row);
    }
    c.err << CatalogReport::statusText(qsizetype(cells.size())) << Qt::endl;
    return CliExit::Ok;
}

} // namespace

QList<CliCommand> queryCommands()
{
    const char *const exportOptions =
        "  --export FILE   write the result table to FILE as the window's \"Save Contents As\"\n"
        "                  does, formatted text by default, instead of listing rows\n"
        "  --html          with --export: an HTML page\n"
        "  --title T       with --html: the page's title (none by default)\n";
    const char *const scope = "  --category C    search the catalogs of category C (repeatable)\n"
                              "  --catalog N     search catalog N (repeatable); by default every catalog\n";
    static const QByteArray searchOptions =
        QByteArray("  --word W        entries with W in a field (* and ? are wildcards)\n"
                   "  --case          --word tells upper from lower case\n"
                   "  --ext E         entries whose name matches the extension mask E (*.txt)\n"
                   "  --from D --to D entries dated between D and D, both excluded, in your locale's\n"
                   "                  date order\n")
        + scope + exportOptions;
    static const QByteArray dupesOptions = QByteArray("  --no-name       do not compare names\n"
                                                      "  --no-size       do not compare sizes\n"
                                                      "  --no-date       do not compare dates\n")
                                         + scope + exportOptions;
    return {
        {"search", "search (--word W [--case] | --ext E | --from D --to D) [--category C]... [--catalog N]... "
         "[--export FILE [--html [--title T]]]",
         "Lists the entries found, as the program's search finds them; the count goes to standard error.",
         searchOptions.constData(), search, CliCommand::Access::Reads, "name,size,date,path,comment,catalog"},
        {"dupes", "dupes [--no-name] [--no-size] [--no-date] [--category C]... [--catalog N]... "
         "[--export FILE [--html [--title T]]]",
         "Lists entries whose name, size and date equal those of another entry.", dupesOptions.constData(),
         dupes, CliCommand::Access::Reads, "name,size,date,path,comment,catalog"},
        {"report", "report [--export FILE [--html [--title T]]]", "Lists one row per catalog, sorted by name.",
         exportOptions, report, CliCommand::Access::Reads,
         "name,type,total_space,free_space,directory,last_updated,comment"},
    };
}
