#pragma once

#include <QString>
#include <QStringList>

namespace tav {

// Size in bytes of a regular file; 0 when it is missing or not a file.
qint64 fileSize(const QString& path);

// Names (without folder) of the regular files of a folder matching a
// wildcard pattern such as "*.maj". As on the original platform the pattern
// ignores case and the names come sorted without regard to case, so that
// update scripts run in the order of their names.
QStringList listFiles(const QString& folder, const QString& pattern);

// Copies every regular file of the source folder that matches the pattern
// into the destination folder, replacing files of the same name. Each file
// is copied under a temporary name first, so a failed copy never leaves a
// truncated file or loses the one it was to replace. Returns true when every
// matching file was copied.
bool copyFiles(const QString& sourceFolder, const QString& destinationFolder,
               const QString& pattern);

// Copies a file only when the destination does not exist yet; never
// overwrites. Returns true when a copy was made.
bool copyFileIfMissing(const QString& source, const QString& destination);

// Full path of the running program file.
QString programPath();

} // namespace tav
