// Searching commands: search, dupes, only-in, single-copies, report.
#include "BackgroundRows.h"
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
#include "queries/MergedResults.h"
#include "queries/ResultRun.h"
#include "queries/SingleCopyFinder.h"
#include "table/VisualTableModel.h"

#include <QDate>
#include <QRegularExpression>

#include <optional>

namespace {

constexpr int kBadArgument = CliExit::BadArguments;

// Which catalogs a search or duplicate run takes: --category and --catalog,
// both repeatable; with neither, every catalog of the tree.
struct Scope {
    QStringList categories;
    QStringList catalogs;
};

Scope scopeOf(const CliArguments &args)
{
    return {args.values(QStringLiteral("--category")), args.values(QStringLiteral("--catalog"))};
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

// Reads the export options; 0, or the exit status after reporting.
int takeExport(CliContext &c, const CliArguments &args, CliTableExport &target)
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

// The rows of a search's runs in the list's order, each line put together
// only as it is written.
void writeMerged(CliContext &c, const std::vector<ResultRun> &runs)
{
    RowWriter rows = c.rows();
    MergedResults merged(runs);
    QByteArray line;
    for (std::vector<MergedResults::Row> batch; !(batch = merged.next()).empty();) {
        for (const auto &[run, index] : batch) {
            run->lineAt(index, line);
            rows.writeCommaLine(QByteArrayView(line));
        }
    }
}

int reportUnreadable(CliContext &c, const QStringList &catalogs)
{
    if (catalogs.isEmpty())
        return 0;
    return c.fail(QStringLiteral("Cannot read the catalog file of ") + catalogs.join(QStringLiteral(", ")));
}

// "svg" and ".svg" mean "*.svg", as a user of other tools expects; a
// pattern with a wildcard is the program's own.
QString extensionPattern(const QString &text)
{
    if (text.contains(u'*') || text.contains(u'?') || text.isEmpty())
        return text;
    return (text.startsWith(u'.') ? QStringLiteral("*") : QStringLiteral("*.")) + text;
}

// A date as the program's search reads it: one in ISO 8601 (2025-01-31)
// is written in the locale's order first.
QString searchDate(const QString &text, const DateFormats &formats)
{
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate date =
        iso.match(text.trimmed()).hasMatch() ? QDate::fromString(text.trimmed(), Qt::ISODate) : QDate();
    return date.isValid() ? date.toString(formats.shortDate()) : text;
}

// The forms a date of --from and --to may take, after the reader's
// complaint.
QString dateForms(const QString &complaint, const DateFormats &formats)
{
    const QDate example(2025, 1, 31);
    QString shortYear = example.toString(formats.shortDate());
    shortYear.replace(QLatin1String("2025"), QLatin1String("25"));
    return complaint +
           QStringLiteral(": give it as 2025-01-31 (ISO 8601), or in this locale's order as %1 or %2")
               .arg(example.toString(formats.shortDate()), shortYear);
}

const QString kSearchNeeds = QStringLiteral("search needs --word, --contains, --ext or --from/--to");

// Reads the search options; an empty error means the request is complete.
CatalogSearch::Request parseSearch(const CliArguments &args, const DateFormats &formats, QString &error)
{
    CatalogSearch::Request r;
    QStringList modes;
    for (const char *mode : {"--word", "--contains", "--ext", "--from"}) {
        if (args.has(QLatin1String(mode)))
            modes << QLatin1String(mode);
    }
    if (modes.isEmpty()) {
        error = args.has(QStringLiteral("--to")) ? QStringLiteral("--to goes with --from") : kSearchNeeds;
        // "search stdio.h" most likely meant to find that text.
        if (!args.words().isEmpty())
            error += QStringLiteral(" (to find '%1' anywhere in a field: search --contains '%1')")
                         .arg(args.words().first());
        return r;
    }
    if (!args.words().isEmpty()) {
        error = QStringLiteral("unexpected argument '%1'").arg(args.words().first());
        return r;
    }
    if (modes.size() > 1) {
        error = QStringLiteral("search takes one of --word, --contains, --ext or --from/--to, not ") +
                modes.join(QStringLiteral(" and "));
        return r;
    }
    const QString &mode = modes.first();
    r.mode = mode == QLatin1String("--ext")    ? CatalogSearch::Mode::Extension
             : mode == QLatin1String("--from") ? CatalogSearch::Mode::Date
                                               : CatalogSearch::Mode::Word;
    r.caseSensitive = args.has(QStringLiteral("--case"));
    r.word = args.value(mode);
    if (mode == QLatin1String("--contains") && !r.word.isEmpty())
        r.word = u'*' + r.word + u'*';
    r.extension = extensionPattern(args.value(QStringLiteral("--ext")));
    r.from = searchDate(args.value(QStringLiteral("--from")), formats);
    r.to = searchDate(args.value(QStringLiteral("--to")), formats);
    const bool hasTo = args.has(QStringLiteral("--to"));
    if ((r.mode == CatalogSearch::Mode::Date) != hasTo)
        error = QStringLiteral("--from and --to go together");
    else if ((r.mode == CatalogSearch::Mode::Word && r.word.isEmpty()) ||
             (r.mode == CatalogSearch::Mode::Extension && r.extension.isEmpty()) ||
             (r.mode == CatalogSearch::Mode::Date && (r.from.isEmpty() || r.to.isEmpty())))
        error = QStringLiteral("the search text is empty");
    return r;
}

int search(CliContext &c, const CliArguments &args)
{
    CliTableExport target;
    if (const int code = takeExport(c, args, target))
        return code;
    const Scope scope = scopeOf(args);
    QString error;
    const CatalogSearch::Request request = parseSearch(args, c.formats, error);
    if (!error.isEmpty())
        return c.fail(error, kBadArgument);
    const CatalogSearch searcher(c.library, c.formats, QDate::currentDate().year());
    if (!searcher.matcherFor(request, &error))
        return c.fail(dateForms(error, c.formats), kBadArgument);
    CheckTree tree(c.state.tree);
    if (const int code = tickScope(c, scope, tree))
        return code;
    RunControl control;
    CatalogSearch::Result result;
    if (target.requested()) {
        SortedLineList results;
        result = searcher.run(request, tree, control, results);
        if (const int code = showResults(c, results, target))
            return code;
    } else {
        std::vector<ResultRun> runs;
        result = searcher.run(request, tree, control, runs);
        writeMerged(c, runs);
    }
    c.tell(CatalogSearch::foundText(result.matches));
    if (const int code = reportUnreadable(c, result.unreadable))
        return code;
    return result.matches > 0 ? CliExit::Ok : CliExit::NothingFound;
}

DuplicateFinder::Criteria criteriaOf(const CliArguments &args)
{
    DuplicateFinder::Criteria criteria;
    criteria.name = !args.has(QStringLiteral("--no-name"));
    criteria.size = !args.has(QStringLiteral("--no-size"));
    criteria.date = !args.has(QStringLiteral("--no-date"));
    return criteria;
}

// What dupes, only-in and single-copies read alike: the export target, the
// criteria and the ticked catalogs; an exit status when one is refused.
int takeComparison(CliContext &c, const CliArguments &args, CliTableExport &target,
                   DuplicateFinder::Criteria &criteria, CheckTree &tree)
{
    if (const int code = takeExport(c, args, target))
        return code;
    const Scope scope = scopeOf(args);
    criteria = criteriaOf(args);
    if (!criteria.any())
        return c.fail(DuplicateFinder::noCriterionMessage(), kBadArgument);
    return tickScope(c, scope, tree);
}

int dupes(CliContext &c, const CliArguments &args)
{
    CliTableExport target;
    DuplicateFinder::Criteria criteria;
    CheckTree tree(c.state.tree);
    if (const int code = takeComparison(c, args, target, criteria, tree))
        return code;
    RunControl control;
    SortedLineList results;
    const DuplicateFinder::Result result = DuplicateFinder(c.library).run(tree, criteria, control, results);
    if (const int code = showResults(c, results, target))
        return code;
    c.tell(DuplicateFinder::foundText(result.duplicates));
    if (const int code = reportUnreadable(c, result.unreadable))
        return code;
    return result.duplicates > 0 ? CliExit::Ok : CliExit::NothingFound;
}

// Lists single copies catalog by catalog as the finder hands them over, so
// the results are never all held; an export writes them as one table.
// own: the catalog of only-in, or empty for single-copies.
int listSingleCopies(CliContext &c, const CliArguments &args, const QString &own)
{
    CliTableExport target;
    DuplicateFinder::Criteria criteria;
    CheckTree tree(c.state.tree);
    if (const int code = takeComparison(c, args, target, criteria, tree))
        return code;
    SortedLineList table;
    std::optional<RowWriter> rows;
    std::optional<BackgroundRows> background;
    if (!target.requested()) {
        rows.emplace(c.out, c.format, c.columns, c.outIsTerminal, &c.formats); // not moved: that would end it
        background.emplace(*rows);
    }
    const SingleCopyFinder::Deliver deliver = [&](SortedLineList &&lines) {
        if (!background)
            return table.merge(std::move(lines));
        background->add(std::move(lines));
    };
    RunControl control;
    const SingleCopyFinder finder(c.library);
    const SingleCopyFinder::Result result = own.isEmpty()
                                                ? finder.singleCopies(tree, criteria, control, deliver)
                                                : finder.nowhereElse(own, tree, criteria, control, deliver);
    if (result.outcome == SingleCopyFinder::Outcome::Failed)
        return c.fail(result.message);
    if (rows) {
        background->finish();
        rows->finish();
    } else if (const int code = showResults(c, table, target))
        return code;
    c.tell(own.isEmpty() ? SingleCopyFinder::singleCopiesText(result.found)
                         : SingleCopyFinder::nowhereElseText(result.found, own));
    if (const int code = reportUnreadable(c, result.unreadable))
        return code;
    return result.found > 0 ? CliExit::Ok : CliExit::NothingFound;
}

int onlyIn(CliContext &c, const CliArguments &args)
{
    const QString &given = args.words().first();
    const QString name = c.knownCatalog(given);
    if (name.isEmpty())
        return c.fail(QStringLiteral("Catalog %1 does not exist").arg(given));
    return listSingleCopies(c, args, name);
}

int singleCopies(CliContext &c, const CliArguments &args)
{
    return listSingleCopies(c, args, QString());
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

int report(CliContext &c, const CliArguments &args)
{
    CliTableExport target;
    if (const int code = takeExport(c, args, target))
        return code;
    const std::vector<QStringList> cells =
        CatalogReport::rows(c.state.catalogInfo, c.state.treeComments, c.state.volumes);
    if (target.requested()) {
        if (const int code = exportReport(c, cells, target))
            return code;
    } else {
        RowWriter rows = c.rows();
        for (const QStringList &row : cells)
            rows.write(row);
    }
    c.tell(CatalogReport::statusText(qsizetype(cells.size())));
    return CliExit::Ok;
}

} // namespace

QList<CliCommand> queryCommands()
{
    const char *const exportOptions =
        "  --export FILE   write the result table to FILE (- for standard output) as the\n"
        "                  window's \"Save Contents As\" does, formatted text by default,\n"
        "                  instead of listing rows\n"
        "  --html          with --export: an HTML page\n"
        "  --title T       with --html: the page's title (none by default)\n";
    const char *const scope = "  --category C    search the catalogs of category C (repeatable)\n"
                              "  --catalog N     search catalog N (repeatable); by default every catalog\n";
    static const QByteArray searchOptions =
        QByteArray("  --word W        entries with a field that is W as a whole, * and ? being\n"
                   "                  wildcards: --word readme finds a field that is exactly readme,\n"
                   "                  --word '*readme*' finds it anywhere in a field\n"
                   "  --contains T    entries with T anywhere in a field: --word '*T*'\n"
                   "  --case          --word and --contains tell upper from lower case\n"
                   "  --ext E         entries whose name has the extension E: svg, .svg and *.svg\n"
                   "                  are the same; ? is a wildcard\n"
                   "  --from D --to D entries dated between D and D, both excluded: 2025-01-31\n"
                   "                  (ISO 8601) or a date in the locale's order\n") +
        scope + exportOptions;
    static const QByteArray dupesOptions = QByteArray("  --no-name       do not compare names\n"
                                                      "  --no-size       do not compare sizes\n"
                                                      "  --no-date       do not compare dates\n") +
                                           scope + exportOptions;
    static const QByteArray onlyInOptions =
        QByteArray("  --no-name       do not compare names\n"
                   "  --no-size       do not compare sizes\n"
                   "  --no-date       do not compare dates\n"
                   "  --category C    compare with the catalogs of category C (repeatable)\n"
                   "  --catalog N     compare with catalog N (repeatable); by default every other\n"
                   "                  catalog\n") +
        exportOptions;
    return {
        {"search",
         "search (--word W | --contains T | --ext E | --from D --to D) [--case]\n"
         "        [--category C]... [--catalog N]... [--export FILE [--html [--title T]]]",
         "Lists the entries found, as the program's search finds them; the count goes to standard error.\n"
         "Exits with 1 when nothing is found.",
         searchOptions.constData(), search, CliCommand::Access::Reads, "name,size,date,path,comment,catalog",
         "--word= --contains= --case --ext= --from= --to= --category=* --catalog=* --export= --html --title=",
         "[TEXT]"},
        {"dupes",
         "dupes [--no-name] [--no-size] [--no-date] [--category C]... [--catalog N]... "
         "[--export FILE [--html [--title T]]]",
         "Lists entries whose name, size and date equal those of another entry. Exits with 1 when there\n"
         "are none.",
         dupesOptions.constData(), dupes, CliCommand::Access::Reads, "name,size,date,path,comment,catalog",
         "--no-name --no-size --no-date --category=* --catalog=* --export= --html --title="},
        {"only-in",
         "only-in CATALOG [--no-name] [--no-size] [--no-date] [--category C]... [--catalog N]... "
         "[--export FILE [--html [--title T]]]",
         "Lists the entries of CATALOG whose name, size and date no other catalog holds: the files\n"
         "found nowhere else. Exits with 1 when there are none.",
         onlyInOptions.constData(), onlyIn, CliCommand::Access::Reads, "name,size,date,path,comment,catalog",
         "--no-name --no-size --no-date --category=* --catalog=* --export= --html --title=", "CATALOG"},
        {"single-copies",
         "single-copies [--no-name] [--no-size] [--no-date] [--category C]... [--catalog N]... "
         "[--export FILE [--html [--title T]]]",
         "Lists the entries whose name, size and date only one catalog holds, catalog by catalog.\n"
         "Exits with 1 when there are none.",
         dupesOptions.constData(), singleCopies, CliCommand::Access::Reads,
         "name,size,date,path,comment,catalog",
         "--no-name --no-size --no-date --category=* --catalog=* --export= --html --title="},
        {"report", "report [--export FILE [--html [--title T]]]",
         "Lists one row per catalog, sorted by name, with its medium's label and UUID where known.",
         exportOptions, report, CliCommand::Access::Reads,
         "name,type,total_space,free_space,directory,last_updated,comment,label,uuid",
         "--export= --html --title="},
    };
}
