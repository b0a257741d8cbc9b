#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

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

QStringList unreadableKinds()
{
    return {QStringLiteral("owner-only file"), QStringLiteral("folder"), QStringLiteral("link to itself")};
}

bool makeUnreadable(const QString &path, const QString &kind)
{
    if (kind == QLatin1String("owner-only file"))
        return QFile::setPermissions(path, QFile::WriteOwner);
    return QFile::remove(path) &&
           (kind == QLatin1String("folder") ? QDir().mkdir(path) : QFile::link(path, path));
}

QByteArray fileState(const QString &path)
{
    const QFileInfo info(path);
    return QByteArray::number(int(info.isSymLink())) + QByteArray::number(int(info.isDir())) + ' ' +
           QByteArray::number(int(info.permissions()), 16) + ' ' +
           info.lastModified().toString(Qt::ISODateWithMs).toUtf8() + ' ' + readFile(path);
}

bool readOverride(bool on)
{
    if (geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        const quint32 bit = 1u << (cap % 32);
        data[cap / 32].effective = on ? data[cap / 32].effective | bit : data[cap / 32].effective & ~bit;
    }
    return syscall(SYS_capset, &header, data) == 0;
}

QStringList withoutReadOverride()
{
    if (geteuid() != 0)
        return {};
    return {QStringLiteral("setpriv"), QStringLiteral("--bounding-set=-dac_override,-dac_read_search")};
}

bool mountTmpfs(const QString &dir, int kilobytes, QString *reason)
{
    const QString size = QStringLiteral("size=%1k").arg(kilobytes);
    QProcess mount;
    mount.start(QStringLiteral("mount"), {"-t", "tmpfs", "-o", size, "tmpfs", dir});
    const bool done = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit;
    if (!done || mount.exitCode() != 0) {
        if (reason)
            *reason = QStringLiteral("cannot mount a tmpfs here: ") +
                      QString::fromLocal8Bit(mount.readAllStandardError()).trimmed() + mount.errorString();
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
