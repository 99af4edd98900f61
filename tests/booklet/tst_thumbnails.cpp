#include "booklet/AnimalListModel.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QtTest>

using namespace tav;

namespace {

QByteArray encode(const QImage& img, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}

QImage sample(int w, int h, QImage::Format format)
{
    QImage img(w, h, format);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(0, 0, w / 2, h / 3, QColor(200, 30, 40));
    p.fillRect(w / 3, h / 2, w / 2, h / 2, QColor(20, 90, 220));
    p.end();
    return img;
}

} // namespace

class TestThumbnails : public QObject
{
    Q_OBJECT
private slots:
    void decodesStoredBitmapsLikeTheImageReader_data();
    void decodesStoredBitmapsLikeTheImageReader();
    void damagedBytesAreReadSafely();
    void fitsIntoTheBoxKeepingProportions();
};

void TestThumbnails::decodesStoredBitmapsLikeTheImageReader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // Odd widths exercise the row padding.
    QTest::newRow("24 bits 115x115") << encode(sample(115, 115, QImage::Format_RGB888), "BMP");
    QTest::newRow("32 bits 115x115") << encode(sample(115, 115, QImage::Format_RGB32), "BMP");
    QTest::newRow("24 bits 7x3") << encode(sample(7, 3, QImage::Format_RGB888), "BMP");
    QTest::newRow("png") << encode(sample(20, 10, QImage::Format_RGB32), "PNG");
}

void TestThumbnails::decodesStoredBitmapsLikeTheImageReader()
{
    QFETCH(QByteArray, bytes);
    const QImage expected = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
    const QImage actual =
        AnimalListModel::decodeThumbnail(bytes).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(actual.size(), expected.size());
    QCOMPARE(actual, expected);
}

void TestThumbnails::damagedBytesAreReadSafely()
{
    const QByteArray good = encode(sample(115, 115, QImage::Format_RGB888), "BMP");
    QVERIFY(AnimalListModel::decodeThumbnail(good.left(good.size() / 2)).isNull() ||
            AnimalListModel::decodeThumbnail(good.left(good.size() / 2)).width() == 115);
    QByteArray huge = good;
    huge[18] = char(0xff); // width far beyond the bytes present
    huge[19] = char(0xff);
    // Must not read past the bytes: the suite runs under AddressSanitizer.
    const QImage image = AnimalListModel::decodeThumbnail(huge);
    QVERIFY(image.isNull() || image.width() != 115);
    QVERIFY(AnimalListModel::decodeThumbnail(QByteArray("BM")).isNull());
    QVERIFY(AnimalListModel::decodeThumbnail(QByteArray()).isNull());
}

void TestThumbnails::fitsIntoTheBoxKeepingProportions()
{
    QCOMPARE(AnimalListModel::fitThumbnail(sample(115, 115, QImage::Format_RGB32)).size(),
             QSize(45, 45));
    QCOMPARE(AnimalListModel::fitThumbnail(sample(90, 45, QImage::Format_RGB32)).size(),
             QSize(45, 22));
    QVERIFY(AnimalListModel::fitThumbnail(QImage()).isNull());
}

QTEST_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
