#pragma once

#include "db/AnimalListStore.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace tav {

// One row of the grouped animal list: a group header or an animal.
struct AnimalRow
{
    int key = 0;        // the animal's Id; 0 for a header
    QStringList fields; // six fields; a header has its title in the first

    bool isHeader() const { return key < 1; }
    bool operator==(const AnimalRow& other) const
    {
        return key == other.key && fields == other.fields;
    }
    // "key%&a%f1%&b%...%&f%f6%&g%": the key is the Id zero-padded to at
    // least four digits, so that animals numbered 10000 and more fit too.
    QString rowString() const;
    static int keyOfRowString(const QString& row);
    static QString fieldOfRowString(const QString& row, int field); // field 1..6
};

// The sort of the list: 1 groups by species then breed, 2 by breed then
// species; any other stored value reads as 1.
int normalizedAnimalSort(int animalSort);

// French lower-case accents removed, then a to z upper-cased; other
// letters, upper-case accented ones included, are left as they are.
QString upperWithoutAccents(const QString& text);
// A group title as the header shows it; an empty title is "NON CLASSE".
QString headerTitle(const QString& groupTitle);

struct AnimalListResult
{
    QVector<AnimalRow> rows;
    int wantedIndex = -1; // index of the wanted animal's row, -1 when not listed
};

// Builds the rows from the animals in list order (AnimalListStore).
AnimalListResult buildAnimalRows(const QVector<AnimalListEntry>& animals, int animalSort,
                                 bool showDeparted, int wantedId);

// The row selected once the list is built.
int initialSelection(const AnimalListResult& result, int wantedId);

} // namespace tav
