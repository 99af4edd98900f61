#pragma once

#include "maintenance/Compaction.h"

#include <QString>

#include <functional>

namespace tav {

// Where the booklets' data lies: the database file, its pictures and
// attached files, and the working folder of backups.
struct BookletFiles
{
    QString databaseFile; // .../Data/Access/TAVIRUNE.MDB
    QString imagesFolder; // .../Data/Images
    QString filesFolder;  // .../Data/Files
    QString workFolder;   // .../Backup
};

// Told the step under way ("Compression : Doc1.jpg"), the count done and
// the count to do.
using BackupProgress = std::function<void(const QString& task, int done, int total)>;

// Packs the booklets into one cabinet archive: the database, compacted in
// place first, then every "*.jpg" of the pictures and every "*.f" of the
// attached files, each under its bare name. The caller has closed every
// connection to the database. The archive is read back and its entries
// checked before success is reported.
MaintenanceResult writeBackupArchive(const BookletFiles& files, const QString& archive,
                                     const BackupProgress& progress = {});

// Tells whether the booklets just put in place open: the French reason
// when they do not, empty when they do.
using RestoredCheck = std::function<QString()>;

// Replaces the booklets by those of an archive, losing nothing on the way:
// the archive is extracted into a fresh folder beside the database and its
// database checked (integrity, every booklet table, a readable schema
// version) before anything is touched; the current database, pictures and
// attached files are first packed into safetyArchive; the replacement is
// made by renames that are undone if one fails. Once in place, the
// booklets must open (opens, by default as the start-up opens them), or
// everything is put back as it was. Only the database, "*.jpg" and "*.f"
// entries are taken. The caller has closed every connection.
MaintenanceResult restoreBackupArchive(const BookletFiles& files, const QString& archive,
                                       const QString& safetyArchive,
                                       const BackupProgress& progress = {},
                                       const RestoredCheck& opens = {});

// Finishes or undoes a restore that was cut short, from the journal it
// wrote before its first move: the booklets are then wholly those of
// before or wholly those of the archive. Nothing to do without a journal.
MaintenanceResult recoverInterruptedRestore(const BookletFiles& files);

} // namespace tav
