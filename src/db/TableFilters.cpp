#include "db/TableFilters.h"

#include "db/VaccinationJoin.h"

namespace tav::tablefilters {

TableFilter animal(qint64 animalId)
{
    return {QString(), {{QStringLiteral("ANIMAL.Id"), animalId}}};
}

TableFilter actsOf(qint64 animalId, int tag)
{
    return {QString(),
            {{QStringLiteral("Action.Tag"), tag}, {QStringLiteral("Action.Id_Ref"), animalId}}};
}

TableFilter unreimbursedActs(qint64 animalId)
{
    return {QStringLiteral("Action.Repayment=false and Action.Tag=1"),
            {{QStringLiteral("Action.Id_Ref"), animalId}}};
}

TableFilter unreimbursedMedicines(qint64 animalId)
{
    return {QStringLiteral("Action.Repayment=false and Action.Tag=2"),
            {{QStringLiteral("Action.Id_Ref"), animalId}}};
}

TableFilter dueReminders(qint64 animalId)
{
    return {dueReminderCondition(), {{QStringLiteral("Vaccine.Id_Ref"), animalId}}};
}

} // namespace tav::tablefilters
