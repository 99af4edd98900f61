#pragma once

#include "report/ReportEngine.h"

#include <QImage>

#include <algorithm>
#include <limits>

namespace tav::test {

// The height on paper, in points, of the lowest line of dark text of a
// picture placed in a box (report units): the labels under a chart's
// horizontal axis. Digits stand about 0.7 of their font's size high.
inline double lowestTextHeightOnPaper(const QImage& picture, const QRectF& box)
{
    if (picture.isNull())
        return 0;
    // Drawn whole within its box, keeping its proportions.
    const double mmPerPixel =
        std::min(box.width() / picture.width(), box.height() / picture.height()) /
        PreparedReport::unitsPerMm;
    const auto dark = [&picture](int y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) < 100)
                return true;
        }
        return false;
    };
    int y = picture.height() - 1;
    while (y >= 0 && !dark(y))
        --y;
    const int bottom = y;
    while (y >= 0 && dark(y))
        --y;
    return (bottom - y) * mmPerPixel * 72.0 / 25.4;
}

// The smallest such height among the pictures a report's pages place; a
// huge value when there is none.
inline double smallestPrintedLabel(const PreparedReport& report)
{
    double smallest = std::numeric_limits<double>::max();
    for (const QVector<PreparedItem>& page : report.pages)
        for (const PreparedItem& item : page)
            if (item.kind == PreparedItem::Kind::Picture && item.picture >= 0)
                smallest = std::min(
                    smallest, lowestTextHeightOnPaper(report.pictures.at(item.picture), item.rect));
    return smallest;
}

// Digits of an 8-point text stand at least this high (a margin below the
// usual 0.72 of the size, whatever the font).
constexpr double kEightPointDigits = 8 * 0.65;

} // namespace tav::test
