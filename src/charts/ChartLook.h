#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QChart;
class QWidget;

namespace tav {

// Gradient background (128,128,255)->(223,223,255), no legend, the booklet's axis look.
void applyChartLook(QChart* chart);
// The reports place a chart's picture across a page's printable width
// (about 179 mm): the pixel size a text of the picture needs to read at
// least kPrintedTextPoints there.
constexpr double kPrintedTextPoints = 8.5;
constexpr double kPrintedChartWidthMm = 179;
int printedTextPixels(int pictureWidth, double paperWidthMm = kPrintedChartWidthMm);
// Enlarges the axes' labels and titles and the chart's title so that they
// read at least kPrintedTextPoints once the picture of that width is
// printed; texts already larger are kept. Done before the axes are
// labelled: how many labels fit depends on their size.
void applyPrintedTextSize(QChart* chart, int pictureWidth,
                          double paperWidthMm = kPrintedChartWidthMm);
// Renders the chart alone at the given size (for JPEG/BMP/PDF outputs).
QImage renderChart(QChart* chart, const QSize& size);
// "SaveChartAsJpeg": proposes the file name, asks through the FileDialog seam, writes the JPEG
// (temporary name + rename); returns false with a French message on failure.
bool saveChartAsJpeg(QWidget* parent, QChart* chart, const QString& proposedName);

} // namespace tav
