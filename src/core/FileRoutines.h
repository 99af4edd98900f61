#pragma once

#include "core/Result.h"

#include <QString>
#include <QStringList>

namespace tav {

// Outcome of a file operation; a failure names the file.
using FileResult = Result;

// The French reason of the last failed system call (errno), as a short
// clause such as "accès refusé"; empty when nothing more is known.
QString systemErrorReason(int errorNumber);

// Size in bytes of a regular file; 0 when it is missing or not a file.
qint64 fileSize(const QString& path);

// A file size as the documents and the e-mail window show it: thousands of
// bytes, truncated, then " Ko" (999 bytes give "0 Ko", 1999 "1 Ko").
QString sizeInKo(qint64 bytes);

// Names (without folder) of the regular files of a folder matching a
// wildcard pattern such as "*.maj". As on the original platform the pattern
// ignores case and the names come sorted without regard to case, so that
// update scripts run in the order of their names.
QStringList listFiles(const QString& folder, const QString& pattern);

// Copies every regular file of the source folder that matches the pattern
// into the destination folder, replacing files of the same name. Each file
// is copied under a temporary name first, so a failed copy never leaves a
// truncated file or loses the one it was to replace. Fails when any
// matching file could not be copied (the others are still copied), with
// the reason of the first failure.
FileResult copyFiles(const QString& sourceFolder, const QString& destinationFolder,
                     const QString& pattern);

// Copies a file only when the destination does not exist yet; never
// overwrites. Succeeds only when a copy was made: a missing source or an
// existing destination is a failure with its reason.
FileResult copyFileIfMissing(const QString& source, const QString& destination);

// Full path of the running program file.
QString programPath();

// The data folder's sub-folder of that name ("Export", "Html") with a
// trailing "/", made when missing (the user may have removed it). The data
// folder itself when the sub-folder cannot be made.
QString dataSubFolder(const QString& dataFolder, const QString& name);

} // namespace tav
