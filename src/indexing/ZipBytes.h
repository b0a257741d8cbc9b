#pragma once

#include <QByteArray>

// Little-endian fields of ZIP records, read from bytes whose length the
// caller has checked.
namespace ZipBytes {

constexpr quint32 LocalHeaderSignature = 0x04034B50;
constexpr quint32 CentralHeaderSignature = 0x02014B50;
constexpr quint32 EndOfCentralSignature = 0x06054B50;
constexpr quint32 Zip64EndSignature = 0x06064B50;
constexpr quint32 Zip64LocatorSignature = 0x07064B50;
// A 32-bit size or offset of this value means "see the ZIP64 extra field".
constexpr quint32 Zip64Marker = 0xFFFFFFFF;
// General-purpose flag bit 3: sizes follow the data in a data descriptor.
constexpr quint16 DataDescriptorFlag = 0x0008;

inline quint16 le16(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return quint16(b[0] | (b[1] << 8));
}

inline quint32 le32(const char *p)
{
    return quint32(le16(p)) | (quint32(le16(p + 2)) << 16);
}

inline quint64 le64(const char *p)
{
    return quint64(le32(p)) | (quint64(le32(p + 4)) << 32);
}

// The index-th 64-bit value of the ZIP64 extended information block of an
// extra field, or false when the block is missing or too short.
bool zip64Value(const QByteArray &extra, int index, quint64 &value);

} // namespace ZipBytes
