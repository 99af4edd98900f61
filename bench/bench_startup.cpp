// Time from process start to the main window shown, on an existing data
// folder, against a minimal Qt program that opens the same database file and
// shows an empty window, in the same run.
#include "BenchSupport.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

double runOnce(const QString& program, const QStringList& args, const QProcessEnvironment& env,
               const QString& workDir)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    // The program says "shown" once its window is on screen; its teardown
    // is not part of the start-up.
    qint64 shown = -1;
    while (shown < 0 && p.waitForReadyRead(60000)) {
        if (p.readAllStandardOutput().contains("shown"))
            shown = t.nsecsElapsed();
    }
    if (!p.waitForFinished(60000) || p.exitCode() != 0 || shown < 0)
        return -1;
    return double(shown) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString programDir = QStringLiteral(TAVIRUNE_PROGRAM_DIR);
    const QString tavirune = programDir + QStringLiteral("/tavirune");
    const QString floor = QCoreApplication::applicationDirPath() + QStringLiteral("/floor_window");
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), home.filePath(QStringLiteral("Documents")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TAVIRUNE_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    QDir().mkpath(home.filePath(QStringLiteral("run")));
    // The first launch lays out the data folder; the runs measured find it.
    if (runOnce(tavirune, {}, env, programDir) < 0) {
        out << "tavirune did not start\n";
        return 1;
    }
    const QString database =
        home.filePath(QStringLiteral("Documents/Orvandel/Tavirune/Data/Access/TAVIRUNE.MDB"));
    std::vector<double> app_ms, floor_ms, text_ms;
    for (int i = 0; i < 9; ++i) {
        app_ms.push_back(runOnce(tavirune, {}, env, programDir));
        floor_ms.push_back(runOnce(floor, {database}, env, programDir));
        text_ms.push_back(runOnce(floor, {database, QStringLiteral("--text")}, env, programDir));
    }
    if (*std::min_element(app_ms.begin(), app_ms.end()) < 0 ||
        *std::min_element(floor_ms.begin(), floor_ms.end()) < 0) {
        out << "a run failed\n";
        return 1;
    }
    const double a = median(app_ms);
    const double f = median(floor_ms);
    out << "Start-up to the main window shown, existing data folder, median of 9 launches\n";
    out << "  tavirune:                " << QString::number(a, 'f', 1) << " ms\n";
    out << "  minimal Qt + SQLite:     " << QString::number(f, 'f', 1) << " ms\n";
    out << "  ratio: " << QString::number(a / f, 'f', 2) << " (goal: at most 1.50)\n";
    const double t = median(text_ms);
    out << "  the same minimal program showing one line of text: " << QString::number(t, 'f', 1)
        << " ms; ratio to it " << QString::number(a / t, 'f', 2) << "\n";
    return 0;
}
