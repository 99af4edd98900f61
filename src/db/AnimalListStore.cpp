#include "db/AnimalListStore.h"

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/DbError.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <tuple>
#include <vector>

namespace tav {

namespace {

// The animals with the titles of their species and breed; entries() puts
// them in the list's order.
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

void run(QSqlQuery& q, const QString& file, const QString& text, const QVariantList& values)
{
    q.setForwardOnly(true);
    if (!q.prepare(text))
        throw DbError(databaseErrorText(q.lastError(), file));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(databaseErrorText(q.lastError(), file));
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
    QSqlQuery q(m_connection.database());
    run(q, m_connection.filePath(), kSelect, {});
    QVector<AnimalListEntry> out;
    while (q.next())
        out.append(readEntry(q));
    return sorted(std::move(out), animalSort);
}

QVector<AnimalListEntry> AnimalListStore::entriesFrom(const DataSet& animals, int animalSort) const
{
    const int id = animals.fieldIndex(QStringLiteral("Id"));
    const int name = animals.fieldIndex(QStringLiteral("Name"));
    const int identification = animals.fieldIndex(QStringLiteral("Identification_No"));
    const int endDate = animals.fieldIndex(QStringLiteral("End_Date"));
    const int species = animals.fieldIndex(QStringLiteral("Id_Species"));
    const int breed = animals.fieldIndex(QStringLiteral("Id_Breed"));
    if (std::min({id, name, identification, endDate, species, breed}) < 0)
        return entries(animalSort);
    auto titles = [this](const QString& table) {
        QHash<qint64, QVariant> out;
        QSqlQuery q(m_connection.database());
        run(q, m_connection.filePath(), QStringLiteral("SELECT Id, Title FROM ") + table, {});
        while (q.next())
            out.insert(q.value(0).toLongLong(), q.value(1));
        return out;
    };
    const QHash<qint64, QVariant> speciesTitles = titles(QStringLiteral("ANIMAL_SPECIES"));
    const QHash<qint64, QVariant> breedTitles = titles(QStringLiteral("ANIMAL_BREED"));
    // A key that names no row reads as the join's NULL.
    auto titleOf = [](const QHash<qint64, QVariant>& from, const QVariant& key) {
        return key.isNull() ? QVariant() : from.value(key.toLongLong());
    };
    QVector<AnimalListEntry> out;
    out.reserve(animals.recordCount());
    for (int row = 0; row < animals.recordCount(); ++row) {
        AnimalListEntry e;
        e.id = animals.valueAt(row, id).toInt();
        const QVariant& n = animals.valueAt(row, name);
        e.nameNull = n.isNull();
        e.name = n.toString();
        e.identification = animals.valueAt(row, identification).toString();
        e.endDate = animals.valueAt(row, endDate).toString();
        const QVariant s = titleOf(speciesTitles, animals.valueAt(row, species));
        e.speciesNull = s.isNull();
        e.speciesTitle = s.toString();
        const QVariant b = titleOf(breedTitles, animals.valueAt(row, breed));
        e.breedNull = b.isNull();
        e.breedTitle = b.toString();
        out.append(e);
    }
    return sorted(std::move(out), animalSort);
}

QVector<AnimalListEntry> AnimalListStore::sorted(QVector<AnimalListEntry> out, int animalSort)
{
    // Sorted here rather than by the engine, which folds both texts at
    // every comparison. Each distinct text is folded once and given its
    // rank in the French order (texts that compare equal share one, NULL
    // comes first as the engine puts it); the animals are then sorted by
    // their ranks, which gives the order of before().
    auto ranks = [&out](auto text) {
        // Each animal's text is looked up once: its slot among the distinct
        // texts, -1 for NULL.
        QHash<QString, int> distinct;
        distinct.reserve(out.size());
        std::vector<const QString*> texts;
        std::vector<int> slot;
        slot.reserve(size_t(out.size()));
        bool hasNull = false;
        for (const AnimalListEntry& e : std::as_const(out)) {
            const auto [null, value] = text(e);
            if (null) {
                hasNull = true;
                slot.push_back(-1);
                continue;
            }
            const auto known = distinct.constFind(value);
            if (known != distinct.constEnd()) {
                slot.push_back(*known);
                continue;
            }
            slot.push_back(int(texts.size()));
            distinct.insert(value, int(texts.size()));
            texts.push_back(&value);
        }
        std::vector<std::pair<QVector<quint32>, int>> keys;
        keys.reserve(texts.size());
        for (size_t i = 0; i < texts.size(); ++i)
            keys.emplace_back(frenchSortKey(*texts.at(i)), int(i));
        std::sort(keys.begin(), keys.end());
        std::vector<int> rankOf(texts.size());
        int rank = hasNull ? 1 : 0;
        for (size_t i = 0; i < keys.size(); ++i) {
            if (i > 0 && keys.at(i).first != keys.at(i - 1).first)
                ++rank;
            rankOf[size_t(keys.at(i).second)] = rank;
        }
        std::vector<int> of;
        of.reserve(slot.size());
        for (const int s : slot)
            of.push_back(s < 0 ? 0 : rankOf[size_t(s)]);
        return of;
    };
    const std::vector<int> species = ranks([](const AnimalListEntry& e) {
        return std::pair<bool, const QString&>(e.speciesNull, e.speciesTitle);
    });
    const std::vector<int> breed = ranks([](const AnimalListEntry& e) {
        return std::pair<bool, const QString&>(e.breedNull, e.breedTitle);
    });
    const std::vector<int> name = ranks([](const AnimalListEntry& e) {
        return std::pair<bool, const QString&>(e.nameNull, e.name);
    });
    const bool breedFirst = animalSort == 2;
    std::vector<std::tuple<int, int, int, int, int>> keyed;
    keyed.reserve(size_t(out.size()));
    for (int i = 0; i < out.size(); ++i) {
        const auto k = size_t(i);
        keyed.emplace_back(breedFirst ? breed[k] : species[k], breedFirst ? species[k] : breed[k],
                           name[k], out.at(i).id, i);
    }
    std::sort(keyed.begin(), keyed.end());
    QVector<AnimalListEntry> ordered;
    ordered.reserve(out.size());
    for (const auto& k : keyed)
        ordered.append(std::move(out[std::get<4>(k)]));
    return ordered;
}

std::optional<AnimalListEntry> AnimalListStore::entry(int animalId) const
{
    QSqlQuery q(m_connection.database());
    run(q, m_connection.filePath(), kSelect + QStringLiteral(" WHERE ANIMAL.Id=?"), {animalId});
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
