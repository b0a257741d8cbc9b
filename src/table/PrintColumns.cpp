#include "PrintColumns.h"

#include "TablePrinter.h"
#include "TableRules.h"

#include <QFontMetricsF>

#include <algorithm>

namespace {

// Columns sized to their text are never cut below this share of the room,
// however much the columns of fixed width take.
constexpr double kLeastCapShare = 0.2;

bool isDateColumn(int columnCount, int column)
{
    return TableRules::sortKind(columnCount, column) == TableRules::SortKind::Date;
}

// The width of the column's longest text on one line, padding included.
double naturalWidth(const TableCells &cells, const CellRegion &region, int column,
                    const PrintColumns::Fonts &fonts)
{
    const QFontMetricsF text(fonts.cells);
    const QFontMetricsF titles(fonts.titles);
    double widest = 0;
    for (int row = region.top; row <= region.bottom; ++row)
        widest = std::max(widest, (row == 0 ? titles : text).horizontalAdvance(cells.cell(column, row)));
    return widest + 2 * TablePrinter::kCellPadding;
}

// The largest cap under which the natural widths add up to no more than
// room: the narrow columns keep their width, the wide ones share the rest.
double capToShare(QList<double> naturals, double room)
{
    std::sort(naturals.begin(), naturals.end());
    for (qsizetype i = 0; i < naturals.size(); ++i) {
        const double share = room / double(naturals.size() - i);
        if (naturals.at(i) > share)
            return share;
        room -= naturals.at(i);
    }
    return naturals.isEmpty() ? room : naturals.last();
}

} // namespace

namespace PrintColumns {

QList<double> widths(const TableCells &cells, const CellRegion &region, const QList<int> &pixels,
                     const Fonts &fonts, double room)
{
    const int columnCount = cells.columnCount();
    QList<double> result(std::max(0, columnCount), 0.0);
    QList<int> fitting;
    QList<double> naturals;
    double fixed = 0;
    for (int column = region.left; column <= region.right; ++column) {
        const int asked = pixels.value(column, FitToText);
        const bool date = isDateColumn(columnCount, column);
        if (asked <= FitToText && !date) {
            fitting << column;
            naturals << naturalWidth(cells, region, column, fonts);
            continue;
        }
        double width = asked > FitToText ? asked * TablePrinter::kUnitsPerPixel : 0;
        if (date)
            width = std::max(width, naturalWidth(cells, region, column, fonts));
        result[column] = width;
        fixed += width;
    }
    const double cap = std::max(capToShare(naturals, room - fixed), kLeastCapShare * room);
    for (qsizetype i = 0; i < fitting.size(); ++i)
        result[fitting.at(i)] = std::min(naturals.at(i), cap);
    const double least =
        QFontMetricsF(fonts.titles).horizontalAdvance(QLatin1Char('W')) + 2 * TablePrinter::kCellPadding;
    for (int column = region.left; column <= region.right; ++column)
        result[column] = std::clamp(result[column], std::min(least, room), room);
    return result;
}

} // namespace PrintColumns
