#include "VolumeCommands.h"

#include <QProcess>
#include <QStorageInfo>

namespace {

constexpr int ToolTimeoutMs = 10000;

} // namespace

namespace VolumeCommands {

QStringList labelCommand(const QString &fileSystemType, const QString &device, const QString &label)
{
    const QString type = fileSystemType.toLower();
    QString tool;
    if (type == QLatin1String("vfat") || type == QLatin1String("msdos") || type == QLatin1String("fat"))
        tool = QStringLiteral("fatlabel");
    else if (type == QLatin1String("exfat"))
        tool = QStringLiteral("exfatlabel");
    else if (type == QLatin1String("ext2") || type == QLatin1String("ext3") || type == QLatin1String("ext4"))
        tool = QStringLiteral("e2label");
    else if (type == QLatin1String("ntfs") || type == QLatin1String("ntfs3") ||
             type == QLatin1String("fuseblk"))
        tool = QStringLiteral("ntfslabel");
    if (tool.isEmpty() || !device.startsWith(QLatin1String("/dev/")))
        return {};
    return {tool, device, label};
}

bool isAcceptableLabel(const QString &label)
{
    return !label.isEmpty() && label.size() <= 10;
}

bool setDiskLabel(const QString &path, const QString &label)
{
    if (!isAcceptableLabel(label))
        return false;
    const QStorageInfo storage(path);
    if (!storage.isValid())
        return false;
    const QStringList command = labelCommand(QString::fromLocal8Bit(storage.fileSystemType()),
                                             QString::fromLocal8Bit(storage.device()), label);
    if (command.isEmpty())
        return false;
    QProcess tool;
    tool.start(command.first(), command.mid(1));
    return tool.waitForFinished(ToolTimeoutMs) && tool.exitStatus() == QProcess::NormalExit;
}

bool ejectCd()
{
    return QProcess::startDetached(QStringLiteral("eject"), {});
}

} // namespace VolumeCommands
