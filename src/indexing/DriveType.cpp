#include "DriveType.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString Removable = QStringLiteral("Removable");
const QString Fixed = QStringLiteral("Fixed");
const QString Remote = QStringLiteral("Remote");
const QString CdRom = QStringLiteral("CdRom");
const QString RamDisk = QStringLiteral("RamDisk");

QString readFirstLine(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readLine()).trimmed();
}

// The sysfs folder of a block device; for a partition, that of its disk.
QString diskFolder(const QString &deviceName, const QString &sysfsRoot)
{
    const QString link = sysfsRoot + QLatin1String("/class/block/") + deviceName;
    const QString real = QFileInfo(link).canonicalFilePath();
    if (real.isEmpty())
        return QString();
    if (QFileInfo::exists(real + QLatin1String("/partition")))
        return QFileInfo(real).path();
    return real;
}

} // namespace

namespace DriveType {

bool isNetworkFileSystem(const QString &fileSystemType)
{
    static const QStringList network{
        QStringLiteral("nfs"),    QStringLiteral("nfs4"),   QStringLiteral("cifs"),
        QStringLiteral("smb3"),   QStringLiteral("smbfs"),  QStringLiteral("sshfs"),
        QStringLiteral("9p"),     QStringLiteral("ceph"),   QStringLiteral("glusterfs"),
        QStringLiteral("davfs"),  QStringLiteral("davfs2"), QStringLiteral("afs"),
        QStringLiteral("ncpfs"),  QStringLiteral("lustre"), QStringLiteral("gfs2"),
        QStringLiteral("rclone"), QStringLiteral("s3fs"),   QStringLiteral("curlftpfs")};
    QString type = fileSystemType.toLower();
    // FUSE mounts name their driver after the dot ("fuse.sshfs").
    if (type.startsWith(QLatin1String("fuse.")))
        type = type.mid(5);
    return network.contains(type);
}

bool isRemovableDevice(const QString &device, const QString &sysfsRoot)
{
    const QString node = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(node.isEmpty() ? device : node).fileName();
    if (name.isEmpty())
        return false;
    const QString disk = diskFolder(name, sysfsRoot);
    if (disk.isEmpty())
        return false;
    if (readFirstLine(disk + QLatin1String("/removable")) == QLatin1String("1"))
        return true;
    return disk.contains(QLatin1String("/usb"));
}

QString classify(const QString &fileSystemType, const QString &device, const QString &sysfsRoot)
{
    const QString type = fileSystemType.toLower();
    if (type.isEmpty() && device.isEmpty())
        return QStringLiteral("Unknown");
    if (type == QLatin1String("iso9660") || type == QLatin1String("udf") ||
        device.startsWith(QLatin1String("/dev/sr")))
        return CdRom;
    if (type == QLatin1String("tmpfs") || type == QLatin1String("ramfs"))
        return RamDisk;
    if (isNetworkFileSystem(type) || device.startsWith(QLatin1String("//")))
        return Remote;
    if (device.startsWith(QLatin1String("/dev/")) && isRemovableDevice(device, sysfsRoot))
        return Removable;
    return Fixed;
}

} // namespace DriveType
