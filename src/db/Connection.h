#pragma once

#include <QHash>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>

struct sqlite3;

namespace tav {

// One SQLite database file reached through Qt SQL. The booklet's shared
// connection is one of these; the template update and the compaction open
// private ones on other files.
//
// On opening, the connection registers what the statements of the booklet
// expect from their engine: case-insensitive, accent-aware French ordering
// and comparison of text (in place of SQLite's ASCII-only NOCASE, which the
// schema declares on every text column), LIKE ignoring the case of every
// letter, accented ones included, and the Jet functions Year(), Month(),
// Day(), UCase(), LCase(), Nz() and Now().
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens (creating when createIfMissing) the file; throws DbError.
    void open(const QString& filePath, bool createIfMissing = false);
    void close();
    // Closes and opens the same file again (backup, restore, compaction).
    void reopen();
    bool isOpen() const;
    const QString& filePath() const { return m_filePath; }
    // Why the open file could not be changed, in French: the file or its
    // folder (where the engine writes its journal) is read-only. Empty when
    // both can be written. A file or folder marked read-only counts as such
    // even for an administrator, as the read-only attribute does on Windows.
    QString readOnlyReason() const;

    QSqlDatabase database() const;
    // The engine's own handle, for the readers that step statements
    // themselves; nullptr when closed.
    sqlite3* sqliteHandle() const;

    // Runs one statement written in the Jet dialect, with bound values in
    // the order of its "?" or ":name" placeholders. Throws DbError.
    void exec(const QString& jetSql, const QVariantList& values = {});
    // First column of the first row, or an invalid QVariant when no row.
    QVariant scalar(const QString& jetSql, const QVariantList& values = {});
    // The same, answered from memory when the same statement with the same
    // values was read while the database has not changed since, through
    // this connection or any other: for the small look-ups read again at
    // every step through the animals (titles, thumbnails). Inside a
    // transaction it always reads.
    QVariant cachedScalar(const QString& jetSql, const QVariantList& values = {});
    // The first row of a query, every column; empty when there is none.
    QVariantList firstRow(const QString& jetSql, const QVariantList& values = {});
    qint64 lastInsertId();
    // Runs a query and hands its rows over one at a time, without keeping
    // them: for reading large columns of many rows. Throws DbError.
    void forEachRow(const QString& jetSql, const std::function<void(const QVariantList&)>& row);
    // Runs a script of SQLite statements separated by semicolons, as they
    // stand; throws DbError naming the failure.
    void execScript(const QString& sqliteScript);

    QStringList tableNames() const;

    // While one lives, remembered look-ups ask whether another connection
    // changed the file only once: for the dozen look-ups made when one
    // animal becomes current, which belong together. Nests.
    class ReadBurst
    {
    public:
        explicit ReadBurst(Connection& connection) : m_connection(connection)
        {
            if (m_connection.m_burstDepth++ == 0)
                m_connection.m_burstVersion = {-1, 0};
        }
        ~ReadBurst() { --m_connection.m_burstDepth; }
        ReadBurst(const ReadBurst&) = delete;
        ReadBurst& operator=(const ReadBurst&) = delete;

    private:
        Connection& m_connection;
    };

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_transactionDepth > 0; }

private:
    void registerExtensions();
    // What identifies the database's content: changes made through this
    // connection and the engine's count of changes to the file.
    static QPair<qint64, unsigned> contentStamp(sqlite3* db);

    struct ReadMemo
    {
        QPair<qint64, unsigned> stamp{-1, 0};
        QHash<QString, QVariant> values;
        qint64 bytes = 0;
    };

    QString m_name;
    ReadMemo m_memo;
    int m_burstDepth = 0;
    QPair<qint64, unsigned> m_burstVersion{-1, 0}; // first stamp of the burst
    QString m_filePath;
    int m_transactionDepth = 0;
};

// Rolls back unless committed: every multi-step write runs inside one.
class Transaction
{
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};

// French order of two texts: letters compared without case and accents
// first, so that "émile" falls between "dora" and "fanny"; texts equal that
// way are ordered by their accents; case alone never makes two texts differ.
int compareFrench(const QString& a, const QString& b);
// A key of that order, made once per text: comparing two keys element by
// element (std::lexicographical_compare) gives what compareFrench gives for
// their texts, for sorting many texts without folding them at every step.
QVector<quint32> frenchSortKey(const QString& text);

} // namespace tav
