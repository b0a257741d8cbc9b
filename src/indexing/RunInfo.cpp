#include "RunInfo.h"

RunInfo::RunInfo(const DirectoryScan::Settings &settings, const QDateTime &start, const QString &root)
{
    m_info.path = root;
    m_info.lastUpdate = settings.formats.format(start);
    m_info.options = settings.options;
    m_info.masks = settings.masks;
}

RunInfo &RunInfo::onVolume(const VolumeInfo &volume, bool named)
{
    if (named)
        m_info.drive = volume.designation();
    m_info.sizeText = volume.sizeText();
    m_info.freeText = volume.freeText();
    m_info.driveType = volume.driveTypeText();
    return *this;
}

QString RunInfo::line(qint64 fileCount, qint64 directoryCount) const
{
    CatalogInfo info = m_info;
    info.fileCount = fileCount;
    info.directoryCount = directoryCount;
    return info.toLine();
}
