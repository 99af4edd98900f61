#include "dialogs/TConsultRepaymentList.h"

#include "db/DataModule2.h"
#include "db/TableFilters.h"

TConsultRepaymentList::TConsultRepaymentList(tav::DataModule2& module, qint64 animalId,
                                             QWidget* parent)
    : TTableList(module.dataSet(QStringLiteral("ConsultRepaymentQuery")),
                 tav::tablefilters::unreimbursedActs(animalId),
                 QString::fromUtf8("  Liste des actes non remboursés"),
                 QStringLiteral("Grid_ConsultRepayment"), parent)
{
    setObjectName(QStringLiteral("TConsultRepaymentList"));
}
