#include "Thumbnail.h"

#include "BitmapRoutines.h"
#include "JpegFile.h"
#include "Orientation.h"
#include "Placement.h"
#include "core/FrenchText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace tav {

namespace {

void putLe16(char* at, quint16 value)
{
    qToLittleEndian(value, at);
}

void putLe32(char* at, quint32 value)
{
    qToLittleEndian(value, at);
}

bool isJpegName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toUpper();
    return suffix == QLatin1String("JPG") || suffix == QLatin1String("JPEG");
}

// Qt's BMP reader fills the rows of a file cut short and reports success:
// the header's row count tells whether all the rows of an uncompressed
// file are there.
bool bmpCutShort(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(54);
    if (head.size() < 34 || !head.startsWith("BM"))
        return false;
    const auto* h = reinterpret_cast<const uchar*>(head.constData());
    const quint32 offset = qFromLittleEndian<quint32>(h + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(h + 14);
    if (infoSize < 40)
        return false; // the old OS/2 header: left to the reader
    const qint64 width = qFromLittleEndian<qint32>(h + 18);
    const qint64 height = qAbs(qint64(qFromLittleEndian<qint32>(h + 22)));
    const int bits = qFromLittleEndian<quint16>(h + 28);
    const quint32 compression = qFromLittleEndian<quint32>(h + 30);
    // Only plain rows (BI_RGB, BI_BITFIELDS) have a size known in advance.
    if ((compression != 0 && compression != 3) || width <= 0 || bits <= 0)
        return false;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    return qint64(offset) + stride * height > file.size();
}

// Uncompressed 24- and 32-bit BMP, the form thumbnails are stored in, read
// directly: the general image reader costs several times the decoding.
// Anything else, or anything inconsistent, gives a null image.
QImage readPlainBmp(const QByteArray& bytes)
{
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < 54 || d[0] != 'B' || d[1] != 'M' || qFromLittleEndian<quint32>(d + 14) < 40)
        return QImage();
    const quint32 offset = qFromLittleEndian<quint32>(d + 10);
    const auto width = qFromLittleEndian<qint32>(d + 18);
    const auto rawHeight = qFromLittleEndian<qint32>(d + 22);
    const int bpp = qFromLittleEndian<quint16>(d + 28);
    const quint32 compression = qFromLittleEndian<quint32>(d + 30);
    if (width <= 0 || width > 4096 || rawHeight == 0 || rawHeight < -4096 || rawHeight > 4096 ||
        qFromLittleEndian<quint16>(d + 26) != 1 || (bpp != 24 && bpp != 32) || compression != 0)
        return QImage();
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const qsizetype stride = ((qsizetype(width) * bpp / 8) + 3) & ~qsizetype(3);
    if (offset > quint64(size) || quint64(size) - offset < quint64(stride) * quint64(height))
        return QImage();
    QImage img(width, height, QImage::Format_RGB32);
    const int step = bpp / 8;
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        const uchar* src = d + offset + stride * (rawHeight > 0 ? height - 1 - y : y);
        auto* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x, src += step)
            dst[x] = qRgb(src[2], src[1], src[0]);
    }
    return img;
}

} // namespace

QImage makeThumbnail(const QImage& picture, int boxWidth, int boxHeight)
{
    return makeThumbnail(picture, boxWidth, boxHeight, picture.size());
}

QImage makeThumbnail(const QImage& picture, int boxWidth, int boxHeight, QSize fullSize)
{
    QImage box;
    if (!makeBlankBitmap(box, boxWidth, boxHeight, Qt::white))
        return {};
    if (picture.isNull() || fullSize.isEmpty())
        return box;
    // The place is that of the whole picture, also when a reduced decode
    // stands in for it, so that both give the same frame.
    const Placement p = fitInBox(boxWidth, boxHeight, fullSize.width(), fullSize.height());
    QImage fitted = picture;
    if (!resizeBitmap(fitted, p.width, p.height))
        return box;
    // Rows are copied as they stand: drawing through a painter could blend
    // or dither the resampled bytes.
    for (int y = 0; y < fitted.height(); ++y)
        std::memcpy(box.scanLine(p.top + y) + qsizetype(p.left) * 3, fitted.constScanLine(y),
                    size_t(fitted.width()) * 3);
    return box;
}

QByteArray bmpFile(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return {};
    const qint64 stride = (qint64(rgb.width()) * 3 + 3) / 4 * 4;
    const qint64 pixelBytes = stride * rgb.height();
    const qint64 total = 54 + pixelBytes;
    if (total > std::numeric_limits<qint32>::max())
        return {};
    QByteArray bmp(qsizetype(total), '\0');
    char* h = bmp.data();
    h[0] = 'B';
    h[1] = 'M';
    putLe32(h + 2, quint32(total));
    putLe32(h + 10, 54); // offset of the pixel rows
    putLe32(h + 14, 40); // BITMAPINFOHEADER
    putLe32(h + 18, quint32(rgb.width()));
    putLe32(h + 22, quint32(rgb.height())); // positive: bottom row first
    putLe16(h + 26, 1);                     // planes
    putLe16(h + 28, 24);                    // bits per pixel
    putLe32(h + 30, 0);                     // no compression
    putLe32(h + 34, quint32(pixelBytes));
    putLe32(h + 38, 2835); // 72 dpi, in pixels per metre
    putLe32(h + 42, 2835);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* in = rgb.constScanLine(y);
        char* out = h + 54 + stride * (rgb.height() - 1 - y);
        for (int x = 0; x < rgb.width(); ++x, in += 3, out += 3) {
            out[0] = char(in[2]); // blue
            out[1] = char(in[1]);
            out[2] = char(in[0]);
        }
    }
    return bmp;
}

PictureRead readPictureFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {false, fr("Le fichier « %1 » n'existe pas.").arg(path), {}};
    if (info.isDir())
        return {false, fr("« %1 » est un dossier, pas une image.").arg(path), {}};
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kJpegPixelLimit)
        return {false,
                fr("L'image « %1 » est trop grande (%2 × %3 pixels).")
                    .arg(path)
                    .arg(size.width())
                    .arg(size.height()),
                {}};
    const bool bmp = reader.format() == "bmp";
    QImage picture = reader.read();
    if (!picture.isNull() && bmp && bmpCutShort(path))
        return {false,
                fr("Le fichier « %1 » n'est pas une image lisible : il est tronqué.").arg(path),
                {}};
    if (picture.isNull())
        return {false,
                fr("Le fichier « %1 » n'est pas une image lisible : %2")
                    .arg(path, reader.errorString()),
                {}};
    return {true, {}, picture};
}

ThumbnailResult thumbnailFromFile(const QString& path, int boxWidth, int boxHeight)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {false, fr("Le fichier « %1 » n'existe pas.").arg(path), {}};
    if (info.isDir())
        return {false, fr("« %1 » est un dossier, pas une image.").arg(path), {}};
    QImage picture;
    QSize fullSize;
    if (isJpegName(path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {false,
                    fr("Impossible de lire le fichier « %1 » : %2").arg(path, file.errorString()),
                    {}};
        const QByteArray data = file.readAll();
        // Only a small picture is needed: a large photo is decoded at 1/2,
        // 1/4 or 1/8 of its size, still larger than the box, at a fraction
        // of the cost of a full decode.
        JpegHeader header;
        const JpegResult read =
            readJpegData(picture, data, path, QSize(boxWidth, boxHeight), &header);
        if (!read.ok)
            return {false, read.error, {}};
        fullSize = header.size;
        // A phone's photo is shown the right way up; the file keeps its bytes.
        const int orientation = exifOrientation(data);
        if (!applyExifOrientation(picture, orientation))
            return {false, fr("Mémoire insuffisante pour tourner l'image « %1 ».").arg(path), {}};
        if (orientation >= 5 && orientation <= 8)
            fullSize.transpose();
    } else {
        PictureRead read = readPictureFile(path);
        if (!read.ok)
            return {false, read.error, {}};
        picture = read.picture;
        fullSize = picture.size();
    }
    const QImage thumbnail = makeThumbnail(picture, boxWidth, boxHeight, fullSize);
    const QByteArray bmp = bmpFile(thumbnail);
    if (bmp.isEmpty())
        return {false, fr("Impossible de construire la vignette de « %1 ».").arg(path), {}};
    return {true, {}, bmp};
}

QImage decodeStoredThumbnail(const QByteArray& bytes)
{
    QImage img = readPlainBmp(bytes);
    if (img.isNull())
        img = QImage::fromData(bytes, "BMP");
    if (img.isNull())
        img = QImage::fromData(bytes);
    return img;
}

} // namespace tav
