#include "TablePrinter.h"

#include "CellStyle.h"
#include "TableRules.h"

#include "library/ControlPictures.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Room between the header, the cells and the footer, and inside a cell.
constexpr double kGap = 20;
constexpr double kCellPadding = 2 * TablePrinter::kUnitsPerPixel;
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

} // namespace

TablePrinter::TablePrinter(const TableCells &cells, const QList<int> &columnWidths,
                           const PrintOptions &options)
    : m_cells(cells), m_widths(columnWidths), m_options(options),
      m_font(pageFont(options.font.value_or(defaultFont()))), m_boldFont(bold(m_font)),
      m_titleFont(pageFont(titleFont()))
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

double TablePrinter::columnWidth(int column) const
{
    return std::max(1, m_widths.value(column, 100)) * kUnitsPerPixel;
}

TablePrinter::Geometry TablePrinter::geometry(const QSizeF &page) const
{
    const QFontMetricsF text(m_font);
    Geometry g;
    g.rowHeight = std::max(kRowPixels * kUnitsPerPixel, text.height() + 2 * kCellPadding);
    if (!m_options.title.isEmpty())
        g.titleHeight = QFontMetricsF(m_titleFont).height();
    // The time and date sit on their own line under the title, so the two
    // never overlap at the top left.
    g.headerHeight = g.titleHeight + (m_options.time || m_options.date ? text.height() : 0);
    g.tableTop = g.headerHeight > 0 ? g.headerHeight + kGap : 0;
    g.tableBottom = page.height() - (m_options.pageNumbers ? text.height() + kGap : 0);
    return g;
}

QList<TablePrinter::Block> TablePrinter::blocks(const QSizeF &page) const
{
    const CellRegion r = region();
    QList<Block> result;
    if (r.left > r.right || r.top > r.bottom)
        return result;
    const Geometry g = geometry(page);
    const int rowsPerPage = std::max(1, int((g.tableBottom - g.tableTop) / g.rowHeight));
    const double room = page.width() - 2 * kSideMargin;
    for (int first = r.left; first <= r.right;) {
        // Each page takes at least one column, however wide.
        int last = first;
        double width = columnWidth(first);
        while (last < r.right && width + columnWidth(last + 1) <= room)
            width += columnWidth(++last);
        for (int row = r.top; row <= r.bottom; row += rowsPerPage)
            result.append({row, std::min(r.bottom, row + rowsPerPage - 1), first, last});
        first = last + 1;
    }
    return result;
}

int TablePrinter::pageCount(const QSizeF &page) const
{
    return std::max(1, int(blocks(page).size()));
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
    const QList<Block> all = blocks(page);
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
    const double lineHeight = QFontMetricsF(m_font).height();
    if (!m_options.title.isEmpty()) {
        painter.setFont(m_titleFont);
        painter.drawText(QRectF(0, 0, page.width(), g.titleHeight), Qt::AlignLeft | Qt::AlignTop,
                         m_options.title);
        painter.drawLine(QPointF(0, g.headerHeight), QPointF(page.width(), g.headerHeight));
    }
    painter.setFont(m_font);
    const QRectF header(0, g.titleHeight, page.width(), lineHeight);
    if (m_options.time)
        painter.drawText(header.adjusted(kSideMargin, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         m_options.printedAt.toString(QStringLiteral("hh:mm")));
    if (m_options.date)
        painter.drawText(header.adjusted(0, 0, -kDateInset, 0), Qt::AlignRight | Qt::AlignTop,
                         m_options.printedAt.toString(QStringLiteral("dd/MM/yyyy")));
    if (m_options.pageNumbers)
        painter.drawText(QRectF(0, page.height() - lineHeight, page.width(), lineHeight),
                         Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral(" page %1").arg(pageNumber));
}

void TablePrinter::drawBlock(QPainter &painter, const QSizeF &page, const Geometry &g,
                             const Block &block) const
{
    double width = 0;
    for (int column = block.firstColumn; column <= block.lastColumn; ++column)
        width += columnWidth(column);
    const double left = kSideMargin + std::max(0.0, (page.width() - 2 * kSideMargin - width) / 2);
    QStringList cells;
    for (int row = block.firstRow; row <= block.lastRow; ++row) {
        m_cells.readRow(row, cells);
        const double top = g.tableTop + (row - block.firstRow) * g.rowHeight;
        double x = left;
        for (int column = block.firstColumn; column <= block.lastColumn; ++column) {
            const QRectF rect(x, top, columnWidth(column), g.rowHeight);
            drawCell(painter, rect, cells.value(column), column, row, cells.value(3));
            x += rect.width();
        }
    }
}

void TablePrinter::drawCell(QPainter &painter, const QRectF &rect, const QString &text, int column, int row,
                            const QString &pathCell) const
{
    const int columns = m_cells.columnCount();
    const CellStyle style = CellStyle::of(TableRules::cellColour(columns, row, pathCell));
    if (style.background)
        painter.fillRect(rect, QColor(QRgb(*style.background)));
    if (m_options.borders) {
        painter.setPen(QPen(Qt::black, kLineWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
    }
    if (text.isEmpty())
        return;
    const QFont &font = style.bold ? m_boldFont : m_font;
    if (painter.font() != font)
        painter.setFont(font);
    painter.setPen(style.text ? QColor(QRgb(*style.text)) : QColor(Qt::black));
    const QRectF inner = rect.adjusted(kCellPadding, 0, -kCellPadding, 0);
    // Text too long for its cell ends in an ellipsis, as on screen.
    const QString shown = QFontMetricsF(font).elidedText(
        ControlPictures::visible(text, ControlPictures::LineBreaks::Kept), Qt::ElideRight, inner.width());
    const Qt::Alignment horizontal = TableRules::alignment(columns, column, row) & Qt::AlignHorizontal_Mask;
    painter.drawText(inner, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}
