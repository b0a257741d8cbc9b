#include "Utf8Rows.h"

#include <QStringEncoder>

#include <cstdint>
#include <cstring>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

// Filling a fresh buffer page by page is dominated by page faults; large
// pages cut them by a factor of 512. The hint is only advice: without it
// the buffer works the same.
void preferLargePages(char *data, qsizetype size)
{
#ifdef __linux__
    constexpr uintptr_t kPage = 4096;
    if (size < (qsizetype(4) << 20))
        return;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + uintptr_t(size)) & ~(kPage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

} // namespace

qsizetype Utf8Rows::utf8Length(QStringView text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            n += 1;
        else if (c < 0x800)
            n += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            n += 4, ++i;
        else
            n += 3; // a lone surrogate becomes the replacement character
    }
    return n;
}

QByteArrayView Utf8Rows::tail(qsizetype i) const
{
    const qsizetype tail = tailNumber(m_rows[size_t(i)]);
    return tail == 0 ? QByteArrayView() : QByteArrayView(m_tails[size_t(tail - 1)]);
}

QByteArrayView Utf8Rows::line(qsizetype i, QByteArray &scratch) const
{
    const QByteArrayView end = tail(i);
    if (end.isEmpty())
        return head(i);
    scratch.resize(0);
    scratch.append(head(i)).append(end);
    return scratch;
}

QString Utf8Rows::line(qsizetype i) const
{
    QByteArray scratch;
    return QString::fromUtf8(line(i, scratch));
}

bool Utf8Rows::isInOnePart(qsizetype i, qsizetype start, qsizetype length) const
{
    const qsizetype headSize = head(i).size();
    return start >= headSize || start + length <= headSize;
}

QByteArrayView Utf8Rows::part(qsizetype i, qsizetype start, qsizetype length) const
{
    const QByteArrayView own = head(i);
    if (start + length <= own.size())
        return own.sliced(start, length);
    return tail(i).sliced(start - own.size(), length);
}

void Utf8Rows::startBlock(qsizetype size)
{
    m_blocks.emplace_back(new char[size_t(size)]); // not zeroed: every byte is written before use
    m_free = m_blocks.back().get();
    m_freeSize = size;
    preferLargePages(m_free, size);
}

char *Utf8Rows::room(qsizetype size)
{
    // A block of at least an eighth of what is held: edits one by one
    // allocate rarely, and little is left unused at a block's end.
    if (size > m_freeSize)
        startBlock(qMax(size, qMax<qsizetype>(64 * 1024, m_size / 8)));
    char *at = m_free;
    m_free += size;
    m_freeSize -= size;
    m_size += size;
    return at;
}

void Utf8Rows::reserveBytes(qsizetype bytes)
{
    if (bytes > m_freeSize)
        startBlock(bytes);
}

void Utf8Rows::reserveRows(qsizetype count)
{
    m_rows.reserve(size_t(count));
}

void Utf8Rows::append(QStringView line)
{
    m_rows.push_back(store(line));
}

void Utf8Rows::append(QByteArrayView line)
{
    m_rows.push_back(store(line));
}

void Utf8Rows::adopt(SortedLineList::Storage &&storage)
{
    m_blocks = std::move(storage.blocks);
    m_takenLines = std::move(storage.takenLines);
    m_tails.clear();
    m_rows = std::move(storage.lines);
    m_free = nullptr;
    m_freeSize = 0;
    m_size = 0;
    for (const Row &row : m_rows)
        m_size += headOf(row).size();
    m_unused = 0;
}

int Utf8Rows::addTail(QByteArray tail)
{
    // The numbers must fit above the size bits; past that, 0 says the
    // caller has to store whole lines.
    constexpr size_t kMostTails = (size_t(1) << (63 - kTailShift)) - 1;
    if (m_tails.size() >= kMostTails)
        return 0;
    m_tails.push_back(std::move(tail));
    return int(m_tails.size());
}

void Utf8Rows::appendHeld(QByteArrayView head, int tail)
{
    m_rows.push_back(withTail(Row{head.data(), head.size()}, tail));
    m_size += head.size();
}

void Utf8Rows::holdBlocks(std::vector<std::unique_ptr<char[]>> &&blocks)
{
    for (std::unique_ptr<char[]> &block : blocks)
        m_blocks.push_back(std::move(block));
}

Utf8Rows::Row Utf8Rows::store(QByteArrayView line)
{
    if (line.isEmpty())
        return Row{nullptr, 0};
    char *at = room(line.size());
    std::memcpy(at, line.data(), size_t(line.size()));
    return Row{at, line.size()};
}

Utf8Rows::Row Utf8Rows::store(QStringView line)
{
    if (line.isEmpty())
        return Row{nullptr, 0};
    // Stateless: a lone surrogate at the end of one line must not reach into the next.
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    // The exact size, so a block reserved for all lines is never left.
    const qsizetype length = utf8Length(line);
    char *at = room(length);
    encoder.appendToBuffer(at, line);
    return Row{at, length};
}

void Utf8Rows::set(qsizetype i, QStringView line)
{
    forget(m_rows[size_t(i)]);
    m_rows[size_t(i)] = store(line);
    compactIfWasteful();
}

void Utf8Rows::resize(qsizetype count)
{
    for (size_t i = size_t(count); i < m_rows.size(); ++i)
        forget(m_rows[i]);
    m_rows.resize(size_t(count), Row{nullptr, 0});
    compactIfWasteful();
}

void Utf8Rows::remove(qsizetype first, qsizetype count)
{
    const auto from = m_rows.begin() + first;
    for (auto it = from; it != from + count; ++it)
        forget(*it);
    m_rows.erase(from, from + count);
    compactIfWasteful();
}

void Utf8Rows::clearLines()
{
    for (Row &row : m_rows)
        row = Row{nullptr, 0};
    m_blocks.clear();
    m_takenLines.clear();
    m_tails.clear();
    m_free = nullptr;
    m_freeSize = 0;
    m_size = 0;
    m_unused = 0;
}

void Utf8Rows::reorder(const std::vector<int> &order)
{
    std::vector<Row> rows;
    rows.reserve(order.size());
    for (int from : order)
        rows.push_back(m_rows[size_t(from)]);
    m_rows.swap(rows);
}

void Utf8Rows::compactIfWasteful()
{
    // Halving keeps the cost of edits proportional to the bytes they free.
    if (m_unused <= m_size / 2)
        return;
    Utf8Rows kept;
    kept.reserveBytes(m_size - m_unused);
    for (Row &row : m_rows)
        row = withTail(kept.store(headOf(row)), tailNumber(row));
    m_blocks.swap(kept.m_blocks);
    m_takenLines.swap(kept.m_takenLines);
    std::swap(m_free, kept.m_free);
    std::swap(m_freeSize, kept.m_freeSize);
    std::swap(m_size, kept.m_size);
    m_unused = 0;
}
