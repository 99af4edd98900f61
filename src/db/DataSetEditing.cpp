#include "db/DataSet.h"

#include "db/Connection.h"
#include "db/DataSetRows.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "db/SqlDialect.h"
#include "db/SqliteStatement.h"
#include "db/StoredValue.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tav {

namespace datasetrows {

QString sqlError(const QSqlQuery& q, const QString& filePath)
{
    return databaseErrorText(q.lastError(), filePath);
}

bool sameValue(const QVariant& a, const QVariant& b)
{
    const bool an = !a.isValid() || a.isNull();
    const bool bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn;
    if (a.typeId() == b.typeId())
        return a == b;
    return a.toString() == b.toString();
}

} // namespace datasetrows

using namespace datasetrows;

// --- editing ------------------------------------------------------------

void DataSet::insert()
{
    if (!isOpen())
        throw DbError(QStringLiteral("« %1 » n'est pas ouvert.").arg(m_name));
    if (m_table.isEmpty())
        throw DbError(
            QStringLiteral("Les données de « %1 » ne peuvent pas être modifiées.").arg(m_name));
    if (isEditing())
        post();
    m_insertAt = m_current < 0 ? 0 : m_current;
    m_buffer = Row(m_fields.size());
    setState(State::Insert);
    notifyCurrent();
    if (onNewRecord)
        onNewRecord(*this);
}

void DataSet::append()
{
    insert();
    if (m_state == State::Insert)
        m_insertAt = int(m_rows.size());
}

void DataSet::edit()
{
    if (isEditing())
        return;
    if (!isOpen() || m_current < 0)
        throw DbError(QStringLiteral("Il n'y a aucun enregistrement à modifier."));
    if (m_table.isEmpty())
        throw DbError(
            QStringLiteral("Les données de « %1 » ne peuvent pas être modifiées.").arg(m_name));
    // The buffer is compared with the row when posted: a late column not
    // read yet would be taken for what the user typed.
    readLateColumns(m_current);
    m_buffer = m_rows.at(m_current);
    setState(State::Edit);
}

DataSet::Row DataSet::fetchByRowId(qint64 rowId, qint64* storedRowId)
{
    const QString text = QLatin1String("SELECT [") + m_table + QLatin1String("].rowid AS ") +
                         kRowIdAlias + QLatin1String(", ") + m_selectList +
                         QLatin1String(" FROM [") + m_table + QLatin1String("] WHERE [") + m_table +
                         QLatin1String("].rowid = ?");
    SqliteStatement stmt = prepare(text);
    stmt.bindInt64(1, rowId);
    if (!stmt.step())
        throw DbError(
            QStringLiteral("L'enregistrement écrit dans « %1 » est introuvable.").arg(m_name));
    *storedRowId = stmt.int64(0);
    return readRow(stmt);
}

void DataSet::post()
{
    if (!isEditing())
        return;
    if (beforePost)
        beforePost(*this);
    // Every value is checked before anything is written.
    QStringList columns;
    QVariantList values;
    const bool inserting = m_state == State::Insert;
    for (int i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields.at(i);
        if (!f.writable)
            continue;
        const QVariant& v = m_buffer.at(i);
        if (inserting) {
            if (!v.isValid() || v.isNull())
                continue;
        } else if (sameValue(v, m_rows.at(m_current).at(i))) {
            continue;
        }
        values.append(storedValue(f, v));
        columns.append(f.column);
    }

    QSqlQuery q(m_connection.database());
    QString text;
    if (inserting) {
        if (columns.isEmpty()) {
            text = QLatin1String("INSERT INTO [") + m_table + QLatin1String("] DEFAULT VALUES");
        } else {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i)
                marks.append(QStringLiteral("?"));
            text = QLatin1String("INSERT INTO [") + m_table + QLatin1String("] ([") +
                   columns.join(QLatin1String("], [")) + QLatin1String("]) VALUES (") +
                   marks.join(QLatin1String(", ")) + QLatin1Char(')');
        }
    } else if (!columns.isEmpty()) {
        text = QLatin1String("UPDATE [") + m_table + QLatin1String("] SET [") +
               columns.join(QLatin1String("] = ?, [")) + QLatin1String("] = ? WHERE rowid = ?");
        values.append(m_rowIds.at(m_current));
    }
    if (!text.isEmpty()) {
        if (!q.prepare(text))
            throw DbError(sqlError(q, m_connection.filePath()));
        for (const QVariant& v : std::as_const(values))
            q.addBindValue(v);
        if (!q.exec())
            throw DbError(sqlError(q, m_connection.filePath()));
    }

    if (inserting) {
        const qint64 rowId = q.lastInsertId().toLongLong();
        qint64 stored = rowId;
        Row row = fetchByRowId(rowId, &stored);
        const int at = std::clamp(m_insertAt, 0, int(m_rows.size()));
        emit rowAboutToBeInserted(at);
        m_rows.insert(at, row);
        ++m_rowsVersion;
        m_rowIds.insert(at, stored);
        m_current = at;
        m_eof = m_bof = false;
        m_buffer.clear();
        m_state = State::Browse;
        emit rowInserted(at);
    } else {
        if (!text.isEmpty()) {
            qint64 stored = m_rowIds.at(m_current);
            m_rows[m_current] = fetchByRowId(stored, &stored);
            ++m_rowsVersion;
        }
        m_buffer.clear();
        m_state = State::Browse;
        emit rowChanged(m_current);
    }
    if (!m_frozen) {
        emit stateChanged();
        emit currentChanged();
    }
    if (afterPost)
        afterPost(*this);
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    m_buffer.clear();
    setState(State::Browse);
    notifyCurrent();
}

void DataSet::remove()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (!isOpen() || m_current < 0)
        throw DbError(QStringLiteral("Il n'y a aucun enregistrement à supprimer."));
    if (m_table.isEmpty())
        throw DbError(
            QStringLiteral("Les données de « %1 » ne peuvent pas être modifiées.").arg(m_name));
    if (beforeDelete)
        beforeDelete(*this);
    QSqlQuery q(m_connection.database());
    bool ok =
        q.prepare(QLatin1String("DELETE FROM [") + m_table + QLatin1String("] WHERE rowid = ?"));
    if (ok) {
        q.addBindValue(m_rowIds.at(m_current));
        ok = q.exec();
    }
    if (!ok) {
        const QString why = sqlError(q, m_connection.filePath());
        if (deleteAborted)
            deleteAborted(*this);
        throw DbError(why);
    }
    const int at = m_current;
    emit rowAboutToBeRemoved(at);
    m_rows.removeAt(at);
    ++m_rowsVersion;
    m_rowIds.removeAt(at);
    m_current = m_rows.isEmpty() ? -1 : std::min(at, int(m_rows.size()) - 1);
    m_eof = m_bof = m_rows.isEmpty();
    emit rowRemoved(at);
    notifyCurrent();
    if (afterDelete)
        afterDelete(*this);
}

} // namespace tav
