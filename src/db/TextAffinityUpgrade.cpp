#include "db/TextAffinityUpgrade.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/JetType.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace tav {

namespace {

struct TableColumn
{
    QString name;
    QString declared;
    bool primaryKey = false;
};

// These statements are SQLite's own (schema reading and rebuilding), not
// the booklet's Jet statements: they bypass the dialect adapter.
QSqlQuery run(Connection& c, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(databaseErrorText(q.lastError(), c.filePath()));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(databaseErrorText(q.lastError(), c.filePath()));
    return q;
}

QString bracketed(const QString& name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QVector<TableColumn> columnsOf(Connection& c, const QString& table)
{
    QVector<TableColumn> out;
    QSqlQuery q =
        run(c, QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)"), {table});
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toInt() > 0});
    return out;
}

bool isTextColumn(const QString& declared)
{
    return isTextType(jetTypeFromDeclared(declared));
}

bool needsText(const TableColumn& col)
{
    return isTextColumn(col.declared) && sqliteAffinity(col.declared) != QLatin1String("TEXT");
}

// The declared type that keeps the column's Jet meaning with TEXT affinity.
QString textDeclaration(const QString& declared)
{
    int size = 0;
    const JetType type = jetTypeFromDeclared(declared, &size);
    return type == JetType::Memo ? declaredTypeName(JetType::Memo)
                                 : declaredTypeName(JetType::Text, size);
}

// The table's CREATE statement under a new name, with the declared type of
// each column in `retype` replaced; everything else (keys, defaults,
// collations, constraints) stays as the file stores it.
QString retypedCreate(const QString& create, const QString& newName,
                      const QVector<TableColumn>& retype)
{
    const int open = create.indexOf(QLatin1Char('('));
    if (open < 0)
        throw DbError(QStringLiteral("définition de table illisible"));
    QString body = create.mid(open);
    for (const TableColumn& col : retype) {
        const QString name = QRegularExpression::escape(col.name);
        QString type = QRegularExpression::escape(col.declared.simplified());
        type.replace(QLatin1String("\\ "), QLatin1String("\\s+"));
        const QRegularExpression re(
            QStringLiteral("([(,]\\s*(?:\\[%1\\]|\"%1\"|`%1`|%1)\\s+)%2(?![A-Za-z0-9_])")
                .arg(name, type),
            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = re.match(body);
        if (!m.hasMatch())
            throw DbError(
                QStringLiteral("la colonne %1 est introuvable dans sa définition").arg(col.name));
        body.replace(m.capturedStart(), m.capturedLength(),
                     m.captured(1) + textDeclaration(col.declared));
    }
    return QStringLiteral("CREATE TABLE ") + bracketed(newName) + QLatin1Char(' ') + body;
}

bool hasSequenceTable(Connection& c)
{
    QSqlQuery q = run(c, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type='table' "
                                        "AND name='sqlite_sequence'"));
    return q.next() && q.value(0).toInt() > 0;
}

qint64 rowCount(Connection& c, const QString& table)
{
    QSqlQuery q = run(c, QStringLiteral("SELECT COUNT(*) FROM ") + bracketed(table));
    return q.next() ? q.value(0).toLongLong() : -1;
}

void rebuildTable(Connection& c, const QString& table)
{
    const QVector<TableColumn> columns = columnsOf(c, table);
    QVector<TableColumn> retype;
    for (const TableColumn& col : columns) {
        if (needsText(col))
            retype.append(col);
    }
    QString create;
    QStringList companions; // indexes and triggers of the table, rebuilt after it
    {
        QSqlQuery q = run(c,
                          QStringLiteral("SELECT type, sql FROM sqlite_master WHERE tbl_name=? "
                                         "AND sql IS NOT NULL"),
                          {table});
        while (q.next()) {
            if (q.value(0).toString() == QLatin1String("table"))
                create = q.value(1).toString();
            else if (q.value(0).toString() != QLatin1String("view"))
                companions.append(q.value(1).toString());
        }
    }
    const QString temp = table + QStringLiteral("__texte");
    run(c, retypedCreate(create, temp, retype));

    // A table without an INTEGER PRIMARY KEY keeps its row ids too.
    int keys = 0;
    bool rowIdAlias = false;
    for (const TableColumn& col : columns) {
        if (col.primaryKey) {
            ++keys;
            rowIdAlias = col.declared.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
        }
    }
    QStringList names;
    for (const TableColumn& col : columns)
        names.append(bracketed(col.name));
    if (keys != 1 || !rowIdAlias)
        names.prepend(QStringLiteral("rowid"));
    const QString list = names.join(QLatin1String(", "));

    QVariant sequence;
    const bool sequences = hasSequenceTable(c);
    if (sequences) {
        QSqlQuery q =
            run(c, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name=?"), {table});
        if (q.next())
            sequence = q.value(0);
    }
    const qint64 before = rowCount(c, table);
    run(c, QStringLiteral("INSERT INTO ") + bracketed(temp) + QStringLiteral(" (") + list +
               QStringLiteral(") SELECT ") + list + QStringLiteral(" FROM ") + bracketed(table));
    run(c, QStringLiteral("DROP TABLE ") + bracketed(table));
    run(c, QStringLiteral("ALTER TABLE ") + bracketed(temp) + QStringLiteral(" RENAME TO ") +
               bracketed(table));
    for (const QString& sql : std::as_const(companions))
        run(c, sql);
    // Keys of deleted rows are not handed out again.
    if (sequence.isValid()) {
        QSqlQuery q =
            run(c, QStringLiteral("UPDATE sqlite_sequence SET seq=MAX(seq, ?) WHERE name=?"),
                {sequence, table});
        if (q.numRowsAffected() == 0)
            run(c, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"),
                {table, sequence});
    }
    if (rowCount(c, table) != before)
        throw DbError(QStringLiteral("des lignes de %1 n'ont pas été recopiées").arg(table));
    for (const TableColumn& col : columnsOf(c, table)) {
        if (needsText(col))
            throw DbError(QStringLiteral("la colonne %1 n'a pas été convertie").arg(col.name));
    }
}

// A name beside the database that nothing holds yet.
QString freeName(const QString& wanted)
{
    QString name = wanted;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral(".tmp"));
         ++n)
        name = wanted + QStringLiteral("-%1").arg(n);
    return name;
}

// A consistent copy of the open database, written under a temporary name
// and renamed; returns its path. Throws DbError.
QString writeSafetyCopy(Connection& c)
{
    const QFileInfo db(c.filePath());
    const QString target =
        freeName(db.absoluteFilePath() + QStringLiteral(".copie-avant-conversion-texte"));
    const QString temp = target + QStringLiteral(".tmp");
    try {
        run(c, QStringLiteral("VACUUM INTO ?"), {QDir::toNativeSeparators(temp)});
    } catch (const DbError& e) {
        QFile::remove(temp);
        throw DbError(QStringLiteral("la copie de sécurité « %1 » n'a pas pu être écrite (%2)")
                          .arg(target, e.message()));
    }
    if (!QFile::rename(temp, target)) {
        QFile::remove(temp);
        throw DbError(
            QStringLiteral("la copie de sécurité « %1 » n'a pas pu être écrite").arg(target));
    }
    return target;
}

QString failureMessage(const QString& file, const QString& why)
{
    return QStringLiteral("La conversion des textes de la base de données « %1 » a échoué : %2.\r"
                          "La base de données n'a pas été modifiée.")
        .arg(file, why);
}

} // namespace

QString sqliteAffinity(const QString& declaredType)
{
    const QString t = declaredType.toUpper();
    if (t.contains(QLatin1String("INT")))
        return QStringLiteral("INTEGER");
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) ||
        t.contains(QLatin1String("TEXT")))
        return QStringLiteral("TEXT");
    if (t.contains(QLatin1String("BLOB")) || t.trimmed().isEmpty())
        return QStringLiteral("BLOB");
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")))
        return QStringLiteral("REAL");
    return QStringLiteral("NUMERIC");
}

QStringList tablesWithNumericText(Connection& connection)
{
    QStringList tables;
    {
        QSqlQuery q = run(connection, QStringLiteral("SELECT name FROM sqlite_master WHERE "
                                                     "type='table' AND name NOT LIKE 'sqlite\\_%' "
                                                     "ESCAPE '\\' ORDER BY name"));
        while (q.next())
            tables.append(q.value(0).toString());
    }
    QStringList out;
    for (const QString& t : std::as_const(tables)) {
        const QVector<TableColumn> columns = columnsOf(connection, t);
        if (std::any_of(columns.begin(), columns.end(), needsText))
            out.append(t);
    }
    return out;
}

TextAffinityUpgradeResult
upgradeTextAffinity(Connection& connection, const std::function<void(const QString&)>& beforeTable)
{
    TextAffinityUpgradeResult result;
    const QString file = QDir::toNativeSeparators(connection.filePath());
    try {
        result.tables = tablesWithNumericText(connection);
    } catch (const DbError& e) {
        result.ok = false;
        result.message = failureMessage(file, e.message());
        return result;
    }
    if (result.tables.isEmpty())
        return result;
    if (connection.inTransaction()) {
        result.ok = false;
        result.message = failureMessage(file, QStringLiteral("une transaction est en cours"));
        return result;
    }
    try {
        result.safetyCopy = writeSafetyCopy(connection);
        Transaction tx(connection);
        for (const QString& t : std::as_const(result.tables)) {
            if (beforeTable)
                beforeTable(t);
            rebuildTable(connection, t);
        }
        tx.commit();
    } catch (const DbError& e) {
        result.ok = false;
        result.message = failureMessage(file, e.message());
    }
    return result;
}

} // namespace tav
