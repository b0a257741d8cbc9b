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
//
// A row may end in a tail shared by many rows and held once: search
// results are catalog lines, each followed by its catalog's quoted name,
// and ten million of them would otherwise repeat a few hundred names.
// Such a row's line is its own bytes (its head) followed by the tail.
class Utf8Rows
{
public:
    qsizetype size() const { return qsizetype(m_rows.size()); }
    // Row i's line whole: its head alone when it has no tail, else head
    // and tail put together in scratch.
    QByteArrayView line(qsizetype i, QByteArray &scratch) const;
    QString line(qsizetype i) const;
    QByteArrayView head(qsizetype i) const { return headOf(m_rows[size_t(i)]); }
    // Empty for a row without a tail.
    QByteArrayView tail(qsizetype i) const;
    // Bytes of row i's line that lie within its head or within its tail,
    // as views that stay valid while the rows are not changed.
    bool isInOnePart(qsizetype i, qsizetype start, qsizetype length) const;
    QByteArrayView part(qsizetype i, qsizetype start, qsizetype length) const;

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
    // For building rows from bytes held elsewhere: a tail's number, then
    // rows of bytes that stay where they are, and the blocks that hold
    // them, which are kept and freed with the rows.
    int addTail(QByteArray tail);
    void appendHeld(QByteArrayView head, int tail);
    void holdBlocks(std::vector<std::unique_ptr<char[]>> &&blocks);

    void set(qsizetype i, QStringView line);
    // New rows are empty.
    void resize(qsizetype count);
    void remove(qsizetype first, qsizetype count);
    // Every row empty; the count stays.
    void clearLines();
    // Element i of order is the old index of the row that moves to i.
    void reorder(const std::vector<int> &order);

private:
    // A row's size holds its tail's number (1 up; 0 for none) in its top
    // bits, so a row with a tail costs no more than one without.
    using Row = SortedLineList::Line;
    static constexpr int kTailShift = 40;
    static constexpr qsizetype kSizeMask = (qsizetype(1) << kTailShift) - 1;
    static QByteArrayView headOf(const Row &row) { return QByteArrayView(row.data, row.size & kSizeMask); }
    static qsizetype tailNumber(const Row &row) { return row.size >> kTailShift; }
    static Row withTail(Row row, qsizetype tail) { return Row{row.data, row.size | (tail << kTailShift)}; }

    Row store(QStringView line);
    Row store(QByteArrayView line);
    // Room for size bytes in the block being filled.
    char *room(qsizetype size);
    void startBlock(qsizetype size);
    void compactIfWasteful();
    void forget(const Row &row) { m_unused += headOf(row).size(); }

    std::vector<std::unique_ptr<char[]>> m_blocks;
    // Long lines of an adopted list, each held whole.
    std::vector<QByteArray> m_takenLines;
    // Tail n is m_tails[n - 1].
    std::vector<QByteArray> m_tails;
    char *m_free = nullptr;
    qsizetype m_freeSize = 0;
    // Bytes stored, live or not.
    qint64 m_size = 0;
    std::vector<Row> m_rows;
    qint64 m_unused = 0;
};
