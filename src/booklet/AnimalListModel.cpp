#include "booklet/AnimalListModel.h"

#include "core/TextRoutines.h"
#include "db/Connection.h"

#include <QPainter>

namespace tav {

namespace {

constexpr int kRowHeight = 60;
const QColor kListColour(255, 255, 255);
const QColor kText(30, 64, 121);

void drawShadowedText(QPainter* p, const QRect& box, const QString& text, const QColor& shadow,
                      const QColor& colour, int flags, int offset)
{
    p->setPen(shadow);
    p->drawText(box.translated(offset, offset), flags, text);
    p->setPen(colour);
    p->drawText(box, flags, text);
}

} // namespace

AnimalListModel::AnimalListModel(QObject* parent) : QAbstractListModel(parent) {}

QImage AnimalListModel::decodeThumbnail(const QByteArray& bytes)
{
    // Thumbnails are stored as BMP: naming the format spares probing every
    // image reader, which costs more than the decoding itself.
    QImage img = QImage::fromData(bytes, "BMP");
    if (img.isNull())
        img = QImage::fromData(bytes);
    return img;
}

QImage AnimalListModel::fitThumbnail(const QImage& picture)
{
    if (picture.isNull() || picture.width() == 0)
        return QImage();
    return picture.scaled(45, 45, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void AnimalListModel::setRows(const QVector<AnimalRow>& rows, const QImage& silhouette)
{
    beginResetModel();
    m_rows = rows;
    m_thumbnails.clear();
    m_thumbnails.reserve(rows.size());
    const QImage fallback = fitThumbnail(silhouette);
    for (const AnimalRow& r : rows) {
        const auto hit = r.isHeader() ? m_cache.constEnd() : m_cache.constFind(r.key);
        m_thumbnails.append(hit == m_cache.constEnd() ? fallback : hit->image);
    }
    endResetModel();
}

void AnimalListModel::loadThumbnails(Connection& connection)
{
    QHash<int, CachedThumbnail> cache;
    connection.forEachRow(animalThumbnailSql(), [this, &cache](const QVariantList& row) {
        const int id = row.at(0).toInt();
        const QByteArray bytes = row.at(1).toByteArray();
        const size_t hash = qHash(bytes);
        const auto hit = m_cache.constFind(id);
        QImage image;
        if (hit != m_cache.constEnd() && hit->hash == hash && hit->size == bytes.size())
            image = hit->image;
        else
            image = fitThumbnail(decodeThumbnail(bytes));
        if (!image.isNull())
            cache.insert(id, {hash, bytes.size(), image});
    });
    m_cache = cache;
}

int AnimalListModel::keyAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).key : 0;
}

int AnimalListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant AnimalListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const AnimalRow& r = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return r.fields.value(0);
    case KeyRole:
        return r.key;
    case FieldsRole:
        return r.fields;
    case ThumbnailRole:
        return m_thumbnails.at(index.row());
    case RowStringRole:
        return r.rowString();
    default:
        return QVariant();
    }
}

QSize AnimalListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), kRowHeight);
}

void AnimalListDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QRect cell = option.rect;
    const bool header = index.data(AnimalListModel::KeyRole).toInt() < 1;
    const QStringList fields = index.data(AnimalListModel::FieldsRole).toStringList();
    p->save();
    p->fillRect(cell, kListColour);
    QFont font(QStringLiteral("Arial"));
    if (header) {
        p->setPen(QColor(230, 230, 230));
        for (int y = 10; y <= 50; y += 2)
            p->drawLine(cell.left() - 5, cell.top() + y, cell.right(), cell.top() + y);
        font.setPointSize(12);
        font.setBold(true);
        p->setFont(font);
        const QRect box(cell.left(), cell.top() + 22, cell.width(), cell.height() - 22);
        drawShadowedText(p, box.translated(0, -10), fields.value(0), QColor(220, 220, 220),
                         QColor(120, 120, 120), Qt::AlignHCenter | Qt::AlignTop, 2);
        p->restore();
        return;
    }
    const bool selected = option.state & QStyle::State_Selected;
    QColor background = kListColour;
    if (selected) {
        const QRect r = cell.adjusted(3, 2, -3, -2);
        p->setPen(QColor(167, 191, 233));
        p->setBrush(QColor(231, 236, 248));
        p->drawRect(r.adjusted(0, 0, -1, -1));
        background = QColor(231, 236, 248);
    }
    // The picture box with its three-pixel shadow, outermost lightest.
    const QRect box(cell.left() + (selected ? 6 : 4), cell.top() + 5, 49, 49);
    for (int i = 0; i < 3; ++i) {
        const QColor shade = shadeColour(background, -120 + 40 * i);
        p->setPen(shade);
        p->drawLine(box.right() + 1 + i, box.top() + 1 + i, box.right() + 1 + i,
                    box.bottom() + 1 + i);
        p->drawLine(box.left() + 1 + i, box.bottom() + 1 + i, box.right() + 1 + i,
                    box.bottom() + 1 + i);
    }
    p->fillRect(box, Qt::white);
    const QImage thumb = index.data(AnimalListModel::ThumbnailRole).value<QImage>();
    if (!thumb.isNull())
        p->drawImage(box.left() + (49 - thumb.width()) / 2, box.top() + (49 - thumb.height()) / 2,
                     thumb);
    p->setPen(QColor(230, 230, 225));
    p->setBrush(Qt::NoBrush);
    p->drawRect(box.adjusted(0, 0, -1, -1));

    const QColor shadow = shadeColour(kListColour, -30);
    const int left = cell.left() + 62;
    const int width = cell.width() - 62 - 4;
    font.setBold(true);
    font.setPointSize(9);
    p->setFont(font);
    drawShadowedText(p, QRect(left, cell.top() + 9, width, 16), fields.value(0), shadow, kText,
                     Qt::AlignLeft | Qt::AlignVCenter, 1);
    font.setBold(false);
    font.setPointSize(8);
    p->setFont(font);
    drawShadowedText(p, QRect(left, cell.top() + 23, width, 16), fields.value(1), shadow, kText,
                     Qt::AlignLeft | Qt::AlignVCenter, 1);
    drawShadowedText(p, QRect(left, cell.top() + 40, width, 12), fields.value(2), shadow, kText,
                     Qt::AlignLeft | Qt::AlignVCenter, 1);
    p->restore();
}

} // namespace tav
