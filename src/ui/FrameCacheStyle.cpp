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

constexpr int kFrameCacheBytes = 4 * 1024 * 1024;

// What every kept picture depends on besides its own options.
QString commonKey(const QStyleOption& option, const QPainter& painter, qreal ratio)
{
    return QString::number(option.rect.width()) + QLatin1Char('x') +
           QString::number(option.rect.height()) + QLatin1Char('@') + QString::number(ratio) +
           QLatin1Char('s') + QString::number(uint(option.state)) + QLatin1Char('d') +
           QString::number(int(option.direction)) + QLatin1Char('p') +
           QString::number(option.palette.cacheKey()) + QLatin1Char('h') +
           QString::number(uint(painter.renderHints()));
}

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

bool FrameCacheStyle::copyable(const QStyleOption* option, const QPainter* painter)
{
    // Only what a copy draws the same: a plain move on an opaque painter,
    // solid colours, a reasonable size.
    return option && painter && painter->device() &&
           painter->transform().type() <= QTransform::TxTranslate &&
           qFuzzyCompare(painter->opacity(), 1.0) && !option->rect.isEmpty() &&
           option->rect.width() <= 2000 && option->rect.height() <= 400 &&
           option->palette.base().style() == Qt::SolidPattern &&
           option->palette.window().style() == Qt::SolidPattern &&
           option->palette.windowText().style() == Qt::SolidPattern;
}

void FrameCacheStyle::drawCopy(const QString& key, const QStyleOption* option, QPainter* painter,
                               const std::function<void(QPainter*)>& draw) const
{
    if (const QPixmap* cached = m_frames.object(key)) {
        painter->drawPixmap(option->rect.topLeft(), *cached);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    QPixmap picture(
        QSize(qCeil(option->rect.width() * ratio), qCeil(option->rect.height() * ratio)));
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.setRenderHints(painter->renderHints());
        draw(&p);
    }
    painter->drawPixmap(option->rect.topLeft(), picture);
    const qint64 bytes = qint64(picture.width()) * picture.height() * 4;
    m_frames.insert(key, new QPixmap(picture), int(std::min<qint64>(bytes, kFrameCacheBytes)));
}

void FrameCacheStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element != PE_PanelLineEdit || !frame || !copyable(option, painter)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QString key = QStringLiteral("edit:") +
                        commonKey(*option, *painter, painter->device()->devicePixelRatioF()) +
                        QLatin1Char('l') + QString::number(frame->lineWidth) + QLatin1Char('m') +
                        QString::number(frame->midLineWidth) + QLatin1Char('f') +
                        QString::number(uint(frame->features)) + QLatin1Char('k') +
                        QString::number(int(frame->frameShape));
    drawCopy(key, option, painter, [&](QPainter* p) {
        QStyleOptionFrame moved(*frame);
        moved.rect = QRect(QPoint(0, 0), option->rect.size());
        QProxyStyle::drawPrimitive(element, &moved, p, widget);
    });
}

} // namespace tav
