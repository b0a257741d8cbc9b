#include "Utf8Rows.h"

#include <QStringEncoder>

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
    return QByteArrayView(m_bytes.constData() + row.offset, row.length);
}

QString Utf8Rows::line(qsizetype i) const
{
    return QString::fromUtf8(at(i));
}

void Utf8Rows::reserveBytes(qsizetype bytes)
{
    m_bytes.reserve(m_bytes.size() + bytes);
}

void Utf8Rows::append(QStringView line)
{
    m_rows.push_back(store(line));
}

Utf8Rows::Row Utf8Rows::store(QStringView line)
{
    if (line.isEmpty())
        return Row();
    // Stateless: a lone surrogate at the end of one line must not reach into the next.
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const qsizetype offset = m_bytes.size();
    // The exact size, so a buffer reserved for all lines never grows past it.
    const qsizetype length = utf8Length(line);
    if (m_bytes.capacity() < offset + length)
        m_bytes.reserve(qMax(offset + length, m_bytes.capacity() + m_bytes.capacity() / 2));
    m_bytes.resize(offset + length);
    encoder.appendToBuffer(m_bytes.data() + offset, line);
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
    m_bytes = QByteArray();
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
    if (m_unused <= m_bytes.size() / 2)
        return;
    QByteArray bytes;
    bytes.reserve(m_bytes.size() - m_unused);
    for (Row &row : m_rows) {
        const qint64 offset = bytes.size();
        bytes.append(m_bytes.constData() + row.offset, row.length);
        row.offset = row.length > 0 ? offset : 0;
    }
    m_bytes.swap(bytes);
    m_unused = 0;
}
