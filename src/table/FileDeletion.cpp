#include "table/FileDeletion.h"

#include "library/FileNameText.h"
#include "table/TableRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace FileDeletion {

namespace {

bool lstatNative(const QString &path, struct stat *st)
{
    return lstat(FileNameText::toNative(path).constData(), st) == 0;
}

// The catalog and result views name a file by a row; a title row, an empty
// cell or a row without a name (a folder's own entry) names none.
bool namesAFile(const Row &row)
{
    return TableRules::viewFor(row.columnCount) != TableRules::View::Report && row.row >= 1 &&
           !row.selectedCell.isEmpty() && !row.name.isEmpty();
}

} // namespace

QString existingFolder(const QString &path)
{
    if (!QDir::isAbsolutePath(path))
        return path;
    QString folder = QDir::cleanPath(path);
    struct stat st;
    while (folder != QLatin1String("/") && !lstatNative(folder, &st))
        folder = QFileInfo(folder).path();
    return folder;
}

bool moveToTrash(const QString &fullName)
{
    // Qt 6.4 makes its trash folders in the working folder when the user's
    // data folder does not exist yet.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return QFile::moveToTrash(QFile::decodeName(FileNameText::toNative(fullName)));
}

Result run(const Row &row, const Host &host)
{
    Result result;
    if (!namesAFile(row))
        return result;
    if (TableRules::isZipMemberPath(row.path)) {
        host.warning(QStringLiteral("The option to delete contents of ZIP files is not available in this "
                                    "version."));
        return result;
    }
    const QString type = row.path.isEmpty() ? QString() : host.driveType(existingFolder(row.path));
    if (type == QLatin1String("Removable") &&
        !host.confirmOkCancel(QStringLiteral("Insert disk into drive.\nWhen ready click Ok.")))
        return result;
    if (type == QLatin1String("CdRom") || type == QLatin1String("Unknown")) {
        result.status = type == QLatin1String("CdRom")
                            ? QStringLiteral("Not Deleted: The File Is On A CdRom Drive")
                            : QStringLiteral("Not Deleted: The File's Drive Is Unknown");
        return result;
    }
    const QString fullName = row.path + row.name;
    if (FileNameText::toNative(fullName).size() > PathLimitBytes) {
        result.status =
            QStringLiteral("Not Deleted: The Full Name Is Longer Than %1 Bytes").arg(PathLimitBytes);
        return result;
    }
    if (!host.confirmYesNo(QStringLiteral("Proceed to delete?\n") + fullName))
        return result;
    struct stat st;
    // A relative name would resolve against wherever the program was started.
    if (!QDir::isAbsolutePath(fullName) || !lstatNative(fullName, &st)) {
        result.status = QStringLiteral("File Does Not Exists!");
        return result;
    }
    if (S_ISDIR(st.st_mode)) {
        result.status = QStringLiteral("Not Deleted: The Name Is A Folder");
        return result;
    }
    const bool moved = host.moveToTrash ? host.moveToTrash(fullName) : moveToTrash(fullName);
    if (!moved) {
        result.status = QStringLiteral("Failed To Delete");
        return result;
    }
    result.removeRow = true;
    result.catalogChanged = TableRules::viewFor(row.columnCount) == TableRules::View::Catalog;
    result.status = QStringLiteral("Deleted ") + fullName;
    return result;
}

} // namespace FileDeletion
