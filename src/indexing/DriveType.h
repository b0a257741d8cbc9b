#pragma once

#include <QString>

// The kind of medium a volume lives on, as one of the texts a catalog stores:
// "Removable", "Fixed", "Remote", "CdRom", "RamDisk" or "Unknown".
namespace DriveType {

// Classifies a mounted volume by its file-system type and device (as
// QStorageInfo reports them). sysfsRoot is where /sys is found, so tests can
// hand in a tree of their own.
QString classify(const QString &fileSystemType, const QString &device,
                 const QString &sysfsRoot = QStringLiteral("/sys"));

bool isNetworkFileSystem(const QString &fileSystemType);

// True when the block device's disk reports removable media or sits on a USB
// bus. device is a path such as "/dev/sdb1".
bool isRemovableDevice(const QString &device, const QString &sysfsRoot = QStringLiteral("/sys"));

} // namespace DriveType
