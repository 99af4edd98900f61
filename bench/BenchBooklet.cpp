#include "BenchBooklet.h"

#include "db/Connection.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSqlQuery>
#include <QVector>

#include <random>

namespace {

const char* const kNames[] = {
    "Médor",    "Rex",      "Félix",   "Minou",     "Tigrou",     "Câline",  "Éclair",   "Belle",
    "Filou",    "Nala",     "Oscar",   "Luna",      "Simba",      "Caramel", "Noisette", "Pépette",
    "Réglisse", "Ulysse",   "Vanille", "Zoé",       "Gribouille", "Hermès",  "Isis",     "Jazz",
    "Kiwi",     "Lilou",    "Moka",    "Naïa",      "Olga",       "Praline", "Quenotte", "Ronron",
    "Sultan",   "Tango",    "Ursule",  "Vénus",     "Whisky",     "Xéna",    "Youpi",    "Ziggy",
    "Biscotte", "Cannelle", "Dune",    "Églantine", "Fripouille", "Gaïa",    "Hélios",   "Iris"};

// A photo of about 124 KB: noise over a gradient, which JPEG cannot
// shrink much, like a real photo of fur.
QByteArray photo(std::mt19937& random)
{
    QImage img(600, 450, QImage::Format_RGB32);
    const int hue = int(random() % 360);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QColor base = QColor::fromHsv(hue, 90 + y / 6, 120 + x / 5);
            const int n = int(random() % 96) - 48;
            line[x] = qRgb(std::clamp(base.red() + n, 0, 255), std::clamp(base.green() + n, 0, 255),
                           std::clamp(base.blue() + n, 0, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "JPG", 85);
    return bytes;
}

QByteArray thumbnail(std::mt19937& random)
{
    QImage img(115, 115, QImage::Format_RGB888);
    img.fill(QColor::fromHsv(int(random() % 360), 60, 235));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor::fromHsv(int(random() % 360), 160, 140));
    p.setPen(Qt::NoPen);
    p.drawEllipse(20, 25, 75, 70);
    p.drawEllipse(22, 10, 24, 30);
    p.drawEllipse(69, 10, 24, 30);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes;
}

} // namespace

int fillBooklet(tav::Connection& connection, int animals, unsigned seed)
{
    std::mt19937 random(seed);
    struct Species
    {
        int id;
        QVector<int> breeds;
    };
    QVector<Species> species;
    connection.forEachRow(QStringLiteral("SELECT Id FROM ANIMAL_SPECIES ORDER BY Id"),
                          [&species](const QVariantList& row) {
                              species.append(Species{row.at(0).toInt(), QVector<int>()});
                          });
    for (Species& s : species) {
        connection.forEachRow(
            QStringLiteral("SELECT Id FROM ANIMAL_BREED WHERE Id_Species=") + QString::number(s.id),
            [&s](const QVariantList& row) { s.breeds.append(row.at(0).toInt()); });
    }
    // A handful of photos shared among the animals: each row still stores
    // its own copy, as the program does.
    QVector<QByteArray> photos;
    qint64 photoBytes = 0;
    for (int i = 0; i < 8; ++i) {
        photos.append(photo(random));
        photoBytes += photos.last().size();
    }
    tav::Transaction tx(connection);
    QSqlQuery q(connection.database());
    q.prepare(QStringLiteral(
        "INSERT INTO ANIMAL (Name, Id_Species, Id_Breed, Sex, Identification_No, BirthDay_Date, "
        "Description, Insurance, Comportment, Previous, Misc11, Misc12, Img1, ImgMini1, Img2, "
        "Img3, Img4, ImgMini2, ImgMini3, ImgMini4) VALUES (?, ?, ?, ?, ?, ?, '', '', '', '', '', "
        "'', ?, ?, x'', x'', x'', x'', x'', x'')"));
    for (int i = 0; i < animals; ++i) {
        // Dogs and cats make most of a booklet.
        const int pick = int(random() % 100);
        const int index = species.isEmpty() ? -1
                          : pick < 45       ? 0
                          : pick < 80       ? std::min(1, int(species.size()) - 1)
                                            : int(random() % species.size());
        const Species s = index < 0 ? Species{0, QVector<int>()} : species.at(index);
        const bool hasBreed = !s.breeds.isEmpty() && random() % 5 != 0;
        q.addBindValue(QString::fromUtf8(kNames[random() % std::size(kNames)]));
        q.addBindValue(s.id > 0 ? QVariant(s.id) : QVariant());
        q.addBindValue(hasBreed ? QVariant(s.breeds.at(int(random() % s.breeds.size())))
                                : QVariant());
        q.addBindValue(int(random() % 2));
        q.addBindValue(
            QStringLiteral("250269%1").arg(int(random() % 1000000000), 9, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("%1/%2/%3")
                           .arg(int(random() % 28) + 1, 2, 10, QLatin1Char('0'))
                           .arg(int(random() % 12) + 1, 2, 10, QLatin1Char('0'))
                           .arg(2005 + int(random() % 20)));
        q.addBindValue(photos.at(i % photos.size()));
        q.addBindValue(thumbnail(random));
        if (!q.exec())
            return -1;
    }
    tx.commit();
    return int(photoBytes / photos.size());
}
