#include "dialogs/TRepeatVaccineList.h"

#include "db/DataModule2.h"
#include "db/TableFilters.h"

TRepeatVaccineList::TRepeatVaccineList(tav::DataModule2& module, qint64 animalId, QWidget* parent)
    : TTableList(module.dataSet(QStringLiteral("RepeatVaccineQuery")),
                 tav::tablefilters::dueReminders(animalId),
                 QString::fromUtf8("  Liste des rappels de vaccination"),
                 QStringLiteral("Grid_RepeatVaccine"), parent)
{
    setObjectName(QStringLiteral("TRepeatVaccineList"));
}
