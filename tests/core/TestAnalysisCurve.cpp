#include "core/AnalysisCurve.h"

#include <QtTest>

using namespace tav;

namespace {

QStringList labels(const AnalysisCurve& c)
{
    QStringList out;
    for (const AnalysisPoint& p : c.points)
        out << p.label;
    return out;
}

} // namespace

class TestAnalysisCurve : public QObject
{
    Q_OBJECT
private slots:
    void yearsKeepTheGreaterValuesOfEachYear();
    void datesGiveOnePointPerDay();
    void oneValueSpansItsRangeWithAMargin();
    void missingLimitsAndDatesAreLeftOut();
    void noValueGivesTheEmptyRange();
};

void TestAnalysisCurve::yearsKeepTheGreaterValuesOfEachYear()
{
    // Out of order on purpose: the curve follows the dates.
    const QVector<AnalysisSample> samples = {
        {QDate(2022, 2, 1), 14.0, 6.0, 19.0},
        {QDate(2021, 3, 1), 12.0, 5.0, 18.0},
        {QDate(2021, 9, 1), 21.5, 4.0, 20.0},
    };
    const AnalysisCurve c = buildAnalysisCurve(samples, int(AnalysisAxis::Years));
    QCOMPARE(labels(c), (QStringList{QStringLiteral("2021"), QStringLiteral("2022")}));
    QCOMPARE(c.points.at(0).value, 21.5);
    QCOMPARE(c.points.at(0).date, QDate(2021, 9, 1));
    // The range lines follow the greater minimum and maximum of each year.
    QCOMPARE(*c.points.at(0).min, 5.0);
    QCOMPARE(*c.points.at(0).max, 20.0);
    QCOMPARE(c.points.at(1).value, 14.0);
    // Over every sample, not only the points kept.
    QCOMPARE(c.low, 3.0);
    QCOMPARE(c.high, 22.5);
    // Any other axis reads as years.
    QCOMPARE(labels(buildAnalysisCurve(samples, 0)), labels(c));
}

void TestAnalysisCurve::datesGiveOnePointPerDay()
{
    const QVector<AnalysisSample> samples = {
        {QDate(2021, 3, 1), 12.0, 5.0, 18.0},
        {QDate(2021, 3, 1), 11.0, 5.0, 18.0},
        {QDate(2021, 9, 1), 2.0, 5.0, 18.0},
    };
    const AnalysisCurve c = buildAnalysisCurve(samples, int(AnalysisAxis::Dates));
    QCOMPARE(labels(c), (QStringList{QStringLiteral("01/03/2021"), QStringLiteral("01/09/2021")}));
    QCOMPARE(c.points.at(0).value, 12.0);
    QCOMPARE(c.low, 1.0);
    QCOMPARE(c.high, 19.0);
}

void TestAnalysisCurve::oneValueSpansItsRangeWithAMargin()
{
    AnalysisCurve c = buildAnalysisCurve({{QDate(2024, 5, 6), 12.0, 5.0, 18.0}}, 2);
    QCOMPARE(c.points.size(), 1);
    QCOMPARE(c.low, 4.0);
    QCOMPARE(c.high, 19.0);
    // A value outside its range widens the range to itself.
    c = buildAnalysisCurve({{QDate(2024, 5, 6), 30.0, 5.0, 18.0}}, 2);
    QCOMPARE(c.low, 4.0);
    QCOMPARE(c.high, 31.0);
    c = buildAnalysisCurve({{QDate(2024, 5, 6), -2.0, 5.0, 18.0}}, 1);
    QCOMPARE(c.low, -3.0);
}

void TestAnalysisCurve::missingLimitsAndDatesAreLeftOut()
{
    const AnalysisCurve c =
        buildAnalysisCurve({{QDate(), 100.0, 0.0, 200.0},
                            {QDate(2021, 1, 1), 3.0, std::nullopt, std::nullopt},
                            {QDate(2021, 6, 1), 2.0, 1.0, std::nullopt}},
                           int(AnalysisAxis::Years));
    QCOMPARE(c.points.size(), 1);
    QCOMPARE(c.points.at(0).value, 3.0);
    QCOMPARE(*c.points.at(0).min, 1.0);
    QVERIFY(!c.points.at(0).max);
    QCOMPARE(c.low, 0.0);
    QCOMPARE(c.high, 4.0);
}

void TestAnalysisCurve::noValueGivesTheEmptyRange()
{
    const AnalysisCurve c = buildAnalysisCurve({}, 1);
    QVERIFY(c.isEmpty());
    QCOMPARE(c.low, 0.0);
    QCOMPARE(c.high, 1.0);
}

QTEST_GUILESS_MAIN(TestAnalysisCurve)
#include "TestAnalysisCurve.moc"
