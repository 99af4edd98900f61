#include "db/DataSet.h"

#include "core/SqlClauses.h"
#include "db/Connection.h"
#include "db/DataSetRows.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "db/SqlDialect.h"
#include "db/SqliteStatement.h"
#include "db/StoredValue.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tav {

using namespace datasetrows;

namespace {

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
    m_filterValues.clear();
}

void DataSet::setDisplayFormat(const QString& fieldName, const QString& format)
{
    m_formats.insert(fieldName.toLower(), format);
    const int i = fieldIndex(fieldName);
    if (i >= 0)
        m_fields[i].def.displayFormat = format;
}

void DataSet::setCaption(const QString& fieldName, const QString& caption)
{
    m_captions.insert(fieldName.toLower(), caption);
    const int i = fieldIndex(fieldName);
    if (i >= 0)
        m_fields[i].def.caption = caption;
}

void DataSet::setTextDate(const QString& fieldName)
{
    if (!m_textDates.contains(fieldName.toLower()))
        m_textDates.append(fieldName.toLower());
    const int i = fieldIndex(fieldName);
    if (i >= 0)
        m_fields[i].textDate = true;
}

bool DataSet::replaceWhereLine(const QString& line)
{
    if (!tav::replaceWhereLine(m_sql, line))
        return false;
    m_filterValues.clear();
    return true;
}

void DataSet::filterBy(const QString& column, const QVariant& value)
{
    filterBy(QVector<FilterTerm>{{column, value}});
}

void DataSet::filterBy(const QVector<FilterTerm>& terms, const QString& fixedCondition)
{
    // Only a name, possibly qualified by its table, may stand for a column:
    // the column is the one part of a filter written into the statement.
    static const QRegularExpression plainName(
        QStringLiteral("^\\[?[A-Za-z_][A-Za-z0-9_]*\\]?(\\.\\[?[A-Za-z_][A-Za-z0-9_]*\\]?)?$"));
    QStringList conditions;
    if (!fixedCondition.isEmpty())
        conditions << fixedCondition;
    QVariantList values;
    for (const FilterTerm& term : terms) {
        if (!plainName.match(term.column).hasMatch())
            throw DbError(
                QStringLiteral("« %1 » ne peut pas filtrer sur « %2 ».").arg(m_name, term.column));
        conditions << term.column + QStringLiteral(" = ?");
        values << term.value;
    }
    const QString line = conditions.isEmpty()
                             ? QStringLiteral("WHERE 1=1")
                             : QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND "));
    if (!tav::replaceWhereLine(m_sql, line))
        throw DbError(QStringLiteral("« %1 » n'a pas de condition à remplacer.").arg(m_name));
    m_filterValues = values;
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
    QString rowsText = sql;
    QVector<int> lateColumns;
    if (writable) {
        const QString head = QLatin1String("SELECT [") + single.table +
                             QLatin1String("].rowid AS ") + kRowIdAlias + QLatin1String(", ");
        const QString tail =
            QLatin1String(" FROM [") + single.table + QLatin1String("]") + single.rest;
        text = head + single.selectList + tail;
        rowsText = head + deferLateColumns(single.selectList, &lateColumns) + tail;
    }
    // The fields are described by the statement as written; with late
    // columns the rows come from one that reads nulls in their place.
    SqliteStatement described = prepare(text);
    SqliteStatement stmt = lateColumns.isEmpty() ? std::move(described) : prepare(rowsText);
    for (int i = 0; i < m_filterValues.size(); ++i)
        stmt.bind(i + 1, m_filterValues.at(i));
    emit aboutToReset();
    m_table = writable ? single.table : QString();
    m_selectList = writable ? single.selectList : QString();
    buildFields(lateColumns.isEmpty() ? stmt : described);
    m_lateFields.clear();
    for (const int column : std::as_const(lateColumns)) {
        for (int i = 0; i < m_fields.size(); ++i) {
            if (m_fields.at(i).resultColumn == column)
                m_lateFields.append(i);
        }
    }

    m_rows.clear();
    m_rowIds.clear();
    ++m_rowsVersion;
    try {
        while (stmt.step()) {
            m_rows.append(readRow(stmt));
            if (!m_lateFields.isEmpty())
                markLate(m_rows.last());
            if (writable)
                m_rowIds.append(stmt.int64(0));
        }
    } catch (const DbError& e) {
        m_rows.clear();
        m_rowIds.clear();
        m_fields.clear();
        m_lateFields.clear();
        m_index.clear();
        m_spelled.clear();
        m_state = State::Inactive;
        emit reset();
        throw DbError(QStringLiteral("Impossible d'ouvrir « %1 » : %2").arg(m_name, e.message()));
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

SqliteStatement DataSet::prepare(const QString& text) const
{
    try {
        return SqliteStatement(m_connection.sqliteHandle(), text);
    } catch (const DbError& e) {
        throw DbError(QStringLiteral("Impossible d'ouvrir « %1 » : %2").arg(m_name, e.message()));
    }
}

void DataSet::buildFields(const SqliteStatement& stmt)
{
    const int firstColumn = m_table.isEmpty() ? 0 : 1;
    const int columnCount = stmt.columnCount();
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
        c.name = stmt.columnName(i);
        c.table = stmt.tableName(i);
        c.origin = stmt.originName(i);
        const QString declared = stmt.declaredType(i);
        if (!declared.isEmpty())
            c.type = jetTypeFromDeclared(declared, &c.size);
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
    // A field list without "*" shows only what it names: the other columns
    // of the statement stay reachable but hidden.
    const bool listed =
        !m_defs.isEmpty() && std::none_of(m_defs.cbegin(), m_defs.cend(), [](const FieldDef& d) {
            return d.name == QLatin1String("*");
        });
    auto addRemaining = [&]() {
        for (int i = 0; i < cols.size(); ++i) {
            if (!used.at(i) && !named.at(i)) {
                FieldDef def;
                def.name = cols.at(i).name;
                def.hidden = listed;
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
    m_calcTexts.clear();
    for (int i = 0; i < m_fields.size(); ++i) {
        Field& f = m_fields[i];
        const QString key = f.name().toLower();
        m_index.insert(key, i);
        const auto fmt = m_formats.constFind(key);
        if (fmt != m_formats.constEnd())
            f.def.displayFormat = *fmt;
        const auto caption = m_captions.constFind(key);
        if (caption != m_captions.constEnd())
            f.def.caption = *caption;
        f.textDate = m_textDates.contains(key);
        if (f.def.calculated && isTextType(f.type) && f.size > 0)
            m_calcTexts.append(i);
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
    m_spelled.clear();
}

DataSet::Row DataSet::readRow(const SqliteStatement& stmt)
{
    Row row;
    row.reserve(m_fields.size());
    const auto put = [&row](auto&&... value) {
        row.emplaceBack(std::forward<decltype(value)>(value)...);
    };
    for (int i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields.at(i);
        if (f.resultColumn < 0)
            row.emplaceBack();
        else
            putValue(stmt, f.resultColumn, f, put);
    }
    calc(row);
    return row;
}

void DataSet::calc(Row& row)
{
    if (!onCalcFields)
        return;
    onCalcFields(*this, row);
    // A calculated text is as long as its field, whatever it joins.
    for (const int i : std::as_const(m_calcTexts)) {
        const Field& f = m_fields.at(i);
        if (row.at(i).typeId() == QMetaType::QString && row.at(i).toString().size() > f.size)
            row[i] = row.at(i).toString().left(f.size);
    }
}

void DataSet::close()
{
    if (!isOpen())
        return;
    emit aboutToReset();
    m_rows.clear();
    m_rowIds.clear();
    ++m_rowsVersion;
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
    m_filterValues.clear();
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
    if (isIntegerType(m_fields.at(f).type)) {
        // Keys are looked up at every step through a list of thousands of
        // rows: the rows of each key are indexed once per content.
        if (m_keyIndexField != f || m_keyIndexVersion != m_rowsVersion) {
            m_keyIndex.clear();
            m_keyIndex.reserve(m_rows.size());
            // From the last row up, so that a key held by several rows
            // finds the first of them.
            for (int i = int(m_rows.size()) - 1; i >= 0; --i) {
                const QVariant& v = valueAt(i, f);
                if (!v.isNull())
                    m_keyIndex.insert(v.toLongLong(), i);
            }
            m_keyIndexField = f;
            m_keyIndexVersion = m_rowsVersion;
        }
        const auto row = m_keyIndex.constFind(value.toLongLong());
        if (row == m_keyIndex.constEnd())
            return false;
        moveTo(*row);
        return true;
    }
    for (int i = 0; i < m_rows.size(); ++i) {
        if (sameValue(valueAt(i, f), value)) {
            moveTo(i);
            return true;
        }
    }
    return false;
}

// --- values -------------------------------------------------------------

int DataSet::fieldIndex(const QString& name) const
{
    // Fields are named by the same few spellings over and over, once per
    // bound control each time a row becomes current: a spelling is folded
    // to lower case once.
    const auto known = m_spelled.constFind(name);
    if (known != m_spelled.constEnd())
        return *known;
    const int i = m_index.value(name.toLower(), -1);
    m_spelled.insert(name, i);
    return i;
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
    if (!row)
        return QVariant();
    return isEditing() ? row->at(i) : valueAt(m_current, i);
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
    return displayValue(isEditing() ? row->at(i) : valueAt(m_current, i), f.type,
                        f.def.displayFormat);
}

QString DataSet::displayTextAt(int row, int fieldIdx) const
{
    const Field& f = m_fields.at(fieldIdx);
    return displayValue(valueAt(row, fieldIdx), f.type, f.def.displayFormat);
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
