// Commands that change the tree: rename-catalog, move-catalog,
// delete-catalog, add-category, rename-category, delete-category, comment.
#include "CliContext.h"

#include "library/CatalogName.h"
#include "library/CategoryName.h"
#include "library/TreeOperations.h"

namespace {

int renameCatalog(CliContext &c, const CliArguments &arguments)
{
    const QStringList &args = arguments.words();
    const CategoryTree::CatalogRef ref = c.state.tree.findCatalog(args.at(0));
    if (!ref.isValid())
        return c.fail(QStringLiteral("Catalog %1 does not exist").arg(args.at(0)));
    const QString problem = CatalogName::renameProblem(c.state, c.library, args.at(1));
    if (!problem.isEmpty())
        return c.fail(problem);
    const QString oldName = c.state.tree.catalog(ref).name;
    if (QString error;
        !TreeOperations::renameCatalog(c.state, c.library, oldName, args.at(1), &error).isValid())
        return c.fail(error);
    c.print(QStringLiteral("Renamed ") + oldName + QStringLiteral(" To ") + args.at(1));
    return 0;
}

int moveCatalog(CliContext &c, const CliArguments &arguments)
{
    const QStringList &args = arguments.words();
    const CategoryTree::CatalogRef ref = c.state.tree.findCatalog(args.at(0));
    if (!ref.isValid())
        return c.fail(QStringLiteral("Catalog %1 does not exist").arg(args.at(0)));
    const int category = c.state.tree.findCategory(args.at(1));
    if (category < 0)
        return c.fail(QStringLiteral("Category %1 does not exist").arg(args.at(1)));
    c.state.tree.moveCatalog(ref, category);
    return c.save() ? 0 : 1;
}

int addCategory(CliContext &c, const CliArguments &arguments)
{
    const QStringList &args = arguments.words();
    if (const QString problem = CategoryName::problem(args.first()); !problem.isEmpty())
        return c.fail(problem);
    if (c.state.tree.findCategory(args.first()) >= 0)
        return c.fail(args.first() + QStringLiteral(" Category Already Exists"));
    c.state.tree.addCategory(args.first());
    if (!c.save())
        return 1;
    c.print(QStringLiteral("Category ") + args.first() + QStringLiteral(" Added"));
    return 0;
}

int deleteCatalog(CliContext &c, const CliArguments &arguments)
{
    const QStringList &args = arguments.words();
    const CategoryTree::CatalogRef ref = c.state.tree.findCatalog(args.first());
    if (!ref.isValid())
        return c.fail(QStringLiteral("Catalog %1 does not exist").arg(args.first()));
    const QString name = c.state.tree.catalog(ref).name;
    // The deletion stores the file, the tree and both lists itself.
    if (QString error; !TreeOperations::deleteCatalog(c.state, c.library, name, &error) && !error.isEmpty())
        return c.fail(error);
    c.print(QStringLiteral("Catalog ") + name + QStringLiteral(" Deleted"));
    return CliExit::Ok;
}

int renameCategory(CliContext &c, const CliArguments &arguments)
{
    const QStringList &args = arguments.words();
    const int category = c.state.tree.findCategory(args.at(0));
    if (category < 0)
        return c.fail(QStringLiteral("Category %1 does not exist").arg(args.at(0)));
    if (const QString problem = CategoryName::problem(args.at(1)); !problem.isEmpty())
        return c.fail(problem);
    // The category itself takes part, so a change of case alone is refused
    // as the program refuses it.
    if (c.state.tree.hasCategoryNamedAscii(args.at(1)))
        return c.fail(QStringLiteral("A caategory with the same name already exists!"));
    const QString oldName = c.state.tree.category(category).name;
    TreeOperations::renameCategory(c.state, category, args.at(1));
    if (!c.save())
        return CliExit::Failed;
    c.print(QStringLiteral("Renamed ") + oldName + QStringLiteral(" Category To ") + args.at(1) +
            QStringLiteral(" Category"));
    return CliExit::Ok;
}

int deleteCategory(CliContext &c, const CliArguments &arguments)
{
    const QStringList &args = arguments.words();
    const int category = c.state.tree.findCategory(args.first());
    if (category < 0)
        return c.fail(QStringLiteral("Category %1 does not exist").arg(args.first()));
    // The warning's two lines stay two lines, without the CR.
    if (const QString refusal = TreeOperations::deleteCategoryRefusal(c.state, category); !refusal.isEmpty())
        return c.fail(QString(refusal).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    const QString name = c.state.tree.category(category).name;
    TreeOperations::deleteCategory(c.state, category);
    if (!c.save())
        return CliExit::Failed;
    c.print(QStringLiteral("Deleted ") + name + QStringLiteral(" Category"));
    return CliExit::Ok;
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

int comment(CliContext &c, const CliArguments &arguments)
{
    const QStringList &args = arguments.words();
    const QString name = nodeName(c, args.first());
    if (name.isEmpty())
        return c.fail(QStringLiteral("No category or catalog named %1").arg(args.first()));
    if (args.size() == 1) {
        c.print(c.state.treeComments.value(name));
        return 0;
    }
    TreeOperations::setTreeComment(c.state, name, args.at(1));
    return c.save() ? 0 : 1;
}

} // namespace

QList<CliCommand> treeCommands()
{
    return {
        {"rename-catalog", "rename-catalog OLD NEW", "Renames a catalog and its file.", "", renameCatalog,
         CliCommand::Access::Writes, nullptr, "", "OLD NEW"},
        {"move-catalog", "move-catalog NAME CATEGORY", "Files a catalog under another category.", "",
         moveCatalog, CliCommand::Access::Writes, nullptr, "", "NAME CATEGORY"},
        {"delete-catalog", "delete-catalog NAME",
         "Deletes a catalog: its file, its information and its comment.", "", deleteCatalog,
         CliCommand::Access::Writes, nullptr, "", "NAME"},
        {"add-category", "add-category NAME", "Adds a category.", "", addCategory, CliCommand::Access::Writes,
         nullptr, "", "NAME"},
        {"rename-category", "rename-category OLD NEW", "Renames a category.", "", renameCategory,
         CliCommand::Access::Writes, nullptr, "", "OLD NEW"},
        {"delete-category", "delete-category NAME",
         "Deletes a category and its comment; refused while it holds catalogs.", "", deleteCategory,
         CliCommand::Access::Writes, nullptr, "", "NAME"},
        {"comment", "comment NAME [TEXT]",
         "Shows, sets or (with \"\") removes the comment of a category or catalog.", "", comment,
         CliCommand::Access::Writes, nullptr, "", "NAME [TEXT]"},
    };
}
