// replace-comments: the program's search and replace in file comments.
#include "CliContext.h"

#include "indexing/RunControl.h"
#include "queries/CommentReplace.h"

namespace {

int replaceComments(CliContext &c, const QStringList &args)
{
    if (args.size() != 2 || args.at(0).isEmpty() || args.at(1).isEmpty())
        return c.fail(QStringLiteral("usage: replace-comments SEARCH REPLACE (neither may be empty)"),
                      CliExit::BadArguments);
    RunControl quiet;
    const CommentReplace::Result result = CommentReplace(c.library, c.state).run(args.at(0), args.at(1), quiet);
    {
        RowWriter rows = c.rows();
        for (const CommentReplace::CatalogCount &changed : result.changed)
            rows.write({changed.name, QString::number(changed.replacements)});
    }
    c.err << "Total: " << result.total() << " replacement(s) in " << result.changed.size() << " catalog(s)"
          << Qt::endl;
    if (result.outcome == CommentReplace::Outcome::Failed)
        c.note(result.reason);
    if (result.outcome != CommentReplace::Outcome::Finished)
        return c.fail(result.message);
    return CliExit::Ok;
}

} // namespace

QList<CliCommand> replaceCommands()
{
    return {
        {"replace-comments", "replace-comments SEARCH REPLACE",
         "Replaces SEARCH (letter case counts) once in each file comment of every catalog; the total goes "
         "to standard error.",
         "", replaceComments, CliCommand::Access::Writes, "catalog,replacements"},
    };
}
