#pragma once

#include <QString>

namespace tav {

class Connection;

// What an animal's acts (tag 1) or medicine purchases (tag 2) cost and
// what the two insurers paid back, over one year or over all years.
struct CareAmounts
{
    double paid = 0;
    double reimbursed = 0; // both insurers
    double remaining() const { return paid - reimbursed; }
};

struct CareTotals
{
    int year = 0;
    CareAmounts inYear;
    CareAmounts allYears;
};

// Sums the rows of one animal and tag; an empty amount counts as 0.
// Throws DbError.
CareTotals careTotals(Connection& connection, qint64 animalId, int tag, int year);

// "2026 : 432,10 € payés, 210,00 € remboursés, 222,10 € restants" and
// "Total : …" on a second line, amounts through the money display format.
QString careTotalsText(const CareTotals& totals, const QString& moneyFormat);

} // namespace tav
