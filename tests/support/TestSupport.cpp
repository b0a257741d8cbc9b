#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace TestSupport {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return writeFile(path, bytes);
}

bool mountTmpfs(const QString &dir, int kilobytes, QString *reason)
{
    const QString size = QStringLiteral("size=%1k").arg(kilobytes);
    QProcess mount;
    mount.start(QStringLiteral("mount"), {"-t", "tmpfs", "-o", size, "tmpfs", dir});
    const bool done = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit;
    if (!done || mount.exitCode() != 0) {
        if (reason)
            *reason = QStringLiteral("cannot mount a tmpfs here: ")
                + QString::fromLocal8Bit(mount.readAllStandardError()).trimmed() + mount.errorString();
        return false;
    }
    return true;
}

void unmount(const QString &dir)
{
    QProcess::execute(QStringLiteral("umount"), {dir});
}

void fillDisk(const QString &dir)
{
    QFile filler(dir + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    // Small leftovers of the last block may still fit; take them too.
    while (filler.write("x", 1) == 1) {
    }
}

QMap<QString, QByteArray> librarySnapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    for (const QString &folder : {QString(), QStringLiteral("Catalogs/")}) {
        const QStringList names = QDir(root + u'/' + folder).entryList(QDir::Files | QDir::Hidden);
        for (const QString &name : names) {
            if (name != QLatin1String("Kestrovane.lock"))
                files[folder + name] = readFile(root + u'/' + folder + name);
        }
    }
    return files;
}

} // namespace TestSupport
