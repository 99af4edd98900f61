#pragma once

#include "core/Settings.h"
#include "db/DbConfig.h"

#include <QString>

namespace tav {

class Connection;
class DataModule1;
class DataModule2;
class DataModuleReport;

// The process-wide values that the start-up fixes and every window reads.
struct AppContext
{
    QString programFolder; // with a trailing "/"
    QString dataFolder;    // with a trailing "/"
    QString reportFolder;
    QString helpFile;
    QString settingsPath;
    bool newerSystem = true;
    // The currency symbol of money columns; the system's when empty.
    QString currencySymbol;

    Settings settings;
    DbConfig dbConfig;

    Connection* connection = nullptr;
    DataModule1* module1 = nullptr;
    DataModule2* module2 = nullptr;
    DataModuleReport* moduleReport = nullptr;

    QString databaseFolder() const { return dbConfig.databaseFolder; }
};

} // namespace tav
