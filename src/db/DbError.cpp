#include "db/DbError.h"

#include <QSqlError>

#include <sqlite3.h>

namespace tav {

DbError::DbError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{}

namespace {

// The name after "no such table: " and the like, without a schema prefix.
QString missingName(const QString& engineText, const QLatin1String& prefix)
{
    const qsizetype at = engineText.indexOf(prefix);
    if (at < 0)
        return QString();
    QString name = engineText.mid(at + prefix.size()).trimmed();
    if (name.startsWith(QLatin1String("main.")))
        name = name.mid(5);
    return name;
}

QString sentence(int code, const QString& engineText, const QString& file)
{
    // The engine's texts, for codes that a driver passed on without its
    // own number.
    const QString t = engineText.toLower();
    if (code == 0) {
        if (t.contains(QLatin1String("malformed")))
            code = SQLITE_CORRUPT;
        else if (t.contains(QLatin1String("not a database")))
            code = SQLITE_NOTADB;
        else if (t.contains(QLatin1String("readonly")) || t.contains(QLatin1String("read-only")))
            code = SQLITE_READONLY;
        else if (t.contains(QLatin1String("unable to open")))
            code = SQLITE_CANTOPEN;
        else if (t.contains(QLatin1String("database or disk is full")))
            code = SQLITE_FULL;
        else if (t.contains(QLatin1String("locked")))
            code = SQLITE_BUSY;
        else if (t.contains(QLatin1String("disk i/o error")))
            code = SQLITE_IOERR;
        else
            code = SQLITE_ERROR;
    }
    switch (code & 0xFF) {
    case SQLITE_CORRUPT:
        return QStringLiteral("La base de données « %1 » est endommagée.").arg(file);
    case SQLITE_NOTADB:
        return QStringLiteral("Le fichier « %1 » n'est pas une base de données.").arg(file);
    case SQLITE_READONLY:
        return QStringLiteral("La base de données « %1 » est en lecture seule : les "
                              "modifications ne peuvent pas y être enregistrées.")
            .arg(file);
    case SQLITE_CANTOPEN:
        return QStringLiteral("La base de données « %1 » ne peut pas être ouverte.").arg(file);
    case SQLITE_FULL:
        return QStringLiteral("Le disque de la base de données « %1 » est plein.").arg(file);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("La base de données « %1 » est utilisée par un autre programme.")
            .arg(file);
    case SQLITE_IOERR:
        return QStringLiteral("La lecture ou l'écriture de la base de données « %1 » a échoué.")
            .arg(file);
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("L'accès à la base de données « %1 » est refusé.").arg(file);
    case SQLITE_CONSTRAINT:
        return QStringLiteral("La base de données « %1 » a refusé l'enregistrement.").arg(file);
    default:
        break;
    }
    const QString table = missingName(engineText, QLatin1String("no such table:"));
    if (!table.isEmpty())
        return QStringLiteral("La table %1 est absente de la base de données « %2 ».")
            .arg(table, file);
    const QString column = missingName(engineText, QLatin1String("no such column:"));
    if (!column.isEmpty())
        return QStringLiteral("La colonne %1 est absente de la base de données « %2 ».")
            .arg(column, file);
    return QStringLiteral("La base de données « %1 » a signalé une erreur.").arg(file);
}

} // namespace

QString databaseErrorText(int sqliteCode, const QString& engineText, const QString& filePath)
{
    QString text = sentence(sqliteCode, engineText, filePath);
    if (!engineText.trimmed().isEmpty())
        text += QStringLiteral("\rDétail : ") + engineText.trimmed();
    return text;
}

QString databaseErrorText(const QSqlError& error, const QString& filePath)
{
    QString engineText = error.databaseText();
    if (engineText.isEmpty())
        engineText = error.driverText();
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return databaseErrorText(ok ? code : 0, engineText, filePath);
}

} // namespace tav
