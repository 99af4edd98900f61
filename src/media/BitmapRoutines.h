#pragma once

#include <QColor>
#include <QImage>

namespace tav {

// Pixel work is done on 24-bit pictures (QImage::Format_RGB888): three
// bytes a pixel, rows addressed top row first.

// Resamples the picture to the new size by the distance-weighted
// interpolation over the four nearest source pixels, converting it to
// 24 bits first. Returns false, leaving the picture unchanged, when the
// picture is empty, the new size is not positive or memory runs out.
bool resizeBitmap(QImage& picture, int newWidth, int newHeight);

// The source fitted into the box (see fitInBox) and resampled to the
// placement's size, also when it was not scaled. False as resizeBitmap.
bool fitPictureInBox(QImage& target, const QImage& source, int boxWidth, int boxHeight);

// Turns the picture a quarter turn clockwise for 90, counter-clockwise for
// any other angle; the result is 24 bits. False on an empty picture or
// when memory runs out, leaving it unchanged.
bool rotateBitmap(QImage& picture, int angle);

// Replaces the picture with a 24-bit one of the given size filled with the
// colour. False (picture left null) on a non-positive size or no memory.
bool makeBlankBitmap(QImage& picture, int width, int height, const QColor& colour);

} // namespace tav
