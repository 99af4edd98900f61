#include "db/DataSet.h"

#include "db/DataSetRows.h"
#include "db/DbError.h"
#include "db/SqliteStatement.h"

#include <QRegularExpression>

namespace tav {

using namespace datasetrows;

namespace {

// Stands in a row for a late column not read yet; never seen outside.
struct NotReadYet
{
};

bool notReadYet(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<NotReadYet>();
}

// The name a select item gives its result: its alias, or its column.
QString resultName(const QString& item)
{
    static const QRegularExpression alias(
        QStringLiteral("\\sAS\\s+\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = alias.match(item);
    if (m.hasMatch())
        return m.captured(1);
    QString name = item.trimmed().section(QLatin1Char('.'), -1);
    name.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    return name;
}

} // namespace

QString DataSet::deferLateColumns(const QString& selectList, QVector<int>* resultColumns)
{
    m_lateSelect.clear();
    // A quoted literal could hold a comma: such a list is read as it is.
    if (m_lateNames.isEmpty() || selectList.contains(QLatin1Char('\'')) ||
        selectList.contains(QLatin1Char('"')))
        return selectList;
    QStringList items = selectList.split(QLatin1Char(','));
    QStringList late;
    for (int i = 0; i < items.size(); ++i) {
        const QString name = resultName(items.at(i));
        if (name == QLatin1String("*") || !m_lateNames.contains(name, Qt::CaseInsensitive))
            continue;
        late.append(items.at(i).trimmed());
        items[i] = QLatin1String(" NULL AS [") + name + QLatin1Char(']');
        // After the rowid, which a writable data set reads first.
        resultColumns->append(i + 1);
    }
    if (late.isEmpty())
        return selectList;
    m_lateSelect = late.join(QLatin1String(", "));
    return items.join(QLatin1Char(','));
}

void DataSet::markLate(Row& row) const
{
    for (const int i : m_lateFields)
        row[i] = QVariant::fromValue(NotReadYet{});
}

const QVariant& DataSet::lateAware(int row, int field, const QVariant& v) const
{
    // Every value of the data set passes here: the field is looked at
    // before the value's type.
    if (!m_lateFields.contains(field) || !notReadYet(v))
        return v;
    try {
        readLateColumns(row);
    } catch (const DbError&) {
        // Shown empty this time and asked again next time; an edit, which
        // must not start from a value it does not know, reports the failure.
        static const QVariant unknown;
        return unknown;
    }
    return m_rows.at(row).at(field);
}

void DataSet::readLateColumns(int row) const
{
    if (m_lateFields.isEmpty() || !notReadYet(m_rows.at(row).at(m_lateFields.first())))
        return;
    const QString text = QLatin1String("SELECT ") + m_lateSelect + QLatin1String(" FROM [") +
                         m_table + QLatin1String("] WHERE rowid = ?");
    SqliteStatement stmt = prepare(text);
    stmt.bindInt64(1, m_rowIds.at(row));
    Row& values = m_rows[row];
    // A row deleted meanwhile by another window keeps nothing to show.
    const bool found = stmt.step();
    for (int k = 0; k < m_lateFields.size(); ++k) {
        const int i = m_lateFields.at(k);
        if (!found) {
            values[i] = QVariant();
            continue;
        }
        putValue(stmt, k, m_fields.at(i), [&values, i](auto&&... value) {
            values[i] = QVariant(std::forward<decltype(value)>(value)...);
        });
    }
}

} // namespace tav
