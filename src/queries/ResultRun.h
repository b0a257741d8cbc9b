#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <vector>

class ResultOrder;

// The result lines one catalog gave a search, held compactly: the lines'
// bytes in a few blocks, eight bytes of place each, and the comma and
// quoted catalog name that end every one of them held once. Sorted and
// without repeats once finish() is called, in the order of the sorted line
// lists.
class ResultRun
{
public:
    ResultRun() = default;
    // tail: a comma and the quoted catalog name.
    explicit ResultRun(QByteArray tail);

    // A result line up to its catalog name.
    void add(QByteArrayView head);
    void clear();
    // Sorts the lines, drops exact repeats and gives back spare room.
    void finish(ResultOrder &order);

    qsizetype count() const { return qsizetype(m_places.size()); }
    QByteArrayView head(qsizetype i) const;
    QByteArrayView tail() const { return m_tail; }
    // Line i whole, written to out (emptied first).
    void lineAt(qsizetype i, QByteArray &out) const;
    // The blocks that hold the lines, for a holder that keeps views of
    // them instead of copying; the run is left empty.
    std::vector<std::unique_ptr<char[]>> takeBlocks();

private:
    // Blocks grow as the run does and never move, so a huge run is never
    // copied whole to grow; a line never straddles two.
    struct Block {
        std::unique_ptr<char[]> bytes;
        qsizetype size = 0;
        qsizetype used = 0;
    };

    void startBlock(qsizetype atLeast);
    void trimLastBlock();
    bool isSorted(ResultOrder &order) const;
    void sortAndDropRepeats(ResultOrder &order);

    QByteArray m_tail;
    std::vector<Block> m_blocks;
    // A line's block in the top bits, its start there in the rest; it ends
    // where the next line of its block begins, or at the block's end.
    std::vector<quint64> m_places;
};
