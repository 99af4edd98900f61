#include "booklet/pages/AnalysisGridModel.h"

#include "core/FlagColours.h"

#include "db/DataSet.h"
#include "db/DataSetModel.h"

#include <QColor>

namespace tav {

AnalysisGridModel::AnalysisGridModel(DataSet& values, QObject* parent)
    : QIdentityProxyModel(parent), m_values(values), m_source(new DataSetModel(&values, this))
{
    setSourceModel(m_source);
}

const QColor& AnalysisGridModel::aboveColour()
{
    static const QColor c = aboveRangeColour();
    return c;
}

const QColor& AnalysisGridModel::belowColour()
{
    static const QColor c = belowRangeColour();
    return c;
}

int AnalysisGridModel::flagOfRow(int row) const
{
    if (!m_values.isOpen() || row < 0 || row >= m_values.recordCount())
        return 0;
    const int value = m_values.fieldIndex(QStringLiteral("Value_Analysis"));
    const int min = m_values.fieldIndex(QStringLiteral("Value_Min"));
    const int max = m_values.fieldIndex(QStringLiteral("Value_Max"));
    if (value < 0 || m_values.valueAt(row, value).isNull())
        return 0;
    const double v = m_values.valueAt(row, value).toDouble();
    if (max >= 0 && !m_values.valueAt(row, max).isNull() &&
        v > m_values.valueAt(row, max).toDouble())
        return 1;
    if (min >= 0 && !m_values.valueAt(row, min).isNull() &&
        v < m_values.valueAt(row, min).toDouble())
        return -1;
    return 0;
}

QVariant AnalysisGridModel::data(const QModelIndex& index, int role) const
{
    if (index.isValid() &&
        index.column() == m_source->columnOfField(QStringLiteral("Value_Analysis"))) {
        const int flag = flagOfRow(index.row());
        if (flag != 0) {
            switch (role) {
            case Qt::DisplayRole:
                return QString(QIdentityProxyModel::data(index, role).toString() +
                               (flag > 0 ? QStringLiteral(" ↑") : QStringLiteral(" ↓")));
            case Qt::ForegroundRole:
                return QVariant(flag > 0 ? aboveColour() : belowColour());
            case Qt::ToolTipRole:
                return flag > 0 ? QStringLiteral("Au-dessus de la valeur maximale")
                                : QStringLiteral("En dessous de la valeur minimale");
            default:
                break;
            }
        }
    }
    return QIdentityProxyModel::data(index, role);
}

} // namespace tav
