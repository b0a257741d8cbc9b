// Commands that change the tree: rename-catalog, move-catalog, add-category,
// comment.
#include "CliContext.h"

#include "library/TreeOperations.h"

namespace {

int renameCatalog(CliContext &c, const QStringList &args)
{
    if (args.size() != 2 || args.at(1).isEmpty())
        return c.fail(QStringLiteral("usage: rename-catalog OLD NEW"), 2);
    const CategoryTree::CatalogRef ref = c.state.tree.findCatalog(args.at(0));
    if (!ref.isValid())
        return c.fail(QStringLiteral("Catalog %1 does not exist").arg(args.at(0)));
    if (c.state.tree.hasCatalogNamedAscii(args.at(1)))
        return c.fail(QStringLiteral("A catalog with the same name already exists!"));
    const QString oldName = c.state.tree.catalog(ref).name;
    if (QString error; !TreeOperations::renameCatalog(c.state, c.library, ref, args.at(1), &error).isValid())
        return c.fail(error);
    c.out << "Renamed " << oldName << " To " << args.at(1) << '\n';
    return 0;
}

int moveCatalog(CliContext &c, const QStringList &args)
{
    if (args.size() != 2)
        return c.fail(QStringLiteral("usage: move-catalog NAME CATEGORY"), 2);
    const CategoryTree::CatalogRef ref = c.state.tree.findCatalog(args.at(0));
    if (!ref.isValid())
        return c.fail(QStringLiteral("Catalog %1 does not exist").arg(args.at(0)));
    const int category = c.state.tree.findCategory(args.at(1));
    if (category < 0)
        return c.fail(QStringLiteral("Category %1 does not exist").arg(args.at(1)));
    c.state.tree.moveCatalog(ref, category);
    return c.save() ? 0 : 1;
}

int addCategory(CliContext &c, const QStringList &args)
{
    if (args.size() != 1 || args.first().isEmpty())
        return c.fail(QStringLiteral("usage: add-category NAME"), 2);
    if (c.state.tree.findCategory(args.first()) >= 0)
        return c.fail(args.first() + QStringLiteral(" Category Already Exists"));
    c.state.tree.addCategory(args.first());
    if (!c.save())
        return 1;
    c.out << "Category " << args.first() << " Added\n";
    return 0;
}

// The name as a node spells it, category or catalog, or empty.
QString nodeName(const CliContext &c, const QString &name)
{
    const int category = c.state.tree.findCategory(name);
    if (category >= 0)
        return c.state.tree.category(category).name;
    const CategoryTree::CatalogRef ref = c.state.tree.findCatalog(name);
    return ref.isValid() ? c.state.tree.catalog(ref).name : QString();
}

int comment(CliContext &c, const QStringList &args)
{
    if (args.isEmpty() || args.size() > 2)
        return c.fail(QStringLiteral("usage: comment NAME [TEXT]"), 2);
    const QString name = nodeName(c, args.first());
    if (name.isEmpty())
        return c.fail(QStringLiteral("No category or catalog named %1").arg(args.first()));
    if (args.size() == 1) {
        c.out << c.state.treeComments.value(name) << '\n';
        return 0;
    }
    TreeOperations::setTreeComment(c.state, name, args.at(1));
    return c.save() ? 0 : 1;
}

} // namespace

QList<CliCommand> treeCommands()
{
    return {
        {"rename-catalog", "rename-catalog OLD NEW    rename a catalog and its file", renameCatalog},
        {"move-catalog", "move-catalog NAME CATEGORY  file a catalog under another category", moveCatalog},
        {"add-category", "add-category NAME         add a category", addCategory},
        {"comment", "comment NAME [TEXT]       show, set or (with \"\") remove a category's or catalog's comment",
         comment},
    };
}
