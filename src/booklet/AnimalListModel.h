#pragma once

#include "booklet/AnimalList.h"

#include <QAbstractListModel>
#include <QHash>
#include <QImage>
#include <QStyledItemDelegate>

namespace tav {

class Connection;

// The rows of the animal list with their 45 x 45 thumbnails, ready to paint.
class AnimalListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { KeyRole = Qt::UserRole + 1, FieldsRole, ThumbnailRole, RowStringRole };

    explicit AnimalListModel(QObject* parent = nullptr);

    // Reads the small photos of the animals through the connection: a photo
    // whose bytes did not change since the last build is not decoded again,
    // since the list is rebuilt after every write of an animal.
    void loadThumbnails(tav::Connection& connection);
    void setRows(const QVector<AnimalRow>& rows, const QImage& silhouette);
    const QVector<AnimalRow>& rows() const { return m_rows; }
    const QVector<QImage>& thumbnails() const { return m_thumbnails; }
    int keyAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    static QImage decodeThumbnail(const QByteArray& bytes);
    // A picture fitted into 45 x 45 pixels, keeping its proportions.
    static QImage fitThumbnail(const QImage& picture);

private:
    struct CachedThumbnail
    {
        size_t hash = 0;
        qsizetype size = 0;
        QImage image;
    };
    QVector<AnimalRow> m_rows;
    QVector<QImage> m_thumbnails;
    QHash<int, CachedThumbnail> m_cache;
};

// Paints the 60-pixel rows: group headers over ruled lines, animals with
// their picture box and three lines of text.
class AnimalListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace tav
