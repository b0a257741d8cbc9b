#pragma once

#include <QHash>
#include <QList>

class QIODevice;

// What an archive's central directory says about its members: the true
// compressed size of each member by the offset of its local header. The
// local-header walk asks it for members whose local headers leave their sizes
// to a data descriptor or to ZIP64 fields.
class ZipCentralDirectory
{
public:
    // Reads the directory of an open archive. An archive whose directory is
    // missing or damaged gives an empty one; the device position is undefined
    // afterwards.
    static ZipCentralDirectory read(QIODevice &archive);

    bool isEmpty() const { return m_sizes.isEmpty(); }
    // -1 when the directory lists no member at that offset.
    qint64 compressedSizeAt(qint64 localHeaderOffset) const;
    // The nearest local header or the directory itself at or after the
    // position; -1 when there is none.
    qint64 nextRecordAt(qint64 position) const;

private:
    void readEntries(QIODevice &archive, qint64 start, qint64 length, qint64 shift);

    QHash<qint64, qint64> m_sizes;
    QList<qint64> m_recordStarts; // sorted
};
