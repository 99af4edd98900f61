#pragma once

#include <QString>

namespace tav {

// The filter lines that the table windows put in place of the WHERE line
// of their display queries, for one animal.
namespace tablefilters {

// Acts (tag 1) that the primary payer has not reimbursed.
QString unreimbursedActs(qint64 animalId);
// Medicine purchases (tag 2) that the primary payer has not reimbursed.
QString unreimbursedMedicines(qint64 animalId);
// Vaccinations whose stored reminder flag is set.
QString dueReminders(qint64 animalId);

} // namespace tablefilters

} // namespace tav
