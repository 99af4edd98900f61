#include "PictureChecks.h"

#include "media/JpegFile.h"
#include "media/Orientation.h"
#include "media/Thumbnail.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

using namespace tav;

namespace {

// An APP1 segment holding a one-entry EXIF block with the orientation.
QByteArray exifSegment(int orientation, bool bigEndian)
{
    QByteArray tiff;
    auto put16 = [&](int v) {
        if (bigEndian) {
            tiff.append(char(v >> 8));
            tiff.append(char(v & 0xff));
        } else {
            tiff.append(char(v & 0xff));
            tiff.append(char(v >> 8));
        }
    };
    auto put32 = [&](int v) {
        if (bigEndian) {
            put16(v >> 16);
            put16(v & 0xffff);
        } else {
            put16(v & 0xffff);
            put16(v >> 16);
        }
    };
    tiff.append(bigEndian ? "MM" : "II");
    put16(42);
    put32(8);
    put16(2);
    put16(0x010f); // a make tag before the orientation
    put16(2);
    put32(4);
    tiff.append("abc", 4);
    put16(0x0112);
    put16(3);
    put32(1);
    put16(orientation);
    put16(0);
    put32(0);
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(body.size()) + 2;
    return QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + body;
}

QByteArray withExif(const QByteArray& jpeg, const QByteArray& segment)
{
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray smallJpeg(const QImage& picture, const QString& folder)
{
    const QString path = folder + QStringLiteral("/plain.jpg");
    if (!writeJpegFile(picture, path, 100).ok)
        return {};
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage grey(int width, int height, const std::vector<int>& values)
{
    QImage picture(width, height, QImage::Format_RGB888);
    for (int i = 0; i < width * height; ++i)
        picture.setPixelColor(i % width, i / width, QColor(values[size_t(i)], 0, 0));
    return picture;
}

std::vector<int> reds(const QImage& picture)
{
    std::vector<int> values;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            values.push_back(picture.pixelColor(x, y).red());
    return values;
}

} // namespace

class TestOrientation : public QObject
{
    Q_OBJECT
private slots:
    void readsTheTag();
    void damagedBlocksGiveNoTurn();
    void everyOrientationShowsUpright_data();
    void everyOrientationShowsUpright();
    void phoneThumbnailIsUpright();

private:
    QTemporaryDir m_dir;
};

void TestOrientation::readsTheTag()
{
    QImage picture(16, 8, QImage::Format_RGB888);
    picture.fill(Qt::gray);
    const QByteArray jpeg = smallJpeg(picture, m_dir.path());
    QVERIFY(!jpeg.isEmpty());
    QCOMPARE(exifOrientation(jpeg), 1);
    for (int value : {3, 6, 8})
        for (bool bigEndian : {false, true})
            QCOMPARE(exifOrientation(withExif(jpeg, exifSegment(value, bigEndian))), value);
    QCOMPARE(exifOrientation(withExif(jpeg, exifSegment(9, false))), 1);

    // The tag does not hinder decoding.
    QImage decoded;
    QVERIFY(readJpegData(decoded, withExif(jpeg, exifSegment(6, true)), QStringLiteral("x")).ok);
    QCOMPARE(decoded.size(), QSize(16, 8));
}

void TestOrientation::damagedBlocksGiveNoTurn()
{
    QImage picture(8, 8, QImage::Format_RGB888);
    picture.fill(Qt::gray);
    const QByteArray tagged = withExif(smallJpeg(picture, m_dir.path()), exifSegment(6, false));
    QCOMPARE(exifOrientation(tagged.left(30)), 1);
    QCOMPARE(exifOrientation(QByteArray()), 1);
    QCOMPARE(exifOrientation(QByteArray("\xff\xd8\xff\xe1\xff\xff", 6)), 1);
    QRandomGenerator random(5);
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes = tagged;
        for (int e = 0; e < 3; ++e)
            bytes[2 + int(random.bounded(60))] = char(random.bounded(256));
        const int value = exifOrientation(bytes);
        QVERIFY(value >= 1 && value <= 8);
    }
}

void TestOrientation::everyOrientationShowsUpright_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<std::vector<int>>("values");
    // Source:  10 20 30
    //          40 50 60
    QTest::newRow("1") << 1 << QSize(3, 2) << std::vector<int>{10, 20, 30, 40, 50, 60};
    QTest::newRow("2 mirrored") << 2 << QSize(3, 2) << std::vector<int>{30, 20, 10, 60, 50, 40};
    QTest::newRow("3 half turn") << 3 << QSize(3, 2) << std::vector<int>{60, 50, 40, 30, 20, 10};
    QTest::newRow("4 flipped") << 4 << QSize(3, 2) << std::vector<int>{40, 50, 60, 10, 20, 30};
    QTest::newRow("5 transpose") << 5 << QSize(2, 3) << std::vector<int>{10, 40, 20, 50, 30, 60};
    QTest::newRow("6 clockwise") << 6 << QSize(2, 3) << std::vector<int>{40, 10, 50, 20, 60, 30};
    QTest::newRow("7 transverse") << 7 << QSize(2, 3) << std::vector<int>{60, 30, 50, 20, 40, 10};
    QTest::newRow("8 counter") << 8 << QSize(2, 3) << std::vector<int>{30, 60, 20, 50, 10, 40};
}

void TestOrientation::everyOrientationShowsUpright()
{
    QFETCH(int, orientation);
    QImage picture = grey(3, 2, {10, 20, 30, 40, 50, 60});
    QVERIFY(applyExifOrientation(picture, orientation));
    QTEST(picture.size(), "size");
    QTEST(reds(picture), "values");
}

void TestOrientation::phoneThumbnailIsUpright()
{
    // A landscape sensor picture tagged "turn clockwise" is a portrait.
    QImage picture(60, 40, QImage::Format_RGB888);
    picture.fill(Qt::black);
    const QByteArray tagged = withExif(smallJpeg(picture, m_dir.path()), exifSegment(6, true));
    const QString path = m_dir.filePath(QStringLiteral("phone.jpg"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(tagged);
    f.close();
    const ThumbnailResult result = thumbnailFromFile(path, 90, 90);
    QVERIFY2(result.ok, qPrintable(result.error));
    const QImage shown = QImage::fromData(result.bmp, "BMP");
    // 40 x 60 fits the box unscaled: centred at (25, 15).
    QCOMPARE(nonWhite(shown), QRect(25, 15, 40, 60));
}

QTEST_GUILESS_MAIN(TestOrientation)
#include "tst_orientation.moc"
