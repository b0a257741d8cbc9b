#include "PanelPosition.h"

#include <QtGlobal>

namespace {

int keptInRange(int start, int length, int available)
{
    return qBound(0, start, qMax(0, available - length));
}

} // namespace

QPoint PanelPosition::keptInside(const QPoint &position, const QSize &panel, const QSize &area)
{
    return QPoint(keptInRange(position.x(), panel.width(), area.width()),
                  keptInRange(position.y(), panel.height(), area.height()));
}
