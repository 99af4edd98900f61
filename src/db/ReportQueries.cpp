#include "db/ReportQueries.h"

#include "db/Connection.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/TableFilters.h"
#include "db/VaccinationJoin.h"

namespace tav::reportqueries {

namespace {

const char* const kDetailSets[] = {"ReportQueryConsult", "ReportQueryPharmacy",
                                   "ReportQueryVaccine", "ReportQueryWeight", "ReportQueryEvent"};

void openFiltered(DataModuleReport& module, const char* name, const QString& condition,
                  const QString& keyColumn, int animalId)
{
    DataSet& d = module.dataSet(QString::fromLatin1(name));
    d.close();
    d.filterBy({{keyColumn, animalId}}, condition);
    d.open();
}

} // namespace

void closeAll(DataModuleReport& module)
{
    module.dataSet(QStringLiteral("ReportQuery")).close();
    for (const char* name : kDetailSets)
        module.dataSet(QString::fromLatin1(name)).close();
}

void openMain(DataModuleReport& module, const QStringList& sql)
{
    DataSet& d = module.dataSet(QStringLiteral("ReportQuery"));
    d.close();
    d.setSql(sql);
    d.open();
}

void openMain(DataModuleReport& module, const QStringList& sql, const TableFilter& filter)
{
    DataSet& d = module.dataSet(QStringLiteral("ReportQuery"));
    d.close();
    d.setSql(sql);
    filter.applyTo(d);
    d.open();
}

void openBookletDetails(DataModuleReport& module, int animalId)
{
    const QString actionKey = QStringLiteral("Action.Id_Ref");
    openFiltered(module, "ReportQueryConsult", QStringLiteral("Tag=1"), actionKey, animalId);
    openFiltered(module, "ReportQueryPharmacy", QStringLiteral("Tag=2"), actionKey, animalId);
    openFiltered(module, "ReportQueryVaccine", QString(), QStringLiteral("Vaccine.Id_Ref"),
                 animalId);
    openFiltered(module, "ReportQueryWeight", QString(), QStringLiteral("Weight.Id_Ref"), animalId);
    openFiltered(module, "ReportQueryEvent", QString(), QStringLiteral("Event.Id_Ref"), animalId);
}

void openReminderDetails(DataModuleReport& module, int animalId)
{
    const QString actionKey = QStringLiteral("Action.Id_Ref");
    openFiltered(module, "ReportQueryConsult",
                 QStringLiteral("(Action.Repayment=false or Action.Repayment_Comp=false) and "
                                "Action.Tag=1"),
                 actionKey, animalId);
    openFiltered(module, "ReportQueryPharmacy",
                 QStringLiteral("(Action.Repayment=false or Action.Repayment_Comp=false) and "
                                "Action.Tag=2"),
                 actionKey, animalId);
    openFiltered(module, "ReportQueryVaccine", dueReminderCondition(),
                 QStringLiteral("Vaccine.Id_Ref"), animalId);
}

} // namespace tav::reportqueries
