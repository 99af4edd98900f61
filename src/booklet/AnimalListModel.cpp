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

namespace {

quint32 le32(const uchar* p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 le16(const uchar* p)
{
    return quint16(p[0] | p[1] << 8);
}

// Uncompressed 24- and 32-bit BMP, the form thumbnails are stored in, read
// directly: the general image reader costs several times the decoding.
// Anything else, or anything inconsistent, gives a null image.
QImage readPlainBmp(const QByteArray& bytes)
{
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < 54 || d[0] != 'B' || d[1] != 'M' || le32(d + 14) < 40)
        return QImage();
    const quint32 offset = le32(d + 10);
    const auto width = qint32(le32(d + 18));
    const auto rawHeight = qint32(le32(d + 22));
    const int bpp = le16(d + 28);
    const quint32 compression = le32(d + 30);
    if (width <= 0 || width > 4096 || rawHeight == 0 || rawHeight < -4096 || rawHeight > 4096 ||
        le16(d + 26) != 1 || (bpp != 24 && bpp != 32) || compression != 0)
        return QImage();
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const qsizetype stride = ((qsizetype(width) * bpp / 8) + 3) & ~qsizetype(3);
    if (offset > quint64(size) || quint64(size) - offset < quint64(stride) * quint64(height))
        return QImage();
    QImage img(width, height, QImage::Format_RGB32);
    const int step = bpp / 8;
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        const uchar* src = d + offset + stride * (rawHeight > 0 ? height - 1 - y : y);
        auto* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x, src += step)
            dst[x] = qRgb(src[2], src[1], src[0]);
    }
    return img;
}

} // namespace

QImage AnimalListModel::decodeThumbnail(const QByteArray& bytes)
{
    QImage img = readPlainBmp(bytes);
    if (img.isNull())
        img = QImage::fromData(bytes, "BMP");
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
