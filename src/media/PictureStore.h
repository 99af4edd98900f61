#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

namespace tav {

// The outcome of a picture command.
using PictureResult = Result;

// What a stored picture may be (section Scan of the settings).
struct PictureLimits
{
    int maxWidth = 5000;   // largest side, in pixels
    int jpegQuality = 100; // 1 to 100
};

// Writes the thumbnail (a complete BMP file, or empty bytes to clear it)
// into the row, in one transaction of the caller's; returns an empty text
// on success, else the French reason. It runs once the picture file is in
// place: a failure puts the earlier file back.
using ThumbnailWriter = std::function<QString(const QByteArray& bmp)>;
// Clears the row's picture columns the same way.
using RowClearer = std::function<QString()>;

// True for the names whose bytes are stored as they are (".jpg", ".jpeg").
bool isJpegFileName(const QString& path);

// The extensions the installed image readers accept beside JPEG and BMP,
// as patterns ("*.png", "*.webp"...), sorted.
QStringList otherPicturePatterns();

// Stores a picture chosen by the user as the target JPEG file with its
// thumbnail: a JPEG is copied byte for byte, any other picture converted
// to JPEG at the limits' quality, reduced to the largest side first when
// larger. The thumbnail is made from the source (the right way up), fitted
// into the box on white. Either the file and the row both change, or
// neither: a picture that cannot be read, a file that cannot be written or
// a row that cannot be written leaves the earlier file and row as they
// were, and no temporary file behind.
PictureResult storeImageAndThumbnail(const QString& source, const QString& target, QSize box,
                                     const PictureLimits& limits, const ThumbnailWriter& writeRow);

// The same for an animal's photo, in its 115 x 115 box.
PictureResult storePhotoAndThumbnail(const QString& source, const QString& target,
                                     const PictureLimits& limits, const ThumbnailWriter& writeRow);

// Clears the row's picture columns, then deletes the file. When the row
// cannot be written, the file stays.
PictureResult clearImageColumns(const QString& file, const RowClearer& clearRow);

// Deletes the file when it exists; a missing file is no failure.
PictureResult deleteImageFile(const QString& path);

// Copies the picture file to the destination, replacing a file of that
// name only once the copy is complete. A destination without extension
// gets ".jpg". The missing picture gives the "cannot find" message.
PictureResult saveImageCopy(const QString& file, const QString& destination);

// The name proposed when saving a copy: the given name made a valid file
// name, "*.jpg" when it is empty.
QString proposedPictureName(const QString& title);

// A stored picture decoded for showing, the right way up: a JPEG through
// libjpeg-turbo with its EXIF orientation applied, any other picture
// through Qt's readers. A French reason when it cannot be read.
struct ShownPicture
{
    bool ok = true;
    QString error;
    QImage picture;
};
ShownPicture readShownPicture(const QString& path);

// Why a picture file cannot be shown in the viewer (the looked-up
// "cannot show" message), or empty when it can.
QString pictureViewProblem(const QString& file);

} // namespace tav
