// Loading the "Actes" page of an animal with 5,000 acts, against the
// cheapest read of the same joined rows: the same statement stepped
// through the SQLite C API, every column read once.
//
//   bench/bench_carepage [acts]
#include "BareRead.h"
#include "booklet/AppContext.h"
#include "booklet/pages/TCarePage.h"
#include "core/HeapTuning.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/Schema.h"
#include "db/SqlDialect.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tav;

namespace {

struct Spread
{
    double median, low, high;
};

Spread spread(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}

void fill(Connection& c, int acts)
{
    QRandomGenerator random(2026);
    c.beginTransaction();
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor')"));
    for (int i = 0; i < 200; ++i)
        c.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Name, Category) VALUES (?, ?)"),
               {QStringLiteral("Dr Praticien %1").arg(i),
                i % 3 ? QStringLiteral("Dermatologie") : QString()});
    for (int i = 0; i < 60; ++i)
        c.exec(QStringLiteral("INSERT INTO LST_ILLNESS (Title, Gravity) VALUES (?, ?)"),
               {QStringLiteral("Pathologie %1").arg(i), QStringLiteral("Moyenne")});
    for (int i = 0; i < acts; ++i) {
        const QDate date = QDate(2010, 1, 1).addDays(random.bounded(6000));
        c.exec(QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness, Date_Action, "
                              "Time_Action, Price, Repayment, Price_Repayment, Repayment_Comp, "
                              "Price_Repayment_Comp, Remark1, Remark2, Gravity) VALUES (1, 1, ?, "
                              "?, ?, '10:30', ?, 1, ?, 0, 0, ?, ?, 'Moyenne')"),
               {1 + random.bounded(200), 1 + random.bounded(60), date.toString(Qt::ISODate),
                random.bounded(20000) / 100.0, random.bounded(5000) / 100.0,
                QStringLiteral("Visite de contrôle et vaccins"),
                QStringLiteral("Revoir dans six mois")});
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
    const int acts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
    QTemporaryDir dir;
    Connection connection;
    connection.open(dir.filePath(QStringLiteral("TAVIRUNE.MDB")), true);
    createSchema(connection);
    fill(connection, acts);

    AppContext context;
    DataModule1 module(connection, dir.path());
    context.connection = &connection;
    context.module1 = &module;
    module.animal().open();
    TConsultPage page(context, 3);
    page.resize(560, 480);
    page.show();

    DataSet& display = module.dataSet(QStringLiteral("ConsultQuery"));
    display.replaceWhereLine(QStringLiteral("WHERE Tag=1 AND Action.Id_Ref=1"));
    const QByteArray sql = adaptJetSql(display.sql().join(QLatin1Char(' '))).toUtf8();

    constexpr int kRuns = 15;
    std::vector<double> program, floor;
    int rows = 0;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        page.load(-1);
        QCoreApplication::processEvents();
        program.push_back(double(t.nsecsElapsed()) / 1e6);
        floor.push_back(bareRead(connection.sqliteHandle(), sql, &rows));
    }
    std::vector<double> ratios;
    for (int i = 0; i < kRuns; ++i)
        ratios.push_back(program[i] / floor[i]);
    const Spread p = spread(program), f = spread(floor), r = spread(ratios);
    std::printf("acts page, %d rows shown (%d read by the floor), %d runs\n",
                page.grid()->model()->rowCount(), rows, kRuns);
    std::printf("  page load      %8.2f ms  (%.2f - %.2f)\n", p.median, p.low, p.high);
    std::printf("  bare C read    %8.2f ms  (%.2f - %.2f)\n", f.median, f.low, f.high);
    std::printf("  ratio          %8.2f     (%.2f - %.2f)   goal <= 1.5 and < 100 ms\n", r.median,
                r.low, r.high);
    return 0;
}
