#include "booklet/charts/MeasureChartPicture.h"

#include "booklet/charts/ChartLook.h"
#include "booklet/charts/MeasureChart.h"
#include "db/MeasureStore.h"

#include <QChart>

namespace tav {

QImage renderMeasureChart(Connection& connection, int animalId, int measureKind, int mode,
                          const QSize& size)
{
    const MeasureStore store(connection);
    const MeasureStore::Animal animal = store.animal(animalId, measureKind);
    const MeasureCurve curve =
        buildMeasureCurve(store.measures(animalId, measureKind), mode, animal.birthDate,
                          animal.birthValue, measureHeadroom(measureKind));
    QChart chart;
    chart.resize(size);
    drawMeasureCurve(&chart, curve);
    chart.setTitle(measureChartTitle(measureKind));
    return renderChart(&chart, size);
}

} // namespace tav
