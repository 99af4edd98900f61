#pragma once

#include "db/DataSetDefinitions.h"

#include <QHash>
#include <QObject>
#include <QString>

namespace tav {

class Connection;
class DataSet;

// A set of named data sets over one connection.
class DataModule : public QObject
{
    Q_OBJECT
public:
    DataModule(const QString& name, Connection& connection,
               const QVector<DataSetDefinition>& definitions, QObject* parent = nullptr);

    Connection& connection() const { return m_connection; }
    // The data set of that name; throws DbError when there is none.
    DataSet& dataSet(const QString& name) const;
    bool hasDataSet(const QString& name) const;
    const QList<DataSet*>& dataSets() const { return m_ordered; }
    // Closes every data set (before the connection closes).
    void closeAll();

private:
    Connection& m_connection;
    QHash<QString, DataSet*> m_byName;
    QList<DataSet*> m_ordered;
};

} // namespace tav
