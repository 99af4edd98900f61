// Opening and walking the consultations of one animal through the data set,
// against a bare query loop over the same statement, in the same run.
#include "BenchSupport.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/Schema.h"
#include "db/SqlDialect.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace tav;

namespace {

constexpr int kRows = 10000;
constexpr int kRuns = 15;

void fill(Connection& c)
{
    Transaction tx(c);
    for (int i = 1; i <= 20; ++i) {
        c.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Name, Category) VALUES (?, ?)"),
               {QStringLiteral("Docteur %1").arg(i),
                i % 2 ? QStringLiteral("Vétérinaire") : QString()});
        c.exec(QStringLiteral("INSERT INTO LST_ILLNESS (Title, Gravity) VALUES (?, 'Modérée')"),
               {QStringLiteral("Pathologie %1").arg(i)});
    }
    QSqlQuery q(c.database());
    q.prepare(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness, Date_Action, Time_Action, Remark1, "
        "Remark2, Gravity, Price, Repayment, Price_Repayment, Repayment_Comp, "
        "Price_Repayment_Comp) "
        "VALUES (1, 1, ?, ?, ?, '10:30', 'Visite de contrôle annuelle', 'RAS', 'Bénigne', ?, 1, ?, "
        "0, 0)"));
    for (int i = 0; i < kRows; ++i) {
        q.addBindValue(i % 20 + 1);
        q.addBindValue(i % 20 + 1);
        q.addBindValue(QDate(2000, 1, 1).addDays(i).toString(QStringLiteral("yyyy-MM-dd")));
        q.addBindValue(35.0 + i % 50);
        q.addBindValue(20.0);
        q.exec();
    }
    tx.commit();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Connection c;
    c.open(dir.filePath(QStringLiteral("bench.mdb")), true);
    createSchema(c);
    fill(c);
    DataModule1 module(c, dir.path());
    DataSet& ds = module.dataSet(QStringLiteral("ConsultQuery"));
    ds.replaceWhereLine(QStringLiteral("WHERE ID_REF=1 AND TAG=1"));
    const QString statement = adaptJetSql(ds.sql().join(QLatin1Char('\n')));

    std::vector<double> dataSetMs, bareMs;
    qint64 checksum = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        ds.close();
        ds.open();
        const int fields = ds.fieldCount();
        int rows = 0;
        for (ds.first(); !ds.eof(); ds.next()) {
            for (int f = 0; f < fields; ++f)
                checksum += ds.valueAt(ds.recNo(), f).isValid() ? 1 : 0;
            ++rows;
        }
        dataSetMs.push_back(double(t.nsecsElapsed()) / 1e6);
        if (rows != kRows)
            return 1;

        t.restart();
        QSqlQuery q(c.database());
        q.setForwardOnly(true);
        q.exec(statement);
        const int cols = q.record().count();
        rows = 0;
        while (q.next()) {
            for (int col = 0; col < cols; ++col)
                checksum += q.value(col).isValid() ? 1 : 0;
            ++rows;
        }
        bareMs.push_back(double(t.nsecsElapsed()) / 1e6);
        if (rows != kRows)
            return 1;
    }
    const double d = median(dataSetMs);
    const double b = median(bareMs);
    QTextStream out(stdout);
    out << "ConsultQuery, " << kRows << " rows of one animal, median of " << kRuns << " runs\n";
    out << "  data set open + walk: " << QString::number(d, 'f', 2) << " ms\n";
    out << "  bare QSqlQuery loop:  " << QString::number(b, 'f', 2) << " ms\n";
    out << "  ratio: " << QString::number(d / b, 'f', 2) << " (goal: at most 1.50)\n";
    out << "  (checksum " << checksum << ")\n";
    return 0;
}
