#pragma once

#include "core/Result.h"

#include <QString>

namespace tav {

class DataSet;

// The outcome of a maintenance step.
using MaintenanceResult = Result;

// Writes a compacted copy of the closed database file source to
// destination, replacing it: the copy is written beside the destination
// under a temporary name, checked (integrity and the same tables with the
// same numbers of rows), flushed to the disk, and only then put in place.
// The source is never changed; on failure nothing is left behind.
MaintenanceResult compactDatabaseFile(const QString& source, const QString& destination);

// Compacts the closed database file in place. The file keeps its content
// under its own name at every moment: the compacted copy is made under the
// temporary name "TAVIRUNE~.MDB" of its folder and replaces the file in one
// step. A temporary file already there may hold the data of an interrupted
// compaction of an earlier version: it is left alone and nothing is done.
MaintenanceResult compactDatabaseInPlace(const QString& databaseFile);

// One row of the history of backups, restores and compactions: today's
// date, the time (hours and minutes), the description and the path, cut to
// the 255 characters its column holds. Throws DbError.
void addBackupHistory(DataSet& backup, const QString& description, const QString& path);

} // namespace tav
