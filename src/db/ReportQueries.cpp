#include "db/ReportQueries.h"

#include "core/VaccineReminders.h"
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

QDate storedDate(const QVariant& value)
{
    return QDate::fromString(value.toString().left(10), Qt::ISODate);
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

void refreshReminderFlags(Connection& connection, int animalId)
{
    QVector<Vaccination> shots;
    QVector<qint64> ids;
    connection.forEachRow(
        QStringLiteral("SELECT Id, Id_Vaccine, Date_Vaccine, Repeat_Date FROM VACCINE "
                       "WHERE Id_Ref=") +
            QString::number(animalId),
        [&](const QVariantList& row) {
            Vaccination v;
            v.id = row.at(0).toLongLong();
            // Vaccinations without a vaccine compare among themselves.
            v.vaccineId = row.at(1).isNull() ? -1 : row.at(1).toLongLong();
            v.date = storedDate(row.at(2));
            v.repeat = storedDate(row.at(3));
            shots.append(v);
            ids.append(v.id);
        });
    const QSet<qint64> due = dueReminders(shots);
    Transaction transaction(connection);
    for (qint64 id : std::as_const(ids))
        connection.exec(QStringLiteral("UPDATE VACCINE SET Repeat_Exe=? WHERE Id=?"),
                        {due.contains(id) ? 1 : 0, id});
    transaction.commit();
}

} // namespace tav::reportqueries
