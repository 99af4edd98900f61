#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace tav {

// The outcome of a JPEG operation.
using JpegResult = Result;

// Pictures with more pixels than this are refused rather than decoded: one
// would take gigabytes of memory for a thumbnail.
inline constexpr qint64 kJpegPixelLimit = 200LL * 1000 * 1000;

// Writes a grey (Format_Grayscale8) or 24-bit (Format_RGB888) picture as a
// JFIF file in YCbCr at the given quality (1 to 100). The file is written
// under a temporary name and put in place only once complete, so that a
// failure leaves an earlier file of that name whole.
JpegResult writeJpegFile(const QImage& picture, const QString& path, int quality);

// Decodes a JPEG file into a grey (Format_Grayscale8) or 24-bit
// (Format_RGB888) picture, top row first. CMYK and YCCK files, as scanners
// and print workflows write them, are converted to 24 bits. A missing,
// empty, truncated or damaged file, or one too large, gives a French reason
// and leaves the picture unchanged.
JpegResult readJpegFile(QImage& picture, const QString& path);

// The same from bytes in memory; `name` is the file named in messages.
// With a valid `atLeast`, the codec's DCT scaling decodes the picture at
// 1/2, 1/4 or 1/8 of its size, the smallest that still covers `atLeast`:
// much cheaper when only a small picture is needed. The pixel limit then
// applies to the decoded size.
// The picture's own size, as its header gives it, before any scaling.
struct JpegHeader
{
    QSize size;
};

JpegResult readJpegData(QImage& picture, const QByteArray& data, const QString& name,
                        QSize atLeast = {}, JpegHeader* header = nullptr);

// The picture compressed as JPEG at quality 50 by the general-purpose
// encoder. False on an empty picture.
bool compressToJpeg(const QImage& picture, QByteArray& jpeg);

} // namespace tav
