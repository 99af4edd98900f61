#pragma once

#include "dialogs/TTableList.h"

namespace tav {
class DataModule2;
}

// The current animal's acts that the primary payer has not reimbursed,
// whatever the complementary payer did.
class TConsultRepaymentList : public TTableList
{
    Q_OBJECT
public:
    // Throws DbError.
    TConsultRepaymentList(tav::DataModule2& module, qint64 animalId, QWidget* parent = nullptr);
};
