#include "core/MeasureCurve.h"

#include "TestText.h"

#include <QtTest>

using namespace tav;

namespace {

Measure kg(int y, int m, int d, double value, qint64 id = -1)
{
    return {QDate(y, m, d), value, id};
}

QStringList labels(const MeasureCurve& curve)
{
    QStringList out;
    for (const CurvePoint& p : curve.points)
        out << p.label;
    return out;
}

QVector<double> values(const MeasureCurve& curve)
{
    QVector<double> out;
    for (const CurvePoint& p : curve.points)
        out << p.value;
    return out;
}

} // namespace

class TestMeasureCurve : public QObject
{
    Q_OBJECT
private slots:
    void labelsByMode_data();
    void labelsByMode();
    void sameLabelKeepsTheGreaterValueInItsPlace();
    void firstYearIsBirthThenZeroYears();
    void birthPointNeedsAValidDateAndValue_data();
    void birthPointNeedsAValidDateAndValue();
    void rangeHasHeadroomAndHoldsTheBirthValue();
    void fewerThanTwoPointsIsEmpty();
    void unknownModeGivesOnePoint();
    void measuresBeforeBirthCountBackwards();
};

void TestMeasureCurve::labelsByMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QDate>("reference");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("label");
    const QDate born(2020, 6, 15);
    QTest::newRow("date") << 1 << born << QDate(2021, 3, 2) << "02/03/2021";
    QTest::newRow("day before second birthday") << 2 << born << QDate(2022, 6, 14) << "1 ans";
    QTest::newRow("second birthday") << 2 << born << QDate(2022, 6, 15) << "2 ans";
    QTest::newRow("months ignore days")
        << 3 << QDate(2020, 12, 1) << QDate(2021, 1, 31) << "1 mois";
    QTest::newRow("months across years") << 3 << born << QDate(2022, 6, 1) << "24 mois";
    // 29 February: reached on 1 March in a year without one.
    QTest::newRow("leap birthday, 28/02")
        << 2 << QDate(2020, 2, 29) << QDate(2021, 2, 28) << "0 ans";
    QTest::newRow("leap birthday, 01/03")
        << 2 << QDate(2020, 2, 29) << QDate(2021, 3, 1) << "1 ans";
    QTest::newRow("leap birthday, leap year")
        << 2 << QDate(2020, 2, 29) << QDate(2024, 2, 29) << "4 ans";
    // A measure on 29 February from a reference in a year without one.
    QTest::newRow("29/02 after 28/02 reference")
        << 2 << QDate(2023, 2, 28) << QDate(2024, 2, 29) << "1 ans";
    QTest::newRow("29/02 before 01/03 reference")
        << 2 << QDate(2023, 3, 1) << QDate(2024, 2, 29) << "0 ans";
    QTest::newRow("unknown mode") << 0 << born << QDate(2021, 1, 1) << "kept";
    // A number stored by another version reads as no mode, never as a
    // mode of its own.
    QTest::newRow("stored number out of range") << 4 << born << QDate(2021, 1, 1) << "kept";
    QTest::newRow("negative stored number") << -1 << born << QDate(2021, 1, 1) << "kept";
}

void TestMeasureCurve::labelsByMode()
{
    QFETCH(int, mode);
    QFETCH(QDate, reference);
    QFETCH(QDate, date);
    QFETCH(QString, label);
    QCOMPARE(measureLabel(curveModeFromStored(mode), reference, date, QStringLiteral("kept")),
             label);
}

void TestMeasureCurve::sameLabelKeepsTheGreaterValueInItsPlace()
{
    const MeasureCurve curve =
        buildMeasureCurve({kg(2024, 1, 10, 5.0, 1), kg(2024, 1, 10, 5.4, 2),
                           kg(2024, 2, 10, 6.0, 3), kg(2024, 2, 10, 5.9, 4)},
                          CurveMode::ByDate, QString(), QString(), kWeightHeadroom);
    QCOMPARE(labels(curve), strings({"10/01/2024", "10/02/2024"}));
    QCOMPARE(values(curve), QVector<double>({5.4, 6.0}));
    // The point remembers the measure its value came from.
    QCOMPARE(curve.points.at(0).id, 2);
    QCOMPARE(curve.points.at(1).id, 3);
}

void TestMeasureCurve::firstYearIsBirthThenZeroYears()
{
    const MeasureCurve curve = buildMeasureCurve(
        {kg(2020, 7, 1, 1.2), kg(2020, 9, 1, 4.0), kg(2020, 12, 1, 9.5), kg(2021, 3, 1, 11.0),
         kg(2021, 6, 14, 10.8)},
        CurveMode::ByYears, QStringLiteral("15/06/2020"), QStringLiteral("0,45"), kWeightHeadroom);
    QCOMPARE(labels(curve), strings({"Naissance", "0 ans"}));
    QCOMPARE(values(curve), QVector<double>({0.45, 11.0}));
    QCOMPARE(curve.points.at(0).date, QDate(2020, 6, 15));

    // In months the same weighings count from birth too.
    const MeasureCurve months =
        buildMeasureCurve({kg(2020, 7, 1, 1.2), kg(2020, 9, 1, 4.0)}, CurveMode::ByMonths,
                          QStringLiteral("15/06/2020"), QStringLiteral("0.45"), kWeightHeadroom);
    QCOMPARE(labels(months), strings({"Naissance", "1 mois", "3 mois"}));
}

void TestMeasureCurve::birthPointNeedsAValidDateAndValue_data()
{
    QTest::addColumn<QString>("birthDate");
    QTest::addColumn<QString>("birthValue");
    QTest::addColumn<QStringList>("labels");
    const QStringList fromFirst = strings({"0 ans", "1 ans"});
    QTest::newRow("valid") << "15/06/2020"
                           << "0,45" << strings({"Naissance", "0 ans", "1 ans"});
    QTest::newRow("no birth weight") << "15/06/2020" << QString() << fromFirst;
    QTest::newRow("letters") << "15/06/2020"
                             << "abc" << fromFirst;
    QTest::newRow("partial date") << "  /06/2020"
                                  << "0,45" << fromFirst;
    QTest::newRow("impossible date") << "31/02/2020"
                                     << "0,45" << fromFirst;
}

void TestMeasureCurve::birthPointNeedsAValidDateAndValue()
{
    QFETCH(QString, birthDate);
    QFETCH(QString, birthValue);
    QFETCH(QStringList, labels);
    // Without a birth point, ages count from the first weighing: 01/09/2020
    // to 31/08/2021 is still "0 ans".
    const MeasureCurve curve =
        buildMeasureCurve({kg(2020, 9, 1, 4.0), kg(2021, 8, 31, 9.0), kg(2021, 9, 1, 10.0)},
                          CurveMode::ByYears, birthDate, birthValue, kWeightHeadroom);
    QCOMPARE(::labels(curve), labels);
}

void TestMeasureCurve::rangeHasHeadroomAndHoldsTheBirthValue()
{
    const MeasureCurve weight =
        buildMeasureCurve({kg(2024, 1, 1, 10.0), kg(2024, 2, 1, 12.4)}, CurveMode::ByDate,
                          QString(), QString(), kWeightHeadroom);
    QCOMPARE(weight.rangeMin(), 0.0);
    QCOMPARE(weight.rangeMax(), 13.4);

    const MeasureCurve size =
        buildMeasureCurve({kg(2024, 1, 1, 40.0), kg(2024, 2, 1, 48.0)}, CurveMode::ByDate,
                          QString(), QString(), kSizeHeadroom);
    QCOMPARE(size.rangeMax(), 53.0);

    // A birth weight above every later weighing (a sick puppy) stays inside.
    const MeasureCurve loss =
        buildMeasureCurve({kg(2024, 1, 10, 0.30), kg(2024, 1, 20, 0.35)}, CurveMode::ByDate,
                          QStringLiteral("01/01/2024"), QStringLiteral("0,5"), kWeightHeadroom);
    QCOMPARE(loss.points.size(), 3);
    QCOMPARE(loss.rangeMax(), 1.5);
}

void TestMeasureCurve::fewerThanTwoPointsIsEmpty()
{
    const MeasureCurve single = buildMeasureCurve({kg(2024, 1, 1, 3.0)}, CurveMode::ByDate,
                                                  QString(), QString(), kWeightHeadroom);
    QVERIFY(single.isEmpty());
    QCOMPARE(single.rangeMin(), 0.0);
    QCOMPARE(single.rangeMax(), 1.0);

    // The birth weight turns the same weighing into a two-point curve.
    const MeasureCurve withBirth =
        buildMeasureCurve({kg(2024, 1, 1, 3.0)}, CurveMode::ByDate, QStringLiteral("01/11/2023"),
                          QStringLiteral("0,4"), kWeightHeadroom);
    QCOMPARE(labels(withBirth), strings({"01/11/2023", "01/01/2024"}));
    QVERIFY(!withBirth.isEmpty());

    QVERIFY(buildMeasureCurve({}, CurveMode::ByDate, QStringLiteral("01/11/2023"),
                              QStringLiteral("0,4"), kWeightHeadroom)
                .isEmpty());
}

void TestMeasureCurve::unknownModeGivesOnePoint()
{
    const MeasureCurve curve = buildMeasureCurve(
        {kg(2024, 1, 1, 3.0), kg(2024, 6, 1, 8.0), kg(2025, 1, 1, 7.0)}, CurveMode::None,
        QStringLiteral("01/11/2023"), QStringLiteral("0,4"), kWeightHeadroom);
    QCOMPARE(labels(curve), strings({"Naissance"}));
    QCOMPARE(values(curve), QVector<double>({8.0}));
    QVERIFY(curve.isEmpty());
}

void TestMeasureCurve::measuresBeforeBirthCountBackwards()
{
    // Rows stored before the entry window refused such dates still draw,
    // in their own place before the birth point.
    const MeasureCurve curve =
        buildMeasureCurve({kg(2019, 1, 1, 2.0), kg(2021, 1, 1, 8.0)}, CurveMode::ByYears,
                          QStringLiteral("15/06/2020"), QStringLiteral("0,4"), kWeightHeadroom);
    QCOMPARE(labels(curve), strings({"Naissance", "-2 ans", "0 ans"}));
}

QTEST_GUILESS_MAIN(TestMeasureCurve)
#include "TestMeasureCurve.moc"
