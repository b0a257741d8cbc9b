// kestrovane-cli: the catalog library from the command line.
#include "CliContext.h"
#include "TerminalText.h"
#include "library/FileNameText.h"
#include "library/LibraryLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstring>
#include <memory>
#include <optional>

namespace {

const char *const kExitStatus = "Exit status:\n"
                                "  0  done\n"
                                "  1  an unknown catalog or category, a refused or failed operation\n"
                                "  2  a bad command, option or value\n"
                                "  3  no library (reading commands only; writing ones create it), or one that\n"
                                "     cannot be opened\n"
                                "  4  the library is busy: another program kept it locked for 5 seconds\n";

const char *const kFormatOption = "  --format tsv|csv|json  tsv (the default): no header, tab-separated, with\n"
                                  "                        \\\\, \\t, \\n, \\r for a backslash, tab, LF, CR in a field;\n"
                                  "                        csv: RFC 4180 with a header row, lines ended by CR LF;\n"
                                  "                        json: one array of objects keyed by the columns\n";

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

void printHelp(QTextStream &out)
{
    out << "Usage: kestrovane-cli [--library DIR] COMMAND [ARGUMENTS]\n"
           "       kestrovane-cli COMMAND --help\n\n"
           "Reads and changes a Kestrovane catalog library. Without --library the\n"
           "library is the one the program uses. The first writing command creates a\n"
           "missing library as the program's first start does.\n\nCommands:\n";
    for (const CliCommand &command : allCommands())
        out << "  " << command.synopsis << "\n      " << command.summary << '\n';
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
        out << "\nColumns: " << QString::fromLatin1(command.columns).replace(u',', QLatin1String(", ")) << '\n';
    out << '\n' << kExitStatus;
}

// Takes "--format F" out of args; false (and a complaint) when F is unknown.
bool takeFormat(QStringList &args, RowWriter::Format &format, QString &error)
{
    const qsizetype at = args.indexOf(QStringLiteral("--format"));
    if (at < 0)
        return true;
    const auto parsed = RowWriter::parseFormat(args.value(at + 1));
    if (!parsed) {
        error = QStringLiteral("--format takes tsv, csv or json");
        return false;
    }
    format = *parsed;
    args.remove(at, 2);
    return true;
}

// A complaint before the command runs; what was typed may hold anything.
int complain(QTextStream &err, const QString &text)
{
    const QString message = QStringLiteral("kestrovane-cli: ") + text;
    err << (TerminalText::isTerminal(stderr) ? TerminalText::visible(message, true) : message) << Qt::endl;
    return CliExit::BadArguments;
}

bool looksLikeLibrary(const QString &root)
{
    return QFileInfo(root + QStringLiteral("/Catalogs")).isDir()
        || QFileInfo::exists(root + QStringLiteral("/Master.TXT"))
        || QFileInfo::exists(root + QStringLiteral("/Kestrovane.INI"));
}

// A new library holds what the program's first start and close leave behind:
// Catalogs, Master.TXT with "Sample Category", an empty information list and
// an empty Comments.TXT.
bool createLibrary(CliContext &c)
{
    QString error;
    if (!QDir().mkpath(c.library.root()) || !c.library.startUp(c.state, &error)) {
        c.fail(error.isEmpty() ? QStringLiteral("Unable to create directory %1").arg(c.library.root()) : error,
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
        else if (strncmp(argv[i], "--", 2) != 0)
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

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kestrovane"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    // Arguments are read as file names are, so a folder whose name is not
    // UTF-8 can be given as the shell passes it.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << FileNameText::fromNative(argv[i], qsizetype(strlen(argv[i])));
    QString root;
    while (!args.isEmpty() && args.first().startsWith(QStringLiteral("--"))) {
        const QString option = args.takeFirst();
        if (option == QStringLiteral("--help")) {
            printHelp(out);
            return CliExit::Ok;
        }
        if (option == QStringLiteral("--library") && !args.isEmpty()) {
            root = args.takeFirst();
            continue;
        }
        return complain(err, QStringLiteral("unknown option ") + option + QStringLiteral(" (see --help)"));
    }
    if (args.isEmpty()) {
        printHelp(err);
        return CliExit::BadArguments;
    }
    const QList<CliCommand> commands = allCommands();
    const QString name = args.takeFirst();
    const CliCommand *command = findCommand(commands, name);
    if (!command) {
        return complain(err, QStringLiteral("unknown command ") + name + QStringLiteral(" (see --help)"));
    }
    if (args.contains(QStringLiteral("--help"))) {
        printCommandHelp(out, *command);
        return CliExit::Ok;
    }
    RowWriter::Format format = RowWriter::Format::Tsv;
    if (QString error; command->columns && !takeFormat(args, format, error))
        return complain(err, error);

    if (root.isEmpty())
        root = CatalogLibrary::locate(QCoreApplication::applicationDirPath());
    root = QDir(root).absolutePath();
    const QStringList columns = command->columns ? QString::fromLatin1(command->columns).split(u',') : QStringList();
    CliContext context{CatalogLibrary(root), LibraryState(), DateFormats::fromSystem(), out, err, format, columns};
    context.outIsTerminal = TerminalText::isTerminal(stdout);
    context.errIsTerminal = TerminalText::isTerminal(stderr);
    const bool reads = command->access == CliCommand::Access::Reads;
    if (!looksLikeLibrary(root)) {
        if (reads)
            return context.fail(QStringLiteral("no catalog library at ") + root, CliExit::NoLibrary);
        QDir().mkpath(root);
    }
    // A reader takes the lock only while it reads the lists; a writer keeps
    // it, so what it read stays true until its change is stored.
    std::optional<LibraryLock> lock(std::in_place, root, reads ? LibraryLock::Kind::Shared
                                                               : LibraryLock::Kind::Exclusive);
    if (!lock->isLocked())
        return context.fail(lock->error(), lock->isBusy() ? CliExit::Busy : CliExit::NoLibrary);
    if (!looksLikeLibrary(root) && !createLibrary(context))
        return CliExit::NoLibrary;
    QString error;
    const auto access = reads ? CatalogLibrary::Access::Reader : CatalogLibrary::Access::Writer;
    if (!context.library.startUp(context.state, &error, access))
        return context.fail(error, CliExit::NoLibrary);
    if (command->access != CliCommand::Access::Writes)
        lock.reset();
    // A list file that cannot be read would be replaced by the next write.
    if (const QString unreadable = CatalogLibrary::unreadableMessage(context.state); !unreadable.isEmpty())
        return context.fail(unreadable, CliExit::NoLibrary);
    if (const QString unloaded = CatalogLibrary::unloadedLinesMessage(context.state); !unloaded.isEmpty())
        context.note(unloaded);
    return command->run(context, args);
}
