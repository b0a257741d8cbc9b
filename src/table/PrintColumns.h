#pragma once

#include "PrintOptions.h"
#include "TableCells.h"

#include <QFont>
#include <QList>

// How wide each column of a printout is, in the print engine's page units.
// A column with a width asked for keeps it, as the screen shows it; one
// without is as wide as its longest text, and when such columns together
// would be wider than the page they share what is left, the longest being
// cut down to a common cap so their cells wrap. A date column is always wide
// enough for its longest date and time on one line, and no column is wider
// than the page or narrower than a wide letter.
namespace PrintColumns {

// An asked width that sizes the column to its text.
constexpr int FitToText = 0;

struct Fonts {
    QFont cells;
    QFont titles; // the titles row's
};

// pixels are the asked widths in pixels at 96 to the inch (FitToText, or
// missing, for none); room is the page's width for the table. Columns
// outside region are left at 0.
QList<double> widths(const TableCells &cells, const CellRegion &region, const QList<int> &pixels,
                     const Fonts &fonts, double room);

} // namespace PrintColumns
