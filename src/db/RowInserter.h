#pragma once

#include <QStringList>
#include <QVariant>

struct sqlite3_stmt;

namespace tav {

class Connection;

// Inserts many rows into one table through one prepared statement, for
// bulk copies (the import of a booklet) where preparing the statement for
// every row would cost more than writing it. Values: invalid or null for
// NULL, integers, bool, double, QString, QByteArray.
class RowInserter
{
public:
    // Throws DbError when the statement cannot be prepared.
    RowInserter(Connection& connection, const QString& table, const QStringList& columns);
    ~RowInserter();
    RowInserter(const RowInserter&) = delete;
    RowInserter& operator=(const RowInserter&) = delete;

    // Throws DbError with the engine's reason.
    void insert(const QVariantList& values);

private:
    sqlite3_stmt* m_stmt = nullptr;
    QString m_table;
    QString m_file;
};

} // namespace tav
