#pragma once

#include "library/CatalogLibrary.h"
#include "library/DateFormats.h"
#include "library/LibraryState.h"

#include <QStringList>
#include <QTextStream>

// What every command of the command-line tool works with: the library, its
// loaded state, the date formats and the output streams.
struct CliContext {
    CatalogLibrary library;
    LibraryState state;
    DateFormats formats;
    QTextStream &out;
    QTextStream &err;

    // Stores the tree, the information list and the comments, as the program
    // does at shutdown but all three or none; reports and returns false on
    // failure.
    bool save();
    // Prints "kestrovane-cli: <text>" to the error stream and returns code.
    int fail(const QString &text, int code = 1);
    // The catalog name as the tree spells it, when the tree or the catalog
    // files know it; empty otherwise.
    QString knownCatalog(const QString &name) const;
};

// A command: its name, a one-line usage and the function that runs it with
// the arguments after its name. Returns the process exit code.
struct CliCommand {
    const char *name;
    const char *usage;
    int (*run)(CliContext &context, const QStringList &args);
};

// Each group of commands lives in its own file and lists itself here.
QList<CliCommand> libraryCommands();  // CliLibraryCommands.cpp
QList<CliCommand> treeCommands();     // CliTreeCommands.cpp
QList<CliCommand> indexingCommands(); // CliIndexingCommands.cpp
QList<CliCommand> queryCommands();    // CliQueryCommands.cpp
