#include "TextExport.h"

#include "TableRules.h"

#include "library/TextFile.h"

#include <QList>
#include <QStringList>

namespace {

bool hasLineBreak(QStringView text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

// The lines of a cell; an empty cell is one empty line.
QStringList cellLines(const QString &text)
{
    if (!hasLineBreak(text))
        return {text};
    QStringList lines = TextFile::splitLines(text);
    if (lines.isEmpty())
        lines.append(QString());
    return lines;
}

QList<int> columnWidths(const TableCells &table)
{
    QList<int> widths(table.columnCount(), 0);
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < widths.size(); ++column)
            widths[column] = qMax(widths[column], TextExport::width(table.cell(column, row)));
    }
    return widths;
}

// Appends one table row, as one line or more, each ended by CR LF.
void appendRow(const TableCells &table, int row, const QList<int> &widths, QString &out)
{
    const int columns = int(widths.size());
    QList<QStringList> cells;
    cells.reserve(columns);
    qsizetype height = 1;
    for (int column = 0; column < columns; ++column) {
        cells.append(cellLines(table.cell(column, row)));
        height = qMax(height, cells.last().size());
    }
    for (qsizetype line = 0; line < height; ++line) {
        for (int column = 0; column < columns; ++column) {
            const QStringList &parts = cells.at(column);
            const QString text = line < parts.size() ? parts.at(line) : QString();
            out += TextExport::aligned(text, widths.at(column), TableRules::alignment(columns, column, row));
        }
        out += QLatin1String("\r\n");
    }
}

} // namespace

namespace TextExport {

int length(QStringView text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool secondHalf = text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate();
        if (!secondHalf)
            ++n;
    }
    return n;
}

int width(QStringView text)
{
    if (!hasLineBreak(text))
        return length(text);
    int widest = 0;
    for (const QString &line : TextFile::splitLines(text))
        widest = qMax(widest, length(line));
    return widest;
}

QString aligned(QStringView text, int width, Qt::Alignment alignment)
{
    const int n = length(text);
    const int missing = qMax(0, width - n);
    const QString body = text.toString();
    if (alignment & Qt::AlignRight)
        return QString(missing, u' ') + body + u' ';
    if (alignment & Qt::AlignHCenter) {
        // A space on both sides at a time, so an odd shortfall overshoots
        // by one and that column's separating space is dropped instead.
        const int sides = (missing + 1) / 2;
        const QString pad(sides, u' ');
        const QString centred = pad + body + pad;
        return n + 2 * sides == width ? centred + u' ' : centred;
    }
    return body + QString(missing + 1, u' ');
}

QByteArray formatted(const TableCells &table)
{
    const QList<int> widths = columnWidths(table);
    // Encoded in pieces so a large table never holds its whole text twice.
    QByteArray bytes;
    QString piece;
    for (int row = 0; row < table.rowCount(); ++row) {
        appendRow(table, row, widths, piece);
        if (piece.size() >= (1 << 19)) {
            bytes += piece.toUtf8();
            piece.clear();
        }
    }
    bytes += piece.toUtf8();
    return bytes;
}

} // namespace TextExport
