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

    // Reads dataFolder/db.ini (writing it with the values read when it does
    // not exist) and resolves the folders. programFolder is the base of a
    // relative database folder.
    static DbConfig read(const QString& dataFolder, const QString& programFolder);

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
