#pragma once

#include "booklet/AnimalList.h"

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <functional>

namespace tav {

// The rows of the animal list. Thumbnails are read and decoded only when a
// row is painted, and kept in a cache of bounded size: start-up and a new
// animal cost the same whether the animals have photos or not.
class AnimalListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        KeyRole = Qt::UserRole + 1,
        FieldsRole,
        ThumbnailRole,
        RowStringRole,
        // The row of the current animal: the one row drawn highlighted.
        CurrentRole
    };
    // The stored small photo of an animal, empty when it has none.
    using PictureSource = std::function<QByteArray(int animalId)>;

    explicit AnimalListModel(QObject* parent = nullptr);

    void setPictureSource(PictureSource source) { m_pictures = std::move(source); }
    void setSilhouette(const QImage& silhouette);
    // Bytes of decoded thumbnails kept at most.
    void setThumbnailCacheLimit(int bytes) { m_thumbnails.setMaxCost(bytes); }

    // Every animal, in list order; the rows are built anew and every
    // thumbnail read again when next painted.
    void setAnimals(const QVector<AnimalListEntry>& animals, int animalSort, bool showDeparted);
    // One animal added or written: its row goes to its place, other rows
    // stay as they are. Its thumbnail is read again.
    void putAnimal(const AnimalListEntry& animal);
    void removeAnimal(int animalId);

    const QVector<AnimalRow>& rows() const { return m_rows; }
    int keyAt(int row) const;
    int rowOfKey(int key) const; // -1 when not listed

    void setCurrentKey(int key);
    int currentKey() const { return m_currentKey; }
    // How many thumbnails were read and decoded since the model was made.
    int thumbnailsRead() const { return m_thumbnailsRead; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    static QImage decodeThumbnail(const QByteArray& bytes);
    // A picture fitted into 45 x 45 pixels, keeping its proportions.
    static QImage fitThumbnail(const QImage& picture);

private:
    QImage thumbnailOf(int key) const;
    void rebuildRows();
    // Replaces the rows by the smallest removal and insertion that turn
    // the old rows into the new ones.
    void applyRows(const QVector<AnimalRow>& rows);

    QVector<AnimalListEntry> m_animals;
    QVector<AnimalRow> m_rows;
    int m_sort = 1;
    bool m_showDeparted = false;
    int m_currentKey = 0;
    PictureSource m_pictures;
    QImage m_silhouette;
    mutable QCache<int, QImage> m_thumbnails;
    mutable int m_thumbnailsRead = 0;
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

    // The fonts of the name and of the two lines below it.
    static QFont nameFont();
    static QFont lineFont();
    // Height of a line of text in that font, accents on capitals included.
    static int lineHeight(const QFont& font);
    // The boxes of the name, the second and the third line of a row.
    static QVector<QRect> textBoxes(const QRect& cell, const QFont& nameFont,
                                    const QFont& lineFont);

private:
    void paintRow(QPainter* p, const QRect& cell, bool header, const QStringList& fields,
                  bool selected, const QImage& thumb) const;

    // Rows drawn, by what their look depends on; about 80 rows.
    mutable QCache<QString, QPixmap> m_rows{6 * 1024 * 1024};
    mutable QFont m_nameFont;
    mutable QFont m_lineFont;
    mutable QVector<QRect> m_boxes; // relative to the row's top left
    mutable int m_boxesHeight = -1;
};

} // namespace tav
