#include "db/AnimalListStore.h"

#include "db/Connection.h"
#include "db/DbError.h"

#include <QSqlError>
#include <QSqlQuery>

#include <tuple>

namespace tav {

namespace {

// Plain SQLite: the titles are compared by the connection's NOCASE, the
// collation of every text column, and the Id settles animals that would
// otherwise tie, so that the order is the same at every reading.
const QString kSelect =
    QStringLiteral("SELECT ANIMAL.Id, ANIMAL.Name, ANIMAL.Identification_No, ANIMAL.End_Date, "
                   "ANIMAL_SPECIES.Title, ANIMAL_BREED.Title FROM ANIMAL "
                   "LEFT JOIN ANIMAL_SPECIES ON ANIMAL.Id_Species = ANIMAL_SPECIES.Id "
                   "LEFT JOIN ANIMAL_BREED ON ANIMAL.Id_Breed = ANIMAL_BREED.Id");

AnimalListEntry readEntry(const QSqlQuery& q)
{
    AnimalListEntry e;
    e.id = q.value(0).toInt();
    e.nameNull = q.value(1).isNull();
    e.name = q.value(1).toString();
    e.identification = q.value(2).toString();
    e.endDate = q.value(3).toString();
    e.speciesNull = q.value(4).isNull();
    e.speciesTitle = q.value(4).toString();
    e.breedNull = q.value(5).isNull();
    e.breedTitle = q.value(5).toString();
    return e;
}

void run(QSqlQuery& q, const QString& text, const QVariantList& values)
{
    q.setForwardOnly(true);
    if (!q.prepare(text))
        throw DbError(q.lastError().text());
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(q.lastError().text());
}

// NULL first, then texts in the connection's French order.
int compareText(bool aNull, const QString& a, bool bNull, const QString& b)
{
    if (aNull || bNull)
        return int(bNull) - int(aNull);
    return compareFrench(a, b);
}

} // namespace

bool AnimalListEntry::operator==(const AnimalListEntry& o) const
{
    return std::tie(id, name, identification, endDate, speciesTitle, breedTitle, nameNull,
                    speciesNull, breedNull) == std::tie(o.id, o.name, o.identification, o.endDate,
                                                        o.speciesTitle, o.breedTitle, o.nameNull,
                                                        o.speciesNull, o.breedNull);
}

QVector<AnimalListEntry> AnimalListStore::entries(int animalSort) const
{
    const QString order =
        animalSort == 2
            ? QStringLiteral(" ORDER BY ANIMAL_BREED.Title, ANIMAL_SPECIES.Title, ANIMAL.Name, "
                             "ANIMAL.Id")
            : QStringLiteral(" ORDER BY ANIMAL_SPECIES.Title, ANIMAL_BREED.Title, ANIMAL.Name, "
                             "ANIMAL.Id");
    QSqlQuery q(m_connection.database());
    run(q, kSelect + order, {});
    QVector<AnimalListEntry> out;
    while (q.next())
        out.append(readEntry(q));
    return out;
}

std::optional<AnimalListEntry> AnimalListStore::entry(int animalId) const
{
    QSqlQuery q(m_connection.database());
    run(q, kSelect + QStringLiteral(" WHERE ANIMAL.Id=?"), {animalId});
    if (!q.next())
        return std::nullopt;
    return readEntry(q);
}

bool AnimalListStore::before(const AnimalListEntry& a, const AnimalListEntry& b, int animalSort)
{
    const int species = compareText(a.speciesNull, a.speciesTitle, b.speciesNull, b.speciesTitle);
    const int breed = compareText(a.breedNull, a.breedTitle, b.breedNull, b.breedTitle);
    const int first = animalSort == 2 ? breed : species;
    if (first != 0)
        return first < 0;
    const int second = animalSort == 2 ? species : breed;
    if (second != 0)
        return second < 0;
    const int name = compareText(a.nameNull, a.name, b.nameNull, b.name);
    if (name != 0)
        return name < 0;
    return a.id < b.id;
}

} // namespace tav
