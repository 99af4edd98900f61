#pragma once

#include <QString>

namespace tav {

// The connection settings of db.ini in the data folder.
struct DbConfig
{
    QString provider;     // "OLEDB" or "ODBC", compared exactly
    QString databasePath; // DataBase/Path as written
    QString odbcName;
    QString odbcDriver;
    QString odbcPath;
    QString oledbProvider;
    QString oledbFileName;

    QString databaseFolder;   // resolved, with a trailing "/"
    QString databaseFileName; // per provider, relative to the folder; empty for an unknown provider
    bool customDatabaseFolder = false; // Path names a folder of its own

    // Reads dataFolder/db.ini (writing it with the values read when it does
    // not exist) and resolves the folders. programFolder is the base of a
    // relative database folder.
    static DbConfig read(const QString& dataFolder, const QString& programFolder);

    // Why these settings cannot lead to a database, in French: an unknown
    // provider, a file name that names a folder, or a database folder of
    // its own that does not exist (a drive not mounted: an empty booklet
    // must not be created in its place). Empty when they can.
    QString unusableReason() const;

    // The file tested, copied and compacted whatever the provider.
    QString databaseFilePath() const;
    // The file the connection opens; empty when the provider cannot be used
    // here, with the reason in *why.
    QString connectionFilePath(QString* why = nullptr) const;
    QString connectionString() const;
};

// Backslash separators of files written on Windows become "/".
QString toLocalPath(const QString& path);

} // namespace tav
