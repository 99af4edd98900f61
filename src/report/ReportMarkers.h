#pragma once

#include <QChar>

namespace tav {

// What the preparation of a report leaves in its texts for the rendering:
// the page number and the page count are known only once every page is
// laid out, so a prepared line holds these markers in their place.
inline const QChar kPageMarker(0x1);
inline const QChar kPagesMarker(0x2);

// Room left between a text and the edges of its box, in report units.
inline constexpr double kTextPadX = 50;
inline constexpr double kTextPadY = 30;

} // namespace tav
