#include "db/DataSetModel.h"

#include "core/ItemRoles.h"

#include "db/DataSet.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QSize>

namespace tav {

namespace {

// A text column this wide holds names or remarks, read whole in the row's
// window rather than in the grid.
constexpr int kElasticCharacters = 20;

} // namespace

DataSetModel::DataSetModel(DataSet* dataSet, QObject* parent)
    : QAbstractTableModel(parent), m_dataSet(dataSet)
{
    rebuildColumns();
    connect(dataSet, &DataSet::aboutToReset, this, [this]() { beginResetModel(); });
    connect(dataSet, &DataSet::reset, this, [this]() {
        rebuildColumns();
        endResetModel();
    });
    connect(dataSet, &DataSet::rowAboutToBeInserted, this,
            [this](int row) { beginInsertRows(QModelIndex(), row, row); });
    connect(dataSet, &DataSet::rowInserted, this, [this](int) { endInsertRows(); });
    connect(dataSet, &DataSet::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
    connect(dataSet, &DataSet::rowRemoved, this, [this](int) { endRemoveRows(); });
    connect(dataSet, &DataSet::rowChanged, this, [this](int row) {
        if (!m_columns.isEmpty())
            emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    });
}

void DataSetModel::rebuildColumns()
{
    m_columns.clear();
    if (!m_dataSet)
        return;
    for (int i = 0; i < m_dataSet->fieldCount(); ++i) {
        if (!m_dataSet->field(i).def.hidden)
            m_columns.append(i);
    }
}

int DataSetModel::fieldOfColumn(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column) : -1;
}

int DataSetModel::columnOfField(const QString& name) const
{
    if (!m_dataSet)
        return -1;
    return int(m_columns.indexOf(m_dataSet->fieldIndex(name)));
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_dataSet || !m_dataSet->isOpen())
        return 0;
    return m_dataSet->recordCount();
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_dataSet || index.row() >= rowCount() ||
        index.column() >= m_columns.size())
        return QVariant();
    const int f = m_columns.at(index.column());
    const Field& field = m_dataSet->field(f);
    switch (role) {
    case Qt::DisplayRole:
        return m_dataSet->displayTextAt(index.row(), f);
    case Qt::DecorationRole:
        if (field.type == JetType::Blob) {
            QImage img;
            if (img.loadFromData(m_dataSet->valueAt(index.row(), f).toByteArray()))
                return img;
        }
        return QVariant();
    case Qt::TextAlignmentRole:
        if (field.type == JetType::Double || field.type == JetType::Currency ||
            isIntegerType(field.type))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::EditRole:
        return m_dataSet->valueAt(index.row(), f);
    default:
        return QVariant();
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !m_dataSet || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Field& field = m_dataSet->field(m_columns.at(section));
    if (role == Qt::DisplayRole)
        return field.caption();
    if (role == Qt::ToolTipRole)
        return field.caption();
    if (role == NumberColumnRole)
        return field.type == JetType::Double || field.type == JetType::Currency ||
               isIntegerType(field.type);
    if (role == ElasticColumnRole) {
        const int chars = field.def.displayWidth > 0 ? field.def.displayWidth : field.size;
        return isTextType(field.type) && chars >= kElasticCharacters;
    }
    if (role == Qt::SizeHintRole) {
        // The display width is counted in characters of the grid's font.
        const int chars =
            field.def.displayWidth > 0 ? field.def.displayWidth : std::clamp(field.size, 4, 40);
        const QFontMetrics fm(QGuiApplication::font());
        return QSize(fm.horizontalAdvance(QLatin1Char('0')) * chars + 8, fm.height() + 6);
    }
    return QVariant();
}

} // namespace tav
