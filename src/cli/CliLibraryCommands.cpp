// Reading commands: tree, info, show.
#include "CliContext.h"

#include "library/CommaText.h"
#include "library/SortedLineList.h"

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

int show(CliContext &c, const QStringList &args)
{
    if (args.size() != 1)
        return c.fail(QStringLiteral("usage: show NAME"), 2);
    const QString name = args.first();
    if (!c.library.catalogFileExists(name))
        return c.fail(QStringLiteral("Catalog %1 does not exists!").arg(name));
    SortedLineList lines;
    QString error;
    if (!c.library.loadCatalog(name, lines, &error))
        return c.fail(error);
    for (const QString &line : lines.lines()) {
        QStringList fields = CommaText::split(line);
        if (fields.isEmpty())
            continue;
        while (fields.size() < 5)
            fields.append(QString());
        c.out << fields.join(u'\t') << '\n';
    }
    return 0;
}

} // namespace

QList<CliCommand> libraryCommands()
{
    return {
        {"tree", "tree                      categories and their catalogs in tree order", tree},
        {"info", "info NAME                 a catalog's information fields", info},
        {"show", "show NAME                 a catalog's entries, fields separated by tabs", show},
    };
}
