#pragma once

#include "ResultOrder.h"

#include <QByteArrayView>

#include <vector>

class ResultRun;

// Walks the lines of many sorted runs as one sorted list, without putting
// them into one: a tree of the runs' current lines, where each step costs
// about log2(runs) comparisons. A line equal to the one before is passed
// over, as the sorted line lists drop it.
class ResultMerge
{
public:
    explicit ResultMerge(const std::vector<ResultRun> &runs);

    // The next line, as its run and its place there; false after the last.
    bool next(const ResultRun *&run, qsizetype &index);

private:
    bool isEmpty(int run) const;
    QByteArrayView headOf(int run) const;
    // Whether run a's current line comes before run b's; a spent run comes
    // last.
    bool before(int a, int b);
    int playFrom(int node);
    bool sameAsLast(int run) const;

    const std::vector<ResultRun> &m_runs;
    std::vector<qsizetype> m_next; // each run's current line
    // Heap order: node n's children are 2n and 2n + 1, run r is leaf
    // runs + r; each inner node keeps the loser of its match, m_tree[0] the
    // winner.
    std::vector<int> m_tree;
    ResultOrder m_order;
    int m_lastRun = -1;
    qsizetype m_lastIndex = 0;
};
