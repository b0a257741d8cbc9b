#pragma once

#include "PrintOptions.h"
#include "TableCells.h"

#include <QFont>
#include <QList>
#include <QSizeF>

class QPagedPaintDevice;
class QPainter;

// The table's print engine. It draws in tenths of a millimetre from the top
// left of the page's printable area: the cells at their screen widths
// (converted at 96 pixels to the inch), centred across the page and split
// over as many pages as they need, down the rows first and then across the
// columns, never shrunk to fit. Each page carries the title with a line
// under it, the time at the top left, the date at the top right and
// "page N" at the bottom centre, as the options ask.
class TablePrinter
{
public:
    static constexpr double kUnitsPerInch = 254.0;
    static constexpr double kUnitsPerPixel = kUnitsPerInch / 96.0;
    static constexpr double kSideMargin = 10;
    static constexpr double kDateInset = 20;

    // columnWidths are the table's column widths in pixels; a missing one
    // counts as 100.
    TablePrinter(const TableCells &cells, const QList<int> &columnWidths, const PrintOptions &options);

    // Paper size and orientation as the options ask; a printer already
    // chosen keeps its paper.
    static void applyOrientation(QPagedPaintDevice &device, bool landscape);
    // Draws every page on the device; false when it cannot be painted on.
    bool print(QPagedPaintDevice &device) const;
    // Pages a printout on a page of this size (in tenths of a millimetre)
    // takes.
    int pageCount(const QSizeF &page) const;

    // A font of the given points as the engine sizes it in page units.
    static QFont pageFont(const QFont &font);

private:
    // A block of rows and columns that fits one page, inclusive.
    struct Block {
        int firstRow, lastRow, firstColumn, lastColumn;
    };
    struct Geometry {
        double headerHeight = 0; // the title and the time/date line
        double tableTop = 0;
        double tableBottom = 0;
        double rowHeight = 0;
        double titleHeight = 0;
    };

    CellRegion region() const;
    double columnWidth(int column) const;
    Geometry geometry(const QSizeF &page) const;
    QList<Block> blocks(const QSizeF &page) const;
    void drawDecorations(QPainter &painter, const QSizeF &page, const Geometry &g, int pageNumber) const;
    void drawBlock(QPainter &painter, const QSizeF &page, const Geometry &g, const Block &block) const;
    void drawCell(QPainter &painter, const QRectF &rect, const QString &text, int column, int row,
                  const QString &pathCell) const;

    const TableCells &m_cells;
    QList<int> m_widths;
    PrintOptions m_options;
    QFont m_font;      // the cells', in page units
    QFont m_boldFont;  // the titles row's
    QFont m_titleFont; // the printout's title
};
