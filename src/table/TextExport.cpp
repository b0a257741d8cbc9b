#include "TextExport.h"

#include "TableRules.h"

#include "library/ControlPictures.h"
#include "library/DisplayWidth.h"
#include "library/TextFile.h"

#include <QList>
#include <QStringList>

#include <algorithm>

namespace {

constexpr qsizetype kPieceSize = 1 << 19;

bool hasLineBreak(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c == u'\n' || c == u'\r'; });
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

// A row's cells as the file shows them: controls as their pictures, line
// breaks left for the layout.
void readVisibleRow(const TableCells &table, int row, QStringList &cells)
{
    table.readRow(row, cells);
    for (QString &text : cells)
        text = ControlPictures::visible(text, ControlPictures::LineBreaks::Kept);
}

QList<int> columnWidths(const TableCells &table)
{
    QList<int> widths(table.columnCount(), 0);
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row) {
        readVisibleRow(table, row, cells);
        for (int column = 0; column < widths.size(); ++column)
            widths[column] = qMax(widths[column], TextExport::width(cells.at(column)));
    }
    return widths;
}

void appendSpaces(QString &out, int count)
{
    if (count > 0)
        out.resize(out.size() + count, u' ');
}

// Appends one table row, as one line or more, each ended by CR LF.
void appendRow(const QStringList &cells, int row, const QList<int> &widths, QString &out)
{
    const int columns = int(widths.size());
    const bool multiLine =
        std::any_of(cells.cbegin(), cells.cend(), [](const QString &text) { return hasLineBreak(text); });
    if (!multiLine) {
        for (int column = 0; column < columns; ++column) {
            TextExport::appendAligned(out, cells.at(column), widths.at(column),
                                      TableRules::alignment(columns, column, row));
        }
        out += QLatin1String("\r\n");
        return;
    }
    QList<QStringList> lines;
    qsizetype height = 1;
    for (const QString &text : cells) {
        lines.append(cellLines(text));
        height = qMax(height, lines.last().size());
    }
    for (qsizetype line = 0; line < height; ++line) {
        for (int column = 0; column < columns; ++column) {
            const QStringList &parts = lines.at(column);
            TextExport::appendAligned(out, line < parts.size() ? QStringView(parts.at(line)) : QStringView(),
                                      widths.at(column), TableRules::alignment(columns, column, row));
        }
        out += QLatin1String("\r\n");
    }
}

} // namespace

namespace TextExport {

int length(QStringView text)
{
    return DisplayWidth::of(text);
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

void appendAligned(QString &out, QStringView text, int width, Qt::Alignment alignment)
{
    const int n = length(text);
    const int missing = qMax(0, width - n);
    if (alignment & Qt::AlignRight) {
        appendSpaces(out, missing);
        out += text;
        out += u' ';
    } else if (alignment & Qt::AlignHCenter) {
        // A space on both sides at a time, so an odd shortfall overshoots
        // by one and that column's separating space is dropped instead.
        const int sides = (missing + 1) / 2;
        appendSpaces(out, sides);
        out += text;
        appendSpaces(out, sides + (n + 2 * sides == width ? 1 : 0));
    } else {
        out += text;
        appendSpaces(out, missing + 1);
    }
}

bool write(const TableCells &table, const ByteSink &sink)
{
    const QList<int> widths = columnWidths(table);
    QString piece;
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row) {
        readVisibleRow(table, row, cells);
        appendRow(cells, row, widths, piece);
        if (piece.size() >= kPieceSize) {
            if (!sink(piece.toUtf8()))
                return false;
            piece.truncate(0); // keeps the buffer for the next piece
        }
    }
    return piece.isEmpty() || sink(piece.toUtf8());
}

QByteArray formatted(const TableCells &table)
{
    QByteArray bytes;
    write(table, [&bytes](const QByteArray &piece) {
        bytes += piece;
        return true;
    });
    return bytes;
}

} // namespace TextExport
