#pragma once

#include <QList>
#include <QString>

class CatalogLibrary;
class RunControl;

// Replaces a piece of text in the file comments of every catalog file in
// Catalogs/, whether a category lists the catalog or not: the first
// occurrence in each comment, letter case significant. Only files with a
// replacement are written, each replaced whole or not at all, and lines
// without one keep their bytes.
class CommentReplace
{
public:
    enum class Outcome {
        NothingToDo, // the search or the replacement text is empty
        NoCatalogs,  // message: "No catalogs exists!"
        Failed,      // message: "Cannot open file <path>" or "Cannot create file <path>"
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

    explicit CommentReplace(const CatalogLibrary &library);

    // Goes through the catalog files in name order, letter case ignored.
    // Progress reports "Getting catalog list...", "Searching <name>
    // catalog..." for each file and "Finished" (also after a failure, which
    // ends the run; files already rewritten stay so).
    Result run(const QString &search, const QString &replacement, RunControl &control) const;

    // Catalog files of the library: every "*.TXT" of Catalogs/, letter case
    // ignored, with full paths.
    QStringList catalogFiles() const;

private:
    const CatalogLibrary &m_library;
};
