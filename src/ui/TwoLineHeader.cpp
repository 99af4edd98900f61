#include "ui/TwoLineHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>

namespace tav {

TwoLineHeader::TwoLineHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    // As a table view's own header behaves.
    setSectionsClickable(true);
}

int TwoLineHeader::margins() const
{
    return 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
}

int TwoLineHeader::titleWidth(int logicalIndex) const
{
    if (!model())
        return margins();
    const QStringList lines = titleLines(logicalIndex);
    const QFontMetrics metrics = fontMetrics();
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest + margins();
}

QStringList TwoLineHeader::titleLines(int logicalIndex) const
{
    const QString title =
        model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    const QFontMetrics metrics = fontMetrics();
    QStringList best{title};
    int bestWidth = metrics.horizontalAdvance(title);
    // Broken at the space that makes the narrower pair of lines.
    for (qsizetype i = title.indexOf(QLatin1Char(' ')); i > 0;
         i = title.indexOf(QLatin1Char(' '), i + 1)) {
        const QString first = title.left(i);
        const QString second = title.mid(i + 1);
        const int width =
            std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (width < bestWidth) {
            bestWidth = width;
            best = QStringList{first, second};
        }
    }
    return best;
}

QSize TwoLineHeader::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    size.setHeight(std::max(size.height(), 2 * fontMetrics().lineSpacing() + margins()));
    return size;
}

void TwoLineHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.text.clear();
    painter->save();
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    // Each line elides on its own when even two lines are too narrow.
    const QRect inside = rect.adjusted(margins() / 2, 0, -margins() / 2, 0);
    const QFontMetrics metrics = fontMetrics();
    QStringList lines = titleLines(logicalIndex);
    for (QString& line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, inside.width());
    painter->setPen(option.palette.color(QPalette::ButtonText));
    painter->setClipRect(rect);
    painter->drawText(inside, Qt::AlignCenter, lines.join(QLatin1Char('\n')));
    painter->restore();
}

} // namespace tav
