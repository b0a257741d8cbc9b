#pragma once

#include <QString>

class CatalogLibrary;
struct LibraryState;

// The one rule for catalog names, shared by saving, renaming (menu, in
// place, command line) and anything else that creates a catalog. A name is
// also the catalog's file name, Catalogs/<name>.TXT, and a line of the tree,
// information and comment files, so it must be usable as both.
class CatalogName
{
public:
    // Why name cannot name a catalog, as a message for the user, or empty
    // when it can. An empty name gets an empty answer too: callers decide
    // whether that ends the command silently or asks for a name.
    static QString problem(const QString &name);
    static bool isValid(const QString &name) { return !name.isEmpty() && problem(name).isEmpty(); }
    // The part of the rule that category names share: no line break and no
    // other control character (C0, DEL, C1). The message names the kind of
    // name ("catalog", "category"); empty when the name has none.
    static QString controlProblem(const QString &name, const QString &kind);

    // A name is taken when a catalog file, a tree node or an information
    // pair holds it, letter case ignored as the program's lists ignore it
    // (accented letters included). A renamed catalog's own name counts, so
    // an unchanged name or a change of case only is taken.
    static bool isTaken(const LibraryState &state, const CatalogLibrary &library, const QString &name);
    static bool fileExists(const CatalogLibrary &library, const QString &name);

    // What stops a rename to newName: a message for a warning, or empty
    // when the rename may go ahead. An empty newName is the caller's to
    // ignore and is not reported here.
    static QString renameProblem(const LibraryState &state, const CatalogLibrary &library,
                                 const QString &newName);

    static const QString TakenText; // "A catalog with the same name already exists!"
};
