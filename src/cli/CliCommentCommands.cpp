// File comments: comment-file and predefined-comments.
#include "CliContext.h"

#include "library/LibraryTransaction.h"
#include "library/TextFile.h"
#include "queries/FileComments.h"
#include "settings/FormValues.h"
#include "settings/SettingsFile.h"

namespace {

int showComments(CliContext &c, const QString &name, const QString &file, const QString &path)
{
    QStringList lines;
    if (QString error; !TextFile::readLines(file, lines, &error))
        return c.fail(error);
    const QStringList comments = FileComments::commentsOf(lines, path);
    if (comments.isEmpty())
        return c.fail(QStringLiteral("No entry %1 in %2 catalog").arg(path, name));
    for (const QString &comment : comments)
        c.print(comment);
    return CliExit::Ok;
}

int commentFile(CliContext &c, const CliArguments &arguments)
{
    const QStringList &args = arguments.words();
    const QString name = c.knownCatalog(args.at(0));
    if (name.isEmpty() || !c.library.catalogFileExists(name))
        return c.fail(QStringLiteral("Catalog %1 does not exists!").arg(args.at(0)));
    const QString file = c.library.catalogFilePath(name);
    const QString &path = args.at(1);
    if (args.size() == 2)
        return showComments(c, name, file, path);
    // Only the entry's lines change: every other byte of the file is kept.
    LibraryTransaction transaction(c.library, c.state);
    QByteArray bytes;
    QByteArray changed;
    if (QString error; !TextFile::readBytes(file, bytes, &error))
        return c.fail(error);
    if (FileComments::setCommentInFile(bytes, path, args.at(2), changed) == 0)
        return c.fail(QStringLiteral("No entry %1 in %2 catalog").arg(path, name));
    transaction.writeBytes(file, changed);
    QString error;
    return transaction.commit(&error) ? CliExit::Ok : c.fail(error);
}

int predefinedComments(CliContext &c, const CliArguments &args)
{
    const bool add = args.has(QStringLiteral("--add"));
    const bool remove = args.has(QStringLiteral("--remove"));
    if (add && remove)
        return c.fail(QStringLiteral("--add and --remove go one at a time"), CliExit::BadArguments);
    SettingsFile settings(c.library.settingsPath());
    if (settings.isUnreadable())
        return c.fail(settings.lastError());
    const QString section = FormValues::listSection(QStringLiteral("predefinedbox_Items"));
    QStringList items = settings.readList(section);
    FileComments::sortPredefined(items);
    if (!add && !remove) {
        RowWriter rows = c.rows();
        for (const QString &item : std::as_const(items))
            rows.write({item});
        return CliExit::Ok;
    }
    const QString given = args.value(add ? QStringLiteral("--add") : QStringLiteral("--remove"));
    const QString text = FileComments::oneLine(given);
    if (add && text.isEmpty())
        return c.fail(QStringLiteral("an empty comment cannot be added"), CliExit::BadArguments);
    if (add && !FileComments::addPredefined(items, text))
        return c.fail(QStringLiteral("%1 is already in the list").arg(text));
    if (remove && !FileComments::removePredefined(items, text))
        return c.fail(QStringLiteral("%1 is not in the list").arg(text));
    if (!settings.writeList(section, items))
        return c.fail(settings.lastError());
    return CliExit::Ok;
}

} // namespace

QList<CliCommand> commentCommands()
{
    return {
        {"comment-file", "comment-file CATALOG PATH [TEXT]",
         "Shows, sets or (with \"\") removes the comment of the entry PATH (folder and name) of a catalog.",
         "", commentFile, CliCommand::Access::Writes, nullptr, "", "CATALOG PATH [TEXT]"},
        {"predefined-comments", "predefined-comments [--add TEXT | --remove TEXT]",
         "Lists the pre-defined comments of the comment window, or adds or removes one.",
         "  --add TEXT      adds TEXT unless the list holds it (letters A-Z in either case)\n"
         "  --remove TEXT   removes TEXT\n",
         predefinedComments, CliCommand::Access::Writes, "comment", "--add= --remove="},
    };
}
