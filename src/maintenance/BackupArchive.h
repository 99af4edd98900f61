#pragma once

#include "maintenance/Compaction.h"

#include <QString>
#include <QVector>

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

// Today's booklet as a restore moved it aside: its database, pictures and
// attached files in one folder, beside the data, with a note naming the
// safety archive they are to be packed into. The folder goes only once
// that archive is in place and read back.
struct SetAsideBooklet
{
    QString folder;
    QString archive;
};

// Replaces the booklets by those of an archive, losing nothing on the way:
// the archive is extracted into a fresh folder beside the database and its
// database checked (integrity, every booklet table, a readable schema
// version) before anything is touched; the current database, pictures and
// attached files are moved aside (renames, undone if one fails) and the
// archive's put in their place. Once in place, the booklets must open
// (opens, by default as the start-up opens them), or everything is put
// back as it was. Only the database, "*.jpg" and "*.f" entries are taken.
// The caller has closed every connection.
// With setAside, what was replaced is left aside for the caller to pack
// later (packSetAsideBooklet), so that the restored booklet is usable at
// once; without, today's booklet is packed into safetyArchive before
// anything is touched.
MaintenanceResult restoreBackupArchive(const BookletFiles& files, const QString& archive,
                                       const QString& safetyArchive,
                                       const BackupProgress& progress = {},
                                       const RestoredCheck& opens = {},
                                       SetAsideBooklet* setAside = nullptr);

// Packs a set-aside booklet into its safety archive (written under a
// temporary name, read back, then renamed), and only then deletes the
// folder. On failure the folder stays whole and the message says where.
// Safe on any thread: it touches nothing but those files.
MaintenanceResult packSetAsideBooklet(const SetAsideBooklet& aside,
                                      const BackupProgress& progress = {});

// The set-aside booklets whose safety archive was not completed (a
// process killed while packing).
QVector<SetAsideBooklet> pendingSetAsideBooklets(const BookletFiles& files);

// Finishes or undoes a restore that was cut short, from the journal it
// wrote before its first move: the booklets are then wholly those of
// before or wholly those of the archive. Then packs every set-aside
// booklet whose safety archive was not completed; one that cannot be
// packed is kept, and the failure says where.
MaintenanceResult recoverInterruptedRestore(const BookletFiles& files);

} // namespace tav
