#pragma once

#include "dialogs/TTableList.h"

namespace tav {
class DataModule2;
}

// The current animal's medicines that the primary payer has not
// reimbursed; their amount is not shown.
class TPharmacyRepaymentList : public TTableList
{
    Q_OBJECT
public:
    // Throws DbError.
    TPharmacyRepaymentList(tav::DataModule2& module, qint64 animalId, QWidget* parent = nullptr);
};
