#pragma once

#include "CliArguments.h"
#include "RowWriter.h"

#include "library/CatalogLibrary.h"
#include "library/DateFormats.h"
#include "library/LibraryState.h"

#include <QStringList>
#include <QTextStream>

// Exit statuses of the tool, shown by --help and documented in the README.
namespace CliExit {
constexpr int Ok = 0;
constexpr int Failed = 1;       // an unknown name, a refusal, a failed operation
constexpr int NothingFound = 1; // a search found nothing, as grep finds no line
constexpr int BadArguments = 2; // a bad command, option or value
constexpr int NoLibrary = 3;    // no library where a reading command looked
constexpr int Busy = 4;         // another program holds the library's lock
} // namespace CliExit

// What every command of the command-line tool works with: the library, its
// loaded state, the date formats, the output streams and how rows are
// written.
struct CliContext {
    CatalogLibrary library;
    LibraryState state;
    DateFormats formats;
    QTextStream &out;
    QTextStream &err;
    RowWriter::Format format = RowWriter::Format::Tsv;
    QStringList columns; // the running command's
    // Whether out and err are terminals, where text shows control
    // characters visibly (TerminalText).
    bool outIsTerminal = false;
    bool errIsTerminal = false;
    // --quiet: no progress line and no counts on the error stream.
    bool quiet = false;

    // Stores the tree, the information list and the comments, as the program
    // does at shutdown but all three or none; reports and returns false on
    // failure.
    bool save();
    // Prints text and a line break to the output or the error stream.
    void print(const QString &text);
    void printErr(const QString &text);
    // Prints "kestrovane-cli: <text>" to the error stream and returns code.
    int fail(const QString &text, int code = CliExit::Failed);
    // Prints "kestrovane-cli: <text>" to the error stream: what the tool did
    // besides its output, such as creating a library or a category.
    void note(const QString &text);
    // Prints a count or outcome that goes beside the output ("Found 3
    // Matches") to the error stream, unless quiet.
    void tell(const QString &text);
    // The catalog name as the tree spells it, when the tree or the catalog
    // files know it; empty otherwise.
    QString knownCatalog(const QString &name) const;
    // A writer of the running command's rows in the format asked for.
    RowWriter rows() { return RowWriter(out, format, columns, outIsTerminal, &formats); }
};

// A command: its name, its synopsis, a one-line summary, its options (lines
// of "  --option   what it does"), and the function that runs it with the
// arguments after its name, returning the exit status. A command with
// columns writes rows and takes --format; the columns are its row's names.
// What the command reads is checked before it runs: the options it accepts
// and the words it takes, as CliArguments writes them.
struct CliCommand {
    // Writes holds the library's lock for the whole command; Scans takes it
    // only once its scan is done, so a long scan blocks nobody.
    enum class Access { Reads, Writes, Scans };

    const char *name;
    const char *synopsis;
    const char *summary;
    const char *options;
    int (*run)(CliContext &context, const CliArguments &args);
    // A writing command creates a missing library; a reading one fails.
    Access access = Access::Reads;
    const char *columns = nullptr; // "name,size,..."
    const char *accepts = "";      // "--word= --case --catalog=*"
    const char *words = "";        // "NAME [TEXT]"
};

// Each group of commands lives in its own file and lists itself here.
QList<CliCommand> libraryCommands();  // CliLibraryCommands.cpp
QList<CliCommand> treeCommands();     // CliTreeCommands.cpp
QList<CliCommand> indexingCommands(); // CliIndexingCommands.cpp
QList<CliCommand> queryCommands();    // CliQueryCommands.cpp
QList<CliCommand> commentCommands();  // CliCommentCommands.cpp
QList<CliCommand> replaceCommands();  // CliReplaceCommands.cpp
QList<CliCommand> printCommands();    // CliPrintCommand.cpp
