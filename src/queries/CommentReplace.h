#pragma once

#include <QList>
#include <QString>

class CatalogLibrary;
class RunControl;
struct LibraryState;

// Replaces a piece of text in the file comments of every catalog file in
// Catalogs/, whether a category lists the catalog or not: the first
// occurrence in each comment (as read, a stored doubled quote being one),
// letter case significant. Only files with a replacement are written, all
// of them in one change of the library or none, and lines without one
// keep their bytes.
class CommentReplace
{
public:
    enum class Outcome {
        NothingToDo, // the search or the replacement text is empty
        NoCatalogs,  // message: "No catalogs exists!"
        Failed,      // message: "Cannot open file <path>" or "Cannot create file <path>";
                     // no file was changed
        Finished,
    };

    struct CatalogCount {
        QString name;
        qsizetype replacements = 0;
    };

    struct Result {
        Outcome outcome = Outcome::NothingToDo;
        QString message;
        QString reason;              // the platform's error when a file failed
        QList<CatalogCount> changed; // the files rewritten, in the order processed
        qsizetype total() const;
    };

    // The change is stored as state describes the library, as every change.
    CommentReplace(const CatalogLibrary &library, LibraryState &state);

    // Goes through the catalog files in name order, letter case ignored.
    // Progress reports "Getting catalog list...", "Searching <name>
    // catalog..." for each file and "Finished" (also after a failure, which
    // ends the run and leaves every file as it was).
    Result run(const QString &search, const QString &replacement, RunControl &control) const;

    // Catalog files of the library: every "*.TXT" of Catalogs/, letter case
    // ignored, with full paths.
    QStringList catalogFiles() const;

private:
    const CatalogLibrary &m_library;
    LibraryState &m_state;
};
