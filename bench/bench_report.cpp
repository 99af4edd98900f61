// Prepares the printed booklet of a heavy animal (500 acts, 200
// vaccinations, 2,000 weighings, a camera photo) and writes it as PDF,
// against the floor of the same run: the statements the report's data sets
// run, stepped through the SQLite C API with each value written out as
// text, and the photo decoded at the size the report prints it. That is
// the work no report can skip (read the rows, make the picture small,
// write the result), done the cheapest way: no data set, no formatting, no
// layout. The growth charts are left out on both sides (no chart drawer is
// given to the report): the curve benchmark measures them against their
// own floor, and a stub drawn on one side only would flatter the ratio.
// Each figure is the median of kSamples samples with its spread; the two
// take turns first within a sample so that a slower moment of the machine
// falls on both. Run it from a Release build, with
// QT_QPA_PLATFORM=offscreen.
#include "BenchSupport.h"
#include "core/Clock.h"
#include "core/HeapTuning.h"
#include "db/Connection.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/ReportQueries.h"
#include "db/Schema.h"
#include "db/SqlDialect.h"
#include "db/TableFilters.h"
#include "report/ReportRunner.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

using namespace tav;

namespace {

constexpr int kSamples = 11;
constexpr int kAnimal = 1;

void fill(Connection& c)
{
    Transaction t(c);
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name, ForeName, WeightMode, SizeMode) VALUES "
                          "(1, 'Médor', 'de la Combe', 1, 2)"));
    c.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Id, Name) VALUES (1, 'Dr Lefèvre & Fils')"));
    c.exec(QStringLiteral("INSERT INTO LST_PHARMACY (Id, Name) VALUES (1, 'Pharmacie du Centre')"));
    c.exec(QStringLiteral("INSERT INTO LST_VACCINE (Id, Title) VALUES (1, 'Rage'), (2, 'CHPPi')"));
    const QDate start(2010, 1, 1);
    for (int i = 0; i < 500; ++i) {
        c.exec(
            QStringLiteral("INSERT INTO ACTION (Id_Ref, Tag, Id_Org, Date_Action, Price, "
                           "Repayment, Repayment_Comp, Remark1) VALUES (1, ?, 1, ?, ?, 0, 0, ?)"),
            {i % 3 == 0 ? 2 : 1, start.addDays(i * 7).toString(Qt::ISODate), 12.5 + i,
             QStringLiteral("Visite n° %1 : contrôle général, « suivi » & remarques diverses "
                            "sur l'état de santé")
                 .arg(i)});
    }
    for (int i = 0; i < 200; ++i)
        c.exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, Date_Vaccine, "
                              "Repeat_Date, Remark1) VALUES (1, 1, ?, ?, ?, 'Rappel annuel')"),
               {1 + i % 2, start.addDays(i * 18).toString(Qt::ISODate),
                start.addDays(i * 18 + 365).toString(Qt::ISODate)});
    for (int i = 0; i < 2000; ++i)
        c.exec(QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight, Remark) VALUES "
                              "(1, ?, ?, ?)"),
               {start.addDays(i * 2).toString(Qt::ISODate), 10 + (i % 50) * 0.1,
                i % 10 == 0 ? QStringLiteral("après le repas") : QString()});
    t.commit();
}

// The statements the report's data sets run for this animal, in the
// engine's dialect, taken from the data sets once the report has opened
// them (outside any timing).
struct Statement
{
    QString text;
    QVariantList values; // bound to its placeholders, in order
};

QVector<Statement> reportStatements(DataModuleReport& module, const QString& reportFolder)
{
    QStringList sql;
    if (!buildReportSql(reportFolder + QStringLiteral("Fich.rpt"), true, {}, &sql))
        return {};
    reportqueries::openMain(module, sql, tablefilters::animal(kAnimal));
    reportqueries::openBookletDetails(module, kAnimal);
    QVector<Statement> out;
    for (DataSet* d : module.dataSets()) {
        if (d->isOpen())
            out.append({adaptJetSql(d->sql().join(QLatin1Char('\n'))), d->filterValues()});
    }
    reportqueries::closeAll(module);
    return out;
}

// The floor: every row stepped through the C API, each value written as
// the engine gives its text, tab-separated lines; the photo decoded at the
// report's size. Returns the rows written.
int floorRun(sqlite3* db, const QVector<Statement>& statements, const QString& photoPath,
             const QString& path)
{
    QSaveFile file(path);
    file.open(QIODevice::WriteOnly);
    QByteArray line;
    int rows = 0;
    for (const Statement& statement : statements) {
        const QByteArray utf8 = statement.text.toUtf8();
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) !=
            SQLITE_OK) {
            std::fprintf(stderr, "plancher : %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
        // The report's filters are keys.
        for (int i = 0; i < statement.values.size(); ++i)
            sqlite3_bind_int64(stmt, i + 1, statement.values.at(i).toLongLong());
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            line.clear();
            for (int c = 0; c < columns; ++c) {
                if (c > 0)
                    line.append('\t');
                if (sqlite3_column_type(stmt, c) == SQLITE_BLOB)
                    continue;
                const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                line.append(value, sqlite3_column_bytes(stmt, c));
            }
            line.append("\r\n");
            file.write(line);
            ++rows;
        }
        sqlite3_finalize(stmt);
    }
    file.commit();
    QImageReader photo(photoPath);
    const QSize size = photo.size();
    photo.setScaledSize(size.scaled(1200, 1200, Qt::KeepAspectRatio));
    return photo.read().isNull() ? -1 : rows;
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString reportFolder = QStringLiteral(TAVIRUNE_PROGRAM_DIR "/Reports/");

    QTemporaryDir dir;
    Connection connection;
    connection.open(dir.filePath(QStringLiteral("TAVIRUNE.MDB")), true);
    createSchema(connection);
    fill(connection);
    QDir().mkpath(dir.filePath(QStringLiteral("Images")));
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(QColor(180, 120, 60));
    photo.save(dir.filePath(QStringLiteral("Images/Animal1.jpg")), "JPEG", 90);

    DataModuleReport module(connection);
    ReportRunner::Settings settings{
        reportFolder, dir.path() + QLatin1Char('/'), QStringLiteral("€"), {}, {}};
    ReportRunner runner(module, settings);
    const QVector<Statement> statements = reportStatements(module, reportFolder);
    const QString photoPath = dir.filePath(QStringLiteral("Images/Animal1.jpg"));

    std::vector<double> reportMs, floorMs, ratios, reportCpu, floorCpu;
    int pages = 0;
    int floorRows = 0;
    qint64 pdfBytes = 0;
    for (int sample = 0; sample < kSamples; ++sample) {
        double floor = 0;
        double report = 0;
        // The two take turns going first.
        for (int side = 0; side < 2; ++side) {
            Stopwatch watch;
            if ((side == 0) == (sample % 2 == 0)) {
                floorRows = floorRun(connection.sqliteHandle(), statements, photoPath,
                                     dir.filePath(QStringLiteral("rows.txt")));
                floor = watch.wallMs();
                floorCpu.push_back(watch.cpuMs());
                continue;
            }
            const ReportOutcome outcome = runner.booklet(kAnimal);
            const Result written =
                outcome.status == ReportOutcome::Status::Ready
                    ? outcome.report.writePdf(dir.filePath(QStringLiteral("carnet.pdf")))
                    : Result::failure(QString());
            if (!written) {
                std::fprintf(stderr, "échec : %s %s\n", qPrintable(outcome.message),
                             qPrintable(written.error));
                return 1;
            }
            report = watch.wallMs();
            reportCpu.push_back(watch.cpuMs());
            pages = outcome.report.pageCount();
        }
        pdfBytes = QFile(dir.filePath(QStringLiteral("carnet.pdf"))).size();
        floorMs.push_back(floor);
        reportMs.push_back(report);
        ratios.push_back(report / floor);
    }
    const Memory memory = processMemory();
    std::printf("Carnet de santé : 500 actes, 200 vaccinations, 2000 pesées, photo 4000x3000, "
                "sans courbes\n");
    std::printf("  rapport en PDF (%d pages, %lld ko) : %s\n", pages, pdfBytes / 1024,
                qPrintable(spread(reportMs)));
    std::printf("  plancher (%d lignes lues par l'API C en texte, photo réduite) : %s\n", floorRows,
                qPrintable(spread(floorMs)));
    std::printf("  rapport / plancher                : %s\n", qPrintable(spread(ratios, "x", 2)));
    std::printf("  temps processeur : rapport %s, plancher %s\n", qPrintable(spread(reportCpu)),
                qPrintable(spread(floorCpu)));
    std::printf("  mémoire : %.1f Mo résidents, pointe %.1f Mo\n", memory.rss, memory.hwm);
    std::printf("  objectif : < 1000 ms, < 150 Mo -> %s\n",
                median(reportMs) < 1000 && memory.hwm < 150 ? "atteint" : "MANQUÉ");
    return 0;
}
