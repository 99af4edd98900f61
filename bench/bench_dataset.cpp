// Opening, walking and closing the consultations of one animal through the
// data set, against the same rows read through the same SQLite C API, in
// the same run. Each figure is the median of kSamples samples with its
// spread; the three readers take turns within a sample so that a slower
// moment of the machine falls on all of them.
//
// The data set's figure depends on the C library's heap. Left to its
// defaults, the rows freed at closing go back to the kernel and are
// faulted in again at the next opening (the page faults printed), which on
// a virtual machine costs more than the reading; the program keeps up to
// 16 MB of freed heap for reuse (core/HeapTuning), and so does this
// benchmark, first thing, as the program does. To see the defaults' cost,
// comment out that call.
#include "BenchSupport.h"
#include "core/HeapTuning.h"
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

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <functional>
#include <vector>

using namespace tav;

namespace {

constexpr int kRows = 10000;
constexpr int kSamples = 15;

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

long minorFaults()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

struct Series
{
    std::vector<double> ms;
    std::vector<double> faults;
};

// Runs one reader, recording its time and the pages the kernel had to
// hand the process meanwhile.
void measure(Series& s, const std::function<int()>& reader, qint64* checksum)
{
    const long faultsBefore = minorFaults();
    QElapsedTimer t;
    t.start();
    const int rows = reader();
    s.ms.push_back(double(t.nsecsElapsed()) / 1e6);
    s.faults.push_back(double(minorFaults() - faultsBefore));
    if (rows != kRows) {
        QTextStream(stderr) << "wrong row count " << rows << "\n";
        std::exit(1);
    }
    *checksum += rows;
}

QString spread(const std::vector<double>& v, int decimals)
{
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    return QString::number(median(v), 'f', decimals) + QStringLiteral(" (") +
           QString::number(*lo, 'f', decimals) + QStringLiteral("–") +
           QString::number(*hi, 'f', decimals) + QLatin1Char(')');
}

std::vector<double> ratios(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> r;
    for (size_t i = 0; i < a.size(); ++i)
        r.push_back(a[i] / b[i]);
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
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
    const QByteArray utf8 = statement.toUtf8();
    qint64 checksum = 0;

    // The program's reader: every row read into the data set, walked with
    // every field touched, then released.
    const auto dataSet = [&]() {
        ds.open();
        const int fields = ds.fieldCount();
        int rows = 0;
        for (ds.first(); !ds.eof(); ds.next()) {
            for (int f = 0; f < fields; ++f)
                checksum += ds.valueAt(ds.recNo(), f).isValid() ? 1 : 0;
            ++rows;
        }
        ds.close();
        return rows;
    };
    // The floor: the same statement stepped through the SQLite C API, each
    // value read by its stored type, texts decoded as any display needs.
    const auto cApi = [&]() {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(c.sqliteHandle(), utf8.constData(), int(utf8.size()), &stmt,
                               nullptr) != SQLITE_OK)
            std::exit(1);
        const int cols = sqlite3_column_count(stmt);
        int rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int col = 0; col < cols; ++col) {
                switch (sqlite3_column_type(stmt, col)) {
                case SQLITE_INTEGER:
                    checksum += sqlite3_column_int64(stmt, col) & 1;
                    break;
                case SQLITE_FLOAT:
                    checksum += sqlite3_column_double(stmt, col) > 0 ? 1 : 0;
                    break;
                case SQLITE_TEXT: {
                    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
                    checksum += QString::fromUtf8(t, sqlite3_column_bytes(stmt, col)).size();
                    break;
                }
                default:
                    break;
                }
            }
            ++rows;
        }
        sqlite3_finalize(stmt);
        return rows;
    };
    // For reference, the floor the benchmark used before: Qt SQL's loop.
    const auto qtSql = [&]() {
        QSqlQuery q(c.database());
        q.setForwardOnly(true);
        q.exec(statement);
        const int cols = q.record().count();
        int rows = 0;
        while (q.next()) {
            for (int col = 0; col < cols; ++col)
                checksum += q.value(col).isValid() ? 1 : 0;
            ++rows;
        }
        return rows;
    };

    // One unmeasured round warms the page cache and the engine's statement
    // parsing for all three.
    Series warm;
    measure(warm, dataSet, &checksum);
    measure(warm, cApi, &checksum);
    measure(warm, qtSql, &checksum);

    Series sDataSet, sCApi, sQtSql;
    for (int i = 0; i < kSamples; ++i) {
        switch (i % 3) {
        case 0:
            measure(sDataSet, dataSet, &checksum);
            measure(sCApi, cApi, &checksum);
            measure(sQtSql, qtSql, &checksum);
            break;
        case 1:
            measure(sCApi, cApi, &checksum);
            measure(sQtSql, qtSql, &checksum);
            measure(sDataSet, dataSet, &checksum);
            break;
        default:
            measure(sQtSql, qtSql, &checksum);
            measure(sDataSet, dataSet, &checksum);
            measure(sCApi, cApi, &checksum);
            break;
        }
    }

    QTextStream out(stdout);
    out << "ConsultQuery, " << kRows << " rows of one animal; median (min–max) of " << kSamples
        << " samples\n";
    out << "  data set open + walk + close: " << spread(sDataSet.ms, 2) << " ms, "
        << spread(sDataSet.faults, 0) << " page faults\n";
    out << "  floor, SQLite C API loop:     " << spread(sCApi.ms, 2) << " ms, "
        << spread(sCApi.faults, 0) << " page faults\n";
    out << "  reference, QSqlQuery loop:    " << spread(sQtSql.ms, 2) << " ms, "
        << spread(sQtSql.faults, 0) << " page faults\n";
    out << "  ratio data set / C API floor: " << spread(ratios(sDataSet.ms, sCApi.ms), 2)
        << " (goal: at most 1.50)\n";
    out << "  ratio data set / QSqlQuery:   " << spread(ratios(sDataSet.ms, sQtSql.ms), 2) << "\n";
    out << "  (checksum " << checksum << ")\n";
    return 0;
}
