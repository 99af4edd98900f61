#include "ui/FrameCacheStyle.h"

#include <QApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtMath>

#include <algorithm>

namespace tav {

namespace {

constexpr int kFrameCacheBytes = 2 * 1024 * 1024;

} // namespace

FrameCacheStyle::FrameCacheStyle(QStyle* base) : QProxyStyle(base)
{
    m_frames.setMaxCost(kFrameCacheBytes);
}

void FrameCacheStyle::install()
{
    if (qobject_cast<FrameCacheStyle*>(QApplication::style()))
        return;
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    if (base)
        QApplication::setStyle(new FrameCacheStyle(base));
}

void FrameCacheStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    // Only what a copy draws the same: a plain move on the painter, solid
    // colours, a frame of a reasonable size.
    if (element != PE_PanelLineEdit || !frame || !painter || !painter->device() ||
        painter->transform().type() > QTransform::TxTranslate || option->rect.isEmpty() ||
        option->rect.width() > 2000 || option->rect.height() > 200 ||
        option->palette.base().style() != Qt::SolidPattern ||
        option->palette.window().style() != Qt::SolidPattern) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QString key =
        QString::number(int(element)) + QLatin1Char(':') + QString::number(option->rect.width()) +
        QLatin1Char('x') + QString::number(option->rect.height()) + QLatin1Char('@') +
        QString::number(ratio) + QLatin1Char('s') + QString::number(uint(option->state)) +
        QLatin1Char('d') + QString::number(int(option->direction)) + QLatin1Char('p') +
        QString::number(option->palette.cacheKey()) + QLatin1Char('l') +
        QString::number(frame->lineWidth) + QLatin1Char('m') +
        QString::number(frame->midLineWidth) + QLatin1Char('f') +
        QString::number(uint(frame->features)) + QLatin1Char('h') +
        QString::number(int(frame->frameShape));
    if (const QPixmap* cached = m_frames.object(key)) {
        painter->drawPixmap(option->rect.topLeft(), *cached);
        return;
    }
    QPixmap picture(
        QSize(qCeil(option->rect.width() * ratio), qCeil(option->rect.height() * ratio)));
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.setRenderHints(painter->renderHints());
        QStyleOptionFrame moved(*frame);
        moved.rect = QRect(QPoint(0, 0), option->rect.size());
        QProxyStyle::drawPrimitive(element, &moved, &p, widget);
    }
    painter->drawPixmap(option->rect.topLeft(), picture);
    const qint64 bytes = qint64(picture.width()) * picture.height() * 4;
    m_frames.insert(key, new QPixmap(picture), int(std::min<qint64>(bytes, kFrameCacheBytes)));
}

} // namespace tav
