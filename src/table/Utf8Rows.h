#pragma once

#include "library/SortedLineList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// Text lines kept as UTF-8 in a few large blocks that never move, each row
// a pointer and a length into them: a million rows cost their bytes plus
// 16 bytes each, with no string header per row. Reordering and removing
// rows move only the records; a changed row is stored anew and the old
// bytes are reclaimed once they outweigh the live ones. A line list's
// blocks and records can be taken over as they are, so a loaded catalog
// is never held twice.
class Utf8Rows
{
public:
    qsizetype size() const { return qsizetype(m_rows.size()); }
    QByteArrayView at(qsizetype i) const;
    QString line(qsizetype i) const;

    // For building: room for this many more bytes, then lines one by one.
    void reserveBytes(qsizetype bytes);
    void reserveRows(qsizetype count);
    void append(QStringView line);
    // A line that is already UTF-8.
    void append(QByteArrayView line);
    // The bytes a line takes here.
    static qsizetype utf8Length(QStringView text);
    // Replaces every row by the lines of storage, taking over its blocks
    // and records.
    void adopt(SortedLineList::Storage &&storage);

    void set(qsizetype i, QStringView line);
    // New rows are empty.
    void resize(qsizetype count);
    void remove(qsizetype first, qsizetype count);
    // Every row empty; the count stays.
    void clearLines();
    // Element i of order is the old index of the row that moves to i.
    void reorder(const std::vector<int> &order);

private:
    using Row = SortedLineList::Line;

    Row store(QStringView line);
    Row store(QByteArrayView line);
    // Room for size bytes in the block being filled.
    char *room(qsizetype size);
    void startBlock(qsizetype size);
    void compactIfWasteful();
    void forget(const Row &row) { m_unused += row.size; }

    std::vector<std::unique_ptr<char[]>> m_blocks;
    // Long lines of an adopted list, each held whole.
    std::vector<QByteArray> m_takenLines;
    char *m_free = nullptr;
    qsizetype m_freeSize = 0;
    // Bytes stored, live or not.
    qint64 m_size = 0;
    std::vector<Row> m_rows;
    qint64 m_unused = 0;
};
