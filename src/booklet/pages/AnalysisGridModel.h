#pragma once

#include <QIdentityProxyModel>

namespace tav {

class DataSet;
class DataSetModel;

// The values grid of an analysis, flagging each value outside the normal
// range of its own day: "↑" in red above the maximum, "↓" in blue below the
// minimum.
class AnalysisGridModel : public QIdentityProxyModel
{
    Q_OBJECT
public:
    AnalysisGridModel(DataSet& values, QObject* parent);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    static const QColor& aboveColour();
    static const QColor& belowColour();
    // 1 above the maximum, -1 below the minimum, 0 within the range or
    // without a limit to compare with.
    int flagOfRow(int row) const;

private:
    DataSet& m_values;
    DataSetModel* m_source;
};

} // namespace tav
