#include "booklet/pages/DocumentFileModel.h"

#include "media/BitmapRoutines.h"

namespace tav {

namespace {

constexpr int kIconSide = 14;

} // namespace

DocumentFileModel::DocumentFileModel(QObject* parent) : QAbstractTableModel(parent) {}

void DocumentFileModel::setRows(QVector<AttachedFileRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_icons.clear();
    for (const AttachedFileRow& r : std::as_const(m_rows)) {
        QImage icon = QImage::fromData(r.icon, "BMP");
        // The stored icon is shown small by the same resampling as every
        // picture of the booklet; an unreadable one shows nothing.
        if (icon.isNull() || !resizeBitmap(icon, kIconSide, kIconSide))
            icon = QImage();
        m_icons.append(icon);
    }
    endResetModel();
}

const AttachedFileRow* DocumentFileModel::fileAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? &m_rows[row] : nullptr;
}

int DocumentFileModel::rowOf(int id) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == id)
            return i;
    }
    return -1;
}

int DocumentFileModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DocumentFileModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DocumentFileModel::data(const QModelIndex& index, int role) const
{
    const AttachedFileRow* file = index.isValid() ? fileAt(index.row()) : nullptr;
    if (!file)
        return {};
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case NameColumn:
            return file->fileName;
        case TypeColumn:
            return file->fileType;
        case SizeColumn:
            return file->fileSize;
        default:
            return QString();
        }
    }
    if (role == Qt::DecorationRole && index.column() == IconColumn &&
        !m_icons[index.row()].isNull())
        return m_icons[index.row()];
    if (role == Qt::ToolTipRole && index.column() == NameColumn && !file->remark.isEmpty())
        return file->remark;
    return {};
}

QVariant DocumentFileModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case IconColumn:
        return QStringLiteral(" ");
    case NameColumn:
        return QStringLiteral("Nom");
    case TypeColumn:
        return QStringLiteral("Type");
    case SizeColumn:
        return QStringLiteral("Taille");
    default:
        return {};
    }
}

} // namespace tav
