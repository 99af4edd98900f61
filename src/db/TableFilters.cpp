#include "db/TableFilters.h"

namespace tav::tablefilters {

// The key is a number written by the program, never text from the user.

QString unreimbursedActs(qint64 animalId)
{
    return QStringLiteral("WHERE Action.Repayment=false and Action.Tag=1 AND Action.Id_Ref=") +
           QString::number(animalId);
}

QString unreimbursedMedicines(qint64 animalId)
{
    return QStringLiteral("WHERE Action.Repayment=false and Action.Tag=2 AND Action.Id_Ref=") +
           QString::number(animalId);
}

QString dueReminders(qint64 animalId)
{
    return QStringLiteral("WHERE Vaccine.Repeat_Exe=True AND Vaccine.Id_Ref=") +
           QString::number(animalId);
}

} // namespace tav::tablefilters
