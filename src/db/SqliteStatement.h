#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace tav {

// One prepared SQLite statement, finalized when it goes out of scope,
// whatever leaves the scope: a data set steps its rows through it without
// the copies of a QSqlQuery.
class SqliteStatement
{
public:
    enum class ColumnType { Integer, Float, Text, Blob, Null };

    // Prepares the statement; throws DbError with the engine's reason.
    SqliteStatement(sqlite3* db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;

    void bindInt64(int index, qint64 value); // index from 1
    // Binds a value as the database stores it: whole numbers and booleans as
    // integers, dates as "yyyy-MM-dd", byte arrays as blobs, null as NULL,
    // anything else as its text.
    void bind(int index, const QVariant& value);
    // Moves to the next row: true on a row, false when there is none left.
    // Throws DbError with the engine's reason.
    bool step();

    int columnCount() const;
    QString columnName(int column) const;
    QString tableName(int column) const;    // empty for an expression
    QString originName(int column) const;   // the column an alias points to
    QString declaredType(int column) const; // empty for an expression

    // Values of the current row.
    ColumnType type(int column) const;
    qint64 int64(int column) const;
    double real(int column) const;
    QString text(int column) const;
    QByteArray blob(int column) const;

private:
    QString engineError() const;

    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace tav
