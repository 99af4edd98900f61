#pragma once

#include "core/MeasureKind.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

namespace tav {

// One measure of an animal, in date order.
struct Measure
{
    QDate date;
    double value = 0;
    qint64 id = -1;
};

// One labelled point of a curve, with the measure that gave its value (the
// birth point has id -1).
struct CurvePoint
{
    QString label;
    double value = 0;
    QDate date;
    qint64 id = -1;
};

// A curve ready to draw: its points in order and its vertical range.
struct MeasureCurve
{
    QVector<CurvePoint> points;
    // 0 once a measure is counted; the greatest value plus the headroom.
    std::optional<double> low;
    std::optional<double> high;

    // The mode the labels were made in.
    CurveMode mode = CurveMode::None;

    // Fewer than two points draw no line at all.
    bool isEmpty() const { return points.size() < 2; }
    // What a chart shows: a line, or a single measure as one point. In an
    // unknown mode every measure falls on one label, which is no measure.
    bool showsPoints() const;
    // The vertical range drawn: 0 to 1 for an empty curve.
    double rangeMin() const;
    double rangeMax() const;
    // The point of a label, or -1.
    int indexOf(const QString& label) const;
};

inline constexpr double kWeightHeadroom = 1.0; // kilograms above the highest weight
inline constexpr double kSizeHeadroom = 5.0;   // centimetres above the highest size

// The label of a measure taken on `date`, counted from `reference`; in an
// unknown mode, `unchanged` is returned. Years compare month and day
// alone, never building a date in another year: a birthday on 29 February
// is reached on 1 March in years without one, and a measure on 29 February
// is a day past 28 February whatever the reference year.
QString measureLabel(CurveMode mode, const QDate& reference, const QDate& date,
                     const QString& unchanged);

// Builds the curve of an animal's measures (in date order). The birth point
// is drawn first when the birth date text is a valid date "dd/mm/yyyy" and
// the birth value text a valid number; ages then count from the birth
// date, otherwise from the first measure. Measures that fall on one label
// make one point holding the greatest of their values. The vertical range
// runs from 0 to the highest value drawn, the birth value included, plus
// the headroom. Measures without a valid date are left out.
MeasureCurve buildMeasureCurve(const QVector<Measure>& measures, CurveMode mode,
                               const QString& birthDateText, const QString& birthValueText,
                               double headroom);

} // namespace tav
