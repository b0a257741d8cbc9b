#pragma once

#include "TableRules.h"

#include <QtGlobal>

#include <optional>

// The colours and font style of a cell kind, as plain 0xRRGGBB numbers so
// code without a display (the HTML writer) can use them. A missing colour
// means the grid's own.
struct CellStyle {
    std::optional<quint32> background;
    std::optional<quint32> text;
    bool bold = false;
    bool italic = false;

    // Titles: yellow bold on blue; ZIP members: black on aqua.
    static CellStyle of(TableRules::CellColour colour);
};
