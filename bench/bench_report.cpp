// Prepares the printed booklet of a heavy animal (500 acts, 200
// vaccinations, 2,000 weighings, a camera photo, both curve pictures) and
// writes it as PDF, against the honest floor of the same run: the same
// six data sets opened and their rows written out as plain text. Each
// figure is the median of kSamples samples with its spread; the two take
// turns within a sample so that a slower moment of the machine falls on
// both. Run it from a Release build, with QT_QPA_PLATFORM=offscreen.
#include "BenchSupport.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/ReportQueries.h"
#include "db/Schema.h"
#include "db/TableFilters.h"
#include "report/ReportRunner.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

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

QImage curve(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(223, 223, 255));
    QPainter p(&image);
    p.setPen(QPen(Qt::darkBlue, 3));
    for (int x = 0; x + 8 < size.width(); x += 8)
        p.drawLine(x, size.height() / 2 + (x % 97) - 48, x + 8,
                   size.height() / 2 + ((x + 8) % 97) - 48);
    return image;
}

// The floor: the same rows read through the same data sets and written as
// lines of text.
void writeRowsAsText(DataModuleReport& module, const QString& reportFolder, const QString& path)
{
    QStringList sql;
    if (!buildReportSql(reportFolder + QStringLiteral("Fich.rpt"), true, {}, &sql))
        return;
    reportqueries::openMain(module, sql, tablefilters::animal(kAnimal));
    reportqueries::openBookletDetails(module, kAnimal);
    QSaveFile file(path);
    file.open(QIODevice::WriteOnly);
    QTextStream out(&file);
    for (DataSet* d : module.dataSets()) {
        for (int row = 0; row < d->recordCount(); ++row) {
            QStringList fields;
            for (int f = 0; f < d->fieldCount(); ++f)
                fields.append(d->displayTextAt(row, f));
            out << fields.join(QLatin1Char('\t')) << "\r\n";
        }
    }
    out.flush();
    file.commit();
    reportqueries::closeAll(module);
}

} // namespace

int main(int argc, char** argv)
{
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
    settings.chartRenderer = [](int, tav::MeasureKind, int, const QSize& size) {
        return curve(size);
    };
    ReportRunner runner(module, settings);

    std::vector<double> reportMs, floorMs, ratios, reportCpu, floorCpu;
    int pages = 0;
    qint64 pdfBytes = 0;
    for (int sample = 0; sample < kSamples; ++sample) {
        Stopwatch watch;
        writeRowsAsText(module, reportFolder, dir.filePath(QStringLiteral("rows.txt")));
        const double floor = watch.wallMs();
        floorCpu.push_back(watch.cpuMs());

        watch.start();
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
        const double report = watch.wallMs();
        reportCpu.push_back(watch.cpuMs());
        pages = outcome.report.pageCount();
        pdfBytes = QFile(dir.filePath(QStringLiteral("carnet.pdf"))).size();
        floorMs.push_back(floor);
        reportMs.push_back(report);
        ratios.push_back(report / floor);
    }
    const Memory memory = processMemory();
    std::printf("Carnet de santé : 500 actes, 200 vaccinations, 2000 pesées, photo 4000x3000\n");
    std::printf("  rapport en PDF (%d pages, %lld ko) : %s\n", pages, pdfBytes / 1024,
                qPrintable(spread(reportMs)));
    std::printf("  mêmes lignes en texte (plancher)  : %s\n", qPrintable(spread(floorMs)));
    std::printf("  rapport / plancher                : %s\n", qPrintable(spread(ratios, "x", 2)));
    std::printf("  temps processeur : rapport %s, plancher %s\n", qPrintable(spread(reportCpu)),
                qPrintable(spread(floorCpu)));
    std::printf("  mémoire : %.1f Mo résidents, pointe %.1f Mo\n", memory.rss, memory.hwm);
    std::printf("  objectif : < 1000 ms, < 150 Mo -> %s\n",
                median(reportMs) < 1000 && memory.hwm < 150 ? "atteint" : "MANQUÉ");
    return 0;
}
