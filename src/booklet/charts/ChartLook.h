#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QChart;
class QWidget;

namespace tav {

// Gradient background (128,128,255)->(223,223,255), no legend, the booklet's axis look.
void applyChartLook(QChart* chart);
// Renders the chart alone at the given size (for JPEG/BMP/PDF outputs).
QImage renderChart(QChart* chart, const QSize& size);
// "SaveChartAsJpeg": proposes the file name, asks through the FileDialog seam, writes the JPEG
// (temporary name + rename); returns false with a French message on failure.
bool saveChartAsJpeg(QWidget* parent, QChart* chart, const QString& proposedName);

} // namespace tav
