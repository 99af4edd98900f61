#pragma once

#include "core/MeasureCurve.h"
#include "core/WeightBand.h"

#include <QColor>
#include <QString>
#include <QVector>

class QAreaSeries;
class QChart;
class QScatterSeries;

namespace tav {

class DataSet;

// The animal whose curve is drawn, as the curve needs it.
struct CurveAnimal
{
    qint64 id = -1;
    QString birthDate;  // "dd/mm/yyyy" as stored, possibly with blanks
    QString birthValue; // empty when none
    QString title;      // "Name ForeName"
    WeightBand band;    // the target weight, for the weight curve
};

// The eight series of a growth chart, in their order.
enum MeasureSeriesRole {
    CurveSeries = 0,     // the curve, red, 3 pixels wide
    HighlightSeries = 1, // the same points, a thin lime line over it
    MinSeries1 = 2,      // "min" and "max": inactive on growth charts
    MinSeries2 = 3,
    MaxSeries1 = 4,
    MaxSeries2 = 5,
    LimitMinSeries = 6, // invisible: holds the bottom of the range
    LimitMaxSeries = 7, // invisible: holds the top of the range
    MeasureSeriesCount = 8
};

// Gives an empty chart its eight series and its two axes, with the
// booklet's look. Does nothing to a chart that has them.
void setUpMeasureChart(QChart* chart);

// Draws the curve into a chart set up as above: the points one after the
// other at equally spaced labelled positions. An empty curve draws no line
// and a range of 0 to 1.
void drawMeasureCurve(QChart* chart, const MeasureCurve& curve);

// The target weight band: a shaded area between its ends across the whole
// curve, as the analyses shade their normal range. An open end reaches the
// edge of the drawn range; the range grows to show both ends. The area is
// added after the eight series, and only once a band is drawn, so that the
// roles keep their places; an empty band or curve hides it.
void drawWeightBand(QChart* chart, const MeasureCurve& curve, const WeightBand& band);
// The area of drawWeightBand(), or nullptr when the chart has none.
QAreaSeries* weightBandSeries(QChart* chart);
// The marks drawWeightBand() puts on the weighings above (or below) the
// band, in the colours the analyses flag their values with; nullptr while
// no band was drawn.
QScatterSeries* weightMarkSeries(QChart* chart, WeightBand::Flag side);
QColor weightBandColour();

// Labels the horizontal axis for the chart's width: every position while
// the labels fit, else every n-th one, the first always.
void labelMeasureAxis(QChart* chart, const MeasureCurve& curve);

// "Evolution du poids", "Evolution de la taille".
QString measureChartTitle(MeasureKind kind);
// "P  O  I  D  S", "T  A  I  L  L  E".
QString measureCaption(MeasureKind kind);
double measureHeadroom(MeasureKind kind);
// "12,400 kg", "48,50 cm", in the user's locale.
QString measureValueText(MeasureKind kind, double value);
// "12/03/2026 — 12,400 kg": what hovering a point shows.
QString measurePointText(MeasureKind kind, const CurvePoint& point);

// The measures of an open Weight or Size query, in its order; rows without
// a value are left out.
QVector<Measure> measuresOf(const DataSet& rows, MeasureKind kind);

} // namespace tav
