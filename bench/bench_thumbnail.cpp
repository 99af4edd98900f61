// The thumbnail of a large photo against the cheapest honest floor: the
// same JPEG file read from disk the same way and decoded by libjpeg-turbo
// at 1/8 scale, as `djpeg -scale 1/8` does, each row into one reused row
// buffer and nothing kept: the least work that turns a large JPEG into a
// small picture. A full decode, the same way, is shown beside it. Then the
// resampling of a 1600 x 1200 picture to 115 x 115, its time and
// throughput.
//
//   bench/bench_thumbnail [runs]
#include "BenchSupport.h"
#include "core/HeapTuning.h"

#include "media/BitmapRoutines.h"
#include "media/JpegFile.h"
#include "media/Thumbnail.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
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

// The picture decoded into RGB rows at 1/`scale` of its size, one row at a
// time into the same buffer. The file is produced here and known to be
// valid, so the codec's default error handling is enough.
long decode(const QString& path, unsigned scale)
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
    cinfo.scale_num = 1;
    cinfo.scale_denom = scale;
    jpeg_start_decompress(&cinfo);
    // Left uninitialised: the decoder writes every byte of it.
    std::unique_ptr<unsigned char[]> row(new unsigned char[size_t(cinfo.output_width) * 3]);
    long sum = 0;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW line = row.get();
        jpeg_read_scanlines(&cinfo, &line, 1);
        sum += line[0];
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return sum;
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
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
    long sink = decode(path, 8) + decode(path, 1);
    if (!thumbnailFromFile(path, 115, 115).ok)
        return 1;

    std::vector<double> full, scaled, thumb, scaledCpu, thumbCpu, ratios;
    for (int i = 0; i < runs; ++i) {
        // Interleaved, so that all three see the same load on the machine.
        Stopwatch w;
        sink += decode(path, 8);
        scaled.push_back(w.wallMs());
        scaledCpu.push_back(w.cpuMs());
        w.start();
        const ThumbnailResult t = thumbnailFromFile(path, 115, 115);
        thumb.push_back(w.wallMs());
        thumbCpu.push_back(w.cpuMs());
        sink += t.bmp.size();
        ratios.push_back(thumb.back() / scaled.back());
        w.start();
        sink += decode(path, 1);
        full.push_back(w.wallMs());
    }
    std::printf("1/8 decode (floor), wall:  %s\n", qPrintable(spread(scaled)));
    std::printf("1/8 decode (floor), cpu:   %s\n", qPrintable(spread(scaledCpu)));
    std::printf("115 x 115 thumbnail, wall: %s\n", qPrintable(spread(thumb)));
    std::printf("115 x 115 thumbnail, cpu:  %s\n", qPrintable(spread(thumbCpu)));
    std::printf("full decode, wall:         %s\n", qPrintable(spread(full)));
    std::printf("thumbnail / 1/8 decode: %.3f x (ratio of the medians, wall), %.3f x (cpu); "
                "per-run ratio %s; goal <= 1.1 x\n",
                median(thumb) / median(scaled), median(thumbCpu) / median(scaledCpu),
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
