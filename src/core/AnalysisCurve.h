#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace tav {

// The time axis of the analysis chart.
enum class AnalysisAxis { Dates = 1, Years = 2 };

// One measured value of an analysis, with the normal range of that day.
struct AnalysisSample
{
    QDate date;
    double value = 0;
    std::optional<double> min;
    std::optional<double> max;
};

// One labelled position of the chart: the greatest value, minimum and
// maximum of the samples sharing its label, and the date of the sample
// that gave the value.
struct AnalysisPoint
{
    QString label;
    QDate date;
    double value = 0;
    std::optional<double> min;
    std::optional<double> max;
};

// What the analysis chart draws, computed without any widget.
struct AnalysisCurve
{
    QVector<AnalysisPoint> points;
    // Vertical range: one below the smallest value or minimum, one above the
    // greatest value or maximum; 0 to 1 with no point.
    double low = 0;
    double high = 1;

    bool isEmpty() const { return points.isEmpty(); }
};

// Builds the curve of the samples in date order. By dates each date is one
// position ("dd/MM/yyyy"); by years each year is one ("2021"), keeping the
// greater value, minimum and maximum of its samples. Samples without a date
// have no place on a time axis and are left out; a missing minimum or
// maximum leaves that limit out at its position. Any axis value other than
// Dates counts as Years.
AnalysisCurve buildAnalysisCurve(QVector<AnalysisSample> samples, int axis);

} // namespace tav
