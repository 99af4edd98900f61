#pragma once

#include <QString>

#include <optional>

namespace tav {

// Where the start-up looks: filled from the desktop by main(), and from
// temporary folders by the tests.
struct StartupEnvironment
{
    QString programFolder;   // the folder of the executable, its resources beside it
    QString documentsFolder; // the user's documents folder
    QString lockFolder;      // where the single-instance lock lives
    QString programName = QStringLiteral("tavirune");
    // Whether the program folder lies on a removable drive; asked of the
    // system when not set.
    std::optional<bool> removableDrive;

    static StartupEnvironment fromDesktop();
};

} // namespace tav
