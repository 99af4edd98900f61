#include "JpegFile.h"

#include "core/FrenchText.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace tav {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the routine that set `jump`. Only plain C data lives in
// the frames it jumps over.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool truncated = false;
};

void errorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void emitMessage(j_common_ptr cinfo, int level)
{
    // A file cut short decodes "successfully" with grey filling the rest:
    // remember it so that it is refused like any damaged file.
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        err->truncated = true;
}

void outputMessage(j_common_ptr) {}

void installErrorManager(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.emit_message = emitMessage;
    err.pub.output_message = outputMessage;
}

struct Decoder
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    bool created = false;
};

// Reads the header and starts decompression. False on any codec error.
bool startDecoding(Decoder* d, const unsigned char* data, unsigned long size, int minWidth,
                   int minHeight)
{
    if (setjmp(d->err.jump))
        return false;
    jpeg_create_decompress(&d->cinfo);
    d->created = true;
    jpeg_mem_src(&d->cinfo, data, size);
    if (jpeg_read_header(&d->cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    switch (d->cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        d->cinfo.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        d->cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        d->cinfo.out_color_space = JCS_RGB;
        break;
    }
    if (minWidth > 0 && minHeight > 0) {
        for (unsigned int denom : {8u, 4u, 2u}) {
            // The codec rounds a scaled side up.
            const auto scaled = [denom](JDIMENSION side) {
                return (side + denom - 1) / denom;
            };
            if (scaled(d->cinfo.image_width) >= JDIMENSION(minWidth) &&
                scaled(d->cinfo.image_height) >= JDIMENSION(minHeight)) {
                d->cinfo.scale_num = 1;
                d->cinfo.scale_denom = denom;
                break;
            }
        }
    }
    jpeg_calc_output_dimensions(&d->cinfo);
    return true;
}

bool beginOutput(Decoder* d)
{
    if (setjmp(d->err.jump))
        return false;
    return jpeg_start_decompress(&d->cinfo) == TRUE;
}

// Decodes one row into `row` (in the codec's output colour space).
bool readRow(Decoder* d, unsigned char* row)
{
    if (setjmp(d->err.jump))
        return false;
    JSAMPROW rows[1] = {row};
    return jpeg_read_scanlines(&d->cinfo, rows, 1) == 1;
}

bool finishDecoding(Decoder* d)
{
    if (setjmp(d->err.jump))
        return false;
    jpeg_finish_decompress(&d->cinfo);
    return true;
}

// CMYK to RGB. Adobe's files store the inks inverted, which is by far the
// common case; without its marker the values are taken as plain inks.
void cmykRowToRgb(const unsigned char* cmyk, unsigned char* rgb, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        rgb[0] = (unsigned char)((c * k + 127) / 255);
        rgb[1] = (unsigned char)((m * k + 127) / 255);
        rgb[2] = (unsigned char)((y * k + 127) / 255);
    }
}

struct Encoder
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    bool created = false;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

bool encode(Encoder* e, const QImage* picture, int quality)
{
    if (setjmp(e->err.jump))
        return false;
    jpeg_create_compress(&e->cinfo);
    e->created = true;
    jpeg_mem_dest(&e->cinfo, &e->buffer, &e->size);
    e->cinfo.image_width = JDIMENSION(picture->width());
    e->cinfo.image_height = JDIMENSION(picture->height());
    e->cinfo.input_components = 3;
    e->cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e->cinfo);
    jpeg_set_colorspace(&e->cinfo, JCS_YCbCr);
    jpeg_set_quality(&e->cinfo, quality, TRUE);
    jpeg_start_compress(&e->cinfo, TRUE);
    for (int y = 0; y < picture->height(); ++y) {
        JSAMPROW rows[1] = {const_cast<unsigned char*>(picture->constScanLine(y))};
        jpeg_write_scanlines(&e->cinfo, rows, 1);
    }
    jpeg_finish_compress(&e->cinfo);
    return true;
}

QString damaged(const QString& name)
{
    return fr("Le fichier « %1 » n'est pas une image JPEG lisible : il est endommagé, tronqué "
              "ou d'un autre format.")
        .arg(name);
}

} // namespace

JpegResult writeJpegFile(const QImage& picture, const QString& path, int quality)
{
    const QString failure = fr("Erreur lors de l'écriture de l'image JPEG « %1 »").arg(path);
    if (picture.isNull() || (picture.format() != QImage::Format_RGB888 &&
                             picture.format() != QImage::Format_Grayscale8))
        return {false, failure + fr(" : format de pixels non pris en charge.")};
    // Grey rows are widened to three channels: the file is always YCbCr.
    const QImage rgb = picture.format() == QImage::Format_RGB888
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return {false, failure + fr(" : mémoire insuffisante.")};

    Encoder e;
    installErrorManager(e.err);
    e.cinfo.err = &e.err.pub;
    const bool encoded = encode(&e, &rgb, quality);
    if (e.created)
        jpeg_destroy_compress(&e.cinfo);
    QByteArray bytes;
    if (encoded && e.buffer)
        bytes = QByteArray(reinterpret_cast<const char*>(e.buffer), qsizetype(e.size));
    std::free(e.buffer);
    if (!encoded || bytes.isEmpty())
        return {false, failure + QLatin1Char('.')};

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, failure + QStringLiteral(" : ") + file.errorString()};
    if (file.write(bytes) != bytes.size() || !file.commit())
        return {false, failure + QStringLiteral(" : ") + file.errorString()};
    return {};
}

JpegResult readJpegFile(QImage& picture, const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {false, fr("Le fichier « %1 » n'existe pas.").arg(path)};
    if (info.isDir())
        return {false, fr("« %1 » est un dossier, pas une image.").arg(path)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false,
                fr("Impossible de lire le fichier « %1 » : %2").arg(path, file.errorString())};
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false,
                fr("Impossible de lire le fichier « %1 » : %2").arg(path, file.errorString())};
    return readJpegData(picture, data, path);
}

JpegResult readJpegData(QImage& picture, const QByteArray& data, const QString& name, QSize atLeast,
                        JpegHeader* header)
{
    if (data.isEmpty())
        return {false, fr("Le fichier « %1 » est vide.").arg(name)};

    Decoder d;
    installErrorManager(d.err);
    d.cinfo.err = &d.err.pub;
    JpegResult result;
    QImage decoded;
    if (!startDecoding(&d, reinterpret_cast<const unsigned char*>(data.constData()),
                       (unsigned long)data.size(), atLeast.width(), atLeast.height())) {
        result = {false, damaged(name)};
    } else {
        if (header)
            header->size = QSize(int(d.cinfo.image_width), int(d.cinfo.image_height));
        const int width = int(d.cinfo.output_width);
        const int height = int(d.cinfo.output_height);
        const int components = d.cinfo.output_components;
        if (qint64(width) * height > kJpegPixelLimit) {
            result = {false, fr("L'image « %1 » est trop grande (%2 × %3 pixels).")
                                 .arg(name)
                                 .arg(width)
                                 .arg(height)};
        } else if (components != 1 && components != 3 && components != 4) {
            result = {false, damaged(name)};
        } else {
            decoded = QImage(width, height,
                             components == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
            std::vector<unsigned char> cmyk(components == 4 ? size_t(width) * 4 : 0);
            bool ok = !decoded.isNull() && beginOutput(&d);
            if (decoded.isNull())
                result = {false, fr("Mémoire insuffisante pour ouvrir l'image « %1 » (%2 × %3 "
                                    "pixels).")
                                     .arg(name)
                                     .arg(width)
                                     .arg(height)};
            for (int y = 0; ok && y < height; ++y) {
                if (components == 4) {
                    ok = readRow(&d, cmyk.data());
                    if (ok)
                        cmykRowToRgb(cmyk.data(), decoded.scanLine(y), width,
                                     d.cinfo.saw_Adobe_marker);
                } else {
                    ok = readRow(&d, decoded.scanLine(y));
                }
            }
            ok = ok && finishDecoding(&d);
            if (result.ok && (!ok || d.err.truncated))
                result = {false, damaged(name)};
        }
    }
    if (d.created)
        jpeg_destroy_decompress(&d.cinfo);
    if (result.ok)
        picture = decoded;
    return result;
}

bool compressToJpeg(const QImage& picture, QByteArray& jpeg)
{
    if (picture.isNull())
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "JPG", 50))
        return false;
    jpeg = bytes;
    return true;
}

} // namespace tav
