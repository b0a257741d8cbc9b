#include "MountTable.h"

#include <QFile>

namespace {

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

QByteArray unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            out += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

QByteArray withoutTrailingSlash(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

// A line: id, parent id, major:minor, root, mount point, options, optional
// fields ended by "-", then type, source and the super block's options.
std::optional<MountTable::Mount> parseLine(const QByteArray &line, QByteArray &point)
{
    const QList<QByteArray> fields = line.split(' ');
    const qsizetype separator = fields.indexOf("-", 6);
    if (fields.size() < 5)
        return std::nullopt;
    point = withoutTrailingSlash(unescape(fields.at(4)));
    const QList<QByteArray> device = fields.at(2).split(':');
    if (separator < 0 || separator + 2 >= fields.size() || device.size() != 2)
        return std::nullopt;
    MountTable::Mount mount;
    mount.mountPoint = QFile::decodeName(point);
    mount.root = QFile::decodeName(withoutTrailingSlash(unescape(fields.at(3))));
    mount.type = QString::fromUtf8(unescape(fields.at(separator + 1)));
    mount.source = QFile::decodeName(unescape(fields.at(separator + 2)));
    mount.major = device.at(0).toUInt();
    mount.minor = device.at(1).toUInt();
    return mount;
}

bool holds(const QString &mountPoint, const QString &path)
{
    if (mountPoint == u"/")
        return path.startsWith(u'/');
    return path == mountPoint || (path.startsWith(mountPoint) && path.at(mountPoint.size()) == u'/');
}

} // namespace

MountTable MountTable::current()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Proc files report no size; read until the end.
    return fromText(file.readAll());
}

MountTable MountTable::fromText(const QByteArray &mountinfo)
{
    MountTable table;
    for (const QByteArray &line : mountinfo.split('\n')) {
        QByteArray point;
        const std::optional<Mount> mount = parseLine(line, point);
        // Even a line too short to describe its file system names a mount
        // point a scan must not enter.
        if (!point.isEmpty())
            table.m_points.insert(point);
        if (mount)
            table.m_mounts.append(*mount);
    }
    return table;
}

std::optional<MountTable::Mount> MountTable::mountHolding(const QString &absolutePath) const
{
    std::optional<Mount> best;
    for (const Mount &mount : m_mounts) {
        if (holds(mount.mountPoint, absolutePath) &&
            (!best || mount.mountPoint.size() >= best->mountPoint.size()))
            best = mount;
    }
    return best;
}
