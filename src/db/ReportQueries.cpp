#include "db/ReportQueries.h"

#include "db/Connection.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/DbError.h"

namespace tav::reportqueries {

namespace {

const char* const kDetailSets[] = {"ReportQueryConsult", "ReportQueryPharmacy",
                                   "ReportQueryVaccine", "ReportQueryWeight", "ReportQueryEvent"};

void openFiltered(DataModuleReport& module, const char* name, const QString& where)
{
    DataSet& d = module.dataSet(QString::fromLatin1(name));
    d.close();
    if (!d.replaceWhereLine(where))
        throw DbError(QStringLiteral("« %1 » n'a pas de condition à remplacer.")
                          .arg(QString::fromLatin1(name)));
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

void openBookletDetails(DataModuleReport& module, int animalId)
{
    // The key is a number: it cannot change the statement around it.
    const QString id = QString::number(animalId);
    openFiltered(module, "ReportQueryConsult",
                 QStringLiteral("WHERE Tag=1 AND Action.Id_Ref=") + id);
    openFiltered(module, "ReportQueryPharmacy",
                 QStringLiteral("WHERE Tag=2 AND Action.Id_Ref=") + id);
    openFiltered(module, "ReportQueryVaccine", QStringLiteral("WHERE Vaccine.Id_Ref=") + id);
    openFiltered(module, "ReportQueryWeight", QStringLiteral("WHERE Weight.Id_Ref=") + id);
    openFiltered(module, "ReportQueryEvent", QStringLiteral("WHERE Event.Id_Ref=") + id);
}

void openReminderDetails(DataModuleReport& module, int animalId)
{
    const QString id = QString::number(animalId);
    openFiltered(module, "ReportQueryConsult",
                 QStringLiteral("WHERE (Action.Repayment=false or Action.Repayment_Comp=false) and "
                                "Action.Tag=1  AND Action.Id_Ref=") +
                     id);
    openFiltered(module, "ReportQueryPharmacy",
                 QStringLiteral("WHERE (Action.Repayment=false or Action.Repayment_Comp=false) and "
                                "Action.Tag=2 AND Action.Id_Ref=") +
                     id);
    openFiltered(module, "ReportQueryVaccine",
                 QStringLiteral("WHERE Vaccine.Repeat_Exe=True AND Vaccine.Id_Ref=") + id);
}

} // namespace tav::reportqueries
