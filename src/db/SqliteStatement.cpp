#include "db/SqliteStatement.h"

#include "db/DbError.h"

#include <QDate>

#include <sqlite3.h>

#include <utility>

namespace tav {

namespace {

QString fromUtf8OrEmpty(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

// The engine's failure in French, with the file it concerns.
QString failureText(sqlite3* db)
{
    return databaseErrorText(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)),
                             fromUtf8OrEmpty(sqlite3_db_filename(db, "main")));
}

} // namespace

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sql)
{
    if (!db)
        throw DbError(QStringLiteral("la base de données n'est pas ouverte."));
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK) {
        const QString why = failureText(db);
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DbError(why);
    }
    if (!m_stmt)
        throw DbError(QStringLiteral("la requête est vide."));
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_stmt(std::exchange(other.m_stmt, nullptr))
{}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

QString SqliteStatement::engineError() const
{
    return failureText(sqlite3_db_handle(m_stmt));
}

void SqliteStatement::bindInt64(int index, qint64 value)
{
    if (sqlite3_bind_int64(m_stmt, index, value) != SQLITE_OK)
        throw DbError(engineError());
}

void SqliteStatement::bind(int index, const QVariant& value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, index, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.typeId() == QMetaType::QDate
                                        ? value.toDate().toString(Qt::ISODate).toUtf8()
                                        : value.toString().toUtf8();
            rc = sqlite3_bind_text64(m_stmt, index, text.constData(), sqlite3_uint64(text.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        throw DbError(engineError());
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw DbError(engineError());
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString SqliteStatement::columnName(int column) const
{
    return fromUtf8OrEmpty(sqlite3_column_name(m_stmt, column));
}

QString SqliteStatement::tableName(int column) const
{
    return fromUtf8OrEmpty(sqlite3_column_table_name(m_stmt, column));
}

QString SqliteStatement::originName(int column) const
{
    return fromUtf8OrEmpty(sqlite3_column_origin_name(m_stmt, column));
}

QString SqliteStatement::declaredType(int column) const
{
    return fromUtf8OrEmpty(sqlite3_column_decltype(m_stmt, column));
}

SqliteStatement::ColumnType SqliteStatement::type(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return ColumnType::Integer;
    case SQLITE_FLOAT:
        return ColumnType::Float;
    case SQLITE_TEXT:
        return ColumnType::Text;
    case SQLITE_BLOB:
        return ColumnType::Blob;
    default:
        return ColumnType::Null;
    }
}

qint64 SqliteStatement::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double SqliteStatement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

QString SqliteStatement::text(int column) const
{
    // The text first, then its length: the engine's documented order.
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
}

QByteArray SqliteStatement::blob(int column) const
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
    return QByteArray(data, sqlite3_column_bytes(m_stmt, column));
}

} // namespace tav
