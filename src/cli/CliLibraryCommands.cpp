// Reading commands: tree, info, which, show, export.
#include "CliContext.h"
#include "CliTableExport.h"

#include "library/CatalogInfo.h"
#include "library/CellFields.h"
#include "library/CommaText.h"
#include "library/SortedLineList.h"
#include "library/Utf8Fields.h"
#include "library/VolumeProbe.h"
#include "table/VisualTableModel.h"

#include <QDir>
#include <QFileInfo>

namespace {

// One row per catalog with its category, in tree order; a category without
// catalogs gives one row with an empty catalog.
int tree(CliContext &c, const CliArguments &)
{
    RowWriter rows = c.rows();
    for (const CategoryTree::Category &category : c.state.tree.categories()) {
        if (category.catalogs.empty())
            rows.write({category.name, QString()});
        for (const CategoryTree::Catalog &catalog : category.catalogs)
            rows.write({category.name, catalog.name});
    }
    return CliExit::Ok;
}

int info(CliContext &c, const CliArguments &args)
{
    const QString &given = args.words().first();
    const QString name = c.knownCatalog(given);
    if (name.isEmpty())
        return c.fail(QStringLiteral("Catalog %1 does not exist").arg(given));
    const QString line = c.state.catalogInfo.value(name);
    if (line.isEmpty())
        return c.fail(QStringLiteral("No information is available for %1 catalog.").arg(name));
    const QStringList fields = CommaText::split(line);
    if (fields.size() < CatalogInfo::ShownFieldMinimum)
        return c.fail(
            QStringLiteral("No information is available for %1 catalog.\nPlease update the catalog.")
                .arg(name));
    RowWriter rows = c.rows();
    rows.write({QStringLiteral("Name"), name});
    for (qsizetype i = 0; i < fields.size(); ++i)
        rows.write({CatalogInfo::fieldLabel(i), fields.at(i)});
    if (const std::optional<VolumeIdentity> medium = c.state.volumes.identityOf(name); medium) {
        rows.write({QStringLiteral("Label"), medium->label});
        rows.write({QStringLiteral("UUID"), medium->uuid});
    }
    rows.write({QStringLiteral("Comment"), c.state.treeComments.value(name)});
    return CliExit::Ok;
}

// The catalogs whose folder holds path on its medium; when none does, the
// catalogs of folders below path (asked of a mount point, every catalog of
// the medium). Only catalogs the library still knows, as it spells them.
QStringList catalogsOfMedium(const CliContext &c, const VolumeIdentity &medium)
{
    QStringList recorded = c.state.volumes.catalogsOf(medium.uuid, medium.subPath);
    if (recorded.isEmpty())
        recorded = c.state.volumes.catalogsWithin(medium.uuid, medium.subPath);
    QStringList names;
    for (const QString &name : std::as_const(recorded)) {
        const QString known = c.knownCatalog(name);
        if (!known.isEmpty() && !names.contains(known))
            names << known;
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

int which(CliContext &c, const CliArguments &args)
{
    const QString &given = args.words().first();
    if (!QFileInfo::exists(given))
        return c.fail(QStringLiteral("%1: No such file or directory").arg(given), CliExit::BadArguments);
    const VolumeIdentity medium = VolumeProbe(MountTable::current()).identify(QDir(given).absolutePath());
    const QStringList names = medium.hasUuid() ? catalogsOfMedium(c, medium) : QStringList();
    if (names.isEmpty())
        return c.fail(QStringLiteral("No catalog of this medium"), CliExit::NothingFound);
    RowWriter rows = c.rows();
    for (const QString &name : names)
        rows.write({name});
    return CliExit::Ok;
}

const QStringList kColumnNames{"name", "size", "date", "path", "comment"};

// A column by number (0-4) or by name; -1 when neither.
int parseColumn(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        return number >= 0 && number < 5 ? number : -1;
    return int(kColumnNames.indexOf(text.toLower()));
}

// A catalog's lines in their stored order; 0, or the exit status after
// reporting.
int loadLines(CliContext &c, const QString &name, SortedLineList &lines)
{
    if (!c.library.catalogFileExists(name))
        return c.fail(QStringLiteral("Catalog %1 does not exists!").arg(name));
    QString error;
    if (!c.library.loadCatalog(name, lines, &error))
        return c.fail(error);
    return 0;
}

// The table's own rows and comparison rules, as the program shows the
// catalog when it opens it; 0, or the exit status after reporting.
int openTable(CliContext &c, const QString &name, VisualTableModel &table)
{
    SortedLineList lines;
    if (const int code = loadLines(c, name, lines))
        return code;
    table.setUpCatalogView();
    table.fill(lines);
    return 0;
}

// Whether any of a line's first five cells holds text: a row without any
// is one of the table's empty rows and is not written.
template <typename Cursor>
bool hasCellText(Cursor cursor)
{
    CellFields::Span span;
    for (int column = 0; column < 5 && cursor.next(span); ++column) {
        if (span.length > 0)
            return true;
    }
    return false;
}

// The catalog in its stored order, printed straight from the compact list's
// bytes: a line is never held as UTF-16 text, so a huge one costs little
// more than its bytes.
int showStoredOrder(CliContext &c, const QString &name)
{
    SortedLineList lines;
    if (const int code = loadLines(c, name, lines))
        return code;
    RowWriter rows = c.rows();
    for (qsizetype i = 0; i < lines.count(); ++i) {
        const QByteArrayView line = lines.utf8At(i);
        if (hasCellText(Utf8Fields::Cursor(line)))
            rows.writeCommaLine(line);
    }
    return CliExit::Ok;
}

int show(CliContext &c, const CliArguments &args)
{
    int sortColumn = -1;
    if (args.has(QStringLiteral("--sort"))) {
        sortColumn = parseColumn(args.value(QStringLiteral("--sort")));
        if (sortColumn < 0)
            return c.fail(QStringLiteral("--sort takes name, size, date, path, comment or 0-4"),
                          CliExit::BadArguments);
    }
    const bool reverse = args.has(QStringLiteral("--reverse"));
    const QString &name = args.words().first();
    if (sortColumn < 0)
        return showStoredOrder(c, name);
    VisualTableModel table(c.formats);
    if (const int code = openTable(c, name, table))
        return code;
    table.sort(sortColumn, reverse ? Qt::DescendingOrder : Qt::AscendingOrder);
    RowWriter rows = c.rows();
    for (int row = 1; row < table.tableRowCount(); ++row) {
        const QString line = table.rowLine(row);
        if (hasCellText(CellFields::Cursor(line)))
            rows.writeCommaLine(line);
    }
    return CliExit::Ok;
}

int exportCatalog(CliContext &c, const CliArguments &args)
{
    CliTableExport target;
    QString error;
    if (!CliTableExport::take(args, QString(), target, error))
        return c.fail(error, CliExit::BadArguments);
    target.file = args.words().at(1);
    if (target.file.isEmpty())
        return c.fail(QStringLiteral("the file name is empty"), CliExit::BadArguments);
    VisualTableModel table(c.formats);
    if (const int code = openTable(c, args.words().first(), table))
        return code;
    return target.write(c, table);
}

} // namespace

QList<CliCommand> libraryCommands()
{
    return {
        {"tree", "tree", "Lists the categories and their catalogs in tree order.", "", tree,
         CliCommand::Access::Reads, "category,catalog"},
        {"info", "info NAME", "Lists a catalog's information fields (the labels as the program shows them).",
         "", info, CliCommand::Access::Reads, "field,value", "", "NAME"},
        {"which", "which PATH",
         "Lists the catalogs made from the medium that holds PATH, known by its file system's UUID\n"
         "wherever it is mounted: those made from a folder holding PATH, else those made from\n"
         "folders below it. Exits 1 when there is none.",
         "", which, CliCommand::Access::Reads, "catalog", "", "PATH"},
        {"show", "show NAME [--sort COLUMN [--reverse]]",
         "Lists a catalog's entries in the order the program opens them.",
         "  --sort COLUMN   order by name, size, date, path, comment (or 0 to 4) as a click\n"
         "                  on the table's header does\n"
         "  --reverse       the other way round\n",
         show, CliCommand::Access::Reads, "name,size,date,path,comment", "--sort= --reverse", "NAME"},
        {"export", "export CATALOG FILE [--html [--title T]]",
         "Writes a catalog to FILE (- for standard output) as formatted text or an HTML page, as the table\n"
         "shows it when opened.",
         "  --html          an HTML page instead of formatted text\n"
         "  --title T       the page's title (with --html; none by default)\n",
         exportCatalog, CliCommand::Access::Reads, nullptr, "--html --title=", "CATALOG FILE"},
    };
}
