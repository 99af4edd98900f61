#include "core/AnalysisCurve.h"

#include <algorithm>

namespace tav {

namespace {

std::optional<double> greater(const std::optional<double>& a, const std::optional<double>& b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return std::max(*a, *b);
}

} // namespace

AnalysisCurve buildAnalysisCurve(QVector<AnalysisSample> samples, int axis)
{
    AnalysisCurve curve;
    samples.erase(std::remove_if(samples.begin(), samples.end(),
                                 [](const AnalysisSample& s) { return !s.date.isValid(); }),
                  samples.end());
    std::stable_sort(
        samples.begin(), samples.end(),
        [](const AnalysisSample& a, const AnalysisSample& b) { return a.date < b.date; });
    std::optional<double> low;
    std::optional<double> high;
    for (const AnalysisSample& s : std::as_const(samples)) {
        const QString label = axis == int(AnalysisAxis::Dates)
                                  ? s.date.toString(QStringLiteral("dd/MM/yyyy"))
                                  : QString::number(s.date.year());
        // Samples come in date order, so one label's samples follow each other.
        if (curve.points.isEmpty() || curve.points.last().label != label) {
            curve.points.append({label, s.date, s.value, s.min, s.max});
        } else {
            AnalysisPoint& p = curve.points.last();
            if (s.value > p.value) {
                p.value = s.value;
                p.date = s.date;
            }
            p.min = greater(p.min, s.min);
            p.max = greater(p.max, s.max);
        }
        low = std::min({low.value_or(s.value), s.value, s.min.value_or(s.value)});
        high = std::max({high.value_or(s.value), s.value, s.max.value_or(s.value)});
    }
    if (low && high) {
        curve.low = *low - 1;
        curve.high = *high + 1;
    }
    return curve;
}

} // namespace tav
