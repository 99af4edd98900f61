#include "migration/OlePicture.h"

#include <QByteArray>
#include <QtEndian>

namespace tav {

namespace {

// Assembled byte by byte: GCC's optimiser cannot follow the bounds check
// into an unaligned load and warns of an out-of-bounds read.
quint32 u32(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 4 > b.size())
        return 0;
    const auto* p = reinterpret_cast<const uchar*>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 u16(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 2 > b.size())
        return 0;
    const auto* p = reinterpret_cast<const uchar*>(b.constData() + at);
    return quint16(p[0] | p[1] << 8);
}

// A BMP whose header holds together, cut to the length it states.
QByteArray bmpAt(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 54 > b.size() || b.at(at) != 'B' || b.at(at + 1) != 'M')
        return {};
    const quint32 size = u32(b, at + 2);
    const quint32 offset = u32(b, at + 10);
    const quint32 info = u32(b, at + 14);
    if (size < 54 || size > b.size() - at || offset < 26 || offset >= size ||
        (info != 12 && info != 40 && info != 52 && info != 56 && info != 108 && info != 124))
        return {};
    return b.mid(at, size);
}

// A JPEG from its start marker to its last end marker.
QByteArray jpegAt(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 4 > b.size() || uchar(b.at(at)) != 0xFF || uchar(b.at(at + 1)) != 0xD8 ||
        uchar(b.at(at + 2)) != 0xFF)
        return {};
    const qsizetype end = b.lastIndexOf(QByteArray("\xFF\xD9", 2));
    if (end <= at)
        return {};
    return b.mid(at, end + 2 - at);
}

QByteArray rawPicture(const QByteArray& b)
{
    if (QByteArray bmp = bmpAt(b, 0); !bmp.isEmpty())
        return bmp;
    if (b.startsWith("\xFF\xD8\xFF") || b.startsWith("\x89PNG\r\n\x1A\n") ||
        b.startsWith("GIF87a") || b.startsWith("GIF89a"))
        return b;
    return {};
}

// The native data of an OLE 1.0 object and its class name.
bool ole1Native(const QByteArray& b, qsizetype at, QByteArray* className, QByteArray* native)
{
    if (u32(b, at) != 0x00000501 || u32(b, at + 4) != 2)
        return false;
    qsizetype p = at + 8;
    const quint32 classLength = u32(b, p);
    if (classLength == 0 || classLength > 256 || p + 4 + classLength > b.size())
        return false;
    *className = b.mid(p + 4, classLength);
    while (className->endsWith('\0'))
        className->chop(1);
    p += 4 + classLength;
    for (int i = 0; i < 2; ++i) { // topic and item names
        const quint32 length = u32(b, p);
        if (length > 4096 || p + 4 + length > b.size())
            return false;
        p += 4 + length;
    }
    const quint32 size = u32(b, p);
    if (size == 0 || p + 4 + qint64(size) > b.size())
        return false;
    *native = b.mid(p + 4, size);
    return true;
}

// The file inside a "Package" object: a label, the original path, then
// the temporary path and the file's bytes, each with its length.
QByteArray packagedFile(const QByteArray& n)
{
    qsizetype p = 2;
    for (int i = 0; i < 2; ++i) {
        const qsizetype zero = n.indexOf('\0', p);
        if (zero < 0)
            return {};
        p = zero + 1;
    }
    p += 4;
    const quint32 tempLength = u32(n, p);
    if (tempLength > 4096)
        return {};
    p += 4 + tempLength;
    const quint32 size = u32(n, p);
    if (size == 0 || p + 4 + qint64(size) > n.size())
        return {};
    return n.mid(p + 4, size);
}

QByteArray wrappedPicture(const QByteArray& b)
{
    // The header Access writes before the object: signature 0x1C15, then
    // its own length.
    if (u16(b, 0) != 0x1C15)
        return {};
    const quint16 headerLength = u16(b, 2);
    QByteArray className;
    QByteArray native;
    if (!ole1Native(b, headerLength, &className, &native))
        return {};
    if (className == "Package") {
        const QByteArray file = packagedFile(native);
        return file.isEmpty() ? QByteArray() : file;
    }
    if (QByteArray picture = rawPicture(native); !picture.isEmpty())
        return picture;
    // "PBrush" and "Paint.Picture" may also hold a DIB without its file
    // header: give it one.
    const quint32 info = u32(native, 0);
    if (info == 40 && native.size() > 40) {
        const quint16 bits = u16(native, 14);
        quint32 colours = u32(native, 32);
        if (colours == 0 && bits <= 8)
            colours = 1u << bits;
        QByteArray file(14, '\0');
        file[0] = 'B';
        file[1] = 'M';
        qToLittleEndian<quint32>(quint32(14 + native.size()), file.data() + 2);
        qToLittleEndian<quint32>(14 + 40 + colours * 4, file.data() + 10);
        return file + native;
    }
    return {};
}

} // namespace

bool looksLikePicture(const QByteArray& bytes)
{
    return !rawPicture(bytes).isEmpty();
}

OlePicture unwrapOlePicture(const QByteArray& stored)
{
    if (stored.isEmpty())
        return {};
    if (QByteArray raw = rawPicture(stored); !raw.isEmpty())
        return {raw, OlePictureSource::Raw};
    if (QByteArray inner = wrappedPicture(stored); !inner.isEmpty())
        return {inner, OlePictureSource::Wrapped};
    for (qsizetype at = stored.indexOf("BM"); at >= 0; at = stored.indexOf("BM", at + 1))
        if (QByteArray bmp = bmpAt(stored, at); !bmp.isEmpty())
            return {bmp, OlePictureSource::Scanned};
    const qsizetype jpeg = stored.indexOf(QByteArray("\xFF\xD8\xFF", 3));
    if (QByteArray j = jpegAt(stored, jpeg); !j.isEmpty())
        return {j, OlePictureSource::Scanned};
    return {};
}

} // namespace tav
