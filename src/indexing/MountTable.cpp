#include "MountTable.h"

#include <QFile>
#include <QList>

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

} // namespace

MountTable MountTable::current()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Proc files report no size; read until the end.
    return parse(file.readAll());
}

MountTable MountTable::parse(const QByteArray &mountinfo)
{
    MountTable table;
    for (const QByteArray &line : mountinfo.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5)
            continue;
        QByteArray point = unescape(fields.at(4));
        while (point.size() > 1 && point.endsWith('/'))
            point.chop(1);
        table.m_points.insert(point);
    }
    return table;
}
