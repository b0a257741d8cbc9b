#include "ExportFile.h"

#include "library/TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace ExportFile {

QString withExtension(const QString &name, const QString &extension)
{
    if (name.endsWith(extension, Qt::CaseInsensitive))
        return name;
    return name + extension;
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    // The reason from the file layer names the temporary file at times, or
    // nothing useful for a folder, so the message is put together here.
    if (QFileInfo(path).isDir()) {
        if (error)
            *error = QStringLiteral("Cannot save \"%1\": it is a folder.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QString reason;
    if (TextFile::writeBytes(path, bytes, &reason))
        return true;
    if (error) {
        const QString prefix = path + QLatin1String(": ");
        if (reason.startsWith(prefix))
            reason.remove(0, prefix.size());
        *error = QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
    }
    return false;
}

} // namespace ExportFile
