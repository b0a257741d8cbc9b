#pragma once

#include "DirectoryScan.h"
#include "VolumeInfo.h"

#include "library/CatalogInfo.h"

#include <QDateTime>

// The information line a finished indexing or update run gives its catalog:
// the root it scanned, the volume's figures, its start, and the options and
// masks it ran with, so that an update rescans the same way.
class RunInfo
{
public:
    RunInfo(const DirectoryScan::Settings &settings, const QDateTime &start, const QString &root);

    // The volume's size, free space and type, and its designation unless the
    // run was given no directory to name it by.
    RunInfo &onVolume(const VolumeInfo &volume, bool named = true);
    // The line with the run's counts.
    QString line(qint64 fileCount, qint64 directoryCount) const;

private:
    CatalogInfo m_info;
};
