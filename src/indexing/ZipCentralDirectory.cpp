#include "indexing/ZipCentralDirectory.h"

#include "indexing/ZipBytes.h"

#include <QIODevice>

#include <algorithm>

using namespace ZipBytes;

namespace {

constexpr qint64 EndRecordSize = 22;
constexpr qint64 MaxCommentLength = 0xFFFF;
constexpr qint64 LocatorSize = 20;
constexpr qint64 Zip64EndSize = 56;
constexpr qint64 CentralHeaderSize = 46;

QByteArray readAt(QIODevice &archive, qint64 position, qint64 length)
{
    if (position < 0 || length < 0 || !archive.seek(position))
        return {};
    return archive.read(length);
}

// Where the directory sits according to the end records.
struct DirectoryPlace {
    qint64 offset = 0; // as the end record states it
    qint64 size = 0;
    qint64 end = 0; // where the directory really ends: the record after it
};

// Reads the ZIP64 end record named by the locator before the classic end
// record; false when there is none.
bool readZip64End(QIODevice &archive, qint64 endRecordAt, DirectoryPlace &place)
{
    const QByteArray locator = readAt(archive, endRecordAt - LocatorSize, LocatorSize);
    if (locator.size() != LocatorSize || le32(locator.constData()) != Zip64LocatorSignature)
        return false;
    // The stated offset is wrong when data precede the archive; the record
    // then normally sits right before the locator.
    const quint64 stated = le64(locator.constData() + 8);
    const qint64 candidates[] = {stated < quint64(endRecordAt) ? qint64(stated) : -1,
                                 endRecordAt - LocatorSize - Zip64EndSize};
    for (const qint64 at : candidates) {
        const QByteArray record = readAt(archive, at, Zip64EndSize);
        if (record.size() == Zip64EndSize && le32(record.constData()) == Zip64EndSignature) {
            const quint64 size = le64(record.constData() + 40);
            const quint64 offset = le64(record.constData() + 48);
            if (size > quint64(at) || offset > quint64(at))
                return false;
            place = {qint64(offset), qint64(size), at};
            return true;
        }
    }
    return false;
}

} // namespace

ZipCentralDirectory ZipCentralDirectory::read(QIODevice &archive)
{
    ZipCentralDirectory directory;
    const qint64 fileSize = archive.size();
    const qint64 tailLength = std::min(fileSize, EndRecordSize + MaxCommentLength);
    const qint64 tailStart = fileSize - tailLength;
    const QByteArray tail = readAt(archive, tailStart, tailLength);
    if (tail.size() != tailLength)
        return directory;

    // The end record closest to the file's end whose numbers fit the file.
    for (qint64 i = tailLength - EndRecordSize; i >= 0; --i) {
        const char *record = tail.constData() + i;
        if (le32(record) != EndOfCentralSignature)
            continue;
        const qint64 at = tailStart + i;
        if (i + EndRecordSize + le16(record + 20) > tailLength)
            continue;
        DirectoryPlace place{le32(record + 16), le32(record + 12), at};
        readZip64End(archive, at, place);
        // Data in front of the archive shift every stated offset.
        const qint64 shift = place.end - (place.offset + place.size);
        if (place.offset > place.end || place.size > place.end || shift < 0)
            continue;
        directory.readEntries(archive, place.offset + shift, place.size, shift);
        break;
    }
    return directory;
}

void ZipCentralDirectory::readEntries(QIODevice &archive, qint64 start, qint64 length, qint64 shift)
{
    if (!archive.seek(start))
        return;
    qint64 remaining = length;
    while (remaining >= CentralHeaderSize) {
        const QByteArray header = archive.read(CentralHeaderSize);
        if (header.size() != CentralHeaderSize || le32(header.constData()) != CentralHeaderSignature)
            break;
        const char *h = header.constData();
        const qint64 nameLength = le16(h + 28);
        const qint64 extraLength = le16(h + 30);
        const qint64 variable = nameLength + extraLength + le16(h + 32);
        if (variable > remaining - CentralHeaderSize)
            break;
        const QByteArray rest = archive.read(variable);
        if (rest.size() != variable)
            break;

        // ZIP64 values appear in this order, each only when its field is full.
        const QByteArray extra = rest.mid(nameLength, extraLength);
        quint64 compressed = le32(h + 20);
        quint64 offset = le32(h + 42);
        int index = 0;
        if (le32(h + 24) == Zip64Marker)
            ++index;
        if (compressed == Zip64Marker && zip64Value(extra, index, compressed))
            ++index;
        if (offset == Zip64Marker)
            zip64Value(extra, index, offset);

        if (offset < quint64(start - shift) && compressed < quint64(start)) {
            const qint64 local = qint64(offset) + shift;
            m_sizes.insert(local, qint64(compressed));
            m_recordStarts.append(local);
        }
        remaining -= CentralHeaderSize + variable;
    }
    m_recordStarts.append(start);
    std::sort(m_recordStarts.begin(), m_recordStarts.end());
}

qint64 ZipCentralDirectory::compressedSizeAt(qint64 localHeaderOffset) const
{
    return m_sizes.value(localHeaderOffset, -1);
}

qint64 ZipCentralDirectory::nextRecordAt(qint64 position) const
{
    const auto it = std::lower_bound(m_recordStarts.cbegin(), m_recordStarts.cend(), position);
    return it == m_recordStarts.cend() ? -1 : *it;
}
