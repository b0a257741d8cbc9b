// The print command: a catalog as the table shows it, printed to PDF.
#include "CliContext.h"

#include "library/OutputTarget.h"
#include "library/SortedLineList.h"
#include "settings/ColumnWidths.h"
#include "settings/SettingsFile.h"
#include "table/ModelTableCells.h"
#include "table/PdfPrint.h"
#include "table/PrintColumns.h"
#include "table/VisualTableModel.h"

namespace
{

const QString kUsage = QStringLiteral(
    "usage: print CATALOG --pdf FILE [--portrait] [--title T] [--no-time] [--no-date] [--no-borders]"
    " [--no-page-numbers] [--font FAMILY:POINTS]");

// "Courier New:10" as a font; nothing when the points are not a size.
std::optional<QFont> parseFont(const QString &text)
{
    const qsizetype colon = text.lastIndexOf(u':');
    bool ok = false;
    const double points = colon > 0 ? text.mid(colon + 1).toDouble(&ok) : 0;
    if (!ok || points < 1 || points > 400)
        return std::nullopt;
    QFont font(text.left(colon));
    font.setPointSizeF(points);
    return font;
}

struct PrintRequest {
    QString catalog;
    QString pdf;
    PrintOptions options;
};

// Fills request from the arguments; an error text when they are wrong.
QString parse(const QStringList &args, PrintRequest &request)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--pdf") && hasValue) {
            request.pdf = args.at(++i);
        } else if (arg == QLatin1String("--title") && hasValue) {
            request.options.title = args.at(++i);
        } else if (arg == QLatin1String("--font") && hasValue) {
            request.options.font = parseFont(args.at(++i));
            if (!request.options.font)
                return QStringLiteral("--font takes FAMILY:POINTS, such as \"DejaVu Sans:9\"");
        } else if (arg == QLatin1String("--portrait")) {
            request.options.landscape = false;
        } else if (arg == QLatin1String("--no-time")) {
            request.options.time = false;
        } else if (arg == QLatin1String("--no-date")) {
            request.options.date = false;
        } else if (arg == QLatin1String("--no-borders")) {
            request.options.borders = false;
        } else if (arg == QLatin1String("--no-page-numbers")) {
            request.options.pageNumbers = false;
        } else if (arg.startsWith(QLatin1String("--")) || !request.catalog.isEmpty()) {
            return kUsage;
        } else {
            request.catalog = arg;
        }
    }
    return request.catalog.isEmpty() || request.pdf.isEmpty() ? kUsage : QString();
}

int print(CliContext &c, const QStringList &args)
{
    PrintRequest request;
    if (const QString error = parse(args, request); !error.isEmpty())
        return c.fail(error, CliExit::BadArguments);
    if (const QString refusal = OutputTarget::refusal(c.library, request.pdf); !refusal.isEmpty())
        return c.fail(refusal);
    if (!c.library.catalogFileExists(request.catalog))
        return c.fail(QStringLiteral("Catalog %1 does not exists!").arg(request.catalog));
    SortedLineList lines;
    QString error;
    if (!c.library.loadCatalog(request.catalog, lines, &error))
        return c.fail(error);
    VisualTableModel table(c.formats);
    table.setUpCatalogView();
    table.fill(lines);
    lines.clear();
    // Only widths saved from the program's table are screen widths to keep.
    const SettingsFile settings(c.library.settingsPath());
    const QList<int> widths = ColumnWidths::readCatalog(settings, PrintColumns::FitToText);
    if (settings.isUnreadable())
        c.note(settings.lastError() + QStringLiteral(" The default column widths are used."));
    request.options.dates = c.formats;
    if (!PdfPrint::write(request.pdf, ModelTableCells(table), widths, request.options, &error))
        return c.fail(error);
    return CliExit::Ok;
}

} // namespace

QList<CliCommand> printCommands()
{
    return {
        {"print",
         "print CATALOG --pdf FILE [--portrait] [--title T] [--no-time] [--no-date] [--no-borders] "
         "[--no-page-numbers] [--font FAMILY:POINTS]",
         "Prints a catalog as the table shows it to a PDF file (A4), as the program's \"Print All\" does.\n"
         "Columns keep the widths saved with \"Save Columns Widths\"; a column without one is as wide as "
         "its\n"
         "longest text, the long columns sharing the page's width. Text longer than its column wraps inside\n"
         "its row, and a date column always holds a whole date and time.",
         "  --pdf FILE          the PDF file to write (replaced whole, or left as it was)\n"
         "  --portrait          portrait pages (landscape without it)\n"
         "  --title T           a title in bold at the top of every page, with a line under it\n"
         "  --no-time           no time of printing at the top left\n"
         "  --no-date           no date of printing at the top right\n"
         "  --no-borders        no lines round the cells\n"
         "  --no-page-numbers   no \"page N\" at the bottom\n"
         "  --font FAMILY:POINTS  the font of the cells and the page's header and footer\n",
         print},
    };
}
