#include "PictureChecks.h"

#include "media/JpegFile.h"
#include "media/PictureStore.h"
#include "media/Thumbnail.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace tav;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QImage block(int width, int height, const QColor& colour)
{
    QImage picture(width, height, QImage::Format_RGB888);
    picture.fill(colour);
    return picture;
}

// Decoded by the independent djpeg, as a viewer elsewhere would read it.
QImage decodeWithDjpeg(const QString& jpeg, const QString& out)
{
    QProcess p;
    p.start(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), out, jpeg});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(out);
}

// A PNG that announces 30000 x 30000 pixels: its header alone is read.
QByteArray hugePngHeader()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    block(1, 1, Qt::red).save(&buffer, "PNG");
    // IHDR width and height follow the signature (8), length (4), type (4).
    qToBigEndian<quint32>(30000, png.data() + 16);
    qToBigEndian<quint32>(30000, png.data() + 20);
    // The chunk's CRC covers its type and data.
    quint32 crc = 0xffffffffu;
    for (int i = 12; i < 29; ++i) {
        crc ^= quint8(png.at(i));
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    qToBigEndian<quint32>(~crc, png.data() + 29);
    return png;
}

struct RowSpy
{
    int calls = 0;
    QByteArray stored;
    QString failWith;
    ThumbnailWriter writer()
    {
        return [this](const QByteArray& bmp) {
            ++calls;
            if (failWith.isEmpty())
                stored = bmp;
            return failWith;
        };
    }
};

} // namespace

class TestPictureStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void aBitmapBecomesAJpegWithItsThumbnail();
    void aJpegIsCopiedByteForByte();
    void aPictureLargerThanTheLimitIsReduced();
    void otherFormatsAreConverted_data();
    void otherFormatsAreConverted();
    void aBadSourceChangesNothing_data();
    void aBadSourceChangesNothing();
    void aRowThatCannotBeWrittenKeepsTheEarlierFile();
    void aLargeJpegThumbnailKeepsItsFrame();
    void clearingDeletesTheFileOnlyOnceTheRowIsCleared();
    void savingACopy();
    void namesAndMessages();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QStringList imagesFolder() const
    {
        return QDir(path(QStringLiteral("Images")))
            .entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_target;
};

void TestPictureStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("Images")));
    m_target = path(QStringLiteral("Images/Animal7.jpg"));
}

void TestPictureStore::aBitmapBecomesAJpegWithItsThumbnail()
{
    const QString source = path(QStringLiteral("Minou.bmp"));
    QVERIFY(block(60, 40, Qt::black).save(source, "BMP"));
    RowSpy row;
    const PictureResult r = storePhotoAndThumbnail(source, m_target, {}, row.writer());
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(row.calls, 1);
    const QImage stored = decodeWithDjpeg(m_target, path(QStringLiteral("out.ppm")));
    QCOMPARE(stored.size(), QSize(60, 40));
    QVERIFY(stored.pixelColor(30, 20).lightness() < 8);
    const QImage thumbnail = QImage::fromData(row.stored, "BMP");
    QCOMPARE(thumbnail.size(), QSize(115, 115));
    QCOMPARE(nonWhite(thumbnail), QRect(27, 37, 60, 40));
    // Nothing but the stored picture is left in the folder.
    QCOMPARE(imagesFolder(), QStringList{QStringLiteral("Animal7.jpg")});
}

void TestPictureStore::aJpegIsCopiedByteForByte()
{
    writeAll(m_target, "an earlier photo");
    const QString source = path(QStringLiteral("Médor.JPEG"));
    QVERIFY(writeJpegFile(block(300, 200, QColor(200, 40, 40)), source, 70).ok);
    // Far beyond the limit: a JPEG is still kept as the user gave it.
    RowSpy row;
    const PictureResult r = storePhotoAndThumbnail(source, m_target, {100, 10}, row.writer());
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(readAll(m_target), readAll(source));
    QCOMPARE(QImage::fromData(row.stored, "BMP").size(), QSize(115, 115));
    QCOMPARE(imagesFolder(), QStringList{QStringLiteral("Animal7.jpg")});
}

void TestPictureStore::aPictureLargerThanTheLimitIsReduced()
{
    // 6000 x 4000 under a limit of 5000 gives 5000 x 3333; the same ratio
    // at a size the sanitizers run quickly.
    const QString source = path(QStringLiteral("big.png"));
    QVERIFY(block(600, 400, Qt::blue).save(source, "PNG"));
    RowSpy row;
    QVERIFY(storeImageAndThumbnail(source, m_target, QSize(90, 90), {500, 90}, row.writer()).ok);
    QImage stored;
    QVERIFY(readJpegFile(stored, m_target).ok);
    QCOMPARE(stored.size(), QSize(500, 333));
    QCOMPARE(nonWhite(QImage::fromData(row.stored, "BMP")), QRect(0, 15, 90, 60));
}

void TestPictureStore::otherFormatsAreConverted_data()
{
    QTest::addColumn<QByteArray>("format");
    for (const char* f : {"png", "gif", "webp", "tiff", "tga"}) {
        if (QImageReader::supportedImageFormats().contains(f))
            QTest::newRow(f) << QByteArray(f);
    }
}

void TestPictureStore::otherFormatsAreConverted()
{
    QFETCH(QByteArray, format);
    const QString source = path(QStringLiteral("photo.") + QString::fromLatin1(format));
    if (!block(80, 120, QColor(0, 0, 0)).save(source, format.constData()))
        QSKIP("no writer for this format");
    RowSpy row;
    const PictureResult r = storePhotoAndThumbnail(source, m_target, {}, row.writer());
    QVERIFY2(r.ok, qPrintable(r.error));
    QImage stored;
    QVERIFY(readJpegFile(stored, m_target).ok);
    QCOMPARE(stored.size(), QSize(80, 120));
    QCOMPARE(nonWhite(QImage::fromData(row.stored, "BMP")), QRect(19, 0, 76, 115));
    QVERIFY(otherPicturePatterns().contains(QStringLiteral("*.") + QString::fromLatin1(format)));
}

void TestPictureStore::aBadSourceChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QByteArray jpeg;
    {
        QBuffer b(&jpeg);
        b.open(QIODevice::WriteOnly);
        block(64, 64, Qt::green).save(&b, "JPG", 90);
    }
    QByteArray bmp;
    {
        QBuffer b(&bmp);
        b.open(QIODevice::WriteOnly);
        block(64, 64, Qt::green).save(&b, "BMP");
    }
    QTest::newRow("truncated jpeg") << "cut.jpg" << jpeg.left(jpeg.size() / 2) << "endommagé";
    QTest::newRow("bitmap named jpg") << "liar.jpg" << bmp << "n'est pas une image JPEG";
    QTest::newRow("text named bmp") << "notes.bmp" << QByteArray("bonjour") << "pas une image";
    QTest::newRow("truncated bmp") << "cut.bmp" << bmp.left(60) << "pas une image";
    QByteArray png;
    {
        QBuffer b(&png);
        b.open(QIODevice::WriteOnly);
        QImage noisy(64, 64, QImage::Format_RGB888);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64 * 3; ++x)
                noisy.scanLine(y)[x] = uchar(x * 7 + y * 13);
        noisy.save(&b, "PNG");
    }
    QTest::newRow("truncated png") << "cut.png" << png.left(png.size() / 2) << "pas une image";
    QTest::newRow("empty jpeg") << "empty.jpg" << QByteArray() << "vide";
    QTest::newRow("empty png") << "empty.png" << QByteArray() << "pas une image";
    QTest::newRow("30000 x 30000") << "huge.png" << hugePngHeader() << "trop grande";
    QTest::newRow("missing") << "gone.bmp" << QByteArray("-") << "n'existe pas";
    QTest::newRow("directory") << "folder.jpg" << QByteArray("/") << "dossier";
}

void TestPictureStore::aBadSourceChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString source = path(name);
    if (bytes == "/")
        QVERIFY(QDir().mkpath(source));
    else if (bytes != "-")
        writeAll(source, bytes);
    writeAll(m_target, "the earlier photo");
    RowSpy row;
    const PictureResult r = storePhotoAndThumbnail(source, m_target, {}, row.writer());
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(expected), qPrintable(r.error));
    QVERIFY2(r.error.contains(name), qPrintable(r.error));
    QCOMPARE(row.calls, 0);
    QCOMPARE(readAll(m_target), QByteArray("the earlier photo"));
    QCOMPARE(imagesFolder(), QStringList{QStringLiteral("Animal7.jpg")});
}

void TestPictureStore::aRowThatCannotBeWrittenKeepsTheEarlierFile()
{
    const QString source = path(QStringLiteral("new.bmp"));
    QVERIFY(block(20, 20, Qt::red).save(source, "BMP"));
    RowSpy row;
    row.failWith = QStringLiteral("La base est en lecture seule.");
    // With an earlier photo, then without one.
    writeAll(m_target, "the earlier photo");
    PictureResult r = storePhotoAndThumbnail(source, m_target, {}, row.writer());
    QVERIFY(!r.ok);
    QCOMPARE(r.error, row.failWith);
    QCOMPARE(readAll(m_target), QByteArray("the earlier photo"));
    QCOMPARE(imagesFolder(), QStringList{QStringLiteral("Animal7.jpg")});
    QVERIFY(QFile::remove(m_target));
    r = storePhotoAndThumbnail(source, m_target, {}, row.writer());
    QVERIFY(!r.ok);
    QVERIFY(imagesFolder().isEmpty());
}

void TestPictureStore::aLargeJpegThumbnailKeepsItsFrame()
{
    // Decoded at a reduced scale, the picture still takes the place the
    // whole picture would: 1000 x 601 gives trunc(115 / 1000 * 601) = 69.
    QImage picture(1000, 601, QImage::Format_RGB888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            uchar* p = picture.scanLine(y) + x * 3;
            p[0] = uchar(x / 4);
            p[1] = uchar(y / 3);
            p[2] = 60;
        }
    const QString source = path(QStringLiteral("large.jpg"));
    QVERIFY(writeJpegFile(picture, source, 95).ok);
    const ThumbnailResult made = thumbnailFromFile(source, 115, 115);
    QVERIFY2(made.ok, qPrintable(made.error));
    const QImage reduced = QImage::fromData(made.bmp, "BMP").convertToFormat(QImage::Format_RGB888);
    QImage full;
    QVERIFY(readJpegFile(full, source).ok);
    const QImage whole = makeThumbnail(full, 115, 115);
    QCOMPARE(reduced.size(), QSize(115, 115));
    QCOMPARE(nonWhite(reduced), nonWhite(whole));
    // A smooth picture looks the same either way.
    int largest = 0;
    for (int y = 23; y < 23 + 69; ++y)
        for (int i = 0; i < 115 * 3; ++i)
            largest = qMax(largest,
                           qAbs(int(reduced.constScanLine(y)[i]) - int(whole.constScanLine(y)[i])));
    QVERIFY2(largest <= 12, qPrintable(QString::number(largest)));
}

void TestPictureStore::clearingDeletesTheFileOnlyOnceTheRowIsCleared()
{
    writeAll(m_target, "photo");
    bool failing = true;
    const RowClearer clear = [&failing]() {
        return failing ? QStringLiteral("Écriture refusée.") : QString();
    };
    PictureResult r = clearImageColumns(m_target, clear);
    QVERIFY(!r.ok);
    QCOMPARE(readAll(m_target), QByteArray("photo"));
    QCOMPARE(imagesFolder(), QStringList{QStringLiteral("Animal7.jpg")});
    failing = false;
    QVERIFY(clearImageColumns(m_target, clear).ok);
    QVERIFY(imagesFolder().isEmpty());
    // A photo whose file is already gone is cleared all the same.
    QVERIFY(clearImageColumns(m_target, clear).ok);

    QVERIFY(deleteImageFile(m_target).ok);
    writeAll(m_target, "x");
    QVERIFY(deleteImageFile(m_target).ok);
    QVERIFY(!QFile::exists(m_target));
    QVERIFY(!deleteImageFile(path(QStringLiteral("Images"))).ok);
}

void TestPictureStore::savingACopy()
{
    QVERIFY(writeJpegFile(block(10, 10, Qt::red), m_target, 80).ok);
    const QString copy = path(QStringLiteral("Rex.jpg"));
    writeAll(copy, "replaced without asking");
    QVERIFY(saveImageCopy(m_target, copy).ok);
    QCOMPARE(readAll(copy), readAll(m_target));
    // The dialog's default extension.
    QVERIFY(saveImageCopy(m_target, path(QStringLiteral("Sans extension"))).ok);
    QCOMPARE(readAll(path(QStringLiteral("Sans extension.jpg"))), readAll(m_target));
    // Onto itself: the picture stays whole.
    const QByteArray before = readAll(m_target);
    QVERIFY(saveImageCopy(m_target, m_target).ok);
    QCOMPARE(readAll(m_target), before);

    const QString gone = path(QStringLiteral("Images/Animal9.jpg"));
    const PictureResult missing = saveImageCopy(gone, copy);
    QVERIFY(!missing.ok);
    QVERIFY(missing.error.startsWith(QStringLiteral("IMPOSSIBLE DE TROUVER L'IMAGE !\r")));
    QVERIFY(missing.error.contains(QLatin1Char('"') + gone + QLatin1Char('"')));
    QCOMPARE(readAll(copy), readAll(m_target));
}

void TestPictureStore::namesAndMessages()
{
    QCOMPARE(proposedPictureName(QStringLiteral("Rex")), QStringLiteral("Rex.jpg"));
    QCOMPARE(proposedPictureName(QString()), QStringLiteral("*.jpg"));
    QCOMPARE(proposedPictureName(QStringLiteral("Tom/Jerry: \"2\"")),
             QStringLiteral("Tom_Jerry_ _2_.jpg"));
    QVERIFY(isJpegFileName(QStringLiteral("a/b.JPeG")));
    QVERIFY(!isJpegFileName(QStringLiteral("a/jpg.bmp")));

    QVERIFY(pictureViewProblem(m_target).startsWith(
        QStringLiteral("IMPOSSIBLE DE VISUALISER L'IMAGE !\rLe fichier \"") + m_target));
    writeAll(m_target, "x");
    QVERIFY(pictureViewProblem(m_target).isEmpty());
    QVERIFY(!pictureViewProblem(path(QStringLiteral("Images"))).isEmpty());
}

QTEST_GUILESS_MAIN(TestPictureStore)
#include "tst_picturestore.moc"
