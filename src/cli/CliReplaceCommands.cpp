// replace-comments: the program's search and replace in file comments.
#include "CliContext.h"

#include "indexing/RunControl.h"
#include "queries/CommentReplace.h"

namespace {

int replaceComments(CliContext &c, const CliArguments &arguments)
{
    const QStringList &args = arguments.words();
    RunControl quiet;
    const CommentReplace::Result result =
        CommentReplace(c.library, c.state).run(args.at(0), args.at(1), quiet);
    {
        RowWriter rows = c.rows();
        for (const CommentReplace::CatalogCount &changed : result.changed)
            rows.write({changed.name, QString::number(changed.replacements)});
    }
    c.tell(QStringLiteral("Total: %1 replacement(s) in %2 catalog(s)")
               .arg(result.total())
               .arg(result.changed.size()));
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
         "", replaceComments, CliCommand::Access::Writes, "catalog,replacements", "", "SEARCH REPLACE"},
    };
}
