#include "db/DataModule.h"

#include "db/DataSet.h"
#include "db/DbError.h"

namespace tav {

DataModule::DataModule(const QString& name, Connection& connection,
                       const QVector<DataSetDefinition>& definitions, QObject* parent)
    : QObject(parent), m_connection(connection)
{
    setObjectName(name);
    for (const DataSetDefinition& d : definitions) {
        auto* ds = new DataSet(d.name, connection, this);
        ds->setSql(d.sql);
        ds->setFieldDefs(d.fields);
        m_byName.insert(d.name.toLower(), ds);
        m_ordered.append(ds);
    }
}

DataSet& DataModule::dataSet(const QString& name) const
{
    DataSet* ds = m_byName.value(name.toLower());
    if (!ds)
        throw DbError(QStringLiteral("Le jeu de données « %1 » n'existe pas.").arg(name));
    return *ds;
}

bool DataModule::hasDataSet(const QString& name) const
{
    return m_byName.contains(name.toLower());
}

void DataModule::closeAll()
{
    for (DataSet* ds : std::as_const(m_ordered))
        ds->close();
}

} // namespace tav
