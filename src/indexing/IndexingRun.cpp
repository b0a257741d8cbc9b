#include "IndexingRun.h"

#include "RunControl.h"
#include "RunInfo.h"

#include "library/LibraryState.h"
#include "library/VolumeProbe.h"

IndexingRun::IndexingRun(LibraryState &state, RunControl &control) : m_state(state), m_control(control)
{}

QString IndexingRun::foundDirectoriesText(qint64 count)
{
    if (count > 1)
        return QLatin1String("Found ") + QString::number(count) + QLatin1String(" Directories. Scanning...");
    return QStringLiteral("Found One Directory. Scanning...");
}

IndexingRun::Result IndexingRun::run(const Params &params)
{
    m_state.fileLines.clear();
    m_state.dirList.clear();
    m_state.displayMode.clear();
    m_state.displayMode.newScan = true;

    Result result;
    if (params.volume) {
        result.volume = *params.volume;
    } else if (!params.directory.isEmpty()) {
        result.volume = VolumeInfo::read(params.directory);
        result.volumeRead = true;
        result.suggestedName = result.volume.label();
    }

    m_control.status(QStringLiteral("Preparing Directory List"));
    m_state.keepGoing = true;
    const QString root = DirectoryScan::rootPath(params.directory);
    DirectoryScan scan(params, m_control);
    if (!scan.collectDirectories(root, m_state.dirList))
        return reset(result, Outcome::Stopped);

    result.directoryCount = scan.directories().size();
    m_control.status(foundDirectoriesText(result.directoryCount));
    // A stop in this phase keeps what was found, like a finished run.
    result.stoppedInFiles = !scan.collectFiles(m_state.fileLines);
    m_state.keepGoing = false;
    if (m_state.fileLines.isEmpty())
        return reset(result, Outcome::NothingFound);

    result.outcome = Outcome::Finished;
    result.fileCount = m_state.fileLines.count();
    m_control.status(QLatin1String("Found ") + QString::number(result.fileCount) +
                     QLatin1String(" Files. Preparing Results To Display."));
    result.summary = QString::number(result.fileCount) + QLatin1String(" Files In ") +
                     QString::number(result.directoryCount) + QLatin1String(" Directories");
    m_state.displayMode.newScan = false;

    // Without a directory of its own the run describes the volume it was
    // handed, if any, and names no drive.
    RunInfo info(params, params.now, root);
    if (params.volume || !params.directory.isEmpty())
        info.onVolume(result.volume, !params.directory.isEmpty());
    m_state.lastRunInfo = info.line(result.fileCount, result.directoryCount);
    m_state.lastRunMedium = VolumeProbe(MountTable::current()).identify(root);
    return result;
}

IndexingRun::Result IndexingRun::reset(Result result, Outcome outcome)
{
    m_state.fileLines.clear();
    m_state.dirList.clear();
    m_state.keepGoing = false;
    m_state.displayMode.newScan = false;
    m_control.status(QStringLiteral("0 Files Cataloged"));
    result.outcome = outcome;
    return result;
}
