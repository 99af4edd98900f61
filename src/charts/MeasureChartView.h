#pragma once

#include "core/MeasureCurve.h"
#include "core/WeightBand.h"

#include <QChartView>

namespace tav {

class ChartHint;

// Shows one growth chart: its eight series set up at creation, the curve
// given last, the date and value of a point under the mouse in a tooltip,
// and a double-click as a request to manage the measures.
class MeasureChartView : public QChartView
{
    Q_OBJECT
public:
    explicit MeasureChartView(QWidget* parent = nullptr);

    // Sets the chart's series and axes up. Done when the view is first
    // shown or given a curve: the booklet's pages are all made at start,
    // and a chart costs more to set up than the rest of its page.
    void prepare();

    void setKind(MeasureKind kind) { m_kind = kind; }
    MeasureKind kind() const { return m_kind; }
    // The band is shaded on a weight curve; an empty one draws nothing.
    void showCurve(const MeasureCurve& curve, const WeightBand& band = WeightBand());
    const MeasureCurve& curve() const { return m_curve; }

    // A sentence centred over the chart (an empty text hides it).
    void setHint(const QString& text);
    QString hint() const;

    // The text shown while the mouse is over the point at that position.
    QString pointText(int index) const;
    // The tooltip shown last; empty once the mouse has left the curve.
    const QString& hoverText() const { return m_hoverText; }

    // Saves the chart shown, titled, as a JPEG picture the user names; the
    // file offered lies in the data folder and names the animal. False when
    // cancelled or failed (the failure is shown).
    bool saveAsJpeg(const QString& dataFolder, const QString& animalTitle);
    // The curve drawn alone at a size, for printing.
    QImage picture(const QSize& size) const;

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void hover(const QPointF& point, bool entering);

    MeasureKind m_kind = MeasureKind::Weight;
    bool m_prepared = false;
    MeasureCurve m_curve;
    WeightBand m_band;
    QString m_hoverText;
    ChartHint* m_hint = nullptr;
};

} // namespace tav
