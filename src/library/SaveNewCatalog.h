#pragma once

#include "CatalogSaving.h"

#include <QString>

class CatalogLibrary;
class LibraryTransaction;
class SortedLineList;
struct LibraryState;

// Stores a finished indexing run as a catalog: the catalog file, a node under
// the chosen category and the run's information line. When the name is taken
// the caller asks the user (Rename To, Overwrite, Update, Cancel) and hands
// the answer to choose(), as often as choose() asks for it:
//
//     SaveNewCatalog save(state, library, request);
//     auto result = save.start();
//     while (result.outcome == SaveNewCatalog::Outcome::NeedsChoice)
//         result = save.choose(askSameName(), renameText);
//
// A stored catalog is replaced only after the user chose Overwrite or Update
// for that very name.
class SaveNewCatalog
{
public:
    enum class Choice { RenameTo, Overwrite, Update, Cancel };
    enum class Outcome {
        NeedsChoice, // the name is taken: show the same-name dialog for name
        Saved,
        Overwrote,
        Updated,
        Cancelled,
        Refused, // nothing written: see status or warning
        Failed   // writing or reading the catalog failed: see error
    };

    struct Request {
        QString name;
        int category = -1;             // the selected category, -1 when none is
        CatalogSaving::TableRows rows; // the table's rows without the title row
        QString driveType;             // the run's drive type text
        // The scan's own catalog lines, saved as they are instead of rows
        // when set. Saving a new catalog or overwriting one takes them over
        // (the list is left empty), so a large scan is never held twice.
        SortedLineList *lines = nullptr;
    };

    struct Result {
        Outcome outcome = Outcome::Refused;
        QString name;             // the name now in use (a Rename To changes it)
        QString status;           // for the status line; empty leaves it as it is
        QString warning;          // a warning to show with an OK button
        QString error;            // the platform's error for the error box
        bool clearName = false;   // empty the catalog-name box
        bool focusName = false;   // and give it the focus
        bool hidePanel = false;   // hide the create panel
        bool reloadMasks = false; // read the mask list back from the settings
    };

    SaveNewCatalog(LibraryState &state, const CatalogLibrary &library, Request request);

    Result start();
    Result choose(Choice choice, const QString &renameText = QString());

    const QString &name() const { return m_request.name; }
    // A catalog name is taken when its file, a tree node or an information
    // pair holds it (CatalogName's rule).
    static bool isTaken(const LibraryState &state, const CatalogLibrary &library, const QString &name);

private:
    Result proceed();
    Result saveNew();
    Result overwrite();
    Result update();
    Result renameTo(const QString &text);
    // Overwrite and Update need a node for the catalog: its own, or a new
    // one under the chosen category.
    bool canFileUnderNode() const;
    void fileUnderNode();
    // The chosen category's place in the tree as it is now: another program
    // may have changed the tree since it was chosen. -1 when it is gone.
    int chosenCategory() const;
    Result done(Outcome outcome, const QString &status);
    Result refused(const QString &status, const QString &warning = QString());
    Result failed(const QString &status, const QString &error);
    void stageCatalog(LibraryTransaction &transaction) const;
    QStringList newLines() const;

    LibraryState &m_state;
    const CatalogLibrary &m_library;
    Request m_request;
    QString m_categoryName;
};
