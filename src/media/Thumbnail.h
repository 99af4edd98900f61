#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace tav {

// Thumbnail boxes: image documents and the animal's photo.
inline constexpr int kDocumentThumbnailSide = 90;
inline constexpr int kPhotoThumbnailSide = 115;

// A white 24-bit picture of the box's size with the picture fitted into it
// (fitInBox), resampled (resizeBitmap) and centred. An empty picture, or
// one that cannot be resampled, gives the white box alone.
QImage makeThumbnail(const QImage& picture, int boxWidth, int boxHeight);
// The same from a reduced copy of a picture of fullSize: placed as the
// whole picture would be, resampled from the copy.
QImage makeThumbnail(const QImage& picture, int boxWidth, int boxHeight, QSize fullSize);

// A complete 24-bit BMP file (file header, information header, bottom-up
// rows padded to four bytes) holding the picture, converted to 24 bits.
// Empty for an empty picture.
QByteArray bmpFile(const QImage& picture);

// A stored thumbnail decoded: the uncompressed BMP this program writes is
// read directly (the general image reader costs several times the
// decoding), anything else through Qt's readers. Null when unreadable.
QImage decodeStoredThumbnail(const QByteArray& bytes);

// The outcome of building a thumbnail from a file.
struct ThumbnailResult
{
    bool ok = true;
    QString error; // French, ready to show
    QByteArray bmp;
};

// A picture file other than JPEG read by Qt's image readers, the right way
// up; a missing, unreadable or oversized file gives a French reason.
struct PictureRead
{
    bool ok = true;
    QString error;
    QImage picture;
};
PictureRead readPictureFile(const QString& path);

// Decodes a picture file (JPEG through libjpeg-turbo, other formats through
// Qt's readers) and returns its thumbnail as a BMP file. A file that cannot
// be decoded gives a French reason, never a thumbnail.
ThumbnailResult thumbnailFromFile(const QString& path, int boxWidth, int boxHeight);

} // namespace tav
