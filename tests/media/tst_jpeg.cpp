#include "media/JpegFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

#include <jpeglib.h>

using namespace tav;

namespace {

// A picture with smooth gradients, which JPEG keeps closely at quality 100.
QImage gradient(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uchar* p = picture.scanLine(y) + x * 3;
            p[0] = uchar(x * 255 / (width - 1));
            p[1] = uchar(y * 255 / (height - 1));
            p[2] = 128;
        }
    return picture;
}

int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    for (int r = 0; r < x.height(); ++r)
        for (int i = 0; i < x.width() * 3; ++i)
            largest = qMax(largest, qAbs(int(x.constScanLine(r)[i]) - int(y.constScanLine(r)[i])));
    return largest;
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Decoded by the independent djpeg into a PPM or PGM file, read back by Qt.
QImage decodeWithDjpeg(const QString& jpeg, const QString& out)
{
    if (!run(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), out, jpeg}))
        return {};
    return QImage(out);
}

// Writes a four-channel JPEG as scanners do: Adobe-inverted inks, stored
// as CMYK or YCCK.
QByteArray fourChannelJpeg(const uchar ink[4], J_COLOR_SPACE stored)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 16;
    cinfo.image_height = 16;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, stored);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    unsigned char row[16 * 4];
    for (int x = 0; x < 16; ++x)
        for (int c = 0; c < 4; ++c)
            row[x * 4 + c] = ink[c];
    for (int y = 0; y < 16; ++y) {
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    free(buffer);
    return bytes;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestJpeg : public QObject
{
    Q_OBJECT
private slots:
    void writtenFilesDecodeWithDjpeg();
    void qualityIsApplied();
    void greyPicturesAreWrittenInColour();
    void readMatchesDjpegExactly();
    void readsGreyFiles();
    void scaledDecodingCoversTheAskedSize();
    void fourChannelFilesGiveTheirColours();
    void badFilesGiveAReasonAndChangeNothing();
    void writeFailureKeepsTheEarlierFile();
    void mutatedFilesNeverCrash();
    void compressToJpegAtQualityFifty();

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

void TestJpeg::writtenFilesDecodeWithDjpeg()
{
    const QImage picture = gradient(37, 23);
    const JpegResult written = writeJpegFile(picture, path(QStringLiteral("g.jpg")), 100);
    QVERIFY2(written.ok, qPrintable(written.error));
    const QImage peer =
        decodeWithDjpeg(path(QStringLiteral("g.jpg")), path(QStringLiteral("g.ppm")));
    QCOMPARE(peer.size(), QSize(37, 23));
    QVERIFY(largestDifference(peer, picture) <= 6);
    // JFIF marker right after the start of image.
    QCOMPARE(fileBytes(path(QStringLiteral("g.jpg"))).mid(6, 4), QByteArray("JFIF"));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("g.jpg")) + QStringLiteral(".tmp")));
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("g.jpg*")}, QDir::Files).size(), 1);
}

void TestJpeg::qualityIsApplied()
{
    const QImage picture = gradient(64, 64);
    QVERIFY(writeJpegFile(picture, path(QStringLiteral("q10.jpg")), 10).ok);
    QVERIFY(writeJpegFile(picture, path(QStringLiteral("q100.jpg")), 100).ok);
    QVERIFY(QFileInfo(path(QStringLiteral("q10.jpg"))).size() <
            QFileInfo(path(QStringLiteral("q100.jpg"))).size() / 2);
    QImage low;
    QVERIFY(readJpegFile(low, path(QStringLiteral("q10.jpg"))).ok);
    QImage high;
    QVERIFY(readJpegFile(high, path(QStringLiteral("q100.jpg"))).ok);
    QVERIFY(largestDifference(high, picture) < largestDifference(low, picture));
}

void TestJpeg::greyPicturesAreWrittenInColour()
{
    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(QColor(90, 90, 90));
    QVERIFY(writeJpegFile(grey, path(QStringLiteral("grey.jpg")), 100).ok);
    // djpeg writes a PPM (P6) for a three-channel file, a PGM for a grey one.
    QVERIFY(
        run(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), path(QStringLiteral("grey.pnm")),
                                      path(QStringLiteral("grey.jpg"))}));
    QCOMPARE(fileBytes(path(QStringLiteral("grey.pnm"))).left(2), QByteArray("P6"));

    QImage argb(4, 4, QImage::Format_ARGB32);
    argb.fill(Qt::red);
    const JpegResult refused = writeJpegFile(argb, path(QStringLiteral("argb.jpg")), 100);
    QVERIFY(!refused.ok);
    QVERIFY(refused.error.contains(QStringLiteral("format de pixels")));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("argb.jpg"))));
}

void TestJpeg::readMatchesDjpegExactly()
{
    const QImage source = gradient(50, 30);
    QVERIFY(source.save(path(QStringLiteral("src.ppm"))));
    QVERIFY(run(QStringLiteral("cjpeg"),
                {QStringLiteral("-quality"), QStringLiteral("75"), QStringLiteral("-outfile"),
                 path(QStringLiteral("c.jpg")), path(QStringLiteral("src.ppm"))}));
    QImage ours;
    const JpegResult read = readJpegFile(ours, path(QStringLiteral("c.jpg")));
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(ours.format(), QImage::Format_RGB888);
    const QImage peer =
        decodeWithDjpeg(path(QStringLiteral("c.jpg")), path(QStringLiteral("c.ppm")));
    QCOMPARE(ours.size(), peer.size());
    QCOMPARE(largestDifference(ours, peer), 0);
}

void TestJpeg::readsGreyFiles()
{
    QVERIFY(gradient(20, 10).save(path(QStringLiteral("g2.ppm"))));
    QVERIFY(run(QStringLiteral("cjpeg"),
                {QStringLiteral("-grayscale"), QStringLiteral("-outfile"),
                 path(QStringLiteral("g2.jpg")), path(QStringLiteral("g2.ppm"))}));
    QImage grey;
    QVERIFY(readJpegFile(grey, path(QStringLiteral("g2.jpg"))).ok);
    QCOMPARE(grey.format(), QImage::Format_Grayscale8);
    QCOMPARE(grey.size(), QSize(20, 10));
    const QImage peer =
        decodeWithDjpeg(path(QStringLiteral("g2.jpg")), path(QStringLiteral("g2.pgm")));
    QCOMPARE(largestDifference(grey, peer), 0);
}

void TestJpeg::scaledDecodingCoversTheAskedSize()
{
    QVERIFY(writeJpegFile(gradient(100, 60), path(QStringLiteral("s.jpg")), 90).ok);
    const QByteArray bytes = fileBytes(path(QStringLiteral("s.jpg")));
    const QList<QPair<QSize, QSize>> cases = {
        {QSize(), QSize(100, 60)},         {QSize(13, 8), QSize(13, 8)},
        {QSize(13, 9), QSize(25, 15)},     {QSize(14, 8), QSize(25, 15)},
        {QSize(50, 30), QSize(50, 30)},    {QSize(51, 10), QSize(100, 60)},
        {QSize(500, 500), QSize(100, 60)},
    };
    for (const auto& [atLeast, expected] : cases) {
        QImage picture;
        QVERIFY(readJpegData(picture, bytes, QStringLiteral("s.jpg"), atLeast).ok);
        QCOMPARE(picture.size(), expected);
    }
    // The same pixels as the peer's scaled decoding.
    QImage quarter;
    QVERIFY(readJpegData(quarter, bytes, QStringLiteral("s.jpg"), QSize(20, 10)).ok);
    QVERIFY(run(QStringLiteral("djpeg"),
                {QStringLiteral("-scale"), QStringLiteral("1/4"), QStringLiteral("-outfile"),
                 path(QStringLiteral("s4.ppm")), path(QStringLiteral("s.jpg"))}));
    const QImage peer(path(QStringLiteral("s4.ppm")));
    QCOMPARE(quarter.size(), peer.size());
    QCOMPARE(largestDifference(quarter, peer), 0);
}

void TestJpeg::fourChannelFilesGiveTheirColours()
{
    // Pure red in Adobe's inverted inks: no cyan, full magenta and yellow,
    // no black.
    const uchar red[4] = {255, 0, 0, 255};
    for (J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
        QImage picture;
        const JpegResult read =
            readJpegData(picture, fourChannelJpeg(red, stored), QStringLiteral("scan.jpg"));
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(picture.format(), QImage::Format_RGB888);
        const QColor c = picture.pixelColor(8, 8);
        QVERIFY2(c.red() > 245 && c.green() < 10 && c.blue() < 10, qPrintable(c.name()));
    }
}

void TestJpeg::badFilesGiveAReasonAndChangeNothing()
{
    QVERIFY(writeJpegFile(gradient(64, 48), path(QStringLiteral("whole.jpg")), 90).ok);
    const QByteArray whole = fileBytes(path(QStringLiteral("whole.jpg")));

    writeBytes(path(QStringLiteral("empty.jpg")), {});
    writeBytes(path(QStringLiteral("half.jpg")), whole.left(whole.size() / 2));
    writeBytes(path(QStringLiteral("header.jpg")), whole.left(20));
    QImage bmp(4, 4, QImage::Format_RGB888);
    bmp.fill(Qt::blue);
    QVERIFY(bmp.save(path(QStringLiteral("picture.jpg")), "BMP"));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.jpg")));
    // A start-of-frame claiming 30000 x 30000 pixels.
    QByteArray huge = whole;
    const int sof = huge.indexOf("\xff\xc0");
    QVERIFY(sof > 0);
    huge[sof + 5] = char(30000 >> 8);
    huge[sof + 6] = char(30000 & 0xff);
    huge[sof + 7] = char(30000 >> 8);
    huge[sof + 8] = char(30000 & 0xff);
    writeBytes(path(QStringLiteral("huge.jpg")), huge);

    const QImage before = gradient(3, 3);
    const QList<QPair<QString, QString>> cases = {
        {QStringLiteral("missing.jpg"), QStringLiteral("n'existe pas")},
        {QStringLiteral("empty.jpg"), QStringLiteral("est vide")},
        {QStringLiteral("half.jpg"), QStringLiteral("endommagé")},
        {QStringLiteral("header.jpg"), QStringLiteral("endommagé")},
        {QStringLiteral("picture.jpg"), QStringLiteral("endommagé")},
        {QStringLiteral("folder.jpg"), QStringLiteral("est un dossier")},
        {QStringLiteral("huge.jpg"), QStringLiteral("30000 × 30000")},
    };
    for (const auto& [name, reason] : cases) {
        QImage picture = before;
        const JpegResult result = readJpegFile(picture, path(name));
        QVERIFY2(!result.ok, qPrintable(name));
        QVERIFY2(result.error.contains(reason), qPrintable(result.error));
        QVERIFY2(result.error.contains(name), qPrintable(result.error));
        QCOMPARE(picture, before);
    }
}

void TestJpeg::writeFailureKeepsTheEarlierFile()
{
    QVERIFY(writeJpegFile(gradient(10, 10), path(QStringLiteral("keep.jpg")), 100).ok);
    const QByteArray earlier = fileBytes(path(QStringLiteral("keep.jpg")));
    QVERIFY(!writeJpegFile(QImage(), path(QStringLiteral("keep.jpg")), 100).ok);
    QCOMPARE(fileBytes(path(QStringLiteral("keep.jpg"))), earlier);

    const JpegResult noFolder =
        writeJpegFile(gradient(10, 10), path(QStringLiteral("none/x.jpg")), 100);
    QVERIFY(!noFolder.ok);
    QVERIFY(noFolder.error.startsWith(QStringLiteral("Erreur lors de l'écriture")));
}

void TestJpeg::mutatedFilesNeverCrash()
{
    QVERIFY(writeJpegFile(gradient(24, 16), path(QStringLiteral("seed.jpg")), 75).ok);
    const QByteArray seed = fileBytes(path(QStringLiteral("seed.jpg")));
    QRandomGenerator random(12);
    int decoded = 0;
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes = seed;
        const int edits = 1 + int(random.bounded(8));
        for (int e = 0; e < edits; ++e)
            bytes[int(random.bounded(quint32(bytes.size())))] = char(random.bounded(256));
        if (random.bounded(4) == 0)
            bytes.truncate(int(random.bounded(quint32(bytes.size()))));
        QImage picture;
        const JpegResult result = readJpegData(picture, bytes, QStringLiteral("fuzz.jpg"));
        if (result.ok) {
            ++decoded;
            QVERIFY(!picture.isNull());
        } else {
            QVERIFY(!result.error.isEmpty());
            QVERIFY(picture.isNull());
        }
    }
    QVERIFY(decoded > 0);
}

void TestJpeg::compressToJpegAtQualityFifty()
{
    const QImage picture = gradient(64, 64);
    QByteArray jpeg;
    QVERIFY(compressToJpeg(picture, jpeg));
    QVERIFY(jpeg.startsWith("\xff\xd8"));
    QImage back;
    QVERIFY(readJpegData(back, jpeg, QStringLiteral("memory")).ok);
    QCOMPARE(back.size(), picture.size());
    // Smaller than the same picture at quality 100, larger than at 10.
    QVERIFY(writeJpegFile(picture, path(QStringLiteral("c100.jpg")), 100).ok);
    QVERIFY(writeJpegFile(picture, path(QStringLiteral("c10.jpg")), 10).ok);
    QVERIFY(jpeg.size() < QFileInfo(path(QStringLiteral("c100.jpg"))).size());
    QVERIFY(jpeg.size() > QFileInfo(path(QStringLiteral("c10.jpg"))).size());

    QByteArray untouched("x");
    QVERIFY(!compressToJpeg(QImage(), untouched));
    QCOMPARE(untouched, QByteArray("x"));
}

QTEST_GUILESS_MAIN(TestJpeg)
#include "tst_jpeg.moc"
