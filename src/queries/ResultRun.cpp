#include "ResultRun.h"

#include "ResultOrder.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>

namespace {

constexpr qsizetype kFirstBlock = 16 * 1024;
constexpr qsizetype kLargestBlock = 4 * 1024 * 1024;
constexpr int kStartBits = 40;
constexpr quint64 kStartMask = (quint64(1) << kStartBits) - 1;

} // namespace

ResultRun::ResultRun(QByteArray tail) : m_tail(std::move(tail))
{}

void ResultRun::startBlock(qsizetype atLeast)
{
    const qsizetype turn = m_blocks.empty() ? kFirstBlock : qMin(2 * m_blocks.back().size, kLargestBlock);
    Block block;
    block.size = qMax(turn, atLeast);
    block.bytes.reset(new char[size_t(block.size)]); // not zeroed: only written bytes are read
    m_blocks.push_back(std::move(block));
}

void ResultRun::add(QByteArrayView head)
{
    if (m_blocks.empty() || m_blocks.back().size - m_blocks.back().used < head.size())
        startBlock(head.size());
    Block &block = m_blocks.back();
    if (!head.isEmpty())
        std::memcpy(block.bytes.get() + block.used, head.data(), size_t(head.size()));
    m_places.push_back((quint64(m_blocks.size() - 1) << kStartBits) | quint64(block.used));
    block.used += head.size();
}

void ResultRun::clear()
{
    std::vector<Block>().swap(m_blocks);
    std::vector<quint64>().swap(m_places);
}

QByteArrayView ResultRun::head(qsizetype i) const
{
    const quint64 place = m_places[size_t(i)];
    const size_t blockIndex = size_t(place >> kStartBits);
    const qsizetype start = qsizetype(place & kStartMask);
    const Block &block = m_blocks[blockIndex];
    qsizetype end = block.used;
    if (size_t(i) + 1 < m_places.size() && size_t(m_places[size_t(i) + 1] >> kStartBits) == blockIndex)
        end = qsizetype(m_places[size_t(i) + 1] & kStartMask);
    return QByteArrayView(block.bytes.get() + start, end - start);
}

void ResultRun::lineAt(qsizetype i, QByteArray &out) const
{
    out.resize(0);
    out.append(head(i)).append(m_tail);
}

std::vector<std::unique_ptr<char[]>> ResultRun::takeBlocks()
{
    std::vector<std::unique_ptr<char[]>> blocks;
    blocks.reserve(m_blocks.size());
    for (Block &block : m_blocks)
        blocks.push_back(std::move(block.bytes));
    clear();
    return blocks;
}

// The last block is cut to what it holds; those before it are full but for
// less than a line.
void ResultRun::trimLastBlock()
{
    if (m_blocks.empty() || m_blocks.back().used == m_blocks.back().size)
        return;
    Block &block = m_blocks.back();
    std::unique_ptr<char[]> trimmed(new char[size_t(qMax<qsizetype>(block.used, 1))]);
    std::memcpy(trimmed.get(), block.bytes.get(), size_t(block.used));
    block.bytes = std::move(trimmed);
    block.size = block.used;
}

void ResultRun::finish(ResultOrder &order)
{
    // Catalog files are stored sorted, so their hits usually come in order
    // and without repeats.
    if (!isSorted(order))
        sortAndDropRepeats(order);
    trimLastBlock();
    m_places.shrink_to_fit();
}

// Strictly ascending: no line equal to the one before.
bool ResultRun::isSorted(ResultOrder &order) const
{
    for (qsizetype i = 1; i < count(); ++i) {
        if (order.compare(head(i - 1), m_tail, head(i), m_tail) >= 0)
            return false;
    }
    return true;
}

void ResultRun::sortAndDropRepeats(ResultOrder &order)
{
    std::vector<qsizetype> byOrder(m_places.size());
    std::iota(byOrder.begin(), byOrder.end(), 0);
    std::stable_sort(byOrder.begin(), byOrder.end(), [&](qsizetype a, qsizetype b) {
        return order.compare(head(a), m_tail, head(b), m_tail) < 0;
    });
    ResultRun sorted(m_tail);
    sorted.m_places.reserve(m_places.size());
    QByteArrayView previous;
    for (qsizetype i : byOrder) {
        const QByteArrayView line = head(i);
        if (sorted.count() > 0 && line == previous)
            continue;
        sorted.add(line);
        previous = line;
    }
    *this = std::move(sorted);
}
