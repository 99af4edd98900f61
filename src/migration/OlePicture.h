#pragma once

#include <QByteArray>

namespace tav {

// Where the picture of an OLE column was found.
enum class OlePictureSource {
    Raw,     // the column holds the picture file itself
    Wrapped, // inside the wrapper that Access puts around a pasted object
    Scanned, // found by its signature inside bytes of an unknown layout
    None     // no picture
};

struct OlePicture
{
    QByteArray bytes; // a BMP, JPEG, PNG or GIF file, or a packaged file
    OlePictureSource source = OlePictureSource::None;
};

// The picture that an OLE column holds. Values written by a program are
// the picture's bytes; values pasted in Access carry an OLE header and an
// OLE 1.0 object: a "Paint.Picture", "PBrush" or "Bitmap Image" holding a
// BMP, or a "Package" holding a file. Tried in that order, then a scan for
// the signature of a BMP or a JPEG.
OlePicture unwrapOlePicture(const QByteArray& stored);

// True when the bytes start like a picture file this program can show.
bool looksLikePicture(const QByteArray& bytes);

} // namespace tav
