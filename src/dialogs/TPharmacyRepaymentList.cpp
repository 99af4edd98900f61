#include "dialogs/TPharmacyRepaymentList.h"

#include "db/DataModule2.h"
#include "db/TableFilters.h"

TPharmacyRepaymentList::TPharmacyRepaymentList(tav::DataModule2& module, qint64 animalId,
                                               QWidget* parent)
    : TTableList(module.dataSet(QStringLiteral("PharmacyRepaymentQuery")),
                 tav::tablefilters::unreimbursedMedicines(animalId),
                 QString::fromUtf8("  Liste des médicaments non remboursées"),
                 QStringLiteral("Grid_PharmacyRepayment"), parent)
{
    setObjectName(QStringLiteral("TPharmacyRepaymentList"));
}
