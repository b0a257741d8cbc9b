#include "ExportFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString failure(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

namespace ExportFile {

QString withExtension(const QString &name, const QString &extension)
{
    if (name.endsWith(extension, Qt::CaseInsensitive))
        return name;
    return name + extension;
}

bool write(const QString &path, const Producer &produce, QString *error)
{
    if (QFileInfo(path).isDir()) {
        if (error)
            *error = failure(path, QStringLiteral("it is a folder."));
        return false;
    }
    QSaveFile file(path);
    const ByteSink sink = [&file](const QByteArray &bytes) { return file.write(bytes) == bytes.size(); };
    // A buffered write that fails (a full disk) can still let commit()
    // succeed, so the buffer is flushed and checked first.
    bool ok = file.open(QIODevice::WriteOnly) && produce(sink) && file.flush() &&
              file.error() == QFileDevice::NoError;
    QString reason;
    if (ok) {
        ok = file.commit();
        reason = file.errorString();
    } else {
        // Cancelling puts its own text in place of the write's reason.
        reason = file.errorString();
        file.cancelWriting();
    }
    if (!ok && error)
        *error = failure(path, reason);
    return ok;
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    return write(
        path, [&bytes](const ByteSink &sink) { return sink(bytes); }, error);
}

} // namespace ExportFile
