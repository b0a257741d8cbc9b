#include "TablePrinter.h"

#include "CellStyle.h"
#include "PrintColumns.h"
#include "TableRules.h"

#include "library/ControlPictures.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Room between the header, the cells and the footer.
constexpr double kGap = 20;
constexpr double kLineWidth = 2;
constexpr double kRowPixels = 18;
constexpr double kDefaultPoints = 10;
constexpr double kTitlePoints = 12;

QFont defaultFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kDefaultPoints);
    return font;
}

QFont titleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kTitlePoints);
    font.setBold(true);
    return font;
}

QFont bold(QFont font)
{
    font.setBold(true);
    return font;
}

// The font made smaller when its lines are taller than tallest.
QFont noTallerThan(const QFont &font, double tallest)
{
    const double height = QFontMetricsF(font).height();
    if (height <= tallest)
        return font;
    QFont smaller(font);
    smaller.setPixelSize(std::max(1, int(font.pixelSize() * tallest / height)));
    return smaller;
}

QString oneLine(QString text)
{
    // \v is any vertical white space in these expressions.
    static const QRegularExpression lineBreaks(QStringLiteral("\\r\\n|\\v"));
    return text.replace(lineBreaks, QStringLiteral(" "));
}

bool fitsOnOneLine(const QString &text, const QFont &font, double width)
{
    return QFontMetricsF(font).horizontalAdvance(text) <= width;
}

// Lays the text out in lines no wider than width, breaking between words
// and inside a word longer than a line; text that fits stays on one line.
void layOutCell(QTextLayout &layout, double width, double lineHeight)
{
    QTextOption option = layout.textOption();
    option.setWrapMode(fitsOnOneLine(layout.text(), layout.font(), width)
                           ? QTextOption::NoWrap
                           : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, line.lineNumber() * lineHeight));
    }
    layout.endLayout();
}

int lineCount(const QString &text, const QFont &font, double width)
{
    if (text.isEmpty())
        return 0;
    if (fitsOnOneLine(text, font, width))
        return 1;
    QTextLayout layout(text, font);
    layOutCell(layout, width, 0);
    return layout.lineCount();
}

CellStyle styleOf(int columnCount, int row, const QString &pathCell)
{
    return CellStyle::of(TableRules::cellColour(columnCount, row, pathCell));
}

} // namespace

TablePrinter::TablePrinter(const TableCells &cells, const QList<int> &columnWidths,
                           const PrintOptions &options)
    : m_cells(cells), m_widths(columnWidths), m_options(options),
      m_font(pageFont(options.font.value_or(defaultFont()))), m_titleFont(pageFont(titleFont()))
{
    if (!m_options.printedAt.isValid())
        m_options.printedAt = QDateTime::currentDateTime();
}

QFont TablePrinter::pageFont(const QFont &font)
{
    QFont sized(font);
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    sized.setPixelSize(std::max(1, int(std::lround(points * kUnitsPerInch / 72.0))));
    return sized;
}

void TablePrinter::applyOrientation(QPagedPaintDevice &device, bool landscape)
{
    device.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

CellRegion TablePrinter::region() const
{
    CellRegion all{0, 0, m_cells.columnCount() - 1, m_cells.rowCount() - 1};
    if (!m_options.region)
        return all;
    const CellRegion &asked = *m_options.region;
    return {std::max(asked.left, all.left), std::max(asked.top, all.top), std::min(asked.right, all.right),
            std::min(asked.bottom, all.bottom)};
}

TablePrinter::Geometry TablePrinter::geometry(const QSizeF &page) const
{
    Geometry g;
    g.font = noTallerThan(m_font, page.height() * kTallestLineShare);
    g.boldFont = bold(g.font);
    g.lineHeight = std::max(QFontMetricsF(g.font).height(), QFontMetricsF(g.boldFont).height());
    g.cellMargin = std::max(kCellPadding, (kRowPixels * kUnitsPerPixel - g.lineHeight) / 2);
    g.room = page.width() - 2 * kSideMargin;
    const CellRegion r = region();
    if (r.left <= r.right)
        g.widths = PrintColumns::widths(m_cells, r, m_widths, {g.font, g.boldFont}, g.room);
    placeHeader(g, page);
    return g;
}

// The title, then the time and the date on one line when they fit side by
// side, on two lines when they do not.
void TablePrinter::placeHeader(Geometry &g, const QSizeF &page) const
{
    if (!m_options.title.isEmpty()) {
        const QFontMetricsF title(m_titleFont);
        g.title = title.elidedText(oneLine(m_options.title), Qt::ElideRight, page.width());
        g.titleHeight = title.height();
    }
    const QFontMetricsF text(g.font);
    const double both = kSideMargin + text.horizontalAdvance(timeText()) + kGap +
                        text.horizontalAdvance(dateText()) + kDateInset;
    g.dateBelowTime = m_options.time && m_options.date && both > page.width();
    const int stampLines = (m_options.time || m_options.date ? 1 : 0) + (g.dateBelowTime ? 1 : 0);
    g.headerHeight = g.titleHeight + stampLines * g.lineHeight;
    g.tableTop = g.headerHeight > 0 ? g.headerHeight + kGap : 0;
    g.tableBottom = page.height() - (m_options.pageNumbers ? g.lineHeight + kGap : 0);
}

QString TablePrinter::timeText() const
{
    return m_options.printedAt.toString(QStringLiteral("hh:mm"));
}

QString TablePrinter::dateText() const
{
    return m_options.printedAt.date().toString(m_options.dates.shortDate());
}

QList<TablePrinter::Block> TablePrinter::blocks(const Geometry &g) const
{
    const CellRegion r = region();
    QList<Block> result;
    if (r.left > r.right || r.top > r.bottom)
        return result;
    for (int first = r.left; first <= r.right;) {
        // Each page takes at least one column.
        int last = first;
        double width = g.widths.at(first);
        while (last < r.right && width + g.widths.at(last + 1) <= g.room)
            width += g.widths.at(++last);
        splitRows(g, first, last, result);
        first = last + 1;
    }
    return result;
}

// Rows go whole onto a page while they fit; a row taller than a page gets
// pages of its own, as many lines on each as a page holds.
void TablePrinter::splitRows(const Geometry &g, int firstColumn, int lastColumn, QList<Block> &result) const
{
    const CellRegion r = region();
    const double room = g.tableBottom - g.tableTop;
    const int linesPerPage = std::max(1, int((room - 2 * g.cellMargin) / g.lineHeight));
    QStringList cells;
    bool pageOpen = false;
    double used = 0;
    for (int row = r.top; row <= r.bottom; ++row) {
        readPrintedRow(row, cells);
        const int lines = std::max(1, rowLines(g, cells, row, firstColumn, lastColumn));
        if (lines > linesPerPage) {
            for (int line = 0; line < lines; line += linesPerPage)
                result.append({row, row, firstColumn, lastColumn, line, linesPerPage});
            pageOpen = false;
            continue;
        }
        const double height = lines * g.lineHeight + 2 * g.cellMargin;
        if (pageOpen && used + height <= room) {
            result.last().lastRow = row;
        } else {
            result.append({row, row, firstColumn, lastColumn});
            pageOpen = true;
            used = 0;
        }
        used += height;
    }
}

const QFont &TablePrinter::cellFont(const Geometry &g, int row, const QString &pathCell) const
{
    return styleOf(m_cells.columnCount(), row, pathCell).bold ? g.boldFont : g.font;
}

// The lines of the row's tallest cell among the columns given.
int TablePrinter::rowLines(const Geometry &g, const QStringList &cells, int row, int firstColumn,
                           int lastColumn) const
{
    const QFont &font = cellFont(g, row, cells.value(3));
    int lines = 0;
    for (int column = firstColumn; column <= lastColumn; ++column)
        lines = std::max(lines, lineCount(cells.value(column), font, g.widths.at(column) - 2 * kCellPadding));
    return lines;
}

int TablePrinter::pageCount(const QSizeF &page) const
{
    return std::max(1, int(blocks(geometry(page)).size()));
}

bool TablePrinter::print(QPagedPaintDevice &device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double sx = device.logicalDpiX() / kUnitsPerInch;
    const double sy = device.logicalDpiY() / kUnitsPerInch;
    painter.scale(sx, sy);
    const QSizeF page(device.width() / sx, device.height() / sy);
    const Geometry g = geometry(page);
    const QList<Block> all = blocks(g);
    drawDecorations(painter, page, g, 1);
    for (int i = 0; i < all.size(); ++i) {
        if (i > 0) {
            device.newPage();
            drawDecorations(painter, page, g, i + 1);
        }
        drawBlock(painter, page, g, all.at(i));
    }
    return painter.end();
}

void TablePrinter::drawDecorations(QPainter &painter, const QSizeF &page, const Geometry &g,
                                   int pageNumber) const
{
    painter.setPen(QPen(Qt::black, kLineWidth));
    if (!g.title.isEmpty()) {
        painter.setFont(m_titleFont);
        painter.drawText(QRectF(0, 0, page.width(), g.titleHeight), Qt::AlignLeft | Qt::AlignTop, g.title);
        painter.drawLine(QPointF(0, g.headerHeight), QPointF(page.width(), g.headerHeight));
    }
    painter.setFont(g.font);
    const QRectF stamps(0, g.titleHeight, page.width(), g.lineHeight);
    if (m_options.time)
        painter.drawText(stamps.adjusted(kSideMargin, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, timeText());
    if (m_options.date)
        painter.drawText(
            stamps.translated(0, g.dateBelowTime ? g.lineHeight : 0).adjusted(0, 0, -kDateInset, 0),
            Qt::AlignRight | Qt::AlignTop, dateText());
    if (m_options.pageNumbers)
        painter.drawText(QRectF(0, page.height() - g.lineHeight, page.width(), g.lineHeight),
                         Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral(" page %1").arg(pageNumber));
}

void TablePrinter::drawBlock(QPainter &painter, const QSizeF &page, const Geometry &g,
                             const Block &block) const
{
    const double width =
        std::accumulate(g.widths.begin() + block.firstColumn, g.widths.begin() + block.lastColumn + 1, 0.0);
    const double left = kSideMargin + std::max(0.0, (page.width() - 2 * kSideMargin - width) / 2);
    QStringList cells;
    double top = g.tableTop;
    for (int row = block.firstRow; row <= block.lastRow; ++row) {
        readPrintedRow(row, cells);
        int lines = std::max(1, rowLines(g, cells, row, block.firstColumn, block.lastColumn));
        if (block.lineCount >= 0)
            lines = std::min(block.lineCount, lines - block.firstLine);
        const double height = lines * g.lineHeight + 2 * g.cellMargin;
        double x = left;
        for (int column = block.firstColumn; column <= block.lastColumn; ++column) {
            const QRectF rect(x, top, g.widths.at(column), height);
            drawCell(painter, g, rect, cells.value(column), column, row, cells.value(3), block);
            x += rect.width();
        }
        top += height;
    }
}

void TablePrinter::drawCell(QPainter &painter, const Geometry &g, const QRectF &rect, const QString &text,
                            int column, int row, const QString &pathCell, const Block &block) const
{
    const int columns = m_cells.columnCount();
    const CellStyle style = styleOf(columns, row, pathCell);
    if (style.background)
        painter.fillRect(rect, QColor(QRgb(*style.background)));
    if (m_options.borders) {
        painter.setPen(QPen(Qt::black, kLineWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
    }
    if (text.isEmpty())
        return;
    painter.setPen(style.text ? QColor(QRgb(*style.text)) : QColor(Qt::black));
    QTextLayout layout(text, cellFont(g, row, pathCell));
    layout.setTextOption(QTextOption(TableRules::alignment(columns, column, row) & Qt::AlignHorizontal_Mask));
    layOutCell(layout, rect.width() - 2 * kCellPadding, g.lineHeight);
    const int end = block.lineCount < 0 ? layout.lineCount()
                                        : std::min(layout.lineCount(), block.firstLine + block.lineCount);
    const QPointF origin(rect.left() + kCellPadding,
                         rect.top() + g.cellMargin - block.firstLine * g.lineHeight);
    for (int line = block.firstLine; line < end; ++line)
        layout.lineAt(line).draw(&painter, origin);
}

// Cells as printed: control characters as their visible pictures.
void TablePrinter::readPrintedRow(int row, QStringList &cells) const
{
    m_cells.readRow(row, cells);
    for (QString &cell : cells)
        cell = ControlPictures::visible(cell, ControlPictures::LineBreaks::Kept);
}
