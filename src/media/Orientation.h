#pragma once

#include <QByteArray>
#include <QImage>

namespace tav {

// The EXIF orientation (1 to 8) a camera or phone recorded in a JPEG file,
// 1 when it has none or it cannot be read.
int exifOrientation(const QByteArray& jpeg);

// Turns or mirrors the picture so that it shows the right way up for the
// given EXIF orientation; the result is 24 bits. Orientation 1 and unknown
// values leave it as it is. False when memory runs out.
bool applyExifOrientation(QImage& picture, int orientation);

} // namespace tav
