#pragma once

#include "DirectoryScan.h"
#include "VolumeInfo.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

class RunControl;
struct LibraryState;

// An indexing run of the create panel: the volume's information, the sorted
// directory list, the catalog lines of the files, and the information line
// the new catalog will be saved with (LibraryState::lastRunInfo).
//
// The lines are left in the state's fileLines (and the directories in
// dirList) for the caller to show; the caller empties both afterwards. The
// running flag is the state's keepGoing: the RunControl's keepGoing() is
// expected to process events and then report it, so "Stop" clears it.
class IndexingRun
{
public:
    // The scan's options, masks and ZIP handling, and where and when to run.
    struct Params : DirectoryScan::Settings {
        QString directory; // the directory box; empty indexes the current directory
        QDateTime now;     // the run's start
        // The volume to describe instead of reading it (the panel's current
        // figures when the directory box is empty; fixed figures in tests).
        std::optional<VolumeInfo> volume;
    };

    enum class Outcome { Finished, NothingFound, Stopped };

    struct Result {
        Outcome outcome = Outcome::NothingFound;
        bool volumeRead = false; // volume holds fresh figures for the panel's title
        VolumeInfo volume;
        QString suggestedName; // the volume label, for the catalog-name box
        qint64 fileCount = 0;
        qint64 directoryCount = 0;
        bool stoppedInFiles = false; // Stop while listing files: the lines so far are the result
        QString summary;             // "<n> Files In <m> Directories", once the table is filled
    };

    IndexingRun(LibraryState &state, RunControl &control);

    Result run(const Params &params);

    static QString foundDirectoriesText(qint64 count);

private:
    Result reset(Result result, Outcome outcome);

    LibraryState &m_state;
    RunControl &m_control;
};
