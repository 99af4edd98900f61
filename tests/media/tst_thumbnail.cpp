#include "PictureChecks.h"

#include "media/JpegFile.h"
#include "media/Thumbnail.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace tav;

namespace {

quint32 le32(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 le16(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

class TestThumbnail : public QObject
{
    Q_OBJECT
private slots:
    void pictureIsFittedAndCentred_data();
    void pictureIsFittedAndCentred();
    void bmpIsAComplete24BitFile();
    void fromFiles();
};

void TestThumbnail::pictureIsFittedAndCentred_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("box");
    QTest::addColumn<QRect>("area");
    QTest::newRow("smaller, not enlarged") << QSize(60, 40) << 90 << QRect(15, 25, 60, 40);
    QTest::newRow("tall, scaled") << QSize(400, 600) << 90 << QRect(15, 0, 60, 90);
    QTest::newRow("wide photo") << QSize(1600, 1200) << 115 << QRect(0, 14, 115, 86);
    QTest::newRow("exact box") << QSize(115, 115) << 115 << QRect(0, 0, 115, 115);
}

void TestThumbnail::pictureIsFittedAndCentred()
{
    QFETCH(QSize, picture);
    QFETCH(int, box);
    QFETCH(QRect, area);
    // Black blends into black exactly, so the picture's area is crisp.
    QImage black(picture, QImage::Format_RGB888);
    black.fill(Qt::black);
    const QImage thumbnail = makeThumbnail(black, box, box);
    QCOMPARE(thumbnail.size(), QSize(box, box));
    QCOMPARE(thumbnail.format(), QImage::Format_RGB888);
    QCOMPARE(nonWhite(thumbnail), area);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            QCOMPARE(thumbnail.pixelColor(x, y), QColor(Qt::black));
}

void TestThumbnail::bmpIsAComplete24BitFile()
{
    // 3 pixels a row: 9 bytes padded to 12.
    QImage picture(3, 2, QImage::Format_RGB888);
    picture.setPixelColor(0, 0, QColor(1, 2, 3));
    picture.setPixelColor(2, 1, QColor(200, 100, 50));
    const QByteArray bmp = bmpFile(picture);
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(le32(bmp, 2), quint32(bmp.size()));
    QCOMPARE(bmp.size(), 54 + 2 * 12);
    QCOMPARE(le32(bmp, 10), 54u);
    QCOMPARE(le32(bmp, 14), 40u);
    QCOMPARE(le32(bmp, 18), 3u);
    QCOMPARE(le32(bmp, 22), 2u);
    QCOMPARE(le16(bmp, 28), quint16(24));
    QCOMPARE(le32(bmp, 30), 0u);
    // Bottom row first, blue-green-red.
    QCOMPARE(bmp.mid(54 + 12, 3), QByteArray("\x03\x02\x01", 3));
    QCOMPARE(bmp.mid(54 + 6, 3), QByteArray("\x32\x64\xc8", 3));

    const QImage back = QImage::fromData(bmp, "BMP");
    QCOMPARE(back.size(), QSize(3, 2));
    QCOMPARE(back.pixelColor(0, 0), QColor(1, 2, 3));
    QCOMPARE(back.pixelColor(2, 1), QColor(200, 100, 50));
    QVERIFY(bmpFile(QImage()).isEmpty());

    const QImage white = makeThumbnail(QImage(), 90, 90);
    QCOMPARE(white.size(), QSize(90, 90));
    QVERIFY(nonWhite(white).isEmpty());
}

void TestThumbnail::fromFiles()
{
    QTemporaryDir dir;
    QImage picture(60, 40, QImage::Format_RGB888);
    picture.fill(Qt::black);
    const QString bmpPath = dir.filePath(QStringLiteral("tmp.bmp"));
    QVERIFY(picture.save(bmpPath, "BMP"));
    ThumbnailResult fromBmp = thumbnailFromFile(bmpPath, 90, 90);
    QVERIFY2(fromBmp.ok, qPrintable(fromBmp.error));
    const QImage shown = QImage::fromData(fromBmp.bmp, "BMP");
    QCOMPARE(shown.size(), QSize(90, 90));
    QCOMPARE(nonWhite(shown), QRect(15, 25, 60, 40));

    const QString jpegPath = dir.filePath(QStringLiteral("Photo.JPEG"));
    QVERIFY(writeJpegFile(picture, jpegPath, 100).ok);
    const ThumbnailResult fromJpeg = thumbnailFromFile(jpegPath, 115, 115);
    QVERIFY2(fromJpeg.ok, qPrintable(fromJpeg.error));
    QCOMPARE(QImage::fromData(fromJpeg.bmp, "BMP").size(), QSize(115, 115));

    // A BMP named .jpg is refused as a damaged JPEG, not shown white.
    const QString liar = dir.filePath(QStringLiteral("liar.jpg"));
    QVERIFY(QFile::copy(bmpPath, liar));
    const ThumbnailResult refused = thumbnailFromFile(liar, 90, 90);
    QVERIFY(!refused.ok);
    QVERIFY(refused.bmp.isEmpty());
    QVERIFY(refused.error.contains(QStringLiteral("liar.jpg")));

    QFile broken(dir.filePath(QStringLiteral("broken.bmp")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("BM\x10\x00");
    broken.close();
    const ThumbnailResult brokenBmp = thumbnailFromFile(broken.fileName(), 90, 90);
    QVERIFY(!brokenBmp.ok);
    QVERIFY(brokenBmp.error.contains(QStringLiteral("n'est pas une image lisible")));
    QVERIFY(!thumbnailFromFile(dir.path(), 90, 90).ok);
    QVERIFY(!thumbnailFromFile(dir.filePath(QStringLiteral("gone.png")), 90, 90).ok);
}

QTEST_GUILESS_MAIN(TestThumbnail)
#include "tst_thumbnail.moc"
