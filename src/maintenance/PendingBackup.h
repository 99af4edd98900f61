#pragma once

#include "maintenance/Compaction.h"

#include <QString>

namespace tav {

class Connection;

// A backup writes its history row before the database is packed, so that
// the archive holds the row of its own backup. Until the archive is in
// place a note in the Backup folder says which row that is, so that a
// backup cut short (a power cut, a killed process) does not stay listed:
// the next start takes its row back.

// Written before the row; false when the note cannot be written.
bool notePendingBackup(const QString& workFolder, const QString& description,
                       const QString& archive);
// Once the row has been kept (the archive is in place) or taken back.
void forgetPendingBackup(const QString& workFolder);

// At start, with the database open: the row of a noted backup whose
// archive never took its place is taken back. Nothing to do without a
// note.
MaintenanceResult settlePendingBackup(Connection& connection, const QString& workFolder);

} // namespace tav
