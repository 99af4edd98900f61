#include "db/VersionRow.h"

#include "db/Connection.h"
#include "db/DbError.h"

namespace tav {

namespace {

QString bracketed(const QString& name)
{
    QString n = name;
    n.remove(QLatin1Char('['));
    n.remove(QLatin1Char(']'));
    return QLatin1Char('[') + n + QLatin1Char(']');
}

const QLatin1String kVersionKeys("[ID_CLASS]=-99 AND [ID_ATTRIBUTE]=-99 AND [USERID]=-99");

} // namespace

QString readDatabaseVersion(Connection& connection, const QString& table, const QString& column)
{
    try {
        const QVariant v = connection.scalar(QLatin1String("SELECT ") + bracketed(column) +
                                             QLatin1String(" FROM ") + bracketed(table) +
                                             QLatin1String(" WHERE ") + kVersionKeys);
        if (!v.isValid())
            return QStringLiteral("0");
        return v.toString();
    } catch (const DbError&) {
        return QStringLiteral("0");
    }
}

QString sqliteVersion(Connection& connection)
{
    try {
        return connection.scalar(QStringLiteral("SELECT sqlite_version()")).toString();
    } catch (const DbError&) {
        return QString();
    }
}

void writeDatabaseVersion(Connection& connection, const QString& version, const QString& table,
                          const QString& column)
{
    const QString where = QLatin1String(" WHERE ") + kVersionKeys;
    Transaction tx(connection);
    const QVariant rowId = connection.scalar(QLatin1String("SELECT rowid FROM ") +
                                             bracketed(table) + where + QLatin1String(" LIMIT 1"));
    if (rowId.isValid()) {
        connection.exec(QLatin1String("UPDATE ") + bracketed(table) + QLatin1String(" SET ") +
                            bracketed(column) +
                            QLatin1String(" = ?, [ID_CLASS] = -99, [ID_ATTRIBUTE] = -99, "
                                          "[USERID] = -99 WHERE rowid = ?"),
                        {version, rowId});
    } else {
        connection.exec(QLatin1String("INSERT INTO ") + bracketed(table) + QLatin1String(" (") +
                            bracketed(column) +
                            QLatin1String(", [ID_CLASS], [ID_ATTRIBUTE], [USERID]) "
                                          "VALUES (?, -99, -99, -99)"),
                        {version});
    }
    tx.commit();
}

int versionNumber(const QString& version)
{
    QString v = version;
    const int dot = v.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        v.remove(dot, 1);
    bool ok = false;
    const int n = v.toInt(&ok, 10);
    return ok ? n : 0;
}

} // namespace tav
