#pragma once

#include <QString>

namespace tav {

class Connection;

// The schema version of a database lives in one row of OBJECT_VAL_STR whose
// three keys are -99.
QString readDatabaseVersion(Connection& connection,
                            const QString& table = QStringLiteral("OBJECT_VAL_STR"),
                            const QString& column = QStringLiteral("VALUE"));
// Creates the row when missing, else changes it; throws DbError.
void writeDatabaseVersion(Connection& connection, const QString& version,
                          const QString& table = QStringLiteral("OBJECT_VAL_STR"),
                          const QString& column = QStringLiteral("VALUE"));

// The version of the SQLite library that runs the connection's statements.
QString sqliteVersion(Connection& connection);

// "1.13" -> 113, "1.2" -> 12, anything that is then not an integer -> 0.
int versionNumber(const QString& version);

} // namespace tav
