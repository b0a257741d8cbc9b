#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

class ResultOrder;

// The result lines one catalog gave a search, held compactly: the lines'
// bytes in one block, an offset each, and the comma and quoted catalog name
// that end every one of them held once. Sorted and without repeats once
// finish() is called, in the order of the sorted line lists.
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

    qsizetype count() const { return qsizetype(m_starts.size()); }
    QByteArrayView head(qsizetype i) const;
    QByteArrayView tail() const { return m_tail; }
    // Bytes held for the lines, without the name they share.
    qsizetype headBytes() const { return qsizetype(m_bytes.size()); }
    // Line i whole, written to out (emptied first).
    void lineAt(qsizetype i, QByteArray &out) const;

private:
    bool isSorted(ResultOrder &order) const;
    void sortAndDropRepeats(ResultOrder &order);

    QByteArray m_tail;
    std::vector<char> m_bytes;
    std::vector<qsizetype> m_starts; // a line ends where the next begins
};
