#include "booklet/AnimalList.h"

#include "core/TextRoutines.h"

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

AnimalListResult buildAnimalRows(const QVector<AnimalListEntry>& animals, int animalSort,
                                 bool showDeparted, int wantedId)
{
    const bool bySpecies = normalizedAnimalSort(animalSort) == 1;
    AnimalListResult result;
    result.rows.reserve(animals.size() + animals.size() / 8 + 1);
    QString previous;
    bool first = true;
    for (const AnimalListEntry& a : animals) {
        if (!showDeparted && !a.endDate.isEmpty())
            continue;
        QString g = bySpecies ? a.speciesTitle : a.breedTitle;
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
        row.key = a.id;
        row.fields = {a.name,           bySpecies ? a.breedTitle : a.speciesTitle,
                      a.identification, a.name,
                      a.name,           a.name};
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
