#pragma once

#include "db/DataSet.h"

#include <QString>
#include <QVector>

namespace tav {

// The filters that the table windows put in place of the WHERE line of
// their display queries, for one animal: a fixed condition and the
// animal's key, bound when the query opens.
struct TableFilter
{
    QString condition;
    QVector<DataSet::FilterTerm> terms;

    void applyTo(DataSet& query) const { query.filterBy(terms, condition); }
};

namespace tablefilters {

// The animal itself, in a statement over ANIMAL.
TableFilter animal(qint64 animalId);
// Every act (tag 1) or medicine purchase (tag 2) of the animal.
TableFilter actsOf(qint64 animalId, int tag);
// Acts (tag 1) that the primary payer has not reimbursed.
TableFilter unreimbursedActs(qint64 animalId);
// Medicine purchases (tag 2) that the primary payer has not reimbursed.
TableFilter unreimbursedMedicines(qint64 animalId);
// Vaccinations whose stored reminder flag is set.
TableFilter dueReminders(qint64 animalId);

} // namespace tablefilters

} // namespace tav
