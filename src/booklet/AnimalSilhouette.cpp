#include "booklet/AnimalSilhouette.h"

#include <QPainter>

namespace tav {

QImage animalSilhouette()
{
    QImage img(150, 150, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 200, 220));
    p.drawEllipse(QPointF(75, 95), 32, 27);
    p.drawEllipse(QPointF(37, 62), 13, 17);
    p.drawEllipse(QPointF(60, 40), 13, 18);
    p.drawEllipse(QPointF(90, 40), 13, 18);
    p.drawEllipse(QPointF(113, 62), 13, 17);
    return img;
}

} // namespace tav
