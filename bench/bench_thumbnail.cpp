// The thumbnail of a large photo against the cheapest honest floor: a plain
// full decode of the same JPEG file by libjpeg-turbo, read from disk the
// same way, in the same run. Then the resampling of a 1600 x 1200 picture
// to 115 x 115, its time and throughput.
//
//   bench/bench_thumbnail [runs]
#include "BenchSupport.h"

#include "media/BitmapRoutines.h"
#include "media/JpegFile.h"
#include "media/Thumbnail.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

using namespace tav;

namespace {

// A photo-like picture: smooth gradients with fine texture, which JPEG
// codes much as it codes a real photo.
QImage photo(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB888);
    quint32 noise = 2026;
    for (int y = 0; y < height; ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28);
            row[x * 3] = uchar((x * 200 / width + n) & 0xff);
            row[x * 3 + 1] = uchar((y * 180 / height + 2 * n) & 0xff);
            row[x * 3 + 2] = uchar(((x + y) * 120 / (width + height) + 40 + n) & 0xff);
        }
    }
    return picture;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The floor: the whole picture decoded into RGB rows, nothing else. The
// file is produced here and known to be valid, so the codec's default error
// handling is enough.
long fullDecode(const QString& path)
{
    const QByteArray data = readFile(path);
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 (unsigned long)data.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    std::vector<unsigned char> pixels(size_t(cinfo.output_width) * 3 * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + size_t(cinfo.output_scanline) * cinfo.output_width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return long(pixels[pixels.size() / 2]);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(9, std::atoi(argv[1])) : 11;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    {
        const JpegResult written = writeJpegFile(photo(5000, 3333), path, 90);
        if (!written.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(written.error));
            return 1;
        }
    }
    std::printf("5000 x 3333 JPEG, quality 90: %.1f MB\n", double(readFile(path).size()) / 1e6);

    // Warm the file cache and the code once.
    long sink = fullDecode(path);
    if (!thumbnailFromFile(path, 115, 115).ok)
        return 1;

    std::vector<double> decode, thumb, decodeCpu, thumbCpu, ratios;
    for (int i = 0; i < runs; ++i) {
        // Interleaved, so that the two see the same load on the machine.
        Stopwatch w;
        sink += fullDecode(path);
        decode.push_back(w.wallMs());
        decodeCpu.push_back(w.cpuMs());
        w.start();
        const ThumbnailResult t = thumbnailFromFile(path, 115, 115);
        thumb.push_back(w.wallMs());
        thumbCpu.push_back(w.cpuMs());
        sink += t.bmp.size();
        ratios.push_back(thumb.back() / decode.back());
    }
    std::printf("full decode (floor), wall: %s\n", qPrintable(spread(decode)));
    std::printf("full decode (floor), cpu:  %s\n", qPrintable(spread(decodeCpu)));
    std::printf("115 x 115 thumbnail, wall: %s\n", qPrintable(spread(thumb)));
    std::printf("115 x 115 thumbnail, cpu:  %s\n", qPrintable(spread(thumbCpu)));
    std::printf("thumbnail / full decode: %.3f x (ratio of the medians, wall), %.3f x (cpu); "
                "per-run ratio %s; goal <= 0.5 x\n",
                median(thumb) / median(decode), median(thumbCpu) / median(decodeCpu),
                qPrintable(spread(ratios, "x", 3)));

    const QImage source = photo(1600, 1200);
    std::vector<double> resize;
    for (int i = 0; i < runs; ++i) {
        QImage picture = source;
        Stopwatch w;
        if (!resizeBitmap(picture, 115, 115))
            return 1;
        resize.push_back(w.wallMs());
        sink += picture.constScanLine(57)[57];
    }
    const double ms = median(resize);
    std::printf("resizeBitmap 1600 x 1200 -> 115 x 115: %s; %.1f Mpixel/s of source, "
                "%.2f Mpixel/s of target\n",
                qPrintable(spread(resize, "ms", 2)), 1600.0 * 1200 / ms / 1e3,
                115.0 * 115 / ms / 1e3);
    std::printf("(checksum %ld)\n", sink);
    return 0;
}
