#include "db/MeasureStore.h"

#include "core/TextRoutines.h"
#include "db/Connection.h"
#include "db/SqliteStatement.h"

#include <QVariant>

namespace tav {

MeasureStore::MeasureStore(Connection& connection) : m_connection(connection) {}

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
    const QString sql = kind == MeasureKind::Size
                            ? QStringLiteral("SELECT Id, Date_Size, Size FROM SIZE "
                                             "WHERE Id_Ref=?1 ORDER BY Date_Size")
                            : QStringLiteral("SELECT Id, Date_Weight, Weight FROM WEIGHT "
                                             "WHERE Id_Ref=?1 ORDER BY Date_Weight");
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
    const QString sql =
        kind == MeasureKind::Size
            ? QStringLiteral("SELECT BirthDay_Date, BirthDay_Size, SizeMode, Name, "
                             "ForeName FROM ANIMAL WHERE Id=?1")
            : QStringLiteral("SELECT BirthDay_Date, BirthDay_Weight, WeightMode, Name, "
                             "ForeName FROM ANIMAL WHERE Id=?1");
    SqliteStatement stmt(m_connection.sqliteHandle(), sql);
    stmt.bindInt64(1, animalId);
    Animal a;
    if (!stmt.step())
        return a;
    a.found = true;
    a.birthDate = stmt.text(0);
    if (stmt.type(1) != SqliteStatement::ColumnType::Null)
        a.birthValue = measureNumberText(stmt.real(1));
    a.mode = int(stmt.int64(2));
    a.title = nameAndForename(stmt.text(3), stmt.text(4));
    return a;
}

} // namespace tav
