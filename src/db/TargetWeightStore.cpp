#include "db/TargetWeightStore.h"

#include "db/Connection.h"

namespace tav {

namespace {

std::optional<double> number(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? std::optional<double>(d) : std::nullopt;
}

QVariant stored(const std::optional<double>& v)
{
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::Double));
}

} // namespace

WeightBand readTargetWeight(Connection& connection, qint64 animalId)
{
    // Read at every step through the animals: one statement for both ends.
    const QVariantList row = connection.firstRow(
        QStringLiteral("SELECT Target_Weight_Min, Target_Weight_Max FROM ANIMAL WHERE Id=?"),
        {animalId});
    WeightBand band;
    if (row.size() == 2) {
        band.min = number(row.at(0));
        band.max = number(row.at(1));
    }
    return band;
}

void writeTargetWeight(Connection& connection, qint64 animalId, const WeightBand& band)
{
    connection.exec(QStringLiteral("UPDATE ANIMAL SET Target_Weight_Min=?, "
                                   "Target_Weight_Max=? WHERE Id=?"),
                    {stored(band.min), stored(band.max), animalId});
}

} // namespace tav
