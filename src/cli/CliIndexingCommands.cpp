// Indexing commands: index a directory into a new catalog, update a catalog.
#include "CliContext.h"
#include "TerminalProgress.h"

#include "library/LibraryLock.h"

#include "indexing/IndexingRun.h"
#include "indexing/MaskList.h"
#include "indexing/RunControl.h"
#include "indexing/UpdateLocation.h"
#include "indexing/UpdateRun.h"
#include "library/CatalogInfo.h"
#include "library/CategoryName.h"
#include "library/FileNameText.h"
#include "library/SaveNewCatalog.h"
#include "library/VolumeProbe.h"

#include <QDir>
#include <sys/stat.h>

namespace {

// A folder whose name is not UTF-8 is given as a catalog spells it.
bool isDirectory(const QString &path)
{
    struct stat st;
    return stat(FileNameText::toNative(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The option flags shared with the create panel, whose defaults they keep.
ScanOptions scanOptions(const CliArguments &args)
{
    ScanOptions o;
    o.hiddenFiles = !args.has(QStringLiteral("--no-hidden-files"));
    o.readOnlyFiles = !args.has(QStringLiteral("--no-read-only"));
    o.systemFiles = !args.has(QStringLiteral("--no-system"));
    o.subDirectories = !args.has(QStringLiteral("--no-subdirs"));
    o.hiddenDirectories = !args.has(QStringLiteral("--no-hidden-dirs"));
    o.zipContents = args.has(QStringLiteral("--zip"));
    return o;
}

struct IndexArgs {
    QString path;
    QString name;
    QString category;
    QString ifExists = QStringLiteral("fail");
    ScanOptions options;
    MaskList masks;
};

// Empty when the arguments are sound, else the complaint.
QString parseIndexArgs(const CliArguments &args, IndexArgs &a)
{
    a.path = args.words().first();
    a.name = args.value(QStringLiteral("--name"));
    a.category = args.value(QStringLiteral("--category"));
    if (args.has(QStringLiteral("--if-exists")))
        a.ifExists = args.value(QStringLiteral("--if-exists"));
    a.options = scanOptions(args);
    for (const QString &mask : args.values(QStringLiteral("--mask"))) {
        if (!mask.isEmpty())
            a.masks.add(mask.toLower()); // as the mask box lowers what is typed
    }
    if (a.category.isEmpty())
        return QStringLiteral("--category is needed");
    const QString &e = a.ifExists;
    const bool knownChoice = e == QLatin1String("fail") || e == QLatin1String("overwrite") ||
                             e == QLatin1String("update") ||
                             (e.startsWith(QLatin1String("rename:")) && e.size() > 7);
    if (!knownChoice)
        return QStringLiteral("--if-exists takes fail, overwrite, update or rename:NEW");
    return {};
}

SaveNewCatalog::Result chooseForTakenName(SaveNewCatalog &save, const QString &ifExists)
{
    if (ifExists == QLatin1String("overwrite"))
        return save.choose(SaveNewCatalog::Choice::Overwrite);
    if (ifExists == QLatin1String("update"))
        return save.choose(SaveNewCatalog::Choice::Update);
    return save.choose(SaveNewCatalog::Choice::RenameTo, ifExists.mid(7));
}

bool stored(SaveNewCatalog::Outcome outcome)
{
    return outcome == SaveNewCatalog::Outcome::Saved || outcome == SaveNewCatalog::Outcome::Overwrote ||
           outcome == SaveNewCatalog::Outcome::Updated;
}

int index(CliContext &c, const CliArguments &args)
{
    IndexArgs a;
    if (const QString problem = parseIndexArgs(args, a); !problem.isEmpty())
        return c.fail(problem, 2);
    const QString dir = QDir(a.path).absolutePath();
    if (!isDirectory(dir))
        return c.fail(QStringLiteral("Cannot read directory ") + a.path);
    // Without --name the volume label is the name, as the panel suggests it.
    const QString name = a.name.isEmpty() ? VolumeInfo::read(dir).label() : a.name;
    if (name.isEmpty())
        return c.fail(QStringLiteral("Please specify a name for this catalog (--name)."),
                      CliExit::BadArguments);
    if (const QString problem = CategoryName::problem(a.category);
        c.state.tree.findCategory(a.category) < 0 && !problem.isEmpty())
        return c.fail(problem);

    IndexingRun::Params params;
    params.directory = dir;
    params.options = a.options;
    params.masks = a.masks.items();
    params.formats = c.formats;
    params.now = QDateTime::currentDateTime();
    params.zipMessage = [&c](const QString &message) { c.printErr(message); };
    TerminalProgress progress(c.err, c.quiet);
    const IndexingRun::Result run = IndexingRun(c.state, progress).run(params);
    progress.finish();
    if (run.outcome != IndexingRun::Outcome::Finished)
        return c.fail(QStringLiteral("0 Files Cataloged"));

    c.state.dirList.clear();
    // The scan ran without the lock; from here on the library is ours, as
    // another program may have left it meanwhile.
    const LibraryLock lock(c.library.root());
    if (!lock.isLocked())
        return c.fail(lock.error(), lock.isBusy() ? CliExit::Busy : CliExit::Failed);
    c.library.refreshLists(c.state);
    // A category named for the first time is made now, so a failed run
    // leaves no empty one behind.
    int category = c.state.tree.findCategory(a.category);
    const bool newCategory = category < 0;
    if (newCategory)
        category = c.state.tree.addCategory(a.category);
    // The scan's lines are saved as they are: splitting them into cells
    // would only hold the catalog twice more.
    SaveNewCatalog::Request request{name, category, {}, run.volume.driveTypeText()};
    request.lines = &c.state.fileLines;
    SaveNewCatalog save(c.state, c.library, request);
    SaveNewCatalog::Result result = save.start();
    if (result.outcome == SaveNewCatalog::Outcome::NeedsChoice) {
        if (a.ifExists == QLatin1String("fail"))
            return c.fail(
                QStringLiteral("A catalog named %1 already exists (see --if-exists)").arg(result.name));
        result = chooseForTakenName(save, a.ifExists);
        if (result.outcome == SaveNewCatalog::Outcome::NeedsChoice)
            return c.fail(QStringLiteral("A catalog named %1 already exists too").arg(result.name));
    }
    c.state.fileLines.clear();
    if (!stored(result.outcome)) {
        const QString reason = !result.error.isEmpty()     ? result.error
                               : !result.warning.isEmpty() ? result.warning
                                                           : result.status;
        return c.fail(reason.simplified());
    }
    if (!c.save())
        return CliExit::Failed;
    if (newCategory)
        c.note(QStringLiteral("Category ") + a.category + QStringLiteral(" Added"));
    c.print(result.status);
    c.print(run.summary);
    return 0;
}

int update(CliContext &c, const CliArguments &args)
{
    const QString &given = args.words().first();
    QString path = args.value(QStringLiteral("--path"));
    const bool yes = args.has(QStringLiteral("--yes"));
    const QString name = c.knownCatalog(given);
    if (name.isEmpty())
        return c.fail(QStringLiteral("Catalog %1 does not exist").arg(given));

    // The catalog's stored options, or the create panel's defaults.
    CatalogInfo info;
    const bool hasInfo = CatalogInfo::fromLine(c.state.catalogInfo.value(name), info);
    UpdateLocation location;
    if (path.isEmpty() && !info.path.isEmpty()) {
        const std::optional<VolumeIdentity> medium = c.state.volumes.identityOf(name);
        location = UpdateLocation::find(info.path, medium, VolumeProbe(MountTable::current()));
        if (location.kind == UpdateLocation::Kind::OtherMedium)
            return c.fail(UpdateLocation::otherMediumMessage(name, *medium, info.path) +
                          QStringLiteral("\n(give the directory to scan with --path)"));
        if (location.kind == UpdateLocation::Kind::Moved)
            c.note(UpdateLocation::movedNote(name, location.path));
        path = location.path;
    }
    if (path.isEmpty())
        return c.fail(QStringLiteral("Please specify the path for this catalog (--path DIR)."),
                      CliExit::BadArguments);
    path = QDir(path).absolutePath();
    if (hasInfo && UpdateRun::asksForDisk(info.driveType) && !location.mediumFound() && !yes)
        return c.fail(UpdateRun::insertDiskQuestion(name, info.drive.isEmpty() ? path : info.drive) +
                      QStringLiteral("\n(answer with --yes)"));
    const VolumeInfo volume = VolumeInfo::read(path);
    if (UpdateRun::labelDiffers(name, volume.label()) && !yes)
        return c.fail(UpdateRun::labelQuestion(name, volume.label()) +
                      QStringLiteral("\n(answer with --yes)"));

    UpdateRun::Params params;
    params.catalogName = name;
    params.directory = path;
    params.options = info.options;
    params.masks = info.masks;
    params.formats = c.formats;
    params.now = QDateTime::currentDateTime();
    params.volume = volume;
    if (location.kind == UpdateLocation::Kind::Moved)
        params.movedFrom = info.path;
    params.zipMessage = [&c](const QString &message) { c.printErr(message); };
    QString unanswered;
    params.confirmEmptyRescan = [yes, &unanswered](const QString &question) {
        if (!yes)
            unanswered = question;
        return yes;
    };
    TerminalProgress progress(c.err, c.quiet);
    const UpdateRun::Result result = UpdateRun(c.state, c.library, progress).run(params);
    progress.finish();
    // The run stored its merge under the lock; the lists it changed are
    // stored under it too.
    const LibraryLock lock(c.library.root());
    if (!lock.isLocked())
        return c.fail(lock.error(), lock.isBusy() ? CliExit::Busy : CliExit::Failed);
    if (!unanswered.isEmpty())
        return c.fail(unanswered + QStringLiteral("\n(answer with --yes)"));
    if (result.outcome != UpdateRun::Outcome::Updated)
        return c.fail(!result.error.isEmpty() ? result.error : result.warning);
    if (!c.save())
        return 1;
    c.out << result.added << " New Addition(s) " << result.removed << " Removed\n"
          << result.fileCount << " Files In " << result.directoryCount << " Directories\n";
    return 0;
}

} // namespace

QList<CliCommand> indexingCommands()
{
    return {
        {"index",
         "index PATH --name NAME --category CATEGORY [--no-hidden-files] [--no-read-only] [--no-system]\n"
         "        [--no-subdirs] [--no-hidden-dirs] [--zip] [--mask M]... [--if-exists "
         "fail|overwrite|update|rename:NEW]",
         "Indexes a directory into a new catalog filed under CATEGORY, which is created when missing.",
         "  --name NAME         the catalog's name; without it the volume label\n"
         "  --category C        the category to file it under\n"
         "  --no-hidden-files   leave out hidden files\n"
         "  --no-read-only      leave out read-only files\n"
         "  --no-system         leave out system files\n"
         "  --no-subdirs        do not go into subdirectories\n"
         "  --no-hidden-dirs    do not go into hidden directories\n"
         "  --zip               list the members of ZIP archives\n"
         "  --mask M            take only files matching the extension mask M (repeatable)\n"
         "  --if-exists WHAT    when NAME is taken: fail (the default), overwrite (file\n"
         "                      comments are lost), update (keep the comments of files still\n"
         "                      there) or rename:NEW (save under NEW)\n"
         "  -q, --quiet         no progress line (drawn only on a terminal that is not dumb)\n",
         index, CliCommand::Access::Scans, nullptr,
         "--name= --category= --no-hidden-files --no-read-only --no-system --no-subdirs --no-hidden-dirs "
         "--zip "
         "--mask=* --if-exists=",
         "PATH"},
        {"update", "update NAME [--path DIR] [--yes]",
         "Rescans a catalog with its stored options, keeping the comments of files still there.\n"
         "Its medium is found wherever it is mounted now.",
         "  --path DIR          the directory to scan instead of the stored one or its medium\n"
         "  --yes               go on without asking for a removable disk or CD-ROM, or when\n"
         "                      the volume label is not the catalog's name\n"
         "  -q, --quiet         no progress line (drawn only on a terminal that is not dumb)\n",
         update, CliCommand::Access::Scans, nullptr, "--path= --yes", "NAME"},
    };
}
