#include "db/CalcFields.h"

#include <QDate>

#include <cmath>
#include <memory>

namespace tav {

namespace {

bool hasValue(const QVariant& v)
{
    return v.isValid() && !v.isNull();
}

// Field indices resolved once per opening of the data set.
struct Indices
{
    int generation = -1;
    QVector<int> at;

    void resolve(const DataSet& ds, const QStringList& names)
    {
        if (generation == ds.fieldsGeneration())
            return;
        generation = ds.fieldsGeneration();
        at.clear();
        for (const QString& n : names)
            at.append(ds.fieldIndex(n));
    }
};

QString textAt(const DataSet::Row& row, int i)
{
    return i >= 0 ? row.at(i).toString() : QString();
}

} // namespace

QString nameWithCategory(const QString& name, const QString& category)
{
    if (category.isEmpty())
        return name;
    return name + QStringLiteral(" (") + category + QLatin1Char(')');
}

double noRepayment(const QVariant& price, const QVariant& repayment, const QVariant& repaymentComp)
{
    if (!hasValue(price) || !hasValue(repayment) || !hasValue(repaymentComp))
        return 0.0;
    // Money holds 4 decimals: counted in ten-thousandths the difference is
    // exact, so 0.30 - (0.10 + 0.20) is 0, not -5.5e-17 ("-0,00").
    const auto units = [](const QVariant& v) {
        return std::llround(v.toDouble() * 10000.0);
    };
    return double(units(price) - (units(repayment) + units(repaymentComp))) / 10000.0;
}

DataSet::CalcHook labelCalc(const QString& target, const QString& name, const QString& category)
{
    auto idx = std::make_shared<Indices>();
    const QStringList names{target, name, category};
    return [idx, names](DataSet& ds, DataSet::Row& row) {
        idx->resolve(ds, names);
        if (idx->at[0] < 0)
            return;
        row[idx->at[0]] = nameWithCategory(textAt(row, idx->at[1]), textAt(row, idx->at[2]));
    };
}

DataSet::CalcHook chainCalcs(QVector<DataSet::CalcHook> hooks)
{
    return [hooks = std::move(hooks)](DataSet& ds, DataSet::Row& row) {
        for (const auto& h : hooks)
            h(ds, row);
    };
}

DataSet::CalcHook noRepaymentCalc()
{
    auto idx = std::make_shared<Indices>();
    const QStringList names{QStringLiteral("NoRepayment"), QStringLiteral("Price"),
                            QStringLiteral("Price_Repayment"),
                            QStringLiteral("Price_Repayment_Comp")};
    return [idx, names](DataSet& ds, DataSet::Row& row) {
        idx->resolve(ds, names);
        if (idx->at[0] < 0 || idx->at[1] < 0 || idx->at[2] < 0 || idx->at[3] < 0)
            return;
        row[idx->at[0]] = noRepayment(row.at(idx->at[1]), row.at(idx->at[2]), row.at(idx->at[3]));
    };
}

DataSet::CalcHook lastVaccinationCalc()
{
    auto idx = std::make_shared<Indices>();
    const QStringList names{QStringLiteral("Last"), QStringLiteral("Date_Vaccine"),
                            QStringLiteral("Name"), QStringLiteral("LST_DOCTOR.Category")};
    return [idx, names](DataSet& ds, DataSet::Row& row) {
        idx->resolve(ds, names);
        if (idx->at[0] < 0)
            return;
        QString date;
        if (idx->at[1] >= 0) {
            const QVariant v = row.at(idx->at[1]);
            date = v.typeId() == QMetaType::QDate
                       ? v.toDate().toString(QStringLiteral("dd/MM/yyyy"))
                       : v.toString();
        }
        row[idx->at[0]] =
            QString(date + QStringLiteral(" - ") +
                    nameWithCategory(textAt(row, idx->at[2]), textAt(row, idx->at[3])));
    };
}

} // namespace tav
