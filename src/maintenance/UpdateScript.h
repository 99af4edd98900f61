#pragma once

#include "maintenance/Compaction.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tav {

class Connection;

// What an update script works on.
struct UpdateScriptContext
{
    Connection* connection = nullptr; // the shared connection
    QString dataFolder;               // Maj.Log, Backup/Maj; with a trailing "/"
    QString programFolder;            // Stat/, Query/; with a trailing "/"
    QString databaseFolder;           // Access/, Images/; with a trailing "/"
    QString databaseFileName = QStringLiteral("TAVIRUNE.MDB");
    // The progress text place of the caller, when it gives one.
    std::function<void(const QString&)> progressText;
    // The progress window's title, position and maximum.
    std::function<void(const QString& title, int position, int maximum)> progress;
    // Asked before the update when the run may back up first.
    std::function<bool()> askBackup;
};

// The line written to Maj.Log: "dd/mm/yyyy-hh:mm:ss : message", or an empty
// line for an empty message.
QString updateLogLine(const QString& message);

// Runs the script file line by line (conditions, actions, comments), writing
// Maj.Log in the data folder. Each action runs in its own transaction, its
// failure logged and the run going on. With backUp the user is first offered
// a compacted copy of the database in Backup/Maj and the script is deleted
// after its run. Fails only when the script cannot be read or a condition
// cannot be evaluated; the log then says where it stopped.
MaintenanceResult runUpdateScript(const UpdateScriptContext& context, const QString& scriptFile,
                                  bool backUp);

} // namespace tav
