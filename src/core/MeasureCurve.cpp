#include "core/MeasureCurve.h"

#include "core/DateRoutines.h"
#include "core/TextRoutines.h"

#include <QHash>

namespace tav {

namespace {

QString birthLabel()
{
    return QStringLiteral("Naissance");
}

// "dd/mm/yyyy" written digit by digit: a curve labels thousands of dates,
// and a date format string is parsed anew at every call.
QString dateLabel(const QDate& date)
{
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    if (!date.isValid() || y < 0 || y > 9999)
        return formatDateText(date);
    const char16_t text[10] = {
        char16_t(u'0' + d / 10),   char16_t(u'0' + d % 10),       u'/',
        char16_t(u'0' + m / 10),   char16_t(u'0' + m % 10),       u'/',
        char16_t(u'0' + y / 1000), char16_t(u'0' + y / 100 % 10), char16_t(u'0' + y / 10 % 10),
        char16_t(u'0' + y % 10)};
    return QString(reinterpret_cast<const QChar*>(text), 10);
}

} // namespace

double MeasureCurve::rangeMin() const
{
    return isEmpty() ? 0.0 : low.value_or(0.0);
}

double MeasureCurve::rangeMax() const
{
    if (isEmpty())
        return 1.0;
    return high.value_or(1.0);
}

bool MeasureCurve::showsPoints() const
{
    return points.size() >= 2 || (points.size() == 1 && mode != CurveMode::None);
}

int MeasureCurve::indexOf(const QString& label) const
{
    for (int i = 0; i < points.size(); ++i) {
        if (points.at(i).label == label)
            return i;
    }
    return -1;
}

QString measureLabel(CurveMode mode, const QDate& reference, const QDate& date,
                     const QString& unchanged)
{
    switch (mode) {
    case CurveMode::ByDate:
        return dateLabel(date);
    case CurveMode::ByYears:
        // Completed years compare (month, day) pairs: see ageInYears().
        return QString::number(ageInYears(date, reference)) + QStringLiteral(" ans");
    case CurveMode::ByMonths:
        return QString::number(monthsBetween(date, reference)) + QStringLiteral(" mois");
    case CurveMode::None:
        break;
    }
    return unchanged;
}

MeasureCurve buildMeasureCurve(const QVector<Measure>& measures, CurveMode mode,
                               const QString& birthDateText, const QString& birthValueText,
                               double headroom)
{
    MeasureCurve curve;
    curve.mode = mode;
    QHash<QString, int> placeOf;
    QDate reference;
    QString label = mode == CurveMode::ByDate ? birthDateText : birthLabel();

    bool numeric = false;
    const double birthValue =
        isNumber(birthValueText) ? parseNumber(birthValueText, &numeric) : 0.0;
    if (isValidDateText(birthDateText) && numeric) {
        reference = parseDateText(birthDateText);
        curve.points.append({label, birthValue, reference, -1});
        placeOf.insert(label, 0);
        // A birth value above every measure must stay inside the range.
        curve.high = birthValue;
    }

    curve.points.reserve(curve.points.size() + measures.size());
    for (const Measure& m : measures) {
        if (!m.date.isValid())
            continue;
        if (!reference.isValid())
            reference = m.date;
        label = measureLabel(mode, reference, m.date, label);
        const auto found = placeOf.constFind(label);
        if (found == placeOf.constEnd()) {
            placeOf.insert(label, int(curve.points.size()));
            curve.points.append({label, m.value, m.date, m.id});
        } else {
            CurvePoint& kept = curve.points[*found];
            if (m.value > kept.value) {
                kept.value = m.value;
                kept.date = m.date;
                kept.id = m.id;
            }
        }
        if (!curve.high || m.value > *curve.high)
            curve.high = m.value;
        curve.low = 0.0;
    }
    if (curve.high)
        *curve.high += headroom;
    return curve;
}

} // namespace tav
