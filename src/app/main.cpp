#include "startup/Startup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tav::Startup startup(tav::StartupEnvironment::fromDesktop());
    std::function<void()> whenShown;
    // Lets the start-up benchmark time a launch up to the shown window.
    if (qEnvironmentVariableIsSet("TAVIRUNE_QUIT_WHEN_SHOWN")) {
        whenShown = []() {
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QCoreApplication::quit();
        };
    }
    // A start that failed ends with a non-zero status, so that a launcher
    // or a script can tell.
    return startup.run(whenShown);
}
