#pragma once

// Reading a chart picture as its reader sees it: where the curve is drawn.

#include <QColor>
#include <QImage>

#include <optional>
#include <utility>

namespace tav::test {

// The curve's red line in a chart picture: the height of its leftmost and
// of its rightmost pixel, or nothing when the picture shows no curve (a
// line shorter than 100 pixels is a legend's mark, not a curve).
inline std::optional<std::pair<int, int>> curveEnds(const QImage& picture)
{
    int left = -1, right = -1, leftY = 0, rightY = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.red() < 200 || c.green() > 60 || c.blue() > 60)
                continue;
            if (left < 0 || x < left) {
                left = x;
                leftY = y;
            }
            if (x > right) {
                right = x;
                rightY = y;
            }
        }
    }
    if (left < 0 || right - left < 100)
        return std::nullopt;
    return std::make_pair(leftY, rightY);
}

// Pixels of the light green of a shaded target band over the white plot;
// the lime line of a curve is far greener and has no red.
inline int bandPixels(const QImage& picture)
{
    int n = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.red() > 150 && c.green() > c.red() + 15 && c.green() > c.blue() + 15)
                ++n;
        }
    }
    return n;
}

} // namespace tav::test
