// kestrovane-cli: the catalog library from the command line.
#include "CliContext.h"
#include "library/FileNameText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace {

QList<CliCommand> allCommands()
{
    return libraryCommands() + treeCommands() + indexingCommands() + queryCommands();
}

void printHelp(QTextStream &out)
{
    out << "Usage: kestrovane-cli [--library DIR] COMMAND [ARGUMENTS]\n\n"
           "Reads and changes a Kestrovane catalog library. Without --library the\n"
           "library is the one the program uses.\n\nCommands:\n";
    for (const CliCommand &command : allCommands())
        out << "  " << command.usage << '\n';
}

bool looksLikeLibrary(const QString &root)
{
    return QFileInfo(root + QStringLiteral("/Catalogs")).isDir()
        || QFileInfo::exists(root + QStringLiteral("/Master.TXT"))
        || QFileInfo::exists(root + QStringLiteral("/Kestrovane.INI"));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
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
            return 0;
        }
        if (option == QStringLiteral("--library") && !args.isEmpty()) {
            root = args.takeFirst();
            continue;
        }
        err << "kestrovane-cli: unknown option " << option << " (see --help)" << Qt::endl;
        return 2;
    }
    if (args.isEmpty()) {
        printHelp(err);
        return 2;
    }
    if (root.isEmpty())
        root = CatalogLibrary::locate(QCoreApplication::applicationDirPath());
    root = QDir(root).absolutePath();
    if (!looksLikeLibrary(root)) {
        err << "kestrovane-cli: no catalog library at " << root << Qt::endl;
        return 3;
    }

    CliContext context{CatalogLibrary(root), LibraryState(), DateFormats::fromSystem(), out, err};
    QString error;
    if (!context.library.startUp(context.state, &error))
        return context.fail(error, 3);

    const QString name = args.takeFirst();
    for (const CliCommand &command : allCommands()) {
        if (name == QLatin1String(command.name))
            return command.run(context, args);
    }
    err << "kestrovane-cli: unknown command " << name << " (see --help)" << Qt::endl;
    return 2;
}
