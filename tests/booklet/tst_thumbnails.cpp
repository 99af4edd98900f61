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

// One row of the list painted by the delegate into a picture of its own.
QImage paintRow(const AnimalListDelegate& delegate, const AnimalListModel& model, int row)
{
    QImage img(188, 60, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    QStyleOptionViewItem option;
    option.rect = img.rect();
    delegate.paint(&p, option, model.index(row));
    p.end();
    return img;
}

AnimalListEntry entry(int id, const QString& name)
{
    AnimalListEntry e;
    e.id = id;
    e.name = name;
    e.speciesTitle = QStringLiteral("Chien");
    return e;
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
    void rowsKeptAsPicturesFollowEveryChange();
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

void TestThumbnails::rowsKeptAsPicturesFollowEveryChange()
{
    // Rows are drawn once and copied afterwards: whatever changes a row's
    // look must draw it again, and a copy must match a fresh drawing.
    AnimalListModel model;
    QHash<int, QImage> photos;
    photos.insert(1, sample(115, 115, QImage::Format_RGB888));
    model.setPictureSource([&photos](int id) {
        return photos.contains(id) ? encode(photos.value(id), "BMP") : QByteArray();
    });
    model.setSilhouette(sample(30, 30, QImage::Format_RGB32));
    model.setAnimals({entry(1, QStringLiteral("Médor")), entry(2, QStringLiteral("Rex"))}, 1,
                     false);
    const int row = model.rowOfKey(1);
    QVERIFY(row >= 0);

    AnimalListDelegate delegate;
    const QImage first = paintRow(delegate, model, row);
    QCOMPARE(paintRow(delegate, model, row), first);
    QCOMPARE(paintRow(AnimalListDelegate(), model, row), first);
    // The header above is a different picture from the animal's row.
    QVERIFY(model.keyAt(0) < 1);
    QVERIFY(paintRow(delegate, model, 0) != first);

    model.setCurrentKey(1);
    const QImage current = paintRow(delegate, model, row);
    QVERIFY(current != first);
    QCOMPARE(current, paintRow(AnimalListDelegate(), model, row));
    model.setCurrentKey(2);
    QCOMPARE(paintRow(delegate, model, row), first);

    // Renamed, with no photo (the same silhouette before and after): the
    // row is drawn with its new name.
    const QImage rex = paintRow(delegate, model, model.rowOfKey(2));
    model.putAnimal(entry(2, QStringLiteral("Rex II")));
    const QImage renamed = paintRow(delegate, model, model.rowOfKey(2));
    QVERIFY(renamed != rex);
    QCOMPARE(renamed, paintRow(AnimalListDelegate(), model, model.rowOfKey(2)));

    // A new photo: the model reads the thumbnail again, the row follows.
    photos.insert(1, sample(115, 115, QImage::Format_RGB32).mirrored(true, false));
    model.putAnimal(entry(1, QStringLiteral("Médor")));
    const QImage newPhoto = paintRow(delegate, model, model.rowOfKey(1));
    QVERIFY(newPhoto != first);
    QCOMPARE(newPhoto, paintRow(AnimalListDelegate(), model, model.rowOfKey(1)));
}

QTEST_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
