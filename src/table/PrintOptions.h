#pragma once

#include "library/DateFormats.h"

#include <QDateTime>
#include <QFont>
#include <QString>

#include <optional>

// A rectangle of table cells, inclusive at both ends, counted as the grid
// counts them (row 0 holds the titles).
struct CellRegion {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What a printout of the table shows besides its cells. The time and the
// date are the moment of printing, taken from printedAt when it is set so
// tests can fix them.
struct PrintOptions {
    QString title; // empty: no title and no line under it
    bool time = true;
    bool date = true;
    bool borders = true;
    bool pageNumbers = true;
    bool landscape = true;
    // The cells', header's and footer's font; the engine's own when unset.
    std::optional<QFont> font;
    // Only these cells; the whole table when unset.
    std::optional<CellRegion> region;
    QDateTime printedAt;
    // The date is written in the short date format the table shows.
    DateFormats dates;
};
