#include "db/CareTotals.h"

#include "db/Connection.h"
#include "db/FieldFormat.h"

namespace tav {

namespace {

QString amounts(const CareAmounts& a, const QString& format)
{
    return formatNumber(a.paid, format) + QString::fromUtf8(" payés, ") +
           formatNumber(a.reimbursed, format) + QString::fromUtf8(" remboursés, ") +
           formatNumber(a.remaining(), format) + QString::fromUtf8(" restants");
}

} // namespace

CareTotals careTotals(Connection& connection, qint64 animalId, int tag, int year)
{
    CareTotals t;
    t.year = year;
    // Dates are stored as ISO text, so the year is their first four
    // characters.
    connection.forEachRow(
        QStringLiteral("SELECT CAST(substr(Date_Action, 1, 4) AS INTEGER), "
                       "SUM(COALESCE(Price, 0)), SUM(COALESCE(Price_Repayment, 0) + "
                       "COALESCE(Price_Repayment_Comp, 0)) FROM [ACTION] WHERE Id_Ref=") +
            QString::number(animalId) + QStringLiteral(" AND Tag=") + QString::number(tag) +
            QStringLiteral(" GROUP BY 1"),
        [&t, year](const QVariantList& row) {
            const double paid = row.at(1).toDouble();
            const double reimbursed = row.at(2).toDouble();
            t.allYears.paid += paid;
            t.allYears.reimbursed += reimbursed;
            if (row.at(0).toInt() == year) {
                t.inYear.paid = paid;
                t.inYear.reimbursed = reimbursed;
            }
        });
    return t;
}

QString careTotalsText(const CareTotals& totals, const QString& moneyFormat)
{
    return QString::number(totals.year) + QStringLiteral(" : ") +
           amounts(totals.inYear, moneyFormat) + QStringLiteral("\nTotal : ") +
           amounts(totals.allYears, moneyFormat);
}

} // namespace tav
