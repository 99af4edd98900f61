#include "core/HeapTuning.h"
#include "migration/JetImportRun.h"
#include "startup/Startup.h"
#include "ui/FrameCacheStyle.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    tav::keepFreedHeapForReuse();
    // The import of a Jet booklet reads it in a child: this program
    // started again with the child's option.
    if (tav::isJetImportChildCall(argc, argv))
        return tav::jetImportChildMain(argc, argv);
    QApplication app(argc, argv);
    tav::FrameCacheStyle::install();
    tav::Startup startup(tav::StartupEnvironment::fromDesktop());
    std::function<void()> whenShown;
    // Lets the start-up benchmark time a launch up to the shown window.
    if (qEnvironmentVariableIsSet("TAVIRUNE_QUIT_WHEN_SHOWN")) {
        whenShown = []() {
            // With the memory held at that moment, for the benchmark.
            QFile status(QStringLiteral("/proc/self/status"));
            QByteArray memory;
            if (status.open(QIODevice::ReadOnly)) {
                for (const QByteArray& line : status.readAll().split('\n')) {
                    if (line.startsWith("VmRSS:") || line.startsWith("VmHWM:"))
                        memory += ' ' + line.simplified();
                }
            }
            const QByteArray line = QByteArray("shown") + memory + '\n';
            std::fputs(line.constData(), stdout);
            std::fflush(stdout);
            QCoreApplication::quit();
        };
    }
    // A start that failed ends with a non-zero status, so that a launcher
    // or a script can tell.
    return startup.run(whenShown);
}
