#include "report/ReportData.h"

#include "db/DataSet.h"

namespace tav {

bool DataSetSource::isOpen() const
{
    return m_dataSet.isOpen();
}

int DataSetSource::rowCount() const
{
    return m_dataSet.isOpen() ? m_dataSet.recordCount() : 0;
}

int DataSetSource::fieldIndex(const QString& name) const
{
    return m_dataSet.isOpen() ? m_dataSet.fieldIndex(name) : -1;
}

QVariant DataSetSource::value(int row, int field) const
{
    return m_dataSet.valueAt(row, field);
}

QString DataSetSource::text(int row, int field) const
{
    return m_dataSet.displayTextAt(row, field);
}

} // namespace tav
