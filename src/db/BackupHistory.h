#pragma once

#include <QString>

namespace tav {

class Connection;

// Takes back the last history row written with this description and path,
// when the command it announced failed. Throws DbError.
void removeLastBackupHistory(Connection& connection, const QString& description,
                             const QString& path);

// Empties the history of backups. Throws DbError.
void clearBackupHistory(Connection& connection);

} // namespace tav
