#include "charts/MeasureChartPicture.h"

#include "charts/ChartLook.h"
#include "charts/MeasureChart.h"
#include "db/MeasureStore.h"
#include "db/TargetWeightStore.h"

#include <QChart>

namespace tav {

QImage renderMeasureChart(Connection& connection, int animalId, MeasureKind kind, CurveMode mode,
                          const QSize& size)
{
    const MeasureStore store(connection);
    const MeasureStore::Animal animal = store.animal(animalId, kind);
    const MeasureCurve curve =
        buildMeasureCurve(store.measures(animalId, kind), mode, animal.birthDate, animal.birthValue,
                          measureHeadroom(kind));
    QChart chart;
    chart.resize(size);
    setUpMeasureChart(&chart);
    applyPrintedTextSize(&chart, size.width());
    drawMeasureCurve(&chart, curve);
    if (kind == MeasureKind::Weight)
        drawWeightBand(&chart, curve, readTargetWeight(connection, animalId));
    chart.setTitle(measureChartTitle(kind));
    return renderChart(&chart, size);
}

} // namespace tav
