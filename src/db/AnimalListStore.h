#pragma once

#include <QString>
#include <QVector>

#include <optional>

namespace tav {

class DataSet;

class Connection;

// What the animal list shows of one animal, without its pictures.
struct AnimalListEntry
{
    int id = 0;
    QString name;
    QString identification;
    QString endDate;
    QString speciesTitle;
    QString breedTitle;
    // NULL in the database (no name yet, no species or breed, or one that
    // no longer exists): the order puts those before any text, empty ones
    // included.
    bool nameNull = false;
    bool speciesNull = false;
    bool breedNull = false;

    bool operator==(const AnimalListEntry& other) const;
};

// Reads the animals of the list with their species and breed titles.
class AnimalListStore
{
public:
    explicit AnimalListStore(Connection& connection) : m_connection(connection) {}

    // Every animal, in list order for that grouping (1 species then breed,
    // 2 breed then species, any other value as 1). Throws DbError.
    QVector<AnimalListEntry> entries(int animalSort) const;
    // The same from the rows of the animals' data set as it stands, read
    // already when it was opened: only the titles are read. For a data set
    // just opened, whose rows are the stored ones. Throws DbError.
    QVector<AnimalListEntry> entriesFrom(const DataSet& animals, int animalSort) const;
    // One animal by key, or nothing when it does not exist. Throws DbError.
    std::optional<AnimalListEntry> entry(int animalId) const;

    // True when a comes before b in the list: the order of entries(), so
    // that one changed animal can be put in its place without reading the
    // others again.
    static bool before(const AnimalListEntry& a, const AnimalListEntry& b, int animalSort);

private:
    static QVector<AnimalListEntry> sorted(QVector<AnimalListEntry> entries, int animalSort);

    Connection& m_connection;
};

} // namespace tav
