#include "charts/MeasureChartView.h"

#include "charts/ChartFileName.h"
#include "charts/ChartHint.h"
#include "charts/ChartLook.h"
#include "charts/MeasureChart.h"
#include "core/Clock.h"

#include <QChart>
#include <QCursor>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QToolTip>

namespace tav {

MeasureChartView::MeasureChartView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
}

void MeasureChartView::prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    // The view's own chart: one given through setChart() would leave the
    // view's first chart to nobody.
    QChart* chart = this->chart();
    setUpMeasureChart(chart);
    const auto all = chart->series();
    for (int role : {CurveSeries, HighlightSeries}) {
        auto* line = qobject_cast<QLineSeries*>(all.at(role));
        connect(line, &QLineSeries::hovered, this, &MeasureChartView::hover);
    }
    drawMeasureCurve(chart, m_curve);
    drawWeightBand(chart, m_curve, m_band);
}

void MeasureChartView::showCurve(const MeasureCurve& curve, const WeightBand& band)
{
    m_curve = curve;
    m_band = band;
    m_hoverText.clear();
    if (m_prepared) {
        drawMeasureCurve(chart(), m_curve);
        drawWeightBand(chart(), m_curve, m_band);
    } else
        prepare();
}

QString MeasureChartView::pointText(int index) const
{
    if (!m_curve.showsPoints() || index < 0 || index >= m_curve.points.size())
        return {};
    return measurePointText(m_kind, m_curve.points.at(index));
}

void MeasureChartView::hover(const QPointF& point, bool entering)
{
    // The series reports the place on the line: the nearest position is
    // the point meant.
    m_hoverText = entering ? pointText(qRound(point.x())) : QString();
    if (m_hoverText.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(QCursor::pos(), m_hoverText, this);
}

bool MeasureChartView::saveAsJpeg(const QString& dataFolder, const QString& animalTitle)
{
    // The page's chart has no title: a holder drawn alike carries it.
    QChart holder;
    holder.resize(chart()->size());
    drawMeasureCurve(&holder, m_curve);
    const QString title = measureChartTitle(m_kind);
    holder.setTitle(title);
    return saveChartAsJpeg(this, &holder,
                           chartFileName(dataFolder, title, animalTitle, Clock::today()));
}

QImage MeasureChartView::picture(const QSize& size) const
{
    QChart holder;
    holder.resize(size);
    setUpMeasureChart(&holder);
    applyPrintedTextSize(&holder, size.width());
    drawMeasureCurve(&holder, m_curve);
    drawWeightBand(&holder, m_curve, m_band);
    return renderChart(&holder, size);
}

void MeasureChartView::setHint(const QString& text)
{
    if (!m_hint)
        m_hint = new ChartHint(this);
    m_hint->setHint(text);
}

QString MeasureChartView::hint() const
{
    return m_hint ? m_hint->shownHint() : QString();
}

void MeasureChartView::showEvent(QShowEvent* event)
{
    prepare();
    QChartView::showEvent(event);
}

void MeasureChartView::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    // As many labels as the new width holds.
    if (m_prepared)
        labelMeasureAxis(chart(), m_curve);
}

void MeasureChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    emit doubleClicked();
}

} // namespace tav
