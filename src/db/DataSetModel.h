#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>

namespace tav {

class DataSet;

// Shows the visible fields of a data set, in their order, titled with their
// captions: the one model behind every grid of the booklet.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DataSetModel(DataSet* dataSet, QObject* parent = nullptr);

    DataSet* dataSet() const { return m_dataSet; }
    // Field index of a visible column.
    int fieldOfColumn(int column) const;
    int columnOfField(const QString& name) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void rebuildColumns();

    QPointer<DataSet> m_dataSet;
    QVector<int> m_columns; // field index of each visible column
};

} // namespace tav
