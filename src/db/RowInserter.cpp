#include "db/RowInserter.h"

#include "db/Connection.h"
#include "db/DbError.h"

#include <sqlite3.h>

namespace tav {

RowInserter::RowInserter(Connection& connection, const QString& table, const QStringList& columns)
    : m_table(table), m_file(connection.filePath())
{
    sqlite3* db = connection.sqliteHandle();
    if (!db)
        throw DbError(QStringLiteral("La base de données n'est pas ouverte."));
    QStringList names;
    for (const QString& c : columns)
        names << QLatin1Char('[') + c + QLatin1Char(']');
    const QString sql =
        QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
            .arg(table, names.join(QLatin1String(", ")),
                 QStringList(columns.size(), QStringLiteral("?")).join(QLatin1String(", ")));
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK) {
        const QString why = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DbError(QStringLiteral("La table %1 ne peut pas être remplie : %2").arg(table, why));
    }
}

RowInserter::~RowInserter()
{
    sqlite3_finalize(m_stmt);
}

void RowInserter::insert(const QVariantList& values)
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values.at(i);
        const int at = i + 1;
        if (!v.isValid() || v.isNull()) {
            sqlite3_bind_null(m_stmt, at);
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
            sqlite3_bind_int64(m_stmt, at, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            sqlite3_bind_double(m_stmt, at, v.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            sqlite3_bind_blob64(m_stmt, at, b.constData(), sqlite3_uint64(b.size()),
                                SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QString s = v.toString();
            sqlite3_bind_text16(m_stmt, at, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (sqlite3_step(m_stmt) != SQLITE_DONE)
        throw DbError(
            QStringLiteral("Une ligne de la table %1 n'a pas pu être écrite : %2")
                .arg(m_table, QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_stmt)))));
}

} // namespace tav
