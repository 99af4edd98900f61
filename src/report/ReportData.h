#pragma once

#include <QString>
#include <QVariant>

namespace tav {

class DataSet;

// The rows a template reads: one data set, read from its first row in its
// own order. A closed data set has no rows and no fields.
class ReportDataSet
{
public:
    virtual ~ReportDataSet() = default;
    virtual bool isOpen() const = 0;
    virtual int rowCount() const = 0;
    // -1 for a name the data set does not have (case ignored).
    virtual int fieldIndex(const QString& name) const = 0;
    virtual QVariant value(int row, int field) const = 0;
    // The value as a grid shows it: dates "dd/mm/yyyy", "Oui"/"Non"...
    virtual QString text(int row, int field) const = 0;
};

// A data set of a data module, as the report reads it.
class DataSetSource : public ReportDataSet
{
public:
    explicit DataSetSource(const DataSet& dataSet) : m_dataSet(dataSet) {}
    bool isOpen() const override;
    int rowCount() const override;
    int fieldIndex(const QString& name) const override;
    QVariant value(int row, int field) const override;
    QString text(int row, int field) const override;

private:
    const DataSet& m_dataSet;
};

} // namespace tav
