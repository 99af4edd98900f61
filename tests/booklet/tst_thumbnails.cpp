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
    void rowTextHasRoomForAccentedCapitals_data();
    void rowTextHasRoomForAccentedCapitals();
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

void TestThumbnails::rowTextHasRoomForAccentedCapitals_data()
{
    QTest::addColumn<int>("scale");
    // The fonts of the list, and the same at larger sizes (a desktop with
    // a larger text scale).
    QTest::newRow("as designed") << 100;
    QTest::newRow("larger") << 125;
}

void TestThumbnails::rowTextHasRoomForAccentedCapitals()
{
    QFETCH(int, scale);
    QFont name = AnimalListDelegate::nameFont();
    QFont line = AnimalListDelegate::lineFont();
    name.setPointSizeF(name.pointSizeF() * scale / 100);
    line.setPointSizeF(line.pointSizeF() * scale / 100);
    const QRect cell(0, 120, 188, 60);
    const QVector<QRect> boxes = AnimalListDelegate::textBoxes(cell, name, line);
    QCOMPARE(boxes.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QFontMetrics fm(i == 0 ? name : line);
        // Text is drawn centred in its box and clipped to it: the box must
        // hold the full line height and the ink of accented capitals and
        // descenders, with the one-pixel shadow below.
        const QRect ink = fm.boundingRect(QStringLiteral("ÉÈÀÇÔgjpq"));
        QVERIFY2(boxes.at(i).height() >= fm.height() + 1, qPrintable(QString::number(i)));
        QVERIFY2(boxes.at(i).height() >= ink.height() + 1, qPrintable(QString::number(i)));
        QVERIFY(boxes.at(i).top() >= cell.top());
        if (i > 0)
            QVERIFY(boxes.at(i).top() >= boxes.at(i - 1).bottom() + 1);
    }
    if (scale == 100)
        QVERIFY(boxes.at(2).bottom() <= cell.bottom());
}

QTEST_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
