#include "BenchBooklet.h"

#include "db/Connection.h"

#include <QBuffer>
#include <QDate>
#include <QImage>
#include <QPainter>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>

#include <algorithm>

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

// The key of a list entry with this title, added when missing, so that a
// booklet filled twice shares its lists.
int listEntry(tav::Connection& connection, const QString& table, const QString& column,
              const QString& title)
{
    const QString select = QStringLiteral("SELECT Id FROM ") + table + QStringLiteral(" WHERE ") +
                           column + QStringLiteral("=?");
    const QVariant found = connection.scalar(select, {title});
    if (found.isValid() && !found.isNull())
        return found.toInt();
    connection.exec(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + column +
                        QStringLiteral(") VALUES (?)"),
                    {title});
    return int(connection.lastInsertId());
}

QVector<int> listEntries(tav::Connection& connection, const QString& table, const QString& column,
                         const QStringList& titles)
{
    QVector<int> ids;
    for (const QString& t : titles)
        ids.append(listEntry(connection, table, column, t));
    return ids;
}

int between(std::mt19937& random, int low, int high)
{
    return low + int(random() % unsigned(high - low + 1));
}

QString isoDate(const QDate& d)
{
    return d.toString(Qt::ISODate);
}

// Everything a kept animal gathers over the years; `until` is the day the
// booklet is as of.
struct AnimalRecord
{
    explicit AnimalRecord(const QSqlDatabase& db)
        : act(db), vaccine(db), weight(db), followed(db), value(db), event(db), document(db)
    {}

    QSqlQuery act, vaccine, weight, followed, value, event, document;
    QVector<int> doctors, illnesses, drugs, vaccines, analyses;
    QByteArray documentThumbnail;

    bool write(std::mt19937& random, qint64 animal, const QDate& birth, const QDate& until)
    {
        const int span = std::max(60, int(birth.daysTo(until)));
        const auto day = [&random, &birth, span]() {
            return birth.addDays(int(random() % unsigned(span)));
        };
        // Consultations, then medicines: both are acts, told apart by tag.
        const int acts = between(random, 10, 40);
        for (int i = 0; i < acts + between(random, 3, 10); ++i) {
            const bool medicine = i >= acts;
            act.addBindValue(animal);
            act.addBindValue(medicine ? 2 : 1);
            act.addBindValue(doctors.at(int(random() % doctors.size())));
            act.addBindValue(medicine ? QVariant()
                                      : illnesses.at(int(random() % illnesses.size())));
            act.addBindValue(medicine ? QVariant(drugs.at(int(random() % drugs.size())))
                                      : QVariant());
            act.addBindValue(isoDate(day()));
            act.addBindValue(QStringLiteral("%1:%2")
                                 .arg(between(random, 8, 19), 2, 10, QLatin1Char('0'))
                                 .arg(int(random() % 4) * 15, 2, 10, QLatin1Char('0')));
            act.addBindValue(medicine ? QStringLiteral("1 comprimé matin et soir")
                                      : QStringLiteral("Examen général, RAS"));
            act.addBindValue(between(random, 1500, 12000) / 100.0);
            if (!act.exec())
                return false;
        }
        // Yearly series of two to four vaccines, 5 to 15 shots in all; the
        // last shot of a series may be old enough for its reminder to be
        // past.
        const int shots = between(random, 5, 15);
        const int series = between(random, 2, 4);
        for (int s = 0; s < series; ++s) {
            const int count = shots / series + (s < shots % series ? 1 : 0);
            const QDate last = until.addDays(-between(random, 0, 3 * 365));
            const int vaccineId = vaccines.at((int(animal) + s) % vaccines.size());
            for (int k = count - 1; k >= 0; --k) {
                const QDate date = last.addYears(-k);
                vaccine.addBindValue(animal);
                vaccine.addBindValue(doctors.at(int(random() % doctors.size())));
                vaccine.addBindValue(vaccineId);
                vaccine.addBindValue(isoDate(date));
                vaccine.addBindValue(isoDate(date.addYears(1)));
                vaccine.addBindValue(k == 0 ? 1 : 0);
                if (!vaccine.exec())
                    return false;
            }
        }
        // Weighings from birth on, growing then steady.
        const int weighings = between(random, 20, 60);
        const double adult = between(random, 300, 4000) / 100.0;
        for (int i = 0; i < weighings; ++i) {
            const int at = int(qint64(span) * i / weighings);
            weight.addBindValue(animal);
            weight.addBindValue(isoDate(birth.addDays(at)));
            weight.addBindValue(adult * std::min(1.0, 0.15 + at / 400.0) +
                                between(random, -50, 50) / 100.0);
            if (!weight.exec())
                return false;
        }
        // One to three analyses followed, each with its values.
        const int followedCount = between(random, 1, 3);
        for (int i = 0; i < followedCount; ++i) {
            followed.addBindValue(animal);
            followed.addBindValue(analyses.at((int(animal) + i) % analyses.size()));
            if (!followed.exec())
                return false;
            const QVariant followedId = followed.lastInsertId();
            for (int k = between(random, 3, 8); k > 0; --k) {
                value.addBindValue(followedId);
                value.addBindValue(isoDate(day()));
                value.addBindValue(between(random, 50, 400) / 10.0);
                value.addBindValue(10.0);
                value.addBindValue(30.0);
                if (!value.exec())
                    return false;
            }
        }
        for (int i = between(random, 2, 6); i > 0; --i) {
            event.addBindValue(animal);
            event.addBindValue(isoDate(day()));
            event.addBindValue(QString::fromUtf8("Changement d'alimentation"));
            if (!event.exec())
                return false;
        }
        for (int i = between(random, 1, 3); i > 0; --i) {
            document.addBindValue(animal);
            document.addBindValue(QStringLiteral("Radiographie %1").arg(i));
            document.addBindValue(documentThumbnail);
            if (!document.exec())
                return false;
        }
        return true;
    }
};

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
    // The lists every animal's rows point into.
    AnimalRecord record(connection.database());
    QStringList doctors, illnesses, drugs;
    for (int i = 1; i <= 12; ++i) {
        doctors << QStringLiteral("Dr Praticien %1").arg(i);
        illnesses << QStringLiteral("Affection %1").arg(i);
        drugs << QString::fromUtf8("Médicament %1").arg(i);
    }
    record.doctors =
        listEntries(connection, QStringLiteral("LST_DOCTOR"), QStringLiteral("Name"), doctors);
    record.illnesses =
        listEntries(connection, QStringLiteral("LST_ILLNESS"), QStringLiteral("Title"), illnesses);
    record.drugs =
        listEntries(connection, QStringLiteral("LST_DRUG"), QStringLiteral("Title"), drugs);
    record.vaccines =
        listEntries(connection, QStringLiteral("LST_VACCINE"), QStringLiteral("Title"),
                    {QStringLiteral("Rage"), QStringLiteral("CHPPiL"),
                     QStringLiteral("Typhus, coryza"), QStringLiteral("Leucose"),
                     QStringLiteral("Toux du chenil"), QStringLiteral("Piroplasmose")});
    record.analyses =
        listEntries(connection, QStringLiteral("LST_ANALYSIS"), QStringLiteral("Title"),
                    {QString::fromUtf8("Urée"), QString::fromUtf8("Créatinine"),
                     QStringLiteral("Glycémie"), QStringLiteral("Hématocrite")});
    record.act.prepare(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness, Id_Drug, Date_Action, "
        "Time_Action, Remark1, Price) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    record.vaccine.prepare(
        QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, Date_Vaccine, "
                       "Repeat_Date, Repeat_Exe) VALUES (?, ?, ?, ?, ?, ?)"));
    record.weight.prepare(
        QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES (?, ?, ?)"));
    record.followed.prepare(
        QStringLiteral("INSERT INTO L_ANALYSIS (Id_Ref, Id_Analysis) VALUES (?, ?)"));
    record.value.prepare(
        QStringLiteral("INSERT INTO ANALYSIS (Id_Ref, Date_Analysis, Value_Analysis, Value_Min, "
                       "Value_Max) VALUES (?, ?, ?, ?, ?)"));
    record.event.prepare(
        QStringLiteral("INSERT INTO EVENT (Id_Ref, Date_Event, Description) VALUES (?, ?, ?)"));
    record.document.prepare(QStringLiteral("INSERT INTO DOCUMENTIMG (Id_Ref, DoType, Title, "
                                           "ImgMini, Id_File) VALUES (?, 1, ?, ?, 0)"));
    record.documentThumbnail = thumbnail(random);
    // The booklet is as of this day, whatever the day it is made on.
    const QDate until(2026, 12, 1);
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
        const QDate birth(2005 + int(random() % 20), int(random() % 12) + 1,
                          int(random() % 28) + 1);
        q.addBindValue(birth.toString(QStringLiteral("dd/MM/yyyy")));
        q.addBindValue(photos.at(i % photos.size()));
        q.addBindValue(thumbnail(random));
        if (!q.exec() || !record.write(random, q.lastInsertId().toLongLong(), birth, until))
            return -1;
    }
    tx.commit();
    return int(photoBytes / photos.size());
}
