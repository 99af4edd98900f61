#include "db/VaccinationJoin.h"

namespace tav {

QString vaccinationJoin()
{
    return QStringLiteral(
        "FROM ([VACCINE] LEFT JOIN LST_DOCTOR ON VACCINE.Id_Org = LST_DOCTOR.Id) LEFT JOIN "
        "LST_VACCINE ON VACCINE.Id_Vaccine = LST_VACCINE.Id");
}

QString dueReminderCondition()
{
    return QStringLiteral("VACCINE.Repeat_Exe<>0");
}

} // namespace tav
