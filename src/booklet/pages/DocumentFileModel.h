#pragma once

#include "db/DocumentStore.h"

#include <QAbstractTableModel>
#include <QImage>
#include <QVector>

namespace tav {

// The attached files of an animal as the grid shows them: the file's icon
// (reduced to 14 x 14), its name, type and size.
class DocumentFileModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { IconColumn, NameColumn, TypeColumn, SizeColumn, ColumnCount };

    explicit DocumentFileModel(QObject* parent = nullptr);

    void setRows(QVector<AttachedFileRow> rows);
    // The row at that position; nullptr outside the rows.
    const AttachedFileRow* fileAt(int row) const;
    int rowOf(int id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVector<AttachedFileRow> m_rows;
    QVector<QImage> m_icons;
};

} // namespace tav
