#include "db/DataModule2.h"

#include "db/CalcFields.h"
#include "db/DataSet.h"

namespace tav {

DataModule2::DataModule2(Connection& connection, QObject* parent)
    : DataModule(QStringLiteral("TDataModule2"), connection, tablesModuleDataSets(), parent)
{
    dataSet(QStringLiteral("ConsultRepaymentQuery")).onCalcFields =
        chainCalcs({labelCalc(QStringLiteral("Doctor"), QStringLiteral("Name"),
                              QStringLiteral("LST_DOCTOR.Category")),
                    labelCalc(QStringLiteral("Illness"), QStringLiteral("Title"),
                              QStringLiteral("LST_ILLNESS.Gravity"))});
    dataSet(QStringLiteral("PharmacyRepaymentQuery")).onCalcFields =
        chainCalcs({labelCalc(QStringLiteral("Pharmacy"), QStringLiteral("Name"),
                              QStringLiteral("LST_PHARMACY.Category")),
                    labelCalc(QStringLiteral("Drug"), QStringLiteral("Title"),
                              QStringLiteral("LST_DRUG.Category"))});
    dataSet(QStringLiteral("RepeatVaccineQuery")).onCalcFields = chainCalcs(
        {lastVaccinationCalc(), labelCalc(QStringLiteral("Vaccin"), QStringLiteral("Title"),
                                          QStringLiteral("LST_VACCINE.Category"))});
}

DataModuleReport::DataModuleReport(Connection& connection, QObject* parent)
    : DataModule(QStringLiteral("TDataModuleReport"), connection, reportModuleDataSets(), parent)
{}

} // namespace tav
