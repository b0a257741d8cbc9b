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

namespace {

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
QString parse(const CliArguments &args, PrintRequest &request)
{
    request.catalog = args.words().first();
    request.pdf = args.value(QStringLiteral("--pdf"));
    if (request.pdf.isEmpty())
        return QStringLiteral("print needs --pdf FILE");
    PrintOptions &o = request.options;
    o.title = args.value(QStringLiteral("--title"));
    if (args.has(QStringLiteral("--font"))) {
        o.font = parseFont(args.value(QStringLiteral("--font")));
        if (!o.font)
            return QStringLiteral("--font takes FAMILY:POINTS, such as \"DejaVu Sans:9\"");
    }
    o.landscape = !args.has(QStringLiteral("--portrait"));
    o.time = !args.has(QStringLiteral("--no-time"));
    o.date = !args.has(QStringLiteral("--no-date"));
    o.borders = !args.has(QStringLiteral("--no-borders"));
    o.pageNumbers = !args.has(QStringLiteral("--no-page-numbers"));
    return QString();
}

int print(CliContext &c, const CliArguments &args)
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
         print, CliCommand::Access::Reads, nullptr,
         "--pdf= --portrait --title= --no-time --no-date --no-borders --no-page-numbers --font=", "CATALOG"},
    };
}
