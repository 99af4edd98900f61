#include "Placement.h"

#include <algorithm>

namespace tav {

namespace {

// (box side / picture side) * other picture side, in doubles, truncated:
// the division first, so that results match pictures laid out earlier.
int scaledSide(int boxSide, int pictureSide, int otherPictureSide)
{
    return int(double(boxSide) / double(pictureSide) * double(otherPictureSide));
}

} // namespace

Placement fitInBox(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight)
{
    Placement p;
    if (pictureWidth <= boxWidth && pictureHeight <= boxHeight) {
        p.width = pictureWidth;
        p.height = pictureHeight;
    } else {
        p.stretch = true;
        if (pictureWidth < pictureHeight) {
            const int w = scaledSide(boxHeight, pictureHeight, pictureWidth);
            if (w <= boxWidth) {
                p.height = boxHeight;
                p.width = w;
            } else {
                p.width = boxWidth;
                p.height = scaledSide(boxWidth, pictureWidth, pictureHeight);
            }
        } else if (pictureWidth > pictureHeight) {
            const int h = scaledSide(boxWidth, pictureWidth, pictureHeight);
            if (h <= boxHeight) {
                p.width = boxWidth;
                p.height = h;
            } else {
                p.height = boxHeight;
                p.width = scaledSide(boxHeight, pictureHeight, pictureWidth);
            }
        } else {
            p.width = p.height = std::min(boxWidth, boxHeight);
        }
    }
    p.left = (boxWidth - p.width) / 2;
    p.top = (boxHeight - p.height) / 2;
    return p;
}

} // namespace tav
