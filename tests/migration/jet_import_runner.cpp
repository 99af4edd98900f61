// Runs one import of a Jet booklet into a data folder, as the main window
// does, so that a test can kill it at any moment.
#include "migration/JetImportRun.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 8)
        return 2;
    const tav::BookletFiles files{a.at(1), a.at(2), a.at(3), a.at(4)};
    std::puts("start");
    std::fflush(stdout);
    const tav::MaintenanceResult r =
        tav::importJetBooklet(files, a.at(5), a.at(6), a.at(7), {}, nullptr);
    std::puts(r.ok ? "ok" : qPrintable(r.error));
    return r.ok ? 0 : 1;
}
