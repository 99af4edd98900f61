#pragma once

#include <QString>

namespace tav {

class Connection;

// The reference tables whose rows the acts, purchases and vaccinations name.
enum class ReferenceKind { Doctor, Pharmacy, Drug, Vaccine, Illness };

// How many rows of the booklets still name one reference row.
struct ReferenceUsage
{
    int consultations = 0;
    int purchases = 0;
    int vaccinations = 0;

    bool any() const { return consultations > 0 || purchases > 0 || vaccinations > 0; }
};

// Counts the consultations, medicine purchases and vaccinations that name
// the row id of a reference table. Throws DbError.
ReferenceUsage countReferenceUsage(Connection& connection, ReferenceKind kind, qint64 id);

// "Ce praticien est cité par 12 actes et 3 vaccinations." for a used row;
// empty for a row that nothing names.
QString referenceUsageText(ReferenceKind kind, const ReferenceUsage& usage);

} // namespace tav
