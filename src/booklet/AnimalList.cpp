#include "booklet/AnimalList.h"

#include "core/TextRoutines.h"
#include "db/DataSet.h"

namespace tav {

namespace {

const char* const kMarkers[] = {"%&a%", "%&b%", "%&c%", "%&d%", "%&e%", "%&f%", "%&g%"};

} // namespace

QString AnimalRow::rowString() const
{
    QString s = zeroPad(std::max(key, 0), 4);
    for (int i = 0; i < 6; ++i)
        s += QLatin1String(kMarkers[i]) + fields.value(i);
    return s + QLatin1String(kMarkers[6]);
}

int AnimalRow::keyOfRowString(const QString& row)
{
    const int end = row.indexOf(QLatin1String(kMarkers[0]));
    bool ok = false;
    const int key = row.left(end < 0 ? 4 : end).toInt(&ok);
    return ok ? key : 0;
}

QString AnimalRow::fieldOfRowString(const QString& row, int field)
{
    if (field < 1 || field > 6)
        return QString();
    const int start = row.indexOf(QLatin1String(kMarkers[field - 1]));
    if (start < 0)
        return QString();
    const int from = start + 4;
    const int end = row.indexOf(QLatin1String(kMarkers[field]), from);
    return row.mid(from, end < 0 ? -1 : end - from);
}

int normalizedAnimalSort(int animalSort)
{
    return animalSort == 2 ? 2 : 1;
}

QStringList animalListSql(int animalSort)
{
    return {QStringLiteral("SELECT ANIMAL.Id, ANIMAL.Name, ANIMAL.Identification_No, "
                           "ANIMAL.End_Date, ANIMAL_SPECIES.Title, ANIMAL_BREED.Title"),
            QStringLiteral("FROM (ANIMAL LEFT JOIN ANIMAL_SPECIES ON ANIMAL.Id_Species = "
                           "ANIMAL_SPECIES.Id) LEFT JOIN ANIMAL_BREED ON ANIMAL.Id_Breed = "
                           "ANIMAL_BREED.Id"),
            normalizedAnimalSort(animalSort) == 2
                ? QStringLiteral("ORDER BY ANIMAL_BREED.Title, ANIMAL_SPECIES.Title, NAME")
                : QStringLiteral("ORDER BY ANIMAL_SPECIES.Title, ANIMAL_BREED.Title, NAME")};
}

QString animalThumbnailSql()
{
    return QStringLiteral("SELECT Id, ImgMini1 FROM ANIMAL WHERE length(ImgMini1) > 0");
}

QString upperWithoutAccents(const QString& text)
{
    QString s = stripAccents(text);
    for (QChar& c : s) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    }
    return s;
}

QString headerTitle(const QString& groupTitle)
{
    return groupTitle.isEmpty() ? QStringLiteral("NON CLASSE") : upperWithoutAccents(groupTitle);
}

AnimalListResult buildAnimalRows(DataSet& query, int animalSort, bool showDeparted, int wantedId)
{
    const bool bySpecies = normalizedAnimalSort(animalSort) == 1;
    const int id = query.fieldIndex(QStringLiteral("ANIMAL.Id"));
    const int name = query.fieldIndex(QStringLiteral("ANIMAL.Name"));
    const int ident = query.fieldIndex(QStringLiteral("ANIMAL.Identification_No"));
    const int endDate = query.fieldIndex(QStringLiteral("ANIMAL.End_Date"));
    const int species = query.fieldIndex(QStringLiteral("ANIMAL_SPECIES.Title"));
    const int breed = query.fieldIndex(QStringLiteral("ANIMAL_BREED.Title"));
    const int group = bySpecies ? species : breed;
    const int second = bySpecies ? breed : species;

    AnimalListResult result;
    QString previous;
    bool first = true;
    for (int r = 0; r < query.recordCount(); ++r) {
        if (!showDeparted && !query.valueAt(r, endDate).toString().isEmpty())
            continue;
        QString g = query.valueAt(r, group).toString();
        if (g.isEmpty())
            g = QStringLiteral("NON CLASSE");
        if (first || g != previous) {
            first = false;
            previous = g;
            AnimalRow header;
            header.fields = {headerTitle(g), QString(), QString(), QString(), QString(), QString()};
            result.rows.append(header);
        }
        AnimalRow row;
        row.key = query.valueAt(r, id).toInt();
        const QString n = query.valueAt(r, name).toString();
        row.fields = {
            n, query.valueAt(r, second).toString(), query.valueAt(r, ident).toString(), n, n, n};
        result.rows.append(row);
        if (row.key == wantedId)
            result.wantedIndex = int(result.rows.size()) - 1;
    }
    return result;
}

int initialSelection(const AnimalListResult& result, int wantedId)
{
    if (wantedId == -1)
        return result.rows.isEmpty() ? 0 : 1;
    return result.wantedIndex >= 0 ? result.wantedIndex : 0;
}

} // namespace tav
