#include "booklet/AnimalListModel.h"

#include "core/TextRoutines.h"
#include "db/DbError.h"
#include "media/Thumbnail.h"

#include <QPainter>
#include <QPixmap>
#include <QtMath>

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

// About five hundred 45 x 45 thumbnails: many screens of rows.
constexpr int kThumbnailCacheBytes = 4 * 1024 * 1024;

AnimalListModel::AnimalListModel(QObject* parent) : QAbstractListModel(parent)
{
    m_thumbnails.setMaxCost(kThumbnailCacheBytes);
}

QImage AnimalListModel::decodeThumbnail(const QByteArray& bytes)
{
    return decodeStoredThumbnail(bytes);
}

QImage AnimalListModel::fitThumbnail(const QImage& picture)
{
    if (picture.isNull() || picture.width() == 0)
        return QImage();
    return picture.scaled(45, 45, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void AnimalListModel::setSilhouette(const QImage& silhouette)
{
    m_silhouette = fitThumbnail(silhouette);
}

void AnimalListModel::setAnimals(const QVector<AnimalListEntry>& animals, int animalSort,
                                 bool showDeparted)
{
    beginResetModel();
    m_animals = animals;
    m_sort = animalSort;
    m_showDeparted = showDeparted;
    m_thumbnails.clear();
    m_rows = buildAnimalRows(m_animals, m_sort, m_showDeparted, -1).rows;
    endResetModel();
}

void AnimalListModel::removeAnimal(int animalId)
{
    const auto it = std::find_if(m_animals.begin(), m_animals.end(),
                                 [animalId](const AnimalListEntry& a) { return a.id == animalId; });
    m_thumbnails.remove(animalId);
    if (it == m_animals.end())
        return;
    m_animals.erase(it);
    rebuildRows();
}

void AnimalListModel::putAnimal(const AnimalListEntry& animal)
{
    // Out of its old place first, then into its new one: each step changes
    // a row or two, where one step would replace every row in between.
    removeAnimal(animal.id);
    const auto at = std::lower_bound(m_animals.begin(), m_animals.end(), animal,
                                     [this](const AnimalListEntry& a, const AnimalListEntry& b) {
                                         return AnimalListStore::before(a, b, m_sort);
                                     });
    m_animals.insert(at, animal);
    rebuildRows();
}

void AnimalListModel::rebuildRows()
{
    applyRows(buildAnimalRows(m_animals, m_sort, m_showDeparted, -1).rows);
}

void AnimalListModel::applyRows(const QVector<AnimalRow>& rows)
{
    const int oldCount = int(m_rows.size());
    const int newCount = int(rows.size());
    int head = 0;
    while (head < oldCount && head < newCount && m_rows.at(head) == rows.at(head))
        ++head;
    int tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           m_rows.at(oldCount - 1 - tail) == rows.at(newCount - 1 - tail))
        ++tail;
    const int removed = oldCount - head - tail;
    const int inserted = newCount - head - tail;
    if (removed > 0) {
        beginRemoveRows(QModelIndex(), head, head + removed - 1);
        m_rows.remove(head, removed);
        endRemoveRows();
    }
    if (inserted > 0) {
        beginInsertRows(QModelIndex(), head, head + inserted - 1);
        m_rows.insert(head, inserted, AnimalRow());
        std::copy(rows.begin() + head, rows.begin() + head + inserted, m_rows.begin() + head);
        endInsertRows();
    }
}

int AnimalListModel::rowOfKey(int key) const
{
    if (key < 1)
        return -1;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).key == key)
            return row;
    }
    return -1;
}

void AnimalListModel::setCurrentKey(int key)
{
    if (key == m_currentKey)
        return;
    const int before = rowOfKey(m_currentKey);
    m_currentKey = key;
    const int after = rowOfKey(key);
    for (int row : {before, after}) {
        if (row >= 0)
            emit dataChanged(index(row), index(row), {CurrentRole});
    }
}

QImage AnimalListModel::thumbnailOf(int key) const
{
    if (key < 1 || !m_pictures)
        return m_silhouette;
    if (const QImage* cached = m_thumbnails.object(key))
        return cached->isNull() ? m_silhouette : *cached;
    ++m_thumbnailsRead;
    QImage image;
    try {
        image = fitThumbnail(decodeThumbnail(m_pictures(key)));
    } catch (const DbError&) {
        // A picture that cannot be read shows as no picture; the list stays.
    }
    m_thumbnails.insert(key, new QImage(image), int(std::max<qsizetype>(image.sizeInBytes(), 64)));
    return image.isNull() ? m_silhouette : image;
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
        return thumbnailOf(r.key);
    case CurrentRole:
        return !r.isHeader() && r.key == m_currentKey;
    case RowStringRole:
        return r.rowString();
    default:
        return QVariant();
    }
}

QFont AnimalListDelegate::nameFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(9);
    return font;
}

QFont AnimalListDelegate::lineFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    return font;
}

int AnimalListDelegate::lineHeight(const QFont& font)
{
    // Capitals with accents ("É") rise above the plain ascent in some
    // fonts; the box holds them and the descenders, plus the shadow.
    const QFontMetrics fm(font);
    const QRect ink = fm.boundingRect(QStringLiteral("ÉÊÀÂÇÔÜgjpqy"));
    return std::max(fm.height(), ink.height()) + 1;
}

QVector<QRect> AnimalListDelegate::textBoxes(const QRect& cell, const QFont& nameFont,
                                             const QFont& lineFont)
{
    const int left = cell.left() + 62;
    const int width = cell.width() - 62 - 4;
    const int first = lineHeight(nameFont);
    const int other = lineHeight(lineFont);
    // The three lines stacked and centred in the row, never above its top.
    int top = cell.top() + std::max(1, (cell.height() - first - 2 * other) / 2);
    QVector<QRect> boxes;
    boxes.append(QRect(left, top, width, first));
    top += first;
    boxes.append(QRect(left, top, width, other));
    top += other;
    boxes.append(QRect(left, top, width, other));
    return boxes;
}

QSize AnimalListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), kRowHeight);
}

// Laying the texts out costs most of a row's painting, and moving through
// the list scrolls every visible row each step: rows are drawn once into a
// picture and then copied. The key holds everything a row's look depends
// on, so a changed row is drawn again.
void AnimalListDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QRect cell = option.rect;
    if (cell.isEmpty())
        return;
    const bool header = index.data(AnimalListModel::KeyRole).toInt() < 1;
    const QStringList fields = index.data(AnimalListModel::FieldsRole).toStringList();
    // The highlight follows the current animal, not the view's selection,
    // which a click that scrolls the view can leave on another row.
    const bool selected = !header && index.data(AnimalListModel::CurrentRole).toBool();
    const QImage thumb =
        header ? QImage() : index.data(AnimalListModel::ThumbnailRole).value<QImage>();
    const qreal ratio = p->device() ? p->device()->devicePixelRatioF() : 1.0;
    const QString key = QString::number(header) + QLatin1Char(selected ? '+' : '-') +
                        QString::number(cell.width()) + QLatin1Char('x') +
                        QString::number(cell.height()) + QLatin1Char('@') + QString::number(ratio) +
                        QLatin1Char('#') + QString::number(thumb.cacheKey()) + QLatin1Char('|') +
                        fields.join(QChar(0x1f));
    if (const QPixmap* row = m_rows.object(key)) {
        p->drawPixmap(cell.topLeft(), *row);
        return;
    }
    QPixmap row(QSize(qCeil(cell.width() * ratio), qCeil(cell.height() * ratio)));
    row.setDevicePixelRatio(ratio);
    {
        QPainter rp(&row);
        paintRow(&rp, QRect(QPoint(0, 0), cell.size()), header, fields, selected, thumb);
    }
    p->drawPixmap(cell.topLeft(), row);
    const qint64 bytes = qint64(row.width()) * row.height() * std::max(1, row.depth() / 8);
    m_rows.insert(key, new QPixmap(row), int(std::min<qint64>(bytes, m_rows.maxCost())));
}

void AnimalListDelegate::paintRow(QPainter* p, const QRect& cell, bool header,
                                  const QStringList& fields, bool selected,
                                  const QImage& thumb) const
{
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
    if (!thumb.isNull())
        p->drawImage(box.left() + (49 - thumb.width()) / 2, box.top() + (49 - thumb.height()) / 2,
                     thumb);
    p->setPen(QColor(230, 230, 225));
    p->setBrush(Qt::NoBrush);
    p->drawRect(box.adjusted(0, 0, -1, -1));

    const QColor shadow = shadeColour(kListColour, -30);
    // Measuring the fonts costs more than drawing a row: once per height.
    if (m_boxes.isEmpty() || m_boxesHeight != cell.height()) {
        m_nameFont = nameFont();
        m_lineFont = lineFont();
        m_boxes = textBoxes(QRect(0, 0, cell.width(), cell.height()), m_nameFont, m_lineFont);
        m_boxesHeight = cell.height();
    }
    for (int i = 0; i < 3; ++i) {
        const QRect box = m_boxes.at(i);
        const QRect placed(cell.left() + box.left(), cell.top() + box.top(), cell.width() - 66,
                           box.height());
        p->setFont(i == 0 ? m_nameFont : m_lineFont);
        drawShadowedText(p, placed, fields.value(i), shadow, kText,
                         Qt::AlignLeft | Qt::AlignVCenter, 1);
    }
    p->restore();
}

} // namespace tav
