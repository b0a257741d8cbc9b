#include "VolumeInfo.h"

#include "DriveType.h"
#include "library/FileNameText.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <sys/stat.h>

namespace {

constexpr qint64 KB = 1024;
constexpr qint64 MB = 1024 * 1024;

QString bytesText(qint64 bytes, bool floppy)
{
    if (bytes < KB)
        return QString::number(bytes) + QLatin1String(" Bytes");
    if (bytes < MB)
        return QString::number(bytes / KB) + QLatin1String(" KB");
    if (bytes / MB == 1)
        return floppy ? QStringLiteral("1.44 MB") : QStringLiteral("1 MB");
    return QString::number(bytes / MB) + QLatin1String(" MB");
}

// A path whose name is not UTF-8 cannot be handed to QStorageInfo; the
// nearest folder above it that can lies on the same volume unless the path
// is itself a mount point.
QString storagePath(const QString &path)
{
    if (QFileInfo::exists(path))
        return path;
    struct stat st;
    if (lstat(FileNameText::toNative(path).constData(), &st) != 0)
        return QString();
    QString above = QDir::cleanPath(path);
    while (!above.isEmpty() && above != QLatin1String("/") && !QFileInfo::exists(above))
        above = QFileInfo(above).path();
    return above;
}

} // namespace

VolumeInfo::VolumeInfo(const QString &designation, const QString &driveType, qint64 totalBytes,
                       qint64 freeBytes, const QString &label)
    : m_designation(designation), m_driveType(driveType), m_total(totalBytes), m_free(freeBytes),
      m_label(label)
{}

VolumeInfo VolumeInfo::read(const QString &path)
{
    VolumeInfo info;
    info.m_designation = path;
    const QString existing = path.isEmpty() ? QString() : storagePath(path);
    if (existing.isEmpty())
        return info;
    const QStorageInfo storage(existing);
    if (!storage.isValid())
        return info;
    info.m_designation = storage.rootPath();
    info.m_driveType = DriveType::classify(QString::fromLocal8Bit(storage.fileSystemType()),
                                           QString::fromLocal8Bit(storage.device()));
    if (storage.isReady()) {
        info.m_total = storage.bytesTotal();
        info.m_free = storage.bytesAvailable();
    }
    info.m_label = storage.name();
    return info;
}

QString VolumeInfo::title() const
{
    return m_designation + u' ' + m_driveType + QLatin1String(", Size ") + sizeText() +
           QLatin1String(", Free ") + freeText();
}

QString VolumeInfo::sizeText(qint64 bytes)
{
    return bytesText(bytes, true);
}

QString VolumeInfo::freeText(qint64 freeBytes, qint64 totalBytes)
{
    return bytesText(freeBytes, freeBytes == totalBytes);
}
