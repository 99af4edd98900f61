#include "BitmapRoutines.h"

#include "Placement.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {

QImage to24Bits(const QImage& picture)
{
    if (picture.format() == QImage::Format_RGB888)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB888);
}

// Each byte of a pixel is interpolated on its own, in plain doubles and in
// the written order: results are compared with stored pictures to the bit.
void blendFour(uchar* out, const uchar* p00, const uchar* p10, const uchar* p01, const uchar* p11,
               double dx, double dy)
{
    const double w00 = 1.0 / std::sqrt(dx * dx + dy * dy);
    const double w10 = 1.0 / std::sqrt((1.0 - dx) * (1.0 - dx) + dy * dy);
    const double w01 = 1.0 / std::sqrt(dx * dx + (1.0 - dy) * (1.0 - dy));
    const double w11 = 1.0 / std::sqrt((1.0 - dx) * (1.0 - dx) + (1.0 - dy) * (1.0 - dy));
    const double sum = w00 + w10 + w01 + w11;
    for (int b = 0; b < 3; ++b) {
        const double v = (p00[b] * w00 + p10[b] * w10 + p01[b] * w01 + p11[b] * w11) / sum;
        out[b] = uchar(int(v));
    }
}

void blendTwo(uchar* out, const uchar* p0, const uchar* p1, double d)
{
    const double w0 = 1.0 / d;
    const double w1 = 1.0 / (1.0 - d);
    const double sum = w0 + w1;
    for (int b = 0; b < 3; ++b)
        out[b] = uchar(int((p0[b] * w0 + p1[b] * w1) / sum));
}

} // namespace

// Inverse-distance interpolation with a half-pixel offset and the scale
// W1 / W2; a same-size call therefore shifts the picture by half a pixel.
bool resizeBitmap(QImage& picture, int newWidth, int newHeight)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0 || newWidth <= 0 ||
        newHeight <= 0)
        return false;
    const QImage source = to24Bits(picture);
    if (source.isNull())
        return false;
    QImage target(newWidth, newHeight, QImage::Format_RGB888);
    if (target.isNull())
        return false;

    const int w1 = source.width();
    const int h1 = source.height();
    const qsizetype stride = source.bytesPerLine();
    const uchar* bits = source.constBits();
    for (int y = 0; y < newHeight; ++y) {
        double sy = double(qint64(h1) * y) / double(newHeight) - 0.5;
        const int iy = std::max(std::min(int(sy), h1 - 1), 0);
        sy = std::max(std::min(sy, double(h1 - 1)), 0.0);
        const double y0 = std::floor(sy);
        const double dy = sy - y0;
        const uchar* row0 = bits + qsizetype(y0) * stride;
        const uchar* row1 = dy != 0.0 ? row0 + stride : row0;
        const uchar* exactRow = bits + qsizetype(iy) * stride;
        uchar* out = target.scanLine(y);
        for (int x = 0; x < newWidth; ++x, out += 3) {
            double sx = double(qint64(w1) * x) / double(newWidth) - 0.5;
            const int ix = std::max(std::min(int(sx), w1 - 1), 0);
            sx = std::max(std::min(sx, double(w1 - 1)), 0.0);
            if (sx == double(ix) && sy == double(iy)) {
                const uchar* p = exactRow + qsizetype(ix) * 3;
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
                continue;
            }
            const double x0 = std::floor(sx);
            const double dx = sx - x0;
            const uchar* p00 = row0 + qsizetype(x0) * 3;
            if (dx != 0.0 && dy != 0.0)
                blendFour(out, p00, p00 + 3, row1 + qsizetype(x0) * 3, row1 + qsizetype(x0) * 3 + 3,
                          dx, dy);
            else if (dx != 0.0)
                blendTwo(out, p00, p00 + 3, dx);
            else
                blendTwo(out, p00, row1 + qsizetype(x0) * 3, dy);
        }
    }
    picture = target;
    return true;
}

bool fitPictureInBox(QImage& target, const QImage& source, int boxWidth, int boxHeight)
{
    QImage work = to24Bits(source);
    if (work.isNull())
        return false;
    const Placement p = fitInBox(boxWidth, boxHeight, work.width(), work.height());
    if (!resizeBitmap(work, p.width, p.height))
        return false;
    target = work;
    return true;
}

// Clockwise: the target's top row is the source's first column read from
// the bottom row up.
bool rotateBitmap(QImage& picture, int angle)
{
    if (picture.isNull())
        return false;
    const QImage source = to24Bits(picture);
    if (source.isNull())
        return false;
    const int w = source.width();
    const int h = source.height();
    QImage target(h, w, QImage::Format_RGB888);
    if (target.isNull())
        return false;
    for (int r = 0; r < w; ++r) {
        uchar* out = target.scanLine(r);
        for (int c = 0; c < h; ++c, out += 3) {
            const uchar* p = angle == 90 ? source.constScanLine(h - 1 - c) + qsizetype(r) * 3
                                         : source.constScanLine(c) + qsizetype(w - 1 - r) * 3;
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
        }
    }
    picture = target;
    return true;
}

bool makeBlankBitmap(QImage& picture, int width, int height, const QColor& colour)
{
    picture = QImage();
    if (width <= 0 || height <= 0)
        return false;
    QImage blank(width, height, QImage::Format_RGB888);
    if (blank.isNull())
        return false;
    blank.fill(colour);
    picture = blank;
    return true;
}

} // namespace tav
