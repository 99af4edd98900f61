#include "db/DataSet.h"

#include "core/SqlClauses.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "db/SqlDialect.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <cmath>
#include <limits>

namespace tav {

namespace {

const QLatin1String kRowIdAlias("__rowid__");

QString sqlError(const QSqlQuery& q, const QString& filePath)
{
    return databaseErrorText(q.lastError(), filePath);
}

QString fieldLabel(const Field& f)
{
    return f.caption();
}

// "yyyy-MM-dd" read without a format parser: it runs for every date of
// every row fetched.
QDate isoDate(const QString& s)
{
    if (s.size() < 10 || s.at(4) != QLatin1Char('-') || s.at(7) != QLatin1Char('-'))
        return QDate();
    auto digits = [&s](int from, int count, bool* ok) {
        int n = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t c = s.at(i).unicode();
            if (c < u'0' || c > u'9') {
                *ok = false;
                return 0;
            }
            n = n * 10 + (c - u'0');
        }
        return n;
    };
    bool ok = true;
    const int y = digits(0, 4, &ok);
    const int m = digits(5, 2, &ok);
    const int d = digits(8, 2, &ok);
    return ok ? QDate(y, m, d) : QDate();
}

QDate parseUserDate(const QString& text)
{
    static const QRegularExpression dmy(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})"));
    auto m = dmy.match(text);
    if (m.hasMatch())
        return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    m = iso.match(text);
    if (m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return QDate();
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

// Reads "SELECT <list> FROM <table> <rest>" when the statement reads one
// table without joins: only such a statement can write its rows back.
struct SingleTable
{
    QString selectList;
    QString table;
    QString rest;
};

bool parseSingleTable(const QString& sql, SingleTable* out)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*SELECT\\s+(.*?)\\s+FROM\\s+\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?(\\s.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return false;
    const QString list = m.captured(1);
    const QString rest = m.captured(3);
    static const QRegularExpression notSimple(
        QStringLiteral("\\b(JOIN|GROUP|UNION|DISTINCT)\\b|^\\s*,"),
        QRegularExpression::CaseInsensitiveOption);
    if (notSimple.match(rest).hasMatch() || notSimple.match(list).hasMatch())
        return false;
    if (list.contains(QLatin1String("(")))
        return false;
    out->selectList = list;
    out->table = m.captured(2);
    out->rest = rest;
    return true;
}

} // namespace

DataSet::DataSet(const QString& name, Connection& connection, QObject* parent)
    : QObject(parent), m_name(name), m_connection(connection)
{
    setObjectName(name);
}

void DataSet::setSql(const QStringList& lines)
{
    m_sql = lines;
}

void DataSet::setDisplayFormat(const QString& fieldName, const QString& format)
{
    m_formats.insert(fieldName.toLower(), format);
    const int i = fieldIndex(fieldName);
    if (i >= 0)
        m_fields[i].def.displayFormat = format;
}

bool DataSet::replaceWhereLine(const QString& line)
{
    return tav::replaceWhereLine(m_sql, line);
}

QString DataSet::executedSql() const
{
    return adaptJetSql(m_sql.join(QLatin1Char('\n')));
}

void DataSet::open()
{
    if (isOpen())
        return;
    const QString sql = executedSql();
    SingleTable single;
    const bool writable = parseSingleTable(sql, &single);
    QString text = sql;
    if (writable) {
        text = QLatin1String("SELECT [") + single.table + QLatin1String("].rowid AS ") +
               kRowIdAlias + QLatin1String(", ") + single.selectList + QLatin1String(" FROM [") +
               single.table + QLatin1String("]") + single.rest;
    }
    sqlite3_stmt* stmt = prepare(text);
    emit aboutToReset();
    m_table = writable ? single.table : QString();
    m_selectList = writable ? single.selectList : QString();
    buildFields(stmt);

    m_rows.clear();
    m_rowIds.clear();
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        m_rows.append(readRow(stmt));
        if (writable)
            m_rowIds.append(sqlite3_column_int64(stmt, 0));
    }
    const QString failure =
        rc == SQLITE_DONE
            ? QString()
            : databaseErrorText(rc, QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(stmt))),
                                m_connection.filePath());
    sqlite3_finalize(stmt);
    if (!failure.isEmpty()) {
        m_rows.clear();
        m_rowIds.clear();
        m_fields.clear();
        m_index.clear();
        m_state = State::Inactive;
        emit reset();
        throw DbError(QStringLiteral("Impossible d'ouvrir « %1 » : %2").arg(m_name, failure));
    }
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    m_state = State::Browse;
    m_buffer.clear();
    emit reset();
    if (!m_frozen) {
        emit stateChanged();
        emit currentChanged();
    }
}

sqlite3_stmt* DataSet::prepare(const QString& text) const
{
    sqlite3* db = m_connection.sqliteHandle();
    if (!db)
        throw DbError(
            QStringLiteral("Impossible d'ouvrir « %1 » : la base de données n'est pas ouverte.")
                .arg(m_name));
    const QByteArray utf8 = text.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        const QString why = databaseErrorText(
            sqlite3_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)), m_connection.filePath());
        sqlite3_finalize(stmt);
        throw DbError(QStringLiteral("Impossible d'ouvrir « %1 » : %2").arg(m_name, why));
    }
    return stmt;
}

void DataSet::buildFields(sqlite3_stmt* stmt)
{
    const int firstColumn = m_table.isEmpty() ? 0 : 1;
    const int columnCount = sqlite3_column_count(stmt);
    struct Column
    {
        QString name, table, origin;
        JetType type = JetType::Unknown;
        int size = 0;
    };
    QVector<Column> cols;
    QHash<QString, int> seen;
    for (int i = firstColumn; i < columnCount; ++i) {
        Column c;
        c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        if (const char* t = sqlite3_column_table_name(stmt, i))
            c.table = QString::fromUtf8(t);
        if (const char* o = sqlite3_column_origin_name(stmt, i))
            c.origin = QString::fromUtf8(o);
        if (const char* d = sqlite3_column_decltype(stmt, i))
            c.type = jetTypeFromDeclared(QString::fromUtf8(d), &c.size);
        seen[c.name.toLower()] += 1;
        cols.append(c);
    }
    // A name that two joined tables share is qualified by its table.
    QHash<QString, int> byName;
    for (int i = 0; i < cols.size(); ++i) {
        Column& c = cols[i];
        if (seen.value(c.name.toLower()) > 1 && !c.table.isEmpty())
            c.name = c.table + QLatin1Char('.') + c.name;
        byName.insert(c.name.toLower(), i);
    }
    for (int i = 0; i < cols.size(); ++i) {
        const Column& c = cols.at(i);
        if (c.table.isEmpty())
            continue;
        const QString qualified =
            (c.table + QLatin1Char('.') + c.name.section(QLatin1Char('.'), -1)).toLower();
        if (!byName.contains(qualified))
            byName.insert(qualified, i);
        if (!c.origin.isEmpty()) {
            const QString origin = (c.table + QLatin1Char('.') + c.origin).toLower();
            if (!byName.contains(origin))
                byName.insert(origin, i);
        }
    }

    m_fields.clear();
    m_index.clear();
    ++m_generation;
    QVector<bool> used(cols.size(), false);
    auto addColumn = [&](int i, const FieldDef& def) {
        const Column& c = cols.at(i);
        Field f;
        f.def = def;
        f.def.name = c.name;
        f.type = c.type;
        f.size = c.size;
        f.table = c.table;
        f.column = c.origin.isEmpty() ? c.name.section(QLatin1Char('.'), -1) : c.origin;
        f.resultColumn = i + firstColumn;
        f.writable = !m_table.isEmpty() && !c.origin.isEmpty() &&
                     c.table.compare(m_table, Qt::CaseInsensitive) == 0 &&
                     c.type != JetType::AutoNumber;
        used[i] = true;
        m_fields.append(f);
    };
    // Columns that a definition names keep their place among the
    // definitions; "*" gathers the others.
    QVector<bool> named(cols.size(), false);
    for (const FieldDef& def : std::as_const(m_defs)) {
        const auto it = byName.constFind(def.name.toLower());
        if (!def.calculated && it != byName.constEnd())
            named[*it] = true;
    }
    auto addRemaining = [&]() {
        for (int i = 0; i < cols.size(); ++i) {
            if (!used.at(i) && !named.at(i)) {
                FieldDef def;
                def.name = cols.at(i).name;
                addColumn(i, def);
            }
        }
    };
    for (const FieldDef& def : std::as_const(m_defs)) {
        if (def.name == QLatin1String("*")) {
            addRemaining();
            continue;
        }
        if (def.calculated) {
            Field f;
            f.def = def;
            f.type = def.calcType;
            f.size = def.calcSize;
            m_fields.append(f);
            continue;
        }
        const auto it = byName.constFind(def.name.toLower());
        if (it == byName.constEnd() || used.at(*it))
            continue;
        addColumn(*it, def);
    }
    addRemaining();
    for (int i = 0; i < m_fields.size(); ++i) {
        Field& f = m_fields[i];
        m_index.insert(f.name().toLower(), i);
        const auto fmt = m_formats.constFind(f.name().toLower());
        if (fmt != m_formats.constEnd())
            f.def.displayFormat = *fmt;
    }
    // Qualified spellings ("ANIMAL.Id", "ANIMAL.Comment1") reach a field too.
    for (int i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields.at(i);
        if (f.table.isEmpty())
            continue;
        const QString bare = f.name().section(QLatin1Char('.'), -1);
        for (const QString& key : {(f.table + QLatin1Char('.') + bare).toLower(),
                                   (f.table + QLatin1Char('.') + f.column).toLower()}) {
            if (!m_index.contains(key))
                m_index.insert(key, i);
        }
    }
}

DataSet::Row DataSet::readRow(sqlite3_stmt* stmt)
{
    Row row(m_fields.size());
    for (int i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields.at(i);
        const int c = f.resultColumn;
        if (c < 0)
            continue;
        switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER: {
            const qlonglong n = sqlite3_column_int64(stmt, c);
            if (f.type == JetType::YesNo)
                row[i] = n != 0;
            else if (f.type == JetType::Double || f.type == JetType::Currency)
                row[i] = double(n);
            else
                row[i] = n;
            break;
        }
        case SQLITE_FLOAT:
            row[i] = sqlite3_column_double(stmt, c);
            break;
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            const QString s = QString::fromUtf8(text, sqlite3_column_bytes(stmt, c));
            if (f.type == JetType::DateTime) {
                const QDate d = isoDate(s);
                row[i] = d.isValid() ? QVariant(d) : QVariant(s);
            } else {
                row[i] = s;
            }
            break;
        }
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, c));
            row[i] = QByteArray(data, sqlite3_column_bytes(stmt, c));
            break;
        }
        default:
            break;
        }
    }
    calc(row);
    return row;
}

void DataSet::calc(Row& row)
{
    if (onCalcFields)
        onCalcFields(*this, row);
}

void DataSet::close()
{
    if (!isOpen())
        return;
    emit aboutToReset();
    m_rows.clear();
    m_rowIds.clear();
    m_buffer.clear();
    m_current = -1;
    m_eof = m_bof = true;
    m_state = State::Inactive;
    emit reset();
    if (!m_frozen) {
        emit stateChanged();
        emit currentChanged();
    }
}

void DataSet::execSql(const QString& statement)
{
    close();
    m_sql = QStringList{statement};
    m_connection.exec(statement);
    close();
}

void DataSet::refreshKeepRow()
{
    QVariant id;
    if (isOpen() && !isEmpty() && hasField(QStringLiteral("Id")))
        id = value(QStringLiteral("Id"));
    disableControls();
    try {
        close();
        open();
        if (id.isValid())
            locate(QStringLiteral("Id"), id);
    } catch (...) {
        enableControls();
        throw;
    }
    enableControls();
}

void DataSet::enableControls()
{
    if (m_frozen > 0 && --m_frozen == 0) {
        emit stateChanged();
        emit currentChanged();
    }
}

void DataSet::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    if (!m_frozen)
        emit stateChanged();
}

void DataSet::notifyCurrent()
{
    if (!m_frozen)
        emit currentChanged();
}

// --- navigation ---------------------------------------------------------

void DataSet::first()
{
    moveTo(0);
    m_bof = true;
    m_eof = m_rows.isEmpty();
}

void DataSet::next()
{
    if (m_current >= 0 && m_current < m_rows.size() - 1) {
        moveTo(m_current + 1);
        m_eof = false;
    } else {
        if (isEditing())
            post();
        m_eof = true;
    }
    m_bof = m_rows.isEmpty();
}

void DataSet::prior()
{
    if (m_current > 0) {
        moveTo(m_current - 1);
        m_bof = false;
    } else {
        if (isEditing())
            post();
        m_bof = true;
    }
    m_eof = m_rows.isEmpty();
}

void DataSet::last()
{
    moveTo(int(m_rows.size()) - 1);
    m_eof = true;
    m_bof = m_rows.isEmpty();
}

void DataSet::moveTo(int row)
{
    if (!isOpen())
        return;
    if (isEditing())
        post();
    const int target = m_rows.isEmpty() ? -1 : std::clamp(row, 0, int(m_rows.size()) - 1);
    m_eof = m_bof = m_rows.isEmpty();
    if (target == m_current)
        return;
    m_current = target;
    notifyCurrent();
}

bool DataSet::locate(const QString& fieldName, const QVariant& value)
{
    const int f = fieldIndex(fieldName);
    if (f < 0 || !isOpen())
        return false;
    for (int i = 0; i < m_rows.size(); ++i) {
        const QVariant& v = m_rows.at(i).at(f);
        bool match = false;
        if (isIntegerType(m_fields.at(f).type))
            match = !v.isNull() && v.toLongLong() == value.toLongLong();
        else
            match = sameValue(v, value);
        if (match) {
            moveTo(i);
            return true;
        }
    }
    return false;
}

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
    m_buffer = m_rows.at(m_current);
    setState(State::Edit);
}

QVariant DataSet::storable(const Field& f, const QVariant& v) const
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    const QString label = fieldLabel(f);
    switch (f.type) {
    case JetType::Text: {
        const QString s = v.toString();
        if (f.size > 0 && s.size() > f.size)
            throw DbError(QStringLiteral("Le texte saisi pour « %1 » dépasse %2 caractères.")
                              .arg(label)
                              .arg(f.size));
        return s;
    }
    case JetType::Memo:
        return v.toString();
    case JetType::Short:
    case JetType::Long:
    case JetType::AutoNumber: {
        qlonglong n = 0;
        bool ok = false;
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return QVariant();
            n = s.toLongLong(&ok);
        } else if (v.typeId() == QMetaType::Double) {
            const double d = v.toDouble();
            ok = std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15;
            n = ok ? qlonglong(d) : 0;
        } else {
            n = v.toLongLong(&ok);
        }
        if (!ok)
            throw DbError(QStringLiteral("« %1 » n'est pas un nombre entier valide pour « %2 ».")
                              .arg(v.toString(), label));
        const qlonglong lo = f.type == JetType::Short ? -32768 : std::numeric_limits<qint32>::min();
        const qlonglong hi = f.type == JetType::Short ? 32767 : std::numeric_limits<qint32>::max();
        if (n < lo || n > hi)
            throw DbError(QStringLiteral("La valeur %1 est hors des limites de « %2 » (%3 à %4).")
                              .arg(n)
                              .arg(label)
                              .arg(lo)
                              .arg(hi));
        return n;
    }
    case JetType::Double:
    case JetType::Currency: {
        double d = 0;
        bool ok = false;
        if (v.typeId() == QMetaType::QString) {
            QString s = v.toString().trimmed();
            s.remove(QLatin1Char(' '));
            s.remove(QChar(0x00A0));
            s.remove(QChar(0x202F));
            if (s.isEmpty())
                return QVariant();
            s.replace(QLatin1Char(','), QLatin1Char('.'));
            d = s.toDouble(&ok);
        } else {
            d = v.toDouble(&ok);
        }
        if (!ok || !std::isfinite(d))
            throw DbError(QStringLiteral("« %1 » n'est pas un nombre valide pour « %2 ».")
                              .arg(v.toString(), label));
        if (f.type == JetType::Currency) {
            if (std::fabs(d) > 9.0e14)
                throw DbError(QStringLiteral("Le montant %1 est trop grand pour « %2 ».")
                                  .arg(v.toString(), label));
            d = std::round(d * 10000.0) / 10000.0;
        }
        return d;
    }
    case JetType::YesNo: {
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed().toLower();
            if (s == QLatin1String("oui") || s == QLatin1String("true") ||
                s == QLatin1String("1") || s == QLatin1String("-1"))
                return 1;
            if (s == QLatin1String("non") || s == QLatin1String("false") ||
                s == QLatin1String("0") || s.isEmpty())
                return 0;
            throw DbError(
                QStringLiteral("« %1 » n'est pas une valeur Oui/Non pour « %2 ».").arg(s, label));
        }
        return v.toBool() ? 1 : 0;
    }
    case JetType::DateTime: {
        QDate d;
        if (v.typeId() == QMetaType::QDate)
            d = v.toDate();
        else if (v.typeId() == QMetaType::QDateTime)
            d = v.toDateTime().date();
        else {
            const QString s = v.toString().trimmed();
            if (s.isEmpty() || s == QLatin1String("__/__/____") || s == QLatin1String("  /  /    "))
                return QVariant();
            d = parseUserDate(s);
        }
        if (!d.isValid())
            throw DbError(
                QStringLiteral("« %1 » n'est pas une date valide pour « %2 » (jj/mm/aaaa).")
                    .arg(v.toString(), label));
        return d.toString(QStringLiteral("yyyy-MM-dd"));
    }
    case JetType::Blob:
        return v.toByteArray();
    case JetType::Unknown:
        break;
    }
    return v;
}

DataSet::Row DataSet::fetchByRowId(qint64 rowId, qint64* storedRowId)
{
    const QString text = QLatin1String("SELECT [") + m_table + QLatin1String("].rowid AS ") +
                         kRowIdAlias + QLatin1String(", ") + m_selectList +
                         QLatin1String(" FROM [") + m_table + QLatin1String("] WHERE [") + m_table +
                         QLatin1String("].rowid = ?");
    sqlite3_stmt* stmt = prepare(text);
    sqlite3_bind_int64(stmt, 1, rowId);
    if (sqlite3_step(stmt) != SQLITE_ROW) {
        sqlite3_finalize(stmt);
        throw DbError(
            QStringLiteral("L'enregistrement écrit dans « %1 » est introuvable.").arg(m_name));
    }
    *storedRowId = sqlite3_column_int64(stmt, 0);
    Row row = readRow(stmt);
    sqlite3_finalize(stmt);
    return row;
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
        values.append(storable(f, v));
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
    m_rowIds.removeAt(at);
    m_current = m_rows.isEmpty() ? -1 : std::min(at, int(m_rows.size()) - 1);
    m_eof = m_bof = m_rows.isEmpty();
    emit rowRemoved(at);
    notifyCurrent();
    if (afterDelete)
        afterDelete(*this);
}

// --- values -------------------------------------------------------------

int DataSet::fieldIndex(const QString& name) const
{
    return m_index.value(name.toLower(), -1);
}

int DataSet::requireField(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(
            QStringLiteral("Le champ « %1 » est introuvable dans « %2 ».").arg(name, m_name));
    return i;
}

const DataSet::Row* DataSet::currentValues() const
{
    if (isEditing())
        return &m_buffer;
    if (m_current < 0 || m_current >= m_rows.size())
        return nullptr;
    return &m_rows.at(m_current);
}

QVariant DataSet::value(const QString& fieldName) const
{
    const int i = requireField(fieldName);
    const Row* row = currentValues();
    return row ? row->at(i) : QVariant();
}

QString DataSet::asString(const QString& fieldName) const
{
    const QVariant v = value(fieldName);
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

int DataSet::asInt(const QString& fieldName) const
{
    return value(fieldName).toInt();
}

double DataSet::asDouble(const QString& fieldName) const
{
    const QVariant v = value(fieldName);
    if (v.typeId() == QMetaType::QString) {
        QString s = v.toString().trimmed();
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        return s.toDouble();
    }
    return v.toDouble();
}

bool DataSet::asBool(const QString& fieldName) const
{
    return value(fieldName).toBool();
}

QDate DataSet::asDate(const QString& fieldName) const
{
    const QVariant v = value(fieldName);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return parseUserDate(v.toString().trimmed());
}

QByteArray DataSet::asBytes(const QString& fieldName) const
{
    return value(fieldName).toByteArray();
}

bool DataSet::isNull(const QString& fieldName) const
{
    const QVariant v = value(fieldName);
    return !v.isValid() || v.isNull();
}

QString DataSet::displayText(const QString& fieldName) const
{
    const int i = requireField(fieldName);
    const Row* row = currentValues();
    if (!row)
        return QString();
    const Field& f = m_fields.at(i);
    return displayValue(row->at(i), f.type, f.def.displayFormat);
}

QString DataSet::displayTextAt(int row, int fieldIdx) const
{
    const Field& f = m_fields.at(fieldIdx);
    return displayValue(m_rows.at(row).at(fieldIdx), f.type, f.def.displayFormat);
}

void DataSet::setValue(const QString& fieldName, const QVariant& v)
{
    const int i = requireField(fieldName);
    if (m_state == State::Browse)
        edit();
    if (!isEditing())
        throw DbError(QStringLiteral("« %1 » n'est pas en cours de modification.").arg(m_name));
    m_buffer[i] = v;
    if (!m_frozen)
        emit fieldChanged(m_fields.at(i).name());
}

} // namespace tav
