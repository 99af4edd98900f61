#include "db/BookletCheck.h"

#include "db/Connection.h"
#include "db/DbError.h"

namespace tav {

QStringList requiredBookletTables()
{
    return {QStringLiteral("ANIMAL"), QStringLiteral("ANIMAL_SPECIES"),
            QStringLiteral("ANIMAL_BREED")};
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
    return QStringLiteral("Le fichier « %1 » n'est pas une base de données de carnets de santé : "
                          "table(s) %2 absente(s).")
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
