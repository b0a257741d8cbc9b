#include "ResultMerge.h"

#include "ResultRun.h"

ResultMerge::ResultMerge(const std::vector<ResultRun> &runs)
    : m_runs(runs), m_next(runs.size(), 0), m_tree(runs.size() > 0 ? runs.size() : 1, -1)
{
    if (!runs.empty())
        m_tree[0] = playFrom(1);
}

bool ResultMerge::isEmpty(int run) const
{
    return m_next[size_t(run)] >= m_runs[size_t(run)].count();
}

QByteArrayView ResultMerge::headOf(int run) const
{
    return m_runs[size_t(run)].head(m_next[size_t(run)]);
}

bool ResultMerge::before(int a, int b)
{
    if (isEmpty(a))
        return false;
    if (isEmpty(b))
        return true;
    const ResultRun &x = m_runs[size_t(a)];
    const ResultRun &y = m_runs[size_t(b)];
    const int c = m_order.compare(headOf(a), x.tail(), headOf(b), y.tail());
    return c < 0 || (c == 0 && a < b);
}

// Plays the matches below node; returns their winner and leaves each
// match's loser in its node.
int ResultMerge::playFrom(int node)
{
    const int runs = int(m_runs.size());
    if (node >= runs)
        return node - runs;
    const int left = playFrom(2 * node);
    const int right = playFrom(2 * node + 1);
    const bool leftWins = before(left, right);
    m_tree[size_t(node)] = leftWins ? right : left;
    return leftWins ? left : right;
}

bool ResultMerge::sameAsLast(int run) const
{
    return m_lastRun >= 0 && m_runs[size_t(run)].tail() == m_runs[size_t(m_lastRun)].tail() &&
           headOf(run) == m_runs[size_t(m_lastRun)].head(m_lastIndex);
}

bool ResultMerge::next(const ResultRun *&run, qsizetype &index)
{
    if (m_runs.empty())
        return false;
    const int runs = int(m_runs.size());
    for (;;) {
        int winner = m_tree[0];
        if (isEmpty(winner))
            return false;
        const bool repeat = sameAsLast(winner);
        if (!repeat) {
            m_lastRun = winner;
            m_lastIndex = m_next[size_t(winner)];
        }
        const int taken = winner;
        const qsizetype takenIndex = m_next[size_t(winner)]++;
        // Only the taken run's line changed: replay its matches up to the
        // top.
        for (int node = (winner + runs) / 2; node > 0; node /= 2) {
            if (before(m_tree[size_t(node)], winner))
                std::swap(m_tree[size_t(node)], winner);
        }
        m_tree[0] = winner;
        if (!repeat) {
            run = &m_runs[size_t(taken)];
            index = takenIndex;
            return true;
        }
    }
}
