#include "Orientation.h"

#include "BitmapRoutines.h"

#include <cstring>

namespace tav {

namespace {

// Reads an unsigned value of `size` bytes at `at`, in the TIFF block's byte
// order; false when it would read past the block.
bool readUnsigned(const uchar* block, qsizetype length, qsizetype at, int size, bool bigEndian,
                  quint32* value)
{
    if (at < 0 || at + size > length)
        return false;
    quint32 v = 0;
    for (int i = 0; i < size; ++i) {
        const int shift = bigEndian ? 8 * (size - 1 - i) : 8 * i;
        v |= quint32(block[at + i]) << shift;
    }
    *value = v;
    return true;
}

int orientationFromTiff(const uchar* tiff, qsizetype length)
{
    if (length < 8)
        return 1;
    bool bigEndian;
    if (tiff[0] == 'M' && tiff[1] == 'M')
        bigEndian = true;
    else if (tiff[0] == 'I' && tiff[1] == 'I')
        bigEndian = false;
    else
        return 1;
    quint32 ifd = 0;
    quint32 count = 0;
    if (!readUnsigned(tiff, length, 4, 4, bigEndian, &ifd) ||
        !readUnsigned(tiff, length, qsizetype(ifd), 2, bigEndian, &count))
        return 1;
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype entry = qsizetype(ifd) + 2 + qsizetype(i) * 12;
        quint32 tag = 0;
        quint32 type = 0;
        quint32 value = 0;
        if (!readUnsigned(tiff, length, entry, 2, bigEndian, &tag) ||
            !readUnsigned(tiff, length, entry + 2, 2, bigEndian, &type))
            return 1;
        if (tag != 0x0112)
            continue;
        // A SHORT stored in the entry itself.
        if (type != 3 || !readUnsigned(tiff, length, entry + 8, 2, bigEndian, &value))
            return 1;
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

QImage mirrored(const QImage& picture, bool horizontally, bool vertically)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 9, 0)
    Qt::Orientations o;
    if (horizontally)
        o |= Qt::Horizontal;
    if (vertically)
        o |= Qt::Vertical;
    return picture.flipped(o);
#else
    return picture.mirrored(horizontally, vertically);
#endif
}

} // namespace

int exifOrientation(const QByteArray& jpeg)
{
    const auto* bytes = reinterpret_cast<const uchar*>(jpeg.constData());
    const qsizetype size = jpeg.size();
    if (size < 4 || bytes[0] != 0xff || bytes[1] != 0xd8)
        return 1;
    qsizetype at = 2;
    // Walk the marker segments up to the start of the scan.
    while (at + 4 <= size) {
        if (bytes[at] != 0xff)
            return 1;
        const uchar marker = bytes[at + 1];
        if (marker == 0xda || marker == 0xd9)
            return 1;
        const qsizetype length = (qsizetype(bytes[at + 2]) << 8) | bytes[at + 3];
        if (length < 2 || at + 2 + length > size)
            return 1;
        const uchar* body = bytes + at + 4;
        const qsizetype bodyLength = length - 2;
        if (marker == 0xe1 && bodyLength >= 6 && std::memcmp(body, "Exif\0\0", 6) == 0)
            return orientationFromTiff(body + 6, bodyLength - 6);
        at += 2 + length;
    }
    return 1;
}

bool applyExifOrientation(QImage& picture, int orientation)
{
    if (picture.isNull() || orientation <= 1 || orientation > 8)
        return true;
    QImage work = picture.convertToFormat(QImage::Format_RGB888);
    if (work.isNull())
        return false;
    switch (orientation) {
    case 2:
        work = mirrored(work, true, false);
        break;
    case 3:
        work = mirrored(work, true, true);
        break;
    case 4:
        work = mirrored(work, false, true);
        break;
    case 5: // transpose: mirrored, then a quarter turn counter-clockwise
        work = mirrored(work, true, false);
        if (!rotateBitmap(work, 270))
            return false;
        break;
    case 6:
        if (!rotateBitmap(work, 90))
            return false;
        break;
    case 7: // transverse: mirrored, then a quarter turn clockwise
        work = mirrored(work, true, false);
        if (!rotateBitmap(work, 90))
            return false;
        break;
    case 8:
        if (!rotateBitmap(work, 270))
            return false;
        break;
    }
    if (work.isNull())
        return false;
    picture = work;
    return true;
}

} // namespace tav
