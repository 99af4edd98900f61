#pragma once

#include <QString>
#include <QStringList>

namespace tav {

class Connection;

// The tables without which the start-up refuses a file as the booklets'
// database: every table of the schema.
QStringList requiredBookletTables();

// Why an open database cannot serve as the booklets' database: it cannot
// be written, or some of the tables are missing (named in the message).
// Empty when it can.
QString bookletProblem(const Connection& connection,
                       const QStringList& tables = requiredBookletTables());

// Why the schema version of an open database cannot be read (a missing
// row reads as version "0" and is no problem). Empty when it can.
QString versionProblem(Connection& connection);

} // namespace tav
