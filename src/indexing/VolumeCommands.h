#pragma once

#include <QString>
#include <QStringList>

// Commands of the create panel that act on a volume through the system's
// own tools. Their outcome is not reported: the user sees the new label or
// the open tray.
namespace VolumeCommands {

// The tool and arguments that set the label of a file system of that type
// on device, or an empty list when there is no tool for the type.
QStringList labelCommand(const QString &fileSystemType, const QString &device, const QString &label);

// Labels of 1 to 10 characters are accepted; anything else does nothing.
bool isAcceptableLabel(const QString &label);

// Sets the label of the volume holding path. False when the label is not
// acceptable, the volume has no labelling tool, or the tool could not run.
bool setDiskLabel(const QString &path, const QString &label);

// Opens the door of the default CD-ROM drive (the eject command).
bool ejectCd();

} // namespace VolumeCommands
