// kestrovane-cli: the catalog library from the command line.
#include "CliContext.h"
#include "CloseMatch.h"
#include "TerminalText.h"
#include "library/FileNameText.h"
#include "library/LibraryLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QGuiApplication>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>

namespace {

const char *const kExitStatus =
    "Exit status:\n"
    "  0  done\n"
    "  1  nothing found (search, dupes, only-in, single-copies), an unknown catalog\n"
    "     or category, a refused or failed operation, or output that could not be\n"
    "     written\n"
    "  2  a bad command, option or value\n"
    "  3  no library (reading commands only; writing ones create it), or one that\n"
    "     cannot be opened\n"
    "  4  the library is busy: another program kept it locked for 5 seconds\n";

const char *const kFormatOption =
    "  --format tsv|csv|json  tsv (the default): no header, tab-separated, with\n"
    "                        \\\\, \\t, \\n, \\r for a backslash, tab, LF, CR in a field;\n"
    "                        csv: RFC 4180 with a header row, lines ended by CR LF;\n"
    "                        json: one array of objects keyed by the columns,\n"
    "                        sizes and counts as numbers, dates in ISO 8601\n";

QList<CliCommand> allCommands()
{
    return libraryCommands() + treeCommands() + indexingCommands() + queryCommands() + commentCommands() +
           replaceCommands() + printCommands();
}

const CliCommand *findCommand(const QList<CliCommand> &commands, const QString &name)
{
    for (const CliCommand &command : commands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

const char *const kGlobalOptions = "--library= --quiet|-q --help|-h --version|-V";

const char *const kOptionsHelp =
    "Options, before or after the command:\n"
    "  --library DIR   the library in DIR\n"
    "  -q, --quiet     no progress line and no counts on standard error\n"
    "  -h, --help      this help; after a command, that command's\n"
    "  -V, --version   the name and version of the program\n"
    "An option's value follows it (--word W) or is joined to it (--word=W); \"--\" ends\n"
    "the options, so that the words after it may begin with a dash.\n";

QString indented(const char *text)
{
    return QString::fromUtf8(text).replace(u'\n', QLatin1String("\n      "));
}

void printHelp(QTextStream &out)
{
    out << "Usage: kestrovane-cli [--library DIR] COMMAND [ARGUMENTS]\n"
           "       kestrovane-cli help [COMMAND]\n\n"
           "Reads and changes a Kestrovane catalog library. Without --library the\n"
           "library is the one the program uses. The first writing command creates a\n"
           "missing library as the program's first start does.\n\n"
        << kOptionsHelp << "\nCommands:\n";
    for (const CliCommand &command : allCommands())
        out << "  " << command.synopsis << "\n      " << indented(command.summary) << '\n';
    out << '\n' << kExitStatus;
}

void printCommandHelp(QTextStream &out, const CliCommand &command)
{
    out << "Usage: kestrovane-cli [--library DIR] " << command.synopsis << "\n\n" << command.summary << '\n';
    out << (command.access != CliCommand::Access::Reads ? "Changes the library (creating it when missing).\n"
                                                        : "Only reads the library.\n");
    if (*command.options || command.columns)
        out << "\nOptions:\n" << command.options << (command.columns ? kFormatOption : "");
    if (command.columns)
        out << "\nColumns: " << QString::fromLatin1(command.columns).replace(u',', QLatin1String(", "))
            << '\n';
    out << '\n' << kExitStatus;
}

// A complaint before the command runs; what was typed may hold anything.
int complain(QTextStream &err, const QString &text)
{
    const QString message = QStringLiteral("kestrovane-cli: ") + text;
    err << (TerminalText::isTerminal(stderr) ? TerminalText::visible(message, true) : message) << Qt::endl;
    return CliExit::BadArguments;
}

void printUsage(QTextStream &err, const CliCommand &command)
{
    err << "usage: kestrovane-cli [--library DIR] " << command.synopsis << Qt::endl;
}

// A bad command line is answered with what is wrong and how the command is
// used, as git answers one.
int complainWithUsage(QTextStream &err, const QString &text, const CliCommand &command)
{
    complain(err, text);
    printUsage(err, command);
    return CliExit::BadArguments;
}

int unknownCommand(QTextStream &err, const QString &name)
{
    QStringList names;
    for (const CliCommand &command : allCommands())
        names << QLatin1String(command.name);
    const QString meant = CloseMatch::find(name, names);
    if (meant.isEmpty())
        return complain(err, QStringLiteral("Unknown command '%1'. See 'kestrovane-cli --help'.").arg(name));
    return complain(err, QStringLiteral("Unknown command '%1'. Did you mean '%2'?").arg(name, meant));
}

int printVersion(QTextStream &out)
{
    out << "kestrovane-cli " << KESTROVANE_VERSION << '\n';
    return CliExit::Ok;
}

// "help" and "help COMMAND", as git has them.
int help(QTextStream &out, QTextStream &err, const QStringList &words)
{
    if (words.isEmpty()) {
        printHelp(out);
        return CliExit::Ok;
    }
    const QList<CliCommand> commands = allCommands();
    const CliCommand *command = findCommand(commands, words.first());
    if (!command)
        return unknownCommand(err, words.first());
    printCommandHelp(out, *command);
    return CliExit::Ok;
}

// Output that could not be written (a full disk) is reported: a script
// must not take a cut listing for a whole one.
int finishOutput(QTextStream &out, QTextStream &err, int code)
{
    out.flush();
    auto *file = qobject_cast<QFileDevice *>(out.device());
    const bool written = out.status() == QTextStream::Ok &&
                         (!file || (file->flush() && file->error() == QFileDevice::NoError));
    if (written)
        return code;
    complain(err, QStringLiteral("cannot write to standard output: ") +
                      (file ? file->errorString() : QString::fromLocal8Bit(strerror(errno))));
    return code == CliExit::Ok ? CliExit::Failed : code;
}

bool looksLikeLibrary(const QString &root)
{
    return QFileInfo(root + QStringLiteral("/Catalogs")).isDir() ||
           QFileInfo::exists(root + QStringLiteral("/Master.TXT")) ||
           QFileInfo::exists(root + QStringLiteral("/Kestrovane.INI"));
}

// A new library holds what the program's first start and close leave behind:
// Catalogs, Master.TXT with "Sample Category", an empty information list and
// an empty Comments.TXT.
bool createLibrary(CliContext &c)
{
    QString error;
    if (!QDir().mkpath(c.library.root()) || !c.library.startUp(c.state, &error)) {
        c.fail(error.isEmpty() ? QStringLiteral("Unable to create directory %1").arg(c.library.root())
                               : error,
               CliExit::NoLibrary);
        return false;
    }
    c.note(QStringLiteral("created a new catalog library at ") + c.library.root());
    return true;
}

// The command word of the arguments: the first that is neither an option
// nor the value of --library.
QByteArray commandWord(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--library") == 0)
            ++i;
        else if (strcmp(argv[i], "--") == 0)
            return i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
        else if (argv[i][0] != '-')
            return argv[i];
    }
    return QByteArray();
}

QtMessageHandler qtMessages = nullptr;

// A GUI application without a session (cron, ssh, CI) complains that it
// has no runtime directory, which printing to a file never needs.
void quietAboutSession(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    if (qtMessages)
        qtMessages(type, context, message);
    else
        fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Printing lays out text, which needs a GUI application for its fonts but
// never a display: the offscreen platform serves without X or Wayland.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    if (commandWord(argc, argv) != "print")
        return std::make_unique<QCoreApplication>(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtMessages = qInstallMessageHandler(quietAboutSession);
    return std::make_unique<QGuiApplication>(argc, argv);
}

// Reads the command's options and words, after those before it; nothing
// when the command is to run, else the exit status of what was done
// instead (its help, the version, a complaint).
std::optional<int> readCommandLine(CliArguments &parsed, const CliCommand &command, QTextStream &out,
                                   QTextStream &err)
{
    parsed.accept(QString::fromLatin1(command.accepts));
    if (command.columns)
        parsed.accept(QStringLiteral("--format="));
    parsed.read(parsed.rest().mid(1));
    if (parsed.has(QStringLiteral("--help"))) {
        printCommandHelp(out, command);
        return CliExit::Ok;
    }
    if (parsed.has(QStringLiteral("--version")))
        return printVersion(out);
    if (!parsed.error().isEmpty() || !parsed.checkWords(QString::fromLatin1(command.words)))
        return complainWithUsage(err, parsed.error(), command);
    const QString format = parsed.value(QStringLiteral("--format"));
    if (parsed.has(QStringLiteral("--format")) && !RowWriter::parseFormat(format))
        return complainWithUsage(err, QStringLiteral("--format takes tsv, csv or json"), command);
    return std::nullopt;
}

// Opens the library for the command and runs it.
int runCommand(const CliCommand &command, const CliArguments &parsed, QTextStream &out, QTextStream &err)
{
    QString root = parsed.value(QStringLiteral("--library"));
    if (root.isEmpty())
        root = CatalogLibrary::locate(QCoreApplication::applicationDirPath());
    root = QDir(root).absolutePath();
    const QStringList columns =
        command.columns ? QString::fromLatin1(command.columns).split(u',') : QStringList();
    const RowWriter::Format format =
        RowWriter::parseFormat(parsed.value(QStringLiteral("--format"))).value_or(RowWriter::Format::Tsv);
    CliContext context{
        CatalogLibrary(root), LibraryState(), DateFormats::fromSystem(), out, err, format, columns};
    context.outIsTerminal = TerminalText::isTerminal(stdout);
    context.errIsTerminal = TerminalText::isTerminal(stderr);
    context.quiet = parsed.has(QStringLiteral("--quiet"));
    const bool reads = command.access == CliCommand::Access::Reads;
    if (!looksLikeLibrary(root)) {
        if (reads)
            return context.fail(QStringLiteral("no catalog library at ") + root, CliExit::NoLibrary);
        QDir().mkpath(root);
    }
    // A reader takes the lock only while it reads the lists; a writer keeps
    // it, so what it read stays true until its change is stored.
    std::optional<LibraryLock> lock(std::in_place, root,
                                    reads ? LibraryLock::Kind::Shared : LibraryLock::Kind::Exclusive);
    if (!lock->isLocked())
        return context.fail(lock->error(), lock->isBusy() ? CliExit::Busy : CliExit::NoLibrary);
    if (!looksLikeLibrary(root) && !createLibrary(context))
        return CliExit::NoLibrary;
    QString error;
    const auto access = reads ? CatalogLibrary::Access::Reader : CatalogLibrary::Access::Writer;
    if (!context.library.startUp(context.state, &error, access))
        return context.fail(error, CliExit::NoLibrary);
    if (command.access != CliCommand::Access::Writes)
        lock.reset();
    // A list file that cannot be read would be replaced by the next write.
    if (const QString unreadable = CatalogLibrary::unreadableMessage(context.state); !unreadable.isEmpty())
        return context.fail(unreadable, CliExit::NoLibrary);
    if (const QString unloaded = CatalogLibrary::unloadedLinesMessage(context.state); !unloaded.isEmpty())
        context.note(unloaded);
    const int code = command.run(context, parsed);
    if (code == CliExit::BadArguments)
        printUsage(err, command);
    return code;
}

int run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    CliArguments parsed(QString::fromLatin1(kGlobalOptions));
    parsed.read(args, true);
    if (parsed.has(QStringLiteral("--version")))
        return printVersion(out);
    if (parsed.rest().isEmpty()) {
        if (parsed.has(QStringLiteral("--help")))
            return help(out, err, {});
        if (!parsed.error().isEmpty())
            return complain(err, parsed.error() + QStringLiteral(" (see kestrovane-cli --help)"));
        printHelp(err);
        return CliExit::BadArguments;
    }
    const QString name = parsed.rest().first();
    if (name == QLatin1String("help"))
        return help(out, err, parsed.rest().mid(1));
    const QList<CliCommand> commands = allCommands();
    const CliCommand *command = findCommand(commands, name);
    if (!command)
        return unknownCommand(err, name);
    if (const std::optional<int> done = readCommandLine(parsed, *command, out, err))
        return *done;
    return runCommand(*command, parsed, out, err);
}

} // namespace

int main(int argc, char *argv[])
{
    // A reader that went away (| head) ends the run quietly, as it ends cat
    // and grep, even when the caller ignored the signal.
    signal(SIGPIPE, SIG_DFL);
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kestrovane"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    // Arguments are read as file names are, so a folder whose name is not
    // UTF-8 can be given as the shell passes it.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << FileNameText::fromNative(argv[i], qsizetype(strlen(argv[i])));
    return finishOutput(out, err, run(args, out, err));
}
