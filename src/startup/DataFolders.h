#pragma once

#include "core/FileRoutines.h"
#include "startup/StartupEnvironment.h"

#include <QString>

namespace tav {

// The data folder: the program folder itself for a portable or development
// installation, else Orvandel/Tavirune in the documents folder (or under the
// folder that directories.ini names, a relative one being taken from the
// program folder). Creates what is missing, with the
// warning file in each folder it creates, and the sub-folders in order.
QString resolveDataFolder(const StartupEnvironment& env);

// The program folder made absolute, with its trailing "/".
QString absoluteProgramFolder(const StartupEnvironment& env);

// The program file's name with ".dpr" beside it marks a development copy.
bool hasDevelopmentMarker(const StartupEnvironment& env);
bool isOnRemovableDrive(const QString& path);

// Copies a file into the data folder from the program folder, then
// Ressources/DB/, then Maj/, from the first place that has it; never
// overwrites. Succeeds when the file is in the data folder afterwards.
FileResult copyIfMissing(const QString& fileName, const QString& dataFolder,
                         const QString& programFolder);

// Writes then removes write.tmp; fails when the folder cannot be written.
FileResult dataFolderIsWritable(const QString& dataFolder);

QString withTrailingSlash(const QString& path);

} // namespace tav
