#pragma once

#include "db/JetType.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace tav {

class Connection;

struct ColumnDef
{
    QString name;
    JetType type = JetType::Unknown;
    int size = 0;         // characters, for Text columns
    QString defaultValue; // SQL literal, empty for none
};

struct TableDef
{
    QString name;
    QVector<ColumnDef> columns;
    const ColumnDef* column(const QString& name) const; // case-insensitive
};

// Every table of the booklet's database, from the one definition that the
// template, the tests and the upgrade checks share.
const QVector<TableDef>& schemaTables();
const TableDef* schemaTable(const QString& name); // case-insensitive

// The tables of the booklet that the database lacks, in schema order.
QStringList missingTables(const Connection& connection);

// The CREATE TABLE statement of a table. Text columns compare and sort
// without case, through the connection's French NOCASE. No index is built
// on text: its order would depend on that collation.
QString createTableSql(const TableDef& table);

// Creates every table in one transaction; throws DbError.
void createSchema(Connection& connection);
// The indexes on the animal key of the per-animal tables, made when
// missing (databases of earlier builds have none). Throws DbError.
void createRowIndexes(Connection& connection);

} // namespace tav
