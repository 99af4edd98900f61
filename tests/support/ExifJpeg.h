#pragma once

// JPEG files as a phone writes them: the pixels stored sideways and an
// EXIF orientation that tells how to turn them.

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace tav::test {

// An APP1 segment holding a one-entry EXIF block (little-endian) with the
// orientation; 6 means "turn a quarter clockwise to show".
inline QByteArray exifOrientationSegment(int orientation)
{
    QByteArray tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\0\0\0\0\0\0\0\0", 26);
    tiff[18] = char(orientation);
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(body.size()) + 2;
    return QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + body;
}

// The picture encoded as JPEG by Qt, with the orientation put right after
// the start-of-image marker.
inline QByteArray jpegWithOrientation(const QImage& picture, int orientation)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", 90);
    return jpeg.left(2) + exifOrientationSegment(orientation) + jpeg.mid(2);
}

} // namespace tav::test
