#pragma once

#include "db/DataSet.h"

namespace tav {

// "Name (Category)", or the name alone when the category is empty.
QString nameWithCategory(const QString& name, const QString& category);

// Cost left to the owner: the price less both reimbursements when the three
// amounts are known (a reimbursement of 0 counts as known), else 0.
double noRepayment(const QVariant& price, const QVariant& repayment, const QVariant& repaymentComp);

// A calculated text "A (B)" of a data set: the field `target` computed from
// the fields `name` and `category` of each fetched row.
DataSet::CalcHook labelCalc(const QString& target, const QString& name, const QString& category);

// Chains calculations run on every fetched row.
DataSet::CalcHook chainCalcs(QVector<DataSet::CalcHook> hooks);

DataSet::CalcHook noRepaymentCalc();

// "dd/mm/yyyy - Doctor (Category)" of a reminder row.
DataSet::CalcHook lastVaccinationCalc();

} // namespace tav
