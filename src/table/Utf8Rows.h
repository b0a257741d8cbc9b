#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdlib>
#include <memory>
#include <vector>

// Text lines kept as UTF-8 in one buffer, each row an offset and a length
// into it: a million rows cost their bytes plus 16 bytes each, with no
// string header per row. Reordering and removing rows move only the
// offsets; a changed row is appended and the old bytes are reclaimed once
// they outweigh the live ones.
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

    void set(qsizetype i, QStringView line);
    // New rows are empty.
    void resize(qsizetype count);
    void remove(qsizetype first, qsizetype count);
    // Every row empty; the count stays.
    void clearLines();
    // Element i of order is the old index of the row that moves to i.
    void reorder(const std::vector<int> &order);

private:
    struct Row {
        qint64 offset = 0;
        qint64 length = 0;
    };

    // Grown with realloc, which moves a large block by remapping its pages
    // instead of copying them, so growing never needs two buffers at once.
    struct FreeBytes {
        void operator()(char *p) const { std::free(p); }
    };

    Row store(QStringView line);
    Row store(QByteArrayView line);
    void reserveTotal(qsizetype bytes);
    void compactIfWasteful();

    std::unique_ptr<char, FreeBytes> m_bytes;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
    std::vector<Row> m_rows;
    qint64 m_unused = 0;
};
