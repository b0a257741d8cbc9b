#pragma once

#include <QString>

#include <functional>

// "Delete Selected File": the checks in the order the user meets them, then
// the move of the file to the desktop trash. Questions and the drive type
// come from the caller, so the order can run without a window.
namespace FileDeletion {

// Linux refuses longer path names; such a name is never handed on.
constexpr int PathLimitBytes = 4096;

struct Row {
    int columnCount = 0;
    int row = 0; // table numbering: 0 is the title row
    QString selectedCell;
    QString name; // "File Name"
    QString path; // "File Path", ending in "/"
};

struct Host {
    // The drive type text of the volume holding an existing folder.
    std::function<QString(const QString &folder)> driveType;
    std::function<void(const QString &text)> warning;
    std::function<bool(const QString &text)> confirmOkCancel;
    std::function<bool(const QString &text)> confirmYesNo;
    // Moves a file to the trash; FileDeletion::moveToTrash when not set.
    std::function<bool(const QString &fullName)> moveToTrash;
};

struct Result {
    bool removeRow = false;
    // Only a catalog's own rows make the catalog changed; a search result
    // row names a file but is no part of what is saved.
    bool catalogChanged = false;
    // The new status text; empty leaves the status as it was.
    QString status;
};

Result run(const Row &row, const Host &host);

// The nearest folder at or above path that exists, so that a file on a
// volume no longer mounted is judged by the volume that now holds its
// path. A path that is not absolute comes back as it is.
QString existingFolder(const QString &path);

// The freedesktop trash, through Qt; false when the file stays.
bool moveToTrash(const QString &fullName);

} // namespace FileDeletion
