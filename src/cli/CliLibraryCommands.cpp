// Reading commands: tree, info, show.
#include "CliContext.h"

#include "library/CommaText.h"
#include "library/SortedLineList.h"
#include "table/VisualTableModel.h"

namespace {

int tree(CliContext &c, const QStringList &args)
{
    if (!args.isEmpty())
        return c.fail(QStringLiteral("tree takes no arguments"), 2);
    for (const CategoryTree::Category &category : c.state.tree.categories()) {
        c.out << category.name << '\n';
        for (const CategoryTree::Catalog &catalog : category.catalogs)
            c.out << '\t' << catalog.name << '\n';
    }
    return 0;
}

const char *const kInfoLabels[] = {
    "Number of files", "Number of Directories", "Drive", "Path", "Total Space", "Free Space",
    "Type", "Last Update", "Hidden Files", "Read-Only Files", "System Files", "Sub-Directories",
    "Hidden Directories", "ZIP Contents", "Number of Masks",
};

int info(CliContext &c, const QStringList &args)
{
    if (args.size() != 1)
        return c.fail(QStringLiteral("usage: info NAME"), 2);
    const QString name = c.knownCatalog(args.first());
    if (name.isEmpty())
        return c.fail(QStringLiteral("Catalog %1 does not exist").arg(args.first()));
    const QString line = c.state.catalogInfo.value(name);
    if (line.isEmpty())
        return c.fail(QStringLiteral("No information is available for %1 catalog.").arg(name));
    const QStringList fields = CommaText::split(line);
    c.out << "Name: " << name << '\n';
    for (int i = 0; i < 15 && i < fields.size(); ++i)
        c.out << kInfoLabels[i] << ": " << fields.at(i) << '\n';
    for (qsizetype i = 15; i < fields.size(); ++i)
        c.out << "Mask: " << fields.at(i) << '\n';
    c.out << "Comment: " << c.state.treeComments.value(name) << '\n';
    return 0;
}

const char *const kColumnNames[] = {"name", "size", "date", "path", "comment"};

// A column by number (0-4) or by name; -1 when neither.
int parseColumn(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        return number >= 0 && number < 5 ? number : -1;
    for (int i = 0; i < 5; ++i) {
        if (text.compare(QLatin1String(kColumnNames[i]), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int show(CliContext &c, const QStringList &arguments)
{
    QStringList args = arguments;
    int sortColumn = -1;
    bool reverse = false;
    for (qsizetype i = 0; i < args.size();) {
        if (args.at(i) == QLatin1String("--sort") && i + 1 < args.size()) {
            sortColumn = parseColumn(args.at(i + 1));
            if (sortColumn < 0)
                return c.fail(QStringLiteral("--sort takes name, size, date, path, comment or 0-4"), 2);
            args.remove(i, 2);
        } else if (args.at(i) == QLatin1String("--reverse")) {
            reverse = true;
            args.remove(i);
        } else {
            ++i;
        }
    }
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return c.fail(QStringLiteral("usage: show NAME [--sort COLUMN [--reverse]]"), 2);
    const QString name = args.first();
    if (!c.library.catalogFileExists(name))
        return c.fail(QStringLiteral("Catalog %1 does not exists!").arg(name));
    SortedLineList lines;
    QString error;
    if (!c.library.loadCatalog(name, lines, &error))
        return c.fail(error);
    // The table's own rows and comparison rules, as the program shows them.
    VisualTableModel table(c.formats);
    table.setUpCatalogView();
    table.fill(lines.lines());
    if (sortColumn >= 0)
        table.sort(sortColumn, reverse ? Qt::DescendingOrder : Qt::AscendingOrder);
    for (int row = 1; row < table.tableRowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 5; ++column)
            cells << table.cell(column, row);
        if (cells.join(QString()).isEmpty())
            continue;
        c.out << cells.join(u'\t') << '\n';
    }
    return 0;
}

} // namespace

QList<CliCommand> libraryCommands()
{
    return {
        {"tree", "tree                      categories and their catalogs in tree order", tree},
        {"info", "info NAME                 a catalog's information fields", info},
        {"show", "show NAME [--sort COLUMN [--reverse]]  a catalog's entries, fields separated by tabs", show},
    };
}
