#include "db/BookletCheck.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Schema.h"

namespace tav {

QStringList requiredBookletTables()
{
    QStringList tables;
    for (const TableDef& table : schemaTables())
        tables << table.name;
    return tables;
}

QString bookletProblem(const Connection& connection, const QStringList& tables)
{
    if (const QString why = connection.readOnlyReason(); !why.isEmpty())
        return why;
    const QStringList present = connection.tableNames();
    QStringList missing;
    for (const QString& table : tables) {
        if (!present.contains(table, Qt::CaseInsensitive))
            missing << table;
    }
    if (missing.isEmpty())
        return QString();
    // Without the animals' own tables the file is no booklet at all; any
    // other missing table is a booklet that lost part of itself.
    QStringList identity;
    for (const QString& table : {QStringLiteral("ANIMAL"), QStringLiteral("ANIMAL_SPECIES"),
                                 QStringLiteral("ANIMAL_BREED")}) {
        if (missing.contains(table))
            identity << table;
    }
    if (!identity.isEmpty())
        return QStringLiteral("Le fichier « %1 » n'est pas une base de données de carnets de "
                              "santé : table(s) %2 absente(s).")
            .arg(connection.filePath(), identity.join(QStringLiteral(", ")));
    return QStringLiteral("La base de données « %1 » est incomplète : table(s) %2 absente(s). "
                          "Restaurez une sauvegarde.")
        .arg(connection.filePath(), missing.join(QStringLiteral(", ")));
}

QString versionProblem(Connection& connection)
{
    try {
        connection.scalar(QStringLiteral("SELECT [VALUE] FROM [OBJECT_VAL_STR] WHERE "
                                         "[ID_CLASS]=-99 AND [ID_ATTRIBUTE]=-99 AND [USERID]=-99"));
    } catch (const DbError& e) {
        return QStringLiteral("La version de la base de données « %1 » ne peut pas être lue : %2")
            .arg(connection.filePath(), e.message());
    }
    return QString();
}

} // namespace tav
