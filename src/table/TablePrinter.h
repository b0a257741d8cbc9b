#pragma once

#include "PrintOptions.h"
#include "TableCells.h"

#include <QFont>
#include <QList>
#include <QSizeF>

class QPagedPaintDevice;
class QPainter;

// The table's print engine. It draws in tenths of a millimetre from the top
// left of the page's printable area: the cells at the widths PrintColumns
// gives them, centred across the page and split over as many pages as they
// need, down the rows first and then across the columns, never shrunk to
// fit. A cell's text longer than its column wraps onto further lines inside
// its row, so no text is lost; a row moves whole to the next page unless it
// is taller than a page. Each page carries the title with a line under it,
// the time at the top left, the date at the top right and "page N" at the
// bottom centre, as the options ask.
class TablePrinter
{
public:
    static constexpr double kUnitsPerInch = 254.0;
    static constexpr double kUnitsPerPixel = kUnitsPerInch / 96.0;
    static constexpr double kSideMargin = 10;
    static constexpr double kDateInset = 20;
    static constexpr double kCellPadding = 2 * kUnitsPerPixel;
    // No font prints taller than this share of the page's height, so every
    // page has room for its header, its footer and some lines of cells.
    static constexpr double kTallestLineShare = 1.0 / 8;

    // columnWidths are the table's column widths in pixels; a missing one,
    // or PrintColumns::FitToText, sizes the column to its text.
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
    void readPrintedRow(int row, QStringList &cells) const;
    // A block of rows and columns that fits one page, inclusive. A row
    // taller than a page is printed in slices of lineCount lines from
    // firstLine; lineCount < 0 means every line.
    struct Block {
        int firstRow, lastRow, firstColumn, lastColumn;
        int firstLine = 0;
        int lineCount = -1;
    };
    // What depends on the page's size.
    struct Geometry {
        QFont font;     // the cells', no taller than the page allows
        QFont boldFont; // the titles row's
        QList<double> widths;
        double room = 0; // the page's width for the table
        double lineHeight = 0;
        double cellMargin = 0; // above and below a cell's lines
        QString title;         // on one line, cut to the page's width
        double titleHeight = 0;
        double headerHeight = 0; // the title and the time/date lines
        bool dateBelowTime = false;
        double tableTop = 0;
        double tableBottom = 0;
    };

    CellRegion region() const;
    Geometry geometry(const QSizeF &page) const;
    void placeHeader(Geometry &g, const QSizeF &page) const;
    QList<Block> blocks(const Geometry &g) const;
    void splitRows(const Geometry &g, int firstColumn, int lastColumn, QList<Block> &result) const;
    int rowLines(const Geometry &g, const QStringList &cells, int row, int firstColumn, int lastColumn) const;
    const QFont &cellFont(const Geometry &g, int row, const QString &pathCell) const;
    QString timeText() const;
    QString dateText() const;
    void drawDecorations(QPainter &painter, const QSizeF &page, const Geometry &g, int pageNumber) const;
    void drawBlock(QPainter &painter, const QSizeF &page, const Geometry &g, const Block &block) const;
    void drawCell(QPainter &painter, const Geometry &g, const QRectF &rect, const QString &text, int column,
                  int row, const QString &pathCell, const Block &block) const;

    const TableCells &m_cells;
    QList<int> m_widths;
    PrintOptions m_options;
    QFont m_font;      // the cells', in page units
    QFont m_titleFont; // the printout's title
};
