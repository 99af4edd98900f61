#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QChart;
class QWidget;

namespace tav {
void applyChartLook(QChart* chart); // gradient background (128,128,255)->(223,223,255), no legend
QImage renderChart(QChart* chart, const QSize& size);
bool saveChartAsJpeg(QWidget* parent, QChart* chart, const QString& proposedName);
} // namespace tav
