#include "charts/MeasureChart.h"

#include "charts/ChartLook.h"
#include "core/DateRoutines.h"
#include "core/FlagColours.h"
#include "db/DataSet.h"
#include "db/MeasureStore.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QFontMetrics>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace tav {

namespace {

// Room around the first and last positions, in positions.
constexpr qreal kEdge = 0.5;
// What the vertical axis, its labels and the margins take of the width.
constexpr qreal kOutsidePlot = 90;
// Room between two labels.
constexpr int kLabelGap = 16;
// Up to this many labels every width is measured; beyond, a sample.
constexpr int kMeasuredLabels = 128;

QLineSeries* lineAt(QChart* chart, int role)
{
    const auto all = chart->series();
    return role < all.size() ? qobject_cast<QLineSeries*>(all.at(role)) : nullptr;
}

// Every how many positions a label is shown, positions being perPosition
// pixels apart: 1 while neighbouring labels fit side by side, else the
// smallest step at which the widest labels no longer overlap.
int measureLabelStep(const MeasureCurve& curve, const QFont& font, qreal perPosition)
{
    const int count = int(curve.points.size());
    if (count < 2)
        return 1;
    // Each label is centred on its position: two neighbours overlap when
    // their half widths and the gap exceed the room between positions.
    const QFontMetrics metrics(font);
    const auto widthOf = [&metrics, &curve](int i) {
        return metrics.horizontalAdvance(curve.points.at(i).label);
    };
    if (count <= kMeasuredLabels) {
        bool fit = true;
        int previous = widthOf(0);
        int widest = previous;
        for (int i = 1; i < count; ++i) {
            const int w = widthOf(i);
            fit = fit && (previous + w) / 2.0 + kLabelGap <= perPosition;
            widest = std::max(widest, w);
            previous = w;
        }
        if (fit)
            return 1;
        return std::max(1, int(std::ceil((widest + kLabelGap) / perPosition)));
    }
    // Labels of one long curve have about the same width: a sample tells it.
    int widest = 0;
    const int sampleStep = std::max(1, count / kMeasuredLabels);
    for (int i = 0; i < count; i += sampleStep)
        widest = std::max(widest, widthOf(i));
    widest = std::max(widest, widthOf(count - 1));
    // Only every step-th position is labelled, so that no label overlaps:
    // the axis stays readable with thousands of points.
    return std::max(1, int(std::ceil((widest + kLabelGap) / perPosition)));
}

} // namespace

void setUpMeasureChart(QChart* chart)
{
    if (chart->series().size() >= MeasureSeriesCount)
        return;
    auto* x = new QCategoryAxis(chart);
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    auto* y = new QValueAxis(chart);
    y->setLabelFormat(QStringLiteral("%.1f"));
    // Values read with the user's decimal separator.
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale());
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    const char* titles[MeasureSeriesCount] = {"",    "",    "min",       "min",
                                              "max", "max", "limit_min", "limit_max"};
    for (int role = 0; role < MeasureSeriesCount; ++role) {
        auto* series = new QLineSeries(chart);
        series->setName(QString::fromLatin1(titles[role]));
        series->setPointsVisible(false);
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    }
    lineAt(chart, CurveSeries)->setPen(QPen(QColor(255, 0, 0), 3));
    lineAt(chart, HighlightSeries)->setPen(QPen(QColor(0, 255, 0), 1));
    for (int role : {LimitMinSeries, LimitMaxSeries})
        lineAt(chart, role)->setPen(Qt::NoPen);
    applyChartLook(chart);
}

void drawMeasureCurve(QChart* chart, const MeasureCurve& curve)
{
    setUpMeasureChart(chart);
    for (int role = 0; role < MeasureSeriesCount; ++role) {
        QLineSeries* series = lineAt(chart, role);
        // The curve and the range markers are active, min and max are not.
        const bool active = role == CurveSeries || role == HighlightSeries ||
                            role == LimitMinSeries || role == LimitMaxSeries;
        if (series->isVisible() != active)
            series->setVisible(active);
        // The two curve series get all their points at once below.
        if (series->count() > 0 && (!curve.showsPoints() || role > HighlightSeries))
            series->clear();
    }
    auto* x = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    // A single measure has no line to draw: it shows as a dot.
    const bool single = curve.points.size() == 1 && curve.showsPoints();
    lineAt(chart, CurveSeries)->setPointsVisible(single);
    lineAt(chart, CurveSeries)->setMarkerSize(single ? 9 : 5);

    if (!curve.showsPoints()) {
        const QStringList old = x->categoriesLabels();
        for (const QString& label : old)
            x->remove(label);
        lineAt(chart, LimitMinSeries)->append({QPointF(0, 0), QPointF(1, 0)});
        lineAt(chart, LimitMaxSeries)->append(QPointF(0, 1));
        x->append(QStringLiteral("0"), 0);
        x->append(QStringLiteral("1"), 1);
        x->setRange(0, 1);
        y->setRange(0, 1);
        return;
    }
    // The ranges first: every change of range lays out every point again.
    labelMeasureAxis(chart, curve);
    if (single)
        y->setRange(curve.low.value_or(0.0), curve.high.value_or(1.0));
    else
        y->setRange(curve.rangeMin(), curve.rangeMax());
    if (curve.low)
        lineAt(chart, LimitMinSeries)->append(QPointF(0, *curve.low));
    if (curve.high)
        lineAt(chart, LimitMaxSeries)->append(QPointF(0, *curve.high));
    QList<QPointF> points;
    points.reserve(curve.points.size());
    for (int i = 0; i < curve.points.size(); ++i)
        points.append(QPointF(i, curve.points.at(i).value));
    lineAt(chart, CurveSeries)->replace(points);
    lineAt(chart, HighlightSeries)->replace(points);
}

namespace {

QString markName(WeightBand::Flag side)
{
    return side == WeightBand::Flag::Above ? QStringLiteral("Au-dessus du poids cible")
                                           : QStringLiteral("En dessous du poids cible");
}

// Marks each weighing outside the band with a dot of the flag's colour,
// over the curve, so a weighing to watch stands out on paper as on screen.
void markWeighingsOutside(QChart* chart, const MeasureCurve& curve, const WeightBand& band,
                          QAbstractAxis* x, QAbstractAxis* y)
{
    for (const WeightBand::Flag side : {WeightBand::Flag::Above, WeightBand::Flag::Below}) {
        QList<QPointF> points;
        for (int i = 0; i < curve.points.size(); ++i) {
            if (band.flag(curve.points.at(i).value) == side)
                points.append(QPointF(i, curve.points.at(i).value));
        }
        QScatterSeries* marks = weightMarkSeries(chart, side);
        if (!marks) {
            marks = new QScatterSeries(chart);
            marks->setName(markName(side));
            marks->setMarkerShape(QScatterSeries::MarkerShapeCircle);
            marks->setMarkerSize(9);
            marks->setColor(side == WeightBand::Flag::Above ? aboveRangeColour()
                                                            : belowRangeColour());
            marks->setBorderColor(Qt::white);
            chart->addSeries(marks);
            marks->attachAxis(x);
            marks->attachAxis(y);
        }
        marks->replace(points);
        marks->setVisible(!points.isEmpty());
    }
}

} // namespace

QColor weightBandColour()
{
    return QColor(0, 160, 0, 45);
}

QAreaSeries* weightBandSeries(QChart* chart)
{
    const auto all = chart->series();
    for (QAbstractSeries* s : all) {
        if (auto* area = qobject_cast<QAreaSeries*>(s))
            return area;
    }
    return nullptr;
}

QScatterSeries* weightMarkSeries(QChart* chart, WeightBand::Flag side)
{
    const QString name = markName(side);
    const auto all = chart->series();
    for (QAbstractSeries* s : all) {
        if (auto* marks = qobject_cast<QScatterSeries*>(s); marks && marks->name() == name)
            return marks;
    }
    return nullptr;
}

void drawWeightBand(QChart* chart, const MeasureCurve& curve, const WeightBand& band)
{
    QAreaSeries* area = weightBandSeries(chart);
    const bool shown = !band.isEmpty() && !curve.isEmpty();
    if (!shown) {
        if (area)
            area->setVisible(false);
        for (const WeightBand::Flag side : {WeightBand::Flag::Above, WeightBand::Flag::Below}) {
            if (QScatterSeries* marks = weightMarkSeries(chart, side))
                marks->setVisible(false);
        }
        return;
    }
    auto* x = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    if (!x || !y)
        return;
    if (!area) {
        auto* upper = new QLineSeries(chart);
        auto* lower = new QLineSeries(chart);
        area = new QAreaSeries(upper, lower);
        area->setName(QStringLiteral("Poids cible"));
        area->setPen(Qt::NoPen);
        area->setBrush(weightBandColour());
        chart->addSeries(area);
        area->attachAxis(x);
        area->attachAxis(y);
    }
    // Both ends stay in sight, however far from the weighings.
    const double low = std::min(curve.rangeMin(), band.min.value_or(curve.rangeMin()));
    const double high = std::max(curve.rangeMax(), band.max.value_or(curve.rangeMax()));
    y->setRange(low, high);
    const double bottom = band.min.value_or(low);
    const double top = band.max.value_or(high);
    const qreal left = -kEdge;
    const qreal right = curve.points.size() - 1 + kEdge;
    area->upperSeries()->replace({QPointF(left, top), QPointF(right, top)});
    area->lowerSeries()->replace({QPointF(left, bottom), QPointF(right, bottom)});
    area->setVisible(true);
    markWeighingsOutside(chart, curve, band, x, y);
}

void labelMeasureAxis(QChart* chart, const MeasureCurve& curve)
{
    auto* x = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    if (!x || !curve.showsPoints())
        return;
    const QStringList old = x->categoriesLabels();
    for (const QString& label : old)
        x->remove(label);
    const int count = int(curve.points.size());
    const qreal width = chart->size().width() > kOutsidePlot * 2 ? chart->size().width() : 600;
    const qreal perPosition = (width - kOutsidePlot) / (count - 1 + 2 * kEdge);
    const int step = measureLabelStep(curve, x->labelsFont(), perPosition);
    for (int i = 0; i < count; i += step)
        x->append(curve.points.at(i).label, i);
    x->setRange(-kEdge, count - 1 + kEdge);
}

QString measureChartTitle(MeasureKind kind)
{
    return kind == MeasureKind::Size ? QStringLiteral("Evolution de la taille")
                                     : QStringLiteral("Evolution du poids");
}

QString measureCaption(MeasureKind kind)
{
    return kind == MeasureKind::Size ? QStringLiteral("T  A  I  L  L  E")
                                     : QStringLiteral("P  O  I  D  S");
}

double measureHeadroom(MeasureKind kind)
{
    return kind == MeasureKind::Size ? kSizeHeadroom : kWeightHeadroom;
}

QString measureValueText(MeasureKind kind, double value)
{
    return kind == MeasureKind::Size ? QLocale().toString(value, 'f', 2) + QStringLiteral(" cm")
                                     : QLocale().toString(value, 'f', 3) + QStringLiteral(" kg");
}

QString measurePointText(MeasureKind kind, const CurvePoint& point)
{
    return formatDateText(point.date) + QString::fromUtf8(" — ") +
           measureValueText(kind, point.value);
}

QVector<Measure> measuresOf(const DataSet& rows, MeasureKind kind)
{
    QVector<Measure> out;
    if (!rows.isOpen())
        return out;
    const int date = rows.fieldIndex(measureColumns(kind).date);
    const int value = rows.fieldIndex(measureColumns(kind).value);
    const int id = rows.fieldIndex(QStringLiteral("Id"));
    if (date < 0 || value < 0)
        return out;
    out.reserve(rows.recordCount());
    for (int r = 0; r < rows.recordCount(); ++r) {
        const QVariant v = rows.valueAt(r, value);
        if (!v.isValid() || v.isNull())
            continue;
        const QVariant d = rows.valueAt(r, date);
        out.append({d.typeId() == QMetaType::QDate ? d.toDate()
                                                   : QDate::fromString(d.toString(), Qt::ISODate),
                    v.toDouble(), id >= 0 ? rows.valueAt(r, id).toLongLong() : -1});
    }
    return out;
}

} // namespace tav
