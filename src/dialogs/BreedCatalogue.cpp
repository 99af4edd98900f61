#include "dialogs/BreedCatalogue.h"

#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"

namespace tav {

namespace {

const QString kId = QStringLiteral("Id");
const QString kTitle = QStringLiteral("Title");

QVector<TitledRow> readTitles(DataSet& ds)
{
    QVector<TitledRow> rows;
    ds.close();
    ds.open();
    for (ds.first(); !ds.eof(); ds.next())
        rows.append({ds.asInt(kId), ds.asString(kTitle)});
    ds.close();
    return rows;
}

// Runs a write through the scratch query on the one row the statement
// selects (or a new one), so that the data layer checks the values.
// Keys in the statement are integers of ours, never text from the user.
template <typename Write> int writeRow(DataSet& query, const QString& select, Write write)
{
    query.close();
    query.setSql({select});
    try {
        query.open();
        write(query);
        query.post();
    } catch (const DbError&) {
        query.cancel();
        query.close();
        throw;
    }
    const int id = query.asInt(kId);
    query.close();
    return id;
}

int insertTitled(DataSet& query, const QString& table, const QString& title, int speciesId)
{
    return writeRow(query,
                    QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE Id=-1"),
                    [&](DataSet& q) {
                        q.append();
                        q.setValue(kTitle, title);
                        if (speciesId >= 0)
                            q.setValue(QStringLiteral("Id_Species"), speciesId);
                    });
}

void renameTitled(DataSet& query, const QString& table, int id, const QString& title)
{
    writeRow(query,
             QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE Id=") +
                 QString::number(id),
             [&](DataSet& q) {
                 q.edit();
                 q.setValue(kTitle, title);
             });
}

PickLines readPickLines(DataSet& query, const QString& statement)
{
    PickLines result{{QString()}, {QStringLiteral("-1")}};
    query.close();
    query.setSql({statement});
    query.open();
    for (query.first(); !query.eof(); query.next()) {
        result.lines.append(query.asString(kTitle));
        result.ids.append(QString::number(query.asInt(kId)));
    }
    query.close();
    return result;
}

} // namespace

QVector<TitledRow> BreedCatalogue::species() const
{
    return readTitles(m_module.dataSet(QStringLiteral("Animal_Species")));
}

QVector<TitledRow> BreedCatalogue::breeds(int speciesId) const
{
    DataSet& ds = m_module.dataSet(QStringLiteral("Animal_Breed"));
    ds.close();
    ds.replaceWhereLine(QStringLiteral("WHERE Id_Species=") + QString::number(speciesId));
    return readTitles(ds);
}

int BreedCatalogue::addSpecies(const QString& title)
{
    return insertTitled(m_module.query(), QStringLiteral("ANIMAL_SPECIES"), title, -1);
}

int BreedCatalogue::addBreed(int speciesId, const QString& title)
{
    return insertTitled(m_module.query(), QStringLiteral("ANIMAL_BREED"), title, speciesId);
}

void BreedCatalogue::renameSpecies(int id, const QString& title)
{
    renameTitled(m_module.query(), QStringLiteral("ANIMAL_SPECIES"), id, title);
}

void BreedCatalogue::renameBreed(int id, const QString& title)
{
    renameTitled(m_module.query(), QStringLiteral("ANIMAL_BREED"), id, title);
}

void BreedCatalogue::deleteSpecies(int id)
{
    Connection& connection = m_module.connection();
    Transaction transaction(connection);
    connection.exec(QStringLiteral("DELETE FROM Animal_Species WHERE Id=?"), {id});
    connection.exec(QStringLiteral("DELETE FROM Animal_Breed WHERE Id_Species=?"), {id});
    transaction.commit();
}

void BreedCatalogue::deleteBreed(int id)
{
    m_module.connection().exec(QStringLiteral("DELETE FROM Animal_Breed WHERE Id=?"), {id});
}

PickLines speciesPickLines(DataModule1& module)
{
    return readPickLines(module.query(),
                         QStringLiteral("SELECT Id, Title FROM ANIMAL_SPECIES ORDER BY Title"));
}

int speciesIdOfTitle(DataModule1& module, const QString& title)
{
    if (title.isEmpty())
        return -1;
    const QVariant id = module.connection().scalar(
        QStringLiteral("SELECT Id FROM ANIMAL_SPECIES WHERE Title=? ORDER BY Id"), {title});
    return id.isValid() && !id.isNull() ? id.toInt() : -1;
}

PickLines breedPickLines(DataModule1& module, const QString& speciesTitle)
{
    const int speciesId = speciesIdOfTitle(module, speciesTitle);
    QString statement = QStringLiteral("SELECT Id, Id_Species, Title FROM ANIMAL_BREED");
    if (speciesId >= 0)
        statement += QStringLiteral(" WHERE Id_Species=") + QString::number(speciesId);
    statement += QStringLiteral(" ORDER BY Title");
    return readPickLines(module.query(), statement);
}

} // namespace tav
