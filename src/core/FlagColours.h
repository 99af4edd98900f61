#pragma once

#include <QColor>

namespace tav {

// The colours of a value outside its range, wherever it is flagged: in the
// analyses' grid, the curve window's list and on the charts.
inline QColor aboveRangeColour()
{
    return QColor(200, 0, 0);
}

inline QColor belowRangeColour()
{
    return QColor(0, 0, 200);
}

} // namespace tav
