#include "media/BitmapRoutines.h"

#include <QtTest>

#include <vector>

using namespace tav;

namespace {

// A 24-bit picture whose three bytes of each pixel hold the same value.
QImage greyPicture(int width, int height, const std::vector<int>& values)
{
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uchar* p = picture.scanLine(y) + x * 3;
            p[0] = p[1] = p[2] = uchar(values[size_t(y * width + x)]);
        }
    return picture;
}

// The first byte of every pixel, row by row; fails when the three bytes differ.
std::vector<int> greyValues(const QImage& picture)
{
    std::vector<int> values;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const uchar* p = picture.constScanLine(y) + x * 3;
            if (p[0] != p[1] || p[1] != p[2])
                return {};
            values.push_back(p[0]);
        }
    return values;
}

QByteArray pixel(const QImage& picture, int x, int y)
{
    return QByteArray(reinterpret_cast<const char*>(picture.constScanLine(y) + x * 3), 3);
}

} // namespace

class TestBitmap : public QObject
{
    Q_OBJECT
private slots:
    void resizeIsExactToTheLastBit();
    void resizeKeepsChannelsApart();
    void resizeRefusesEmptyInput();
    void resizeConvertsOtherFormats();
    void fitPictureInBoxShiftsEvenUnscaled();
    void rotateThreeByTwo();
    void rotateConvertsAndRefusesEmpty();
    void makeBlank();
};

void TestBitmap::resizeIsExactToTheLastBit()
{
    // Four weights of 1 / sqrt(0.5) summed and divided back leave the
    // centre just below 7: it must truncate to 6. Normalising each weight
    // first would give 7.
    QImage seven = greyPicture(2, 2, {7, 7, 7, 7});
    QVERIFY(resizeBitmap(seven, 4, 4));
    QCOMPARE(seven.size(), QSize(4, 4));
    QCOMPARE(greyValues(seven), (std::vector<int>{7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 6, 7, 7, 7, 7, 7}));

    // Enlarging mixes single-axis (linear) and four-pixel (inverse
    // distance) weights, with the half-pixel offset.
    QImage mixed = greyPicture(3, 2, {10, 200, 30, 250, 0, 128});
    QVERIFY(resizeBitmap(mixed, 7, 5));
    QCOMPARE(greyValues(mixed),
             (std::vector<int>{10, 10, 77, 159, 163, 90,  30,  10, 10, 77,  159, 163,
                               90, 30, 82, 82,  105, 127, 112, 86, 59, 178, 178, 129,
                               93, 73, 88, 98,  250, 250, 160, 53, 27, 82,  128}));

    // Same size: not a copy but a half-pixel shift to the left neighbour.
    QImage row = greyPicture(3, 1, {0, 255, 100});
    QVERIFY(resizeBitmap(row, 3, 1));
    // x = 1: sx = 0.5, the mean of 0 and 255; x = 2: sx = 1.5, of 255 and 100.
    QCOMPARE(greyValues(row), (std::vector<int>{0, 127, 177}));

    // Shrinking picks exact source pixels where the position falls on one.
    QImage shrink = greyPicture(3, 2, {10, 200, 30, 250, 0, 128});
    QVERIFY(resizeBitmap(shrink, 2, 1));
    QCOMPARE(greyValues(shrink), (std::vector<int>{10, 200}));
}

void TestBitmap::resizeKeepsChannelsApart()
{
    QImage picture(2, 1, QImage::Format_RGB888);
    const uchar left[3] = {0, 10, 255};
    const uchar right[3] = {255, 21, 0};
    memcpy(picture.scanLine(0), left, 3);
    memcpy(picture.scanLine(0) + 3, right, 3);
    QVERIFY(resizeBitmap(picture, 2, 1));
    QCOMPARE(pixel(picture, 0, 0), QByteArray("\x00\x0a\xff", 3));
    QCOMPARE(pixel(picture, 1, 0), QByteArray("\x7f\x0f\x7f", 3));
}

void TestBitmap::resizeRefusesEmptyInput()
{
    QImage empty;
    QVERIFY(!resizeBitmap(empty, 10, 10));
    QVERIFY(empty.isNull());

    QImage picture = greyPicture(2, 2, {1, 2, 3, 4});
    QVERIFY(!resizeBitmap(picture, 0, 5));
    QVERIFY(!resizeBitmap(picture, 5, -1));
    QCOMPARE(greyValues(picture), (std::vector<int>{1, 2, 3, 4}));

    // A one-pixel source enlarged never reads past its only pixel.
    QImage dot = greyPicture(1, 1, {42});
    QVERIFY(resizeBitmap(dot, 5, 3));
    QCOMPARE(greyValues(dot), std::vector<int>(15, 42));
}

void TestBitmap::resizeConvertsOtherFormats()
{
    QImage argb(2, 2, QImage::Format_ARGB32);
    argb.fill(QColor(10, 20, 30));
    QVERIFY(resizeBitmap(argb, 3, 3));
    QCOMPARE(argb.format(), QImage::Format_RGB888);
    QCOMPARE(argb.pixelColor(2, 2), QColor(10, 20, 30));
}

void TestBitmap::fitPictureInBoxShiftsEvenUnscaled()
{
    const QImage source = greyPicture(3, 1, {0, 255, 100});
    QImage target;
    QVERIFY(fitPictureInBox(target, source, 45, 45));
    QCOMPARE(target.size(), QSize(3, 1));
    QCOMPARE(greyValues(target), (std::vector<int>{0, 127, 177}));

    QImage big(400, 600, QImage::Format_RGB32);
    big.fill(Qt::white);
    QVERIFY(fitPictureInBox(target, big, 90, 90));
    QCOMPARE(target.size(), QSize(60, 90));

    QImage untouched = source;
    QVERIFY(!fitPictureInBox(untouched, QImage(), 45, 45));
    QCOMPARE(untouched, source);
}

void TestBitmap::rotateThreeByTwo()
{
    // A B C
    // D E F
    const QImage source = greyPicture(3, 2, {1, 2, 3, 4, 5, 6});

    QImage clockwise = source;
    QVERIFY(rotateBitmap(clockwise, 90));
    QCOMPARE(clockwise.size(), QSize(2, 3));
    // The top row is the first column read from the bottom up.
    QCOMPARE(greyValues(clockwise), (std::vector<int>{4, 1, 5, 2, 6, 3}));

    QImage counter = source;
    QVERIFY(rotateBitmap(counter, 270));
    QCOMPARE(greyValues(counter), (std::vector<int>{3, 6, 2, 5, 1, 4}));

    QImage other = source;
    QVERIFY(rotateBitmap(other, 180));
    QCOMPARE(other, counter);

    QImage back = clockwise;
    QVERIFY(rotateBitmap(back, 270));
    QCOMPARE(greyValues(back), greyValues(source));
}

void TestBitmap::rotateConvertsAndRefusesEmpty()
{
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixelColor(0, 0, QColor(255, 0, 0));
    picture.setPixelColor(1, 0, QColor(0, 255, 0));
    picture.setPixelColor(2, 0, QColor(0, 0, 255));
    QVERIFY(rotateBitmap(picture, 90));
    QCOMPARE(picture.format(), QImage::Format_RGB888);
    QCOMPARE(picture.size(), QSize(1, 3));
    QCOMPARE(picture.pixelColor(0, 0), QColor(255, 0, 0));
    QCOMPARE(picture.pixelColor(0, 2), QColor(0, 0, 255));

    QImage empty;
    QVERIFY(!rotateBitmap(empty, 90));
}

void TestBitmap::makeBlank()
{
    QImage picture = greyPicture(1, 1, {3});
    QVERIFY(makeBlankBitmap(picture, 4, 2, QColor(1, 2, 3)));
    QCOMPARE(picture.size(), QSize(4, 2));
    QCOMPARE(picture.format(), QImage::Format_RGB888);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(picture.pixelColor(x, y), QColor(1, 2, 3));
    QVERIFY(!makeBlankBitmap(picture, 0, 2, Qt::white));
    QVERIFY(picture.isNull());
}

QTEST_GUILESS_MAIN(TestBitmap)
#include "tst_bitmap.moc"
