#include "VolumeProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <blkid/blkid.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <memory>

namespace {

struct SuperBlock {
    QString uuid;
    QString label;
};

struct ProbeFree {
    void operator()(blkid_probe probe) const { blkid_free_probe(probe); }
};

QString probedValue(blkid_probe probe, const char *name)
{
    const char *value = nullptr;
    if (blkid_probe_lookup_value(probe, name, &value, nullptr) != 0 || !value)
        return QString();
    return QString::fromUtf8(value);
}

// Reads the super block of a device (or an image file). Needs read access:
// an unprivileged user usually has none to a disk, hence udev comes first.
SuperBlock readSuperBlock(const QString &device)
{
    if (!device.startsWith(u'/') || !QFileInfo::exists(device))
        return {};
    const std::unique_ptr<std::remove_pointer_t<blkid_probe>, ProbeFree> probe(
        blkid_new_probe_from_filename(QFile::encodeName(device).constData()));
    if (!probe)
        return {};
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_UUID | BLKID_SUBLKS_LABEL);
    if (blkid_do_safeprobe(probe.get()) != 0)
        return {};
    return {probedValue(probe.get(), "UUID"), probedValue(probe.get(), "LABEL")};
}

bool isDeviceNumbered(const QString &path, quint32 major, quint32 minor)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISBLK(info.st_mode))
        return false;
    return ::major(info.st_rdev) == major && ::minor(info.st_rdev) == minor;
}

// Whether a udev link leads to the mount's device. mountinfo names the
// device by the path it was mounted from, which is also what a link leads
// to; the device number covers a source given by another name.
bool leadsTo(const QFileInfo &link, const MountTable::Mount &mount)
{
    const QString target = link.symLinkTarget();
    if (target.isEmpty())
        return false;
    if (target == mount.source)
        return true;
    const QString canonical = QFileInfo(target).canonicalFilePath();
    if (!canonical.isEmpty() && canonical == QFileInfo(mount.source).canonicalFilePath())
        return true;
    return isDeviceNumbered(target, mount.major, mount.minor);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The scanned folder's place on its file system: below the mount's root,
// which is not the top for a bind mount.
QString subPathOf(const MountTable::Mount &mount, const QString &path)
{
    const QString below = mount.mountPoint == u"/" ? path.mid(1) : path.mid(mount.mountPoint.size() + 1);
    const QString root = mount.root.mid(1);
    if (root.isEmpty())
        return below;
    return below.isEmpty() ? root : root + u'/' + below;
}

// Where subPath shows through a mount of its medium, or empty when the mount
// shows another part of it.
QString reachThrough(const MountTable::Mount &mount, const QString &subPath)
{
    const QString root = mount.root.mid(1);
    QString rest;
    if (root.isEmpty())
        rest = subPath;
    else if (subPath == root)
        rest.clear();
    else if (subPath.startsWith(root + u'/'))
        rest = subPath.mid(root.size() + 1);
    else
        return QString();
    if (rest.isEmpty())
        return mount.mountPoint;
    return mount.mountPoint == u"/" ? u'/' + rest : mount.mountPoint + u'/' + rest;
}

QString cleanAbsolute(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

} // namespace

VolumeProbe::VolumeProbe(const MountTable &mounts, const QString &byUuidDir, const QString &byLabelDir)
    : m_mounts(mounts), m_byUuidDir(byUuidDir), m_byLabelDir(byLabelDir)
{}

QString VolumeProbe::decodeUdevName(const QString &name)
{
    QByteArray bytes;
    const QByteArray raw = name.toUtf8();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x' && hexValue(raw[i + 2]) >= 0 &&
            hexValue(raw[i + 3]) >= 0) {
            bytes += char(hexValue(raw[i + 2]) * 16 + hexValue(raw[i + 3]));
            i += 3;
        } else {
            bytes += raw[i];
        }
    }
    return QString::fromUtf8(bytes);
}

QString VolumeProbe::linkNameFor(const QString &dir, const MountTable::Mount &mount) const
{
    const QFileInfoList links =
        QDir(dir).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &link : links) {
        if (link.isSymLink() && leadsTo(link, mount))
            return decodeUdevName(link.fileName());
    }
    return QString();
}

VolumeIdentity VolumeProbe::identifyMount(const MountTable::Mount &mount) const
{
    VolumeIdentity identity;
    identity.type = mount.type;
    identity.uuid = linkNameFor(m_byUuidDir, mount);
    identity.label = linkNameFor(m_byLabelDir, mount);
    if (identity.uuid.isEmpty()) {
        const SuperBlock block = readSuperBlock(mount.source);
        identity.uuid = block.uuid;
        if (identity.label.isEmpty())
            identity.label = block.label;
    }
    return identity;
}

VolumeIdentity VolumeProbe::identify(const QString &scannedPath) const
{
    const QString path = cleanAbsolute(scannedPath);
    const std::optional<MountTable::Mount> mount = m_mounts.mountHolding(path);
    if (!mount)
        return {};
    VolumeIdentity identity = identifyMount(*mount);
    identity.subPath = subPathOf(*mount, path);
    return identity;
}

QStringList VolumeProbe::mountPointsOf(const VolumeIdentity &identity) const
{
    QStringList places;
    if (!identity.hasUuid())
        return places;
    // Several mounts of one device (bind mounts) are probed once.
    QHash<QString, QString> uuidOfSource;
    for (const MountTable::Mount &mount : m_mounts.mounts()) {
        const QString key =
            mount.source + u'\n' + QString::number(mount.major) + u':' + QString::number(mount.minor);
        if (!uuidOfSource.contains(key))
            uuidOfSource.insert(key, identifyMount(mount).uuid);
        if (uuidOfSource.value(key).compare(identity.uuid, Qt::CaseInsensitive) != 0)
            continue;
        const QString place = reachThrough(mount, identity.subPath);
        if (!place.isEmpty() && !places.contains(place) && QFileInfo(place).isDir())
            places << place;
    }
    return places;
}
