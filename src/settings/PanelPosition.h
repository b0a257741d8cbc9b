#pragma once

#include <QPoint>
#include <QSize>

// Where a tool panel goes inside the window's client area (the area below the
// menu bar). Positions are relative to that area's top-left corner, as stored.
namespace PanelPosition {

// Moves a position so the whole panel lies inside an area of the given size.
// A panel larger than the area keeps its top-left corner (title bar and close
// button) inside.
QPoint keptInside(const QPoint &position, const QSize &panel, const QSize &area);

} // namespace PanelPosition
