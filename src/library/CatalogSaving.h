#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CatalogLibrary;
class LibraryTransaction;
class SortedLineList;

// Writing a table's rows as a catalog, and merging a rescan into a stored
// catalog so that files still present keep their stored lines (and so their
// comments).
namespace CatalogSaving {

// Rows of the table as their cells, without the title row. Cells beyond the
// fifth (the catalog-name column of results) are never written.
using TableRows = QList<QStringList>;

// The catalog line of a row: its first five cells, missing ones empty.
QString rowLine(const QStringList &cells);
QStringList rowLines(const TableRows &rows);

// The key entries are matched by: the path field followed by the name field.
QString EntryKey(const QStringList &fields);
QString EntryKey(const QString &line);

// Writes the rows as the catalog file of name, replacing it whole or not at
// all. False, with error set, when the file cannot be written. With a
// transaction the file is only staged there, to be written by its commit.
bool WriteTableRows(const CatalogLibrary &library, const QString &name, const TableRows &rows,
                    QString *error = nullptr, LibraryTransaction *transaction = nullptr);

// Writes catalog lines as they are, in the list's order: the lines of a
// scan, which are already catalog lines, need no trip through table cells.
// The list is taken over, staged whole in transaction when one is given.
bool WriteLines(const CatalogLibrary &library, const QString &name, SortedLineList &&lines,
                QString *error = nullptr, LibraryTransaction *transaction = nullptr);

// What a merge did. status is the text for the status line.
struct MergeResult {
    bool ok = false;
    int added = 0;
    int removed = 0;
    qsizetype written = 0; // lines now in the catalog file
    QString status;
    QString error; // the platform's error when reading or writing failed
};

// What a merge does when the catalog file is gone.
enum class MissingCatalog {
    Refuse,          // report it and write nothing
    MergeWithNothing // every new line is an addition
};

// A catalog's folder found at another place (its medium mounted elsewhere
// now): stored entries under from are taken as entries under to.
struct PathMove {
    QString from; // both end in "/"
    QString to;
};

// Merges new lines into the stored catalog of name. Stored lines whose key
// (letter case included) is among the new lines are kept whole; new lines
// that no stored line stands for are added (several files can share a key);
// a stored line whose key differs from a new entry's only in letter case is
// kept for it; the rest of the stored lines are dropped. The file is written
// sorted (or staged in transaction, when one is given). added and removed count the lines that really were
// added and dropped. With a move, stored entries are moved before they are
// matched, so the files of a moved folder keep their comments.
MergeResult MergeWithStored(const CatalogLibrary &library, const QString &name, const QStringList &newLines,
                            MissingCatalog missing, LibraryTransaction *transaction = nullptr,
                            const PathMove &move = {});

} // namespace CatalogSaving
