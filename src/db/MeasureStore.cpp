#include "db/MeasureStore.h"

#include "core/TextRoutines.h"
#include "db/Connection.h"
#include "db/SqliteStatement.h"

#include <QVariant>

namespace tav {

MeasureStore::MeasureStore(Connection& connection) : m_connection(connection) {}

const MeasureColumns& measureColumns(MeasureKind kind)
{
    static const MeasureColumns weight{QStringLiteral("Weight"), QStringLiteral("Date_Weight"),
                                       QStringLiteral("Weight"), QStringLiteral("BirthDay_Weight"),
                                       QStringLiteral("WeightMode")};
    static const MeasureColumns size{QStringLiteral("Size"), QStringLiteral("Date_Size"),
                                     QStringLiteral("Size"), QStringLiteral("BirthDay_Size"),
                                     QStringLiteral("SizeMode")};
    return kind == MeasureKind::Size ? size : weight;
}

QString measureNumberText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? QString::number(number, 'g', 17) : value.toString();
}

QVector<Measure> MeasureStore::measures(qint64 animalId, MeasureKind kind) const
{
    const MeasureColumns& c = measureColumns(kind);
    const QString sql =
        QStringLiteral("SELECT Id, [%1], [%2] FROM [%3] WHERE [%4]=?1 ORDER BY [%1]")
            .arg(c.date, c.value, c.table, kMeasureAnimalKey);
    SqliteStatement stmt(m_connection.sqliteHandle(), sql);
    stmt.bindInt64(1, animalId);
    QVector<Measure> out;
    while (stmt.step()) {
        if (stmt.type(2) == SqliteStatement::ColumnType::Null)
            continue;
        out.append({QDate::fromString(stmt.text(1), Qt::ISODate), stmt.real(2), stmt.int64(0)});
    }
    return out;
}

MeasureStore::Animal MeasureStore::animal(qint64 animalId, MeasureKind kind) const
{
    const MeasureColumns& c = measureColumns(kind);
    const QString sql =
        QStringLiteral("SELECT BirthDay_Date, [%1], [%2], Name, ForeName FROM ANIMAL "
                       "WHERE Id=?1")
            .arg(c.birthValue, c.mode);
    SqliteStatement stmt(m_connection.sqliteHandle(), sql);
    stmt.bindInt64(1, animalId);
    Animal a;
    if (!stmt.step())
        return a;
    a.found = true;
    a.birthDate = stmt.text(0);
    if (stmt.type(1) != SqliteStatement::ColumnType::Null)
        a.birthValue = measureNumberText(stmt.real(1));
    a.mode = curveModeFromStored(stmt.int64(2));
    a.title = nameAndForename(stmt.text(3), stmt.text(4));
    return a;
}

} // namespace tav
