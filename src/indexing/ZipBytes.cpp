#include "indexing/ZipBytes.h"

namespace ZipBytes {

bool zip64Value(const QByteArray &extra, int index, quint64 &value)
{
    constexpr quint16 Zip64ExtraId = 0x0001;
    qsizetype at = 0;
    while (at + 4 <= extra.size()) {
        const quint16 id = le16(extra.constData() + at);
        const quint16 length = le16(extra.constData() + at + 2);
        const qsizetype data = at + 4;
        if (data + length > extra.size())
            return false;
        if (id == Zip64ExtraId) {
            const qsizetype field = data + qsizetype(index) * 8;
            if (index < 0 || field + 8 > data + length)
                return false;
            value = le64(extra.constData() + field);
            return true;
        }
        at = data + length;
    }
    return false;
}

} // namespace ZipBytes
