#include "booklet/charts/ChartLook.h"

#include "ui/FileDialog.h"

#include <QChart>
#include <QFile>
#include <QGraphicsScene>
#include <QLegend>
#include <QLinearGradient>
#include <QPainter>

namespace tav {

void applyChartLook(QChart* chart)
{
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, QColor(128, 128, 255));
    gradient.setColorAt(1, QColor(223, 223, 255));
    chart->setBackgroundBrush(gradient);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->legend()->hide();
}

QImage renderChart(QChart* chart, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QGraphicsScene scene;
    const QSizeF before = chart->size();
    QGraphicsScene* owner = chart->scene();
    if (!owner)
        scene.addItem(chart);
    chart->resize(size);
    {
        QPainter painter(&image);
        chart->scene()->render(&painter, QRectF(QPointF(0, 0), size),
                               QRectF(chart->pos(), QSizeF(size)));
    }
    if (!owner)
        scene.removeItem(chart);
    chart->resize(before);
    return image;
}

bool saveChartAsJpeg(QWidget* parent, QChart* chart, const QString& proposedName)
{
    const QString path =
        FileDialog::getSaveFileName(parent, QStringLiteral("Enregistrer l'image sous ..."),
                                    proposedName, QStringLiteral("Image Jpeg|*.jpg"));
    if (path.isEmpty())
        return false;
    const QString temporary = path + QStringLiteral(".tmp");
    if (!renderChart(chart, QSize(800, 600)).save(temporary, "JPG", 100))
        return false;
    QFile::remove(path);
    return QFile::rename(temporary, path);
}

} // namespace tav
