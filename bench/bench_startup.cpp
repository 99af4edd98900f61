// Time from process start to the main window shown, against a minimal Qt
// program that opens the same database and shows one line of text, in the
// same run, launches alternating. Run on the empty template and on a
// booklet of 1,000 animals made by the shared generator, each with its
// photos, acts, medicines, weighings, analyses and vaccinations, several
// of them overdue (10,000 animals with --large); the platform is offscreen
// unless QT_QPA_PLATFORM says otherwise (under xvfb-run, run it with
// QT_QPA_PLATFORM=xcb). The floor opens the same file and shows a window
// with one line of text: the least any program showing this booklet does.
#include "BenchBooklet.h"
#include "BenchSupport.h"
#include "db/Connection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <vector>

namespace {

struct Launch
{
    double ms = -1;
    double rssMb = 0;
    double hwmMb = 0;
};

Launch runOnce(const QString& program, const QStringList& args, const QProcessEnvironment& env,
               const QString& workDir)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    // The program says "shown" once its window is shown, with its memory
    // at that moment; its teardown is not part of the start-up.
    Launch launch;
    QByteArray output;
    while (launch.ms < 0 && p.waitForReadyRead(120000)) {
        output += p.readAllStandardOutput();
        if (output.contains("shown") && output.endsWith('\n'))
            launch.ms = double(t.nsecsElapsed()) / 1e6;
    }
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return Launch();
    static const QRegularExpression rss(QStringLiteral("VmRSS: (\\d+) kB"));
    static const QRegularExpression hwm(QStringLiteral("VmHWM: (\\d+) kB"));
    const QString text = QString::fromUtf8(output);
    launch.rssMb = rss.match(text).captured(1).toDouble() / 1024;
    launch.hwmMb = hwm.match(text).captured(1).toDouble() / 1024;
    return launch;
}

bool measure(const QString& label, const QString& tavirune, const QString& floor,
             const QString& database, const QProcessEnvironment& env, const QString& programDir,
             int runs, QTextStream& out)
{
    std::vector<double> app, text, empty, rss, hwm, floorRss;
    // One launch of each first, so that every measured launch finds the
    // files in the page cache.
    runOnce(tavirune, {}, env, programDir);
    runOnce(floor, {database, QStringLiteral("--text")}, env, programDir);
    for (int i = 0; i < runs; ++i) {
        const Launch a = runOnce(tavirune, {}, env, programDir);
        const Launch f = runOnce(floor, {database, QStringLiteral("--text")}, env, programDir);
        const Launch e = runOnce(floor, {database}, env, programDir);
        if (a.ms < 0 || f.ms < 0 || e.ms < 0) {
            out << "  " << label << ": a launch failed\n";
            return false;
        }
        app.push_back(a.ms);
        text.push_back(f.ms);
        empty.push_back(e.ms);
        rss.push_back(a.rssMb);
        hwm.push_back(a.hwmMb);
        floorRss.push_back(f.rssMb);
    }
    out << "  " << label << "\n";
    out << "    tavirune:                        " << spread(app) << "\n";
    out << "    floor, one line of text:         " << spread(text) << "\n";
    out << "    floor, empty window:             " << spread(empty) << "\n";
    out << "    ratio to the text floor: " << QString::number(median(app) / median(text), 'f', 2)
        << " (goal: at most 1.50); to the empty window: "
        << QString::number(median(app) / median(empty), 'f', 2) << "\n";
    out << "    tavirune memory when shown: VmRSS " << spread(rss, "MB") << ", VmHWM "
        << spread(hwm, "MB") << " (goal: under 100 MB); floor VmRSS " << spread(floorRss, "MB")
        << "\n";
    out.flush();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication::setAttribute(Qt::AA_Use96Dpi);
    // Only to draw the generated pictures.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const bool large = app.arguments().contains(QStringLiteral("--large"));
    const int runs = 9;
    const QString programDir = QStringLiteral(TAVIRUNE_PROGRAM_DIR);
    const QString tavirune = programDir + QStringLiteral("/tavirune");
    const QString floor = QCoreApplication::applicationDirPath() + QStringLiteral("/floor_window");
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), home.filePath(QStringLiteral("Documents")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(platform));
    env.insert(QStringLiteral("TAVIRUNE_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    QDir().mkpath(home.filePath(QStringLiteral("run")));
    // The first launch lays out the data folder; the runs measured find it.
    if (runOnce(tavirune, {}, env, programDir).ms < 0) {
        out << "tavirune did not start\n";
        return 1;
    }
    const QString database =
        home.filePath(QStringLiteral("Documents/Orvandel/Tavirune/Data/Access/TAVIRUNE.MDB"));
    out << "Start-up to the main window shown (platform " << platform << "), median of " << runs
        << " launches with min-max\n";
    out.flush();
    if (!measure(QStringLiteral("empty template"), tavirune, floor, database, env, programDir, runs,
                 out))
        return 1;
    int filled = 0;
    for (int animals : large ? std::vector<int>{1000, 10000} : std::vector<int>{1000}) {
        tav::Connection c;
        c.open(database);
        const int photo = fillBooklet(c, animals - filled, 2026u + unsigned(filled));
        // The latest shot of each vaccine whose reminder date is past.
        QSqlQuery count(c.database());
        count.exec(QStringLiteral(
            "SELECT COUNT(*) FROM VACCINE v WHERE Repeat_Date < date('now') AND NOT EXISTS "
            "(SELECT 1 FROM VACCINE w WHERE w.Id_Ref = v.Id_Ref AND w.Id_Vaccine = v.Id_Vaccine "
            "AND w.Date_Vaccine > v.Date_Vaccine)"));
        const int overdue = count.next() ? count.value(0).toInt() : -1;
        count.finish();
        c.close();
        filled = animals;
        if (photo < 0) {
            out << "filling the booklet failed\n";
            return 1;
        }
        const qint64 size = QFileInfo(database).size();
        if (!measure(QStringLiteral("%1 animals with their care, %2 KB photo each, %3 "
                                    "reminders overdue (database %4 MB)")
                         .arg(animals)
                         .arg(photo / 1024)
                         .arg(overdue)
                         .arg(size / (1024 * 1024)),
                     tavirune, floor, database, env, programDir, runs, out))
            return 1;
    }
    return 0;
}
