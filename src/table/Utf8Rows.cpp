#include "Utf8Rows.h"

#include <QStringEncoder>

#include <cstdint>
#include <cstring>

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

QByteArrayView Utf8Rows::at(qsizetype i) const
{
    const Row &row = m_rows[size_t(i)];
    return QByteArrayView(m_bytes.get() + row.offset, row.length);
}

QString Utf8Rows::line(qsizetype i) const
{
    return QString::fromUtf8(at(i));
}

void Utf8Rows::reserveBytes(qsizetype bytes)
{
    reserveTotal(m_size + bytes);
}

void Utf8Rows::reserveTotal(qsizetype bytes)
{
    if (bytes <= m_capacity)
        return;
    char *grown = static_cast<char *>(std::realloc(m_bytes.get(), size_t(bytes)));
    if (!grown)
        qBadAlloc();
    m_bytes.release();
    m_bytes.reset(grown);
    m_capacity = bytes;
    preferLargePages(grown, bytes);
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

Utf8Rows::Row Utf8Rows::store(QByteArrayView line)
{
    if (line.isEmpty())
        return Row();
    const qsizetype offset = m_size;
    if (m_capacity < offset + line.size())
        reserveTotal(qMax(offset + line.size(), m_capacity + m_capacity / 2));
    std::memcpy(m_bytes.get() + offset, line.data(), size_t(line.size()));
    m_size += line.size();
    return Row{offset, line.size()};
}

Utf8Rows::Row Utf8Rows::store(QStringView line)
{
    if (line.isEmpty())
        return Row();
    // Stateless: a lone surrogate at the end of one line must not reach into the next.
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const qsizetype offset = m_size;
    // The exact size, so a buffer reserved for all lines never grows past it.
    const qsizetype length = utf8Length(line);
    if (m_capacity < offset + length)
        reserveTotal(qMax(offset + length, m_capacity + m_capacity / 2));
    encoder.appendToBuffer(m_bytes.get() + offset, line);
    m_size += length;
    return Row{offset, length};
}

void Utf8Rows::set(qsizetype i, QStringView line)
{
    m_unused += m_rows[size_t(i)].length;
    m_rows[size_t(i)] = store(line);
    compactIfWasteful();
}

void Utf8Rows::resize(qsizetype count)
{
    for (size_t i = size_t(count); i < m_rows.size(); ++i)
        m_unused += m_rows[i].length;
    m_rows.resize(size_t(count));
    compactIfWasteful();
}

void Utf8Rows::remove(qsizetype first, qsizetype count)
{
    const auto from = m_rows.begin() + first;
    for (auto it = from; it != from + count; ++it)
        m_unused += it->length;
    m_rows.erase(from, from + count);
    compactIfWasteful();
}

void Utf8Rows::clearLines()
{
    for (Row &row : m_rows)
        row = Row();
    m_bytes.reset();
    m_size = m_capacity = 0;
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
    kept.reserveTotal(m_size - m_unused);
    for (Row &row : m_rows) {
        const qint64 offset = kept.m_size;
        if (row.length > 0)
            std::memcpy(kept.m_bytes.get() + offset, m_bytes.get() + row.offset, size_t(row.length));
        kept.m_size += row.length;
        row.offset = row.length > 0 ? offset : 0;
    }
    m_bytes.swap(kept.m_bytes);
    std::swap(m_size, kept.m_size);
    std::swap(m_capacity, kept.m_capacity);
    m_unused = 0;
}
