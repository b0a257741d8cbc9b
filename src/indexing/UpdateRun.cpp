#include "UpdateRun.h"

#include "RunControl.h"
#include "RunInfo.h"

#include "library/CatalogLibrary.h"
#include "library/CatalogSaving.h"
#include "library/LibraryState.h"
#include "library/LibraryTransaction.h"
#include "library/TextFile.h"
#include "library/TreeOperations.h"
#include "library/VolumeProbe.h"

#include <QFileInfo>
#include <algorithm>

namespace {

CatalogSaving::PathMove movedEntries(const QString &movedFrom, const QString &root)
{
    if (movedFrom.isEmpty())
        return {};
    return {DirectoryScan::rootPath(movedFrom), root};
}

} // namespace

UpdateRun::UpdateRun(LibraryState &state, const CatalogLibrary &library, RunControl &control)
    : m_state(state), m_library(library), m_control(control)
{}

bool UpdateRun::asksForDisk(const QString &storedDriveType)
{
    return storedDriveType == QLatin1String("Removable") || storedDriveType == QLatin1String("CdRom");
}

QString UpdateRun::insertDiskQuestion(const QString &catalogName, const QString &drive)
{
    return QLatin1String("Please insert catalog ") + catalogName + QLatin1String(" into drive ") + drive +
           QLatin1String("\nWhen ready, click Ok.");
}

bool UpdateRun::labelDiffers(const QString &catalogName, const QString &label)
{
    return !label.isEmpty() && label != catalogName;
}

QString UpdateRun::labelQuestion(const QString &catalogName, const QString &label)
{
    return QLatin1String("The catalog name does not match the volume label.\nCatalog name: ") + catalogName +
           QLatin1String("\nVolume label: ") + label + QLatin1String("\nProceed to update anyway?");
}

QString UpdateRun::emptyRescanQuestion(const QString &catalogName, const QString &root, qsizetype stored)
{
    return QLatin1String("No files were found in ") + root + QLatin1String(", but catalog ") + catalogName +
           QLatin1String(" holds ") + QString::number(stored) +
           QLatin1String(" entries.\nThe disk may be missing or another disk may be mounted there."
                         "\nUpdating would remove every entry and its comment."
                         "\nProceed to update anyway?");
}

qsizetype UpdateRun::storedEntryCount(const QString &catalogName) const
{
    QStringList lines;
    if (!m_library.catalogFileExists(catalogName) ||
        !TextFile::readLines(m_library.catalogFilePath(catalogName), lines))
        return 0; // nothing to lose, or the merge reports the read error
    return std::count_if(lines.cbegin(), lines.cend(), [](const QString &line) { return !line.isEmpty(); });
}

UpdateRun::Result UpdateRun::run(const Params &params)
{
    Result result;
    if (params.directory.isEmpty()) {
        result.warning = QStringLiteral("Please specify the path for this catalog.");
        return result;
    }
    const VolumeInfo volume = params.volume ? *params.volume : VolumeInfo::read(params.directory);
    m_state.displayMode.clear();
    m_state.displayMode.update = true;
    m_state.fileLines.clear();
    m_state.dirList.clear();
    m_control.status(QStringLiteral("Preparing Directory List"));
    m_state.keepGoing = true;

    const QString root = DirectoryScan::rootPath(params.directory);
    // An absent disk or directory would look like a volume whose files were
    // all deleted, and the merge would drop every stored line and comment.
    if (!QFileInfo(root).isDir() || !QFileInfo(root).isReadable()) {
        result.warning =
            QLatin1String("Cannot read ") + root + QLatin1String("\nThe catalog was not changed.");
        return stop(result, Outcome::Refused, QStringLiteral("Updating Stopped"));
    }
    DirectoryScan scan(params, m_control);
    if (!scan.collectDirectories(root, m_state.dirList))
        return stop(result, Outcome::Stopped, QStringLiteral("Updating Stopped"));
    m_control.status(QStringLiteral("Scanning..."));
    if (!scan.collectFiles(m_state.fileLines))
        return stop(result, Outcome::Stopped, QStringLiteral("Updating Stopped"));
    if (m_state.fileLines.isEmpty()) {
        if (const qsizetype stored = storedEntryCount(params.catalogName); stored > 0) {
            m_control.status(QStringLiteral("Updating Stopped"));
            const QString question = emptyRescanQuestion(params.catalogName, root, stored);
            if (!params.confirmEmptyRescan || !params.confirmEmptyRescan(question))
                return stop(result, Outcome::Refused, QStringLiteral("Updating Stopped"));
        }
    }

    const VolumeIdentity medium =
        params.medium ? *params.medium : VolumeProbe(MountTable::current()).identify(root);
    m_control.status(QStringLiteral("Comparing..."));
    result.directoryCount = scan.directories().size();
    // The merge sorts what it keeps; the scanned lines need no sort of their own.
    // The merged file and the new information line are stored together.
    LibraryTransaction transaction(m_library, m_state);
    // Another program may have removed the catalog while it was scanned.
    if (transaction.isLocked() && !m_state.tree.findCatalog(params.catalogName).isValid() &&
        !m_state.catalogInfo.contains(params.catalogName) &&
        !m_library.catalogFileExists(params.catalogName)) {
        result.error = TreeOperations::goneMessage(params.catalogName);
        return stop(result, Outcome::Failed, QStringLiteral("Failed To Save Catalog"));
    }
    const CatalogSaving::MergeResult merge = CatalogSaving::MergeWithStored(
        m_library, params.catalogName, m_state.fileLines.takeUnsorted(),
        CatalogSaving::MissingCatalog::MergeWithNothing, &transaction, movedEntries(params.movedFrom, root));
    if (!merge.ok) {
        result.error = merge.error;
        return stop(result, Outcome::Failed, merge.status);
    }
    result.added = merge.added;
    result.removed = merge.removed;
    result.fileCount = merge.written;

    result.infoLine =
        RunInfo(params, params.now, root).onVolume(volume).line(result.fileCount, result.directoryCount);
    if (m_state.catalogInfo.contains(params.catalogName))
        m_state.catalogInfo.setValue(params.catalogName, result.infoLine);
    m_state.volumes.recordScan(params.catalogName, medium);
    if (!transaction.commit(&result.error))
        return stop(result, Outcome::Failed, QStringLiteral("Failed To Save Catalog"));
    return stop(result, Outcome::Updated, merge.status);
}

UpdateRun::Result UpdateRun::stop(Result result, Outcome outcome, const QString &status)
{
    m_state.keepGoing = false;
    m_state.displayMode.update = false;
    m_state.fileLines.clear();
    m_state.dirList.clear();
    m_control.status(status);
    result.outcome = outcome;
    return result;
}
