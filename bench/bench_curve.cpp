// Drawing the weight curve of an animal with 5,000 weighings on the
// "Poids & taille" page (measures query opened, curve built, chart series
// and axis updated, the page painted), against the cheapest read of the
// same rows: the same statement stepped through the SQLite C API, every
// column read once.
//
//   bench/bench_curve [weighings]
#include "BareRead.h"
#include "BenchSupport.h"
#include "core/HeapTuning.h"

#include "booklet/AppContext.h"
#include "booklet/pages/TCurvePage.h"
#include "charts/MeasureChart.h"
#include "charts/MeasureChartView.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/Schema.h"
#include "db/SqlDialect.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineSeries>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tav;

namespace {

void fill(Connection& c, int weighings)
{
    QRandomGenerator random(2026);
    c.beginTransaction();
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Name, BirthDay_Date, BirthDay_Weight, WeightMode) "
                          "VALUES ('Médor', '01/01/2000', 0.45, 1)"));
    for (int i = 0; i < weighings; ++i) {
        // About two weighings a day, so that some days merge into one point.
        const QDate date = QDate(2000, 1, 2).addDays(random.bounded(weighings / 2 + 1));
        c.exec(QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight, Remark) VALUES "
                              "(1, ?, ?, ?)"),
               {date.toString(Qt::ISODate), 2 + random.bounded(30000) / 1000.0,
                i % 5 ? QString() : QStringLiteral("Après le repas")});
    }
    c.commit();
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const int weighings = argc > 1 ? std::max(2, std::atoi(argv[1])) : 5000;
    QTemporaryDir dir;
    Connection connection;
    connection.open(dir.filePath(QStringLiteral("TAVIRUNE.MDB")), true);
    createSchema(connection);
    fill(connection, weighings);

    AppContext context;
    DataModule1 module(connection, dir.path());
    context.connection = &connection;
    context.module1 = &module;
    module.animal().open();
    TCurvePage page(context, 1);
    page.resize(560, 540);
    page.show();
    QCoreApplication::processEvents();

    DataSet& weight = module.dataSet(QStringLiteral("Weight"));
    weight.replaceWhereLine(QStringLiteral("WHERE Id_Ref=1"));
    const QByteArray sql = adaptJetSql(weight.sql().join(QLatin1Char(' '))).toUtf8();

    constexpr int kRuns = 15;
    std::vector<double> program, painted, floor, ratios, paintedRatios;
    int rows = 0;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        page.loadCurve(TCurvePage::Weight, -1);
        program.push_back(double(t.nsecsElapsed()) / 1e6);
        // The scene takes its changes at the next turn of the event loop.
        QCoreApplication::processEvents();
        page.chartView(TCurvePage::Weight)->repaint();
        painted.push_back(double(t.nsecsElapsed()) / 1e6);
        floor.push_back(bareRead(connection.sqliteHandle(), sql, &rows));
        ratios.push_back(program.back() / floor.back());
        paintedRatios.push_back(painted.back() / floor.back());
    }
    // Where the time goes: the same three steps one by one.
    std::vector<double> opening, building, drawing;
    MeasureChartView* view = page.chartView(TCurvePage::Weight);
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        weight.close();
        weight.open();
        opening.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        const MeasureCurve built = buildMeasureCurve(
            measuresOf(weight, MeasureKind::Weight), CurveMode::ByDate,
            QStringLiteral("01/01/2000"), QStringLiteral("0.45"), kWeightHeadroom);
        building.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        view->showCurve(built);
        drawing.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const auto* curve =
        qobject_cast<QLineSeries*>(page.chartView(TCurvePage::Weight)->chart()->series().at(0));
    std::printf("weight curve, %d weighings read (%d by the floor), %d points drawn\n",
                weight.recordCount(), rows, int(curve->count()));
    std::printf("  open + build + chart update  %s\n", qPrintable(spread(program, "ms", 2)));
    std::printf("  the same, then painted      %s\n", qPrintable(spread(painted, "ms", 2)));
    std::printf("  bare C read (floor)          %s\n", qPrintable(spread(floor, "ms", 2)));
    std::printf("  ratio without painting       %s   goal <= 2 and < 100 ms\n",
                qPrintable(spread(ratios, "x", 2)));
    std::printf("  ratio with painting          %s\n", qPrintable(spread(paintedRatios, "x", 2)));
    std::printf("  steps: query open %s, curve build %s, chart update %s\n",
                qPrintable(spread(opening, "ms", 2)), qPrintable(spread(building, "ms", 2)),
                qPrintable(spread(drawing, "ms", 2)));
    return 0;
}
