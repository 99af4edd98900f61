#include "startup/Startup.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tav::Startup startup(tav::StartupEnvironment::fromDesktop());
    if (!startup.start())
        return 0;
    // Lets the start-up benchmark time a launch up to the shown window.
    if (qEnvironmentVariableIsSet("TAVIRUNE_QUIT_WHEN_SHOWN")) {
        QTimer::singleShot(0, &app, []() {
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return QApplication::exec();
}
