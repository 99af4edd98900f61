#include "startup/Startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tav::Startup startup(tav::StartupEnvironment::fromDesktop());
    if (!startup.start())
        return 0;
    return QApplication::exec();
}
