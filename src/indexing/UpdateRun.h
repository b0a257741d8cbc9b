#pragma once

#include "DirectoryScan.h"
#include "VolumeInfo.h"
#include "library/VolumeIdentity.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

class CatalogLibrary;
class RunControl;
struct LibraryState;

// Rescans a catalog's directory and merges the result into its stored file:
// files still present keep their stored lines (and comments), new files are
// added, vanished ones dropped, and the catalog gets a new information line.
//
// The questions before a run (path, disk, label) are the caller's; the texts
// are here. A stopped run, a path that cannot be read or a failed write
// leave the catalog file and its information line as they were.
class UpdateRun
{
public:
    // The scan's options, masks and ZIP handling, the catalog and its path.
    struct Params : DirectoryScan::Settings {
        QString catalogName;
        QString directory; // the path box
        QDateTime now;
        std::optional<VolumeInfo> volume;     // read from directory when absent
        std::optional<VolumeIdentity> medium; // the same
        // The stored path, when the catalog's medium is mounted elsewhere
        // now (UpdateLocation's Moved): its entries move to directory.
        QString movedFrom;
        // Asked when the rescan finds nothing while the catalog holds
        // entries (an empty or unmounted mount point, another disk): going
        // on would drop every entry and comment. Without it the run stops.
        std::function<bool(const QString &question)> confirmEmptyRescan;
    };

    enum class Outcome { Updated, Refused, Stopped, Failed };

    struct Result {
        Outcome outcome = Outcome::Refused;
        QString warning; // to show with an OK button
        QString error;   // the platform's error for the error box
        int added = 0;
        int removed = 0;
        qint64 fileCount = 0;
        qint64 directoryCount = 0;
        QString infoLine;
    };

    UpdateRun(LibraryState &state, const CatalogLibrary &library, RunControl &control);

    Result run(const Params &params);

    // Removable and CD-ROM catalogs ask for their disk first.
    static bool asksForDisk(const QString &storedDriveType);
    static QString insertDiskQuestion(const QString &catalogName, const QString &drive);
    // Asked when the volume has a label that is not exactly the catalog's name.
    static bool labelDiffers(const QString &catalogName, const QString &label);
    static QString labelQuestion(const QString &catalogName, const QString &label);
    static QString emptyRescanQuestion(const QString &catalogName, const QString &root, qsizetype stored);

private:
    Result stop(Result result, Outcome outcome, const QString &status);
    // Entry lines of the stored catalog file; 0 when there is none.
    qsizetype storedEntryCount(const QString &catalogName) const;

    LibraryState &m_state;
    const CatalogLibrary &m_library;
    RunControl &m_control;
};
