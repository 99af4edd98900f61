#include "db/BackupHistory.h"

#include "db/Connection.h"

namespace tav {

void removeLastBackupHistory(Connection& connection, const QString& description,
                             const QString& path)
{
    // The table has no key: its rows are told apart by SQLite's rowid.
    connection.exec(QStringLiteral("DELETE FROM BACKUP WHERE rowid = (SELECT MAX(rowid) FROM "
                                   "BACKUP WHERE Description=? AND Path=?)"),
                    {description, path.left(255)});
}

void clearBackupHistory(Connection& connection)
{
    connection.exec(QStringLiteral("DELETE FROM Backup"));
}

} // namespace tav
