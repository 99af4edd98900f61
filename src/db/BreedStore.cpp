#include "db/BreedStore.h"

#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"

#include <QSqlError>
#include <QSqlQuery>

namespace tav {

namespace {

const QString kId = QStringLiteral("Id");
const QString kTitle = QStringLiteral("Title");

// Runs a read with bound values and hands over each row.
template <typename Row>
void readRows(Connection& connection, const QString& text, const QVariantList& values, Row row)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.prepare(text))
        throw DbError(databaseErrorText(q.lastError(), connection.filePath()));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(databaseErrorText(q.lastError(), connection.filePath()));
    while (q.next())
        row(q);
}

QVector<TitledRow> readTitles(Connection& connection, const QString& text,
                              const QVariantList& values)
{
    QVector<TitledRow> rows;
    readRows(connection, text, values, [&rows](const QSqlQuery& q) {
        rows.append({q.value(0).toInt(), q.value(1).toString()});
    });
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

PickLines readPickLines(Connection& connection, const QString& text, const QVariantList& values)
{
    PickLines result{{QString()}, {QStringLiteral("-1")}};
    for (const TitledRow& row : readTitles(connection, text, values)) {
        result.lines.append(row.title);
        result.ids.append(QString::number(row.id));
    }
    return result;
}

} // namespace

QVector<TitledRow> BreedStore::species() const
{
    return readTitles(m_module.connection(),
                      QStringLiteral("SELECT Id, Title FROM ANIMAL_SPECIES WHERE Id_File=-1 "
                                     "ORDER BY Title"),
                      {});
}

QVector<TitledRow> BreedStore::breeds(int speciesId) const
{
    return readTitles(
        m_module.connection(),
        QStringLiteral("SELECT Id, Title FROM ANIMAL_BREED WHERE Id_Species=? ORDER BY Title"),
        {speciesId});
}

int BreedStore::addSpecies(const QString& title)
{
    return insertTitled(m_module.query(), QStringLiteral("ANIMAL_SPECIES"), title, -1);
}

int BreedStore::addBreed(int speciesId, const QString& title)
{
    return insertTitled(m_module.query(), QStringLiteral("ANIMAL_BREED"), title, speciesId);
}

void BreedStore::renameSpecies(int id, const QString& title)
{
    renameTitled(m_module.query(), QStringLiteral("ANIMAL_SPECIES"), id, title);
}

void BreedStore::renameBreed(int id, const QString& title)
{
    renameTitled(m_module.query(), QStringLiteral("ANIMAL_BREED"), id, title);
}

void BreedStore::deleteSpecies(int id)
{
    Connection& connection = m_module.connection();
    Transaction transaction(connection);
    connection.exec(QStringLiteral("DELETE FROM Animal_Species WHERE Id=?"), {id});
    connection.exec(QStringLiteral("DELETE FROM Animal_Breed WHERE Id_Species=?"), {id});
    transaction.commit();
}

void BreedStore::deleteBreed(int id)
{
    m_module.connection().exec(QStringLiteral("DELETE FROM Animal_Breed WHERE Id=?"), {id});
}

PickLines speciesPickLines(DataModule1& module)
{
    return readPickLines(module.connection(),
                         QStringLiteral("SELECT Id, Title FROM ANIMAL_SPECIES ORDER BY Title"), {});
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
    if (speciesId < 0)
        return readPickLines(module.connection(),
                             QStringLiteral("SELECT Id, Title FROM ANIMAL_BREED ORDER BY Title"),
                             {});
    return readPickLines(
        module.connection(),
        QStringLiteral("SELECT Id, Title FROM ANIMAL_BREED WHERE Id_Species=? ORDER BY Title"),
        {speciesId});
}

} // namespace tav
