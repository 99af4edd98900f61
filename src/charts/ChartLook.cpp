#include "charts/ChartLook.h"

#include "media/JpegFile.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAbstractAxis>
#include <QChart>
#include <QFileInfo>
#include <QFontInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace tav {

namespace {

const QColor kGradientTop(128, 128, 255);
const QColor kGradientBottom(223, 223, 255);
const QColor kAxisColour(100, 100, 255);

// A chart never shown has no size of its own: it is saved at this one.
constexpr QSize kDefaultPictureSize(800, 600);

} // namespace

void applyChartLook(QChart* chart)
{
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, kGradientTop);
    gradient.setColorAt(1, kGradientBottom);
    chart->setBackgroundBrush(gradient);
    chart->setBackgroundPen(QPen(kAxisColour));
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundPen(QPen(kAxisColour));
    chart->setPlotAreaBackgroundVisible(true);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    chart->setDropShadowEnabled(false);
    const auto axes = chart->axes();
    for (QAbstractAxis* axis : axes) {
        axis->setLinePen(QPen(kAxisColour));
        axis->setLabelsColor(Qt::black);
        axis->setGridLineColor(QColor(210, 210, 240));
    }
}

int printedTextPixels(int pictureWidth, double paperWidthMm)
{
    if (pictureWidth <= 0 || paperWidthMm <= 0)
        return 0;
    const double pointsPerPixel = paperWidthMm / 25.4 * 72.0 / pictureWidth;
    return int(std::ceil(kPrintedTextPoints / pointsPerPixel));
}

void applyPrintedTextSize(QChart* chart, int pictureWidth, double paperWidthMm)
{
    const int pixels = printedTextPixels(pictureWidth, paperWidthMm);
    const auto enlarged = [pixels](QFont font, double factor) {
        const int wanted = int(std::ceil(pixels * factor));
        if (QFontInfo(font).pixelSize() < wanted)
            font.setPixelSize(wanted);
        return font;
    };
    const auto axes = chart->axes();
    for (QAbstractAxis* axis : axes) {
        axis->setLabelsFont(enlarged(axis->labelsFont(), 1.0));
        axis->setTitleFont(enlarged(axis->titleFont(), 1.0));
    }
    chart->setTitleFont(enlarged(chart->titleFont(), 1.2));
}

QImage renderChart(QChart* chart, const QSize& size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (!chart || size.isEmpty())
        return picture;
    // The chart is laid out at the picture's size for the time of the
    // drawing, in a scene of its own when no view shows it.
    QGraphicsScene* ownScene = nullptr;
    if (!chart->scene()) {
        ownScene = new QGraphicsScene;
        ownScene->addItem(chart);
    }
    const QRectF before = chart->geometry();
    chart->setGeometry(QRectF(before.topLeft(), QSizeF(size)));
    if (chart->layout())
        chart->layout()->activate();
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        chart->scene()->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)),
                               chart->sceneBoundingRect());
    }
    chart->setGeometry(before);
    if (ownScene) {
        ownScene->removeItem(chart);
        delete ownScene;
    }
    return picture;
}

bool saveChartAsJpeg(QWidget* parent, QChart* chart, const QString& proposedName)
{
    QString path =
        FileDialog::getSaveFileName(parent, QStringLiteral("Enregistrer l'image sous ..."),
                                    proposedName, QStringLiteral("Image Jpeg|*.jpg"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".jpg");
    QSize size = chart->size().toSize();
    if (size.width() < 100 || size.height() < 100)
        size = kDefaultPictureSize;
    const QImage picture = renderChart(chart, size).convertToFormat(QImage::Format_RGB888);
    const JpegResult written = writeJpegFile(picture, path, 100);
    if (!written.ok) {
        MessageBox::error(parent, written.error);
        return false;
    }
    return true;
}

} // namespace tav
