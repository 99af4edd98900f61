#include "maintenance/BackupArchive.h"

#include "core/Clock.h"
#include "core/FrenchText.h"
#include "db/BookletCheck.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "maintenance/JournalFile.h"
#include "media/Cabinet.h"
#include "media/CabinetWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace tav {

namespace {

const QString kDatabaseEntry = QStringLiteral("TAVIRUNE.MDB");

// The visible files of a folder with one extension, by name.
QStringList listed(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

bool renameFile(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// The entries of a backup of the files as they are now.
QVector<CabinetEntry> entriesOf(const BookletFiles& files)
{
    QVector<CabinetEntry> entries{{kDatabaseEntry, files.databaseFile}};
    for (const QString& name : listed(files.imagesFolder, QStringLiteral("*.jpg")))
        entries.append({name, files.imagesFolder + QLatin1Char('/') + name, false});
    for (const QString& name : listed(files.filesFolder, QStringLiteral("*.f")))
        entries.append({name, files.filesFolder + QLatin1Char('/') + name, false});
    return entries;
}

MaintenanceResult pack(const QString& archive, const QVector<CabinetEntry>& entries,
                       const BackupProgress& progress)
{
    // The archive takes its name only once it has been read back whole, so
    // that an earlier archive of that name survives a failed backup.
    const QString candidate = archive + QStringLiteral(".nouveau");
    const int total = int(entries.size());
    QVector<QByteArray> digests;
    const CabinetResult written = writeCabinet(
        candidate, entries,
        [&progress, total](int index, const QString& name) {
            if (progress)
                progress(fr("Compression : ") + name, index, total);
        },
        &digests);
    if (!written.ok)
        return MaintenanceResult::failure(written.errorNumber != 0
                                              ? archiveWriteError(archive, written.errorNumber)
                                              : written.error);
    QStringList names;
    QStringList expected;
    for (const CabinetEntry& e : entries)
        expected << e.name;
    QString problem;
    if (const CabinetResult read = listCabinet(candidate, &names); !read.ok)
        problem = read.error;
    else if (names != expected)
        problem =
            fr("L'archive « %1 » ne contient pas tous les fichiers sauvegardés.").arg(archive);
    if (problem.isEmpty()) {
        if (progress)
            progress(fr("Vérification de la sauvegarde"), total, total);
        QVector<qint64> sizes;
        for (const CabinetEntry& e : entries)
            sizes << QFileInfo(e.sourcePath).size();
        // Every block read back from the disk, its checksum checked and its
        // bytes compared with those that were read to write it.
        if (const CabinetResult read = verifyCabinet(candidate, sizes, digests); !read.ok)
            problem = read.error;
    }
    if (problem.isEmpty() && !renameFile(candidate, archive))
        problem = archiveWriteError(archive, errno);
    if (!problem.isEmpty()) {
        QFile::remove(candidate);
        return MaintenanceResult::failure(problem);
    }
    if (progress)
        progress(QString(), total, total);
    return {};
}

// A database file that the booklets can use.
QString databaseProblem(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return fr("L'archive ne contient pas de base de données (TAVIRUNE.MDB).");
    // The Windows versions kept a Microsoft Access file under that name.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(20);
        if (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB")
            return fr("l'archive vient d'une version de Tavirune pour Windows : sa base de "
                      "données Microsoft Access ne peut pas être lue par ce programme.");
    }
    try {
        Connection c;
        c.open(path);
        const QString integrity = c.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (integrity != QLatin1String("ok"))
            return fr("La base de données de l'archive est endommagée : %1").arg(integrity);
        // What the start-up requires: a database that passes this opens at
        // the next start.
        if (QString why = bookletProblem(c); !why.isEmpty())
            return why;
        if (QString why = versionProblem(c); !why.isEmpty())
            return why;
    } catch (const DbError& e) {
        return e.message();
    }
    return {};
}

// The booklets just put in place open as the start-up opens them.
QString opensAsAtStart(const QString& databaseFile)
{
    try {
        Connection c;
        c.open(databaseFile);
        return bookletProblem(c);
    } catch (const DbError& e) {
        return e.message();
    }
}

// Moves the files of one kind out of a folder into another, remembering
// each move so that it can be undone.
struct Moves
{
    QVector<QPair<QString, QString>> done; // from, to

    bool move(const QString& from, const QString& to)
    {
        if (!renameFile(from, to))
            return false;
        done.append({from, to});
        return true;
    }
    void undo()
    {
        for (auto it = done.crbegin(); it != done.crend(); ++it)
            renameFile(it->second, it->first);
        done.clear();
    }
};

// Where a restore unpacks the archive and puts today's files aside: the
// folder that holds the database's folder, so that every move is a rename
// within one file system even when the Backup folder lies on another disk.
QString stagingParent(const BookletFiles& files)
{
    return QFileInfo(QFileInfo(files.databaseFile).absolutePath()).absolutePath();
}

QString journalPath(const BookletFiles& files)
{
    return files.workFolder + QStringLiteral("/restauration-en-cours.journal");
}

// The note in a set-aside folder naming its safety archive. A folder
// without it holds nothing unarchived: it was created just before the
// note, or its archive is in place and only its deletion was cut short.
const QString kSetAsideNote = QStringLiteral(".archive-de-securite");
const QString kSetAsidePrefix = QStringLiteral("avant-restauration-");

bool writeSetAsideNote(const SetAsideBooklet& aside)
{
    return writeJournal(aside.folder + QLatin1Char('/') + kSetAsideNote,
                        {{QStringLiteral("SAFETY"), aside.archive}});
}

// What a set-aside folder holds of a booklet.
QVector<CabinetEntry> setAsideEntries(const QString& folder)
{
    QVector<CabinetEntry> entries;
    const QString database = folder + QLatin1Char('/') + kDatabaseEntry;
    if (QFileInfo::exists(database))
        entries.append({kDatabaseEntry, database});
    for (const QString& pattern : {QStringLiteral("*.jpg"), QStringLiteral("*.f")})
        for (const QString& name : listed(folder, pattern))
            entries.append({name, folder + QLatin1Char('/') + name, false});
    return entries;
}

// Removes a set-aside folder whose files are archived or were all put
// back: the note first, so that a deletion cut short leaves a folder the
// next start knows it may finish deleting.
void removeSetAside(const QString& folder)
{
    QFile::remove(folder + QLatin1Char('/') + kSetAsideNote);
    QDir(folder).removeRecursively();
}

// The moves a restore is about to make, written before the first one, so
// that a restore cut short (a power cut, a killed process) is finished or
// undone at the next start instead of leaving a mix of two states.
bool writeRestoreJournal(const BookletFiles& files, const QString& staging,
                         const QVector<QPair<QString, QString>>& moves,
                         const QString& stagedDatabase)
{
    QVector<QStringList> records{{QStringLiteral("STAGING"), staging}};
    for (const auto& [from, to] : moves)
        records.append({QStringLiteral("MOVE"), from, to});
    records.append({QStringLiteral("DATABASE"), stagedDatabase, files.databaseFile});
    return writeJournal(journalPath(files), records);
}

} // namespace

QVector<SetAsideBooklet> pendingSetAsideBooklets(const BookletFiles& files)
{
    QVector<SetAsideBooklet> found;
    const QString parent = stagingParent(files);
    for (const QString& name : QDir(parent).entryList(
             {kSetAsidePrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = parent + QLatin1Char('/') + name;
        QVector<QStringList> records;
        if (!readJournal(folder + QLatin1Char('/') + kSetAsideNote, &records)) {
            if (!QFileInfo::exists(folder + QLatin1Char('/') + kSetAsideNote))
                QDir(folder).removeRecursively();
            continue;
        }
        for (const QStringList& r : std::as_const(records))
            if (r.value(0) == QLatin1String("SAFETY") && r.size() == 2)
                found.append({folder, r.at(1)});
    }
    return found;
}

MaintenanceResult packSetAsideBooklet(const SetAsideBooklet& aside, const BackupProgress& progress)
{
    const QVector<CabinetEntry> entries = setAsideEntries(aside.folder);
    // Nothing was there to keep, or a restore that was undone put it all
    // back.
    if (entries.isEmpty()) {
        removeSetAside(aside.folder);
        return {};
    }
    if (const MaintenanceResult packed = pack(aside.archive, entries, progress); !packed.ok)
        return MaintenanceResult::failure(
            fr("L'archive de sécurité « %1 » n'a pas pu être écrite : %2\nLes données "
               "remplacées par la restauration sont gardées dans le dossier « %3 ».")
                .arg(aside.archive, packed.error, aside.folder));
    removeSetAside(aside.folder);
    return {};
}

namespace {

// Packs what restores killed while packing left aside.
MaintenanceResult packPendingSetAside(const BookletFiles& files)
{
    QStringList failures;
    for (const SetAsideBooklet& aside : pendingSetAsideBooklets(files))
        if (const MaintenanceResult r = packSetAsideBooklet(aside); !r.ok)
            failures << r.error;
    return failures.isEmpty() ? MaintenanceResult{}
                              : MaintenanceResult::failure(failures.join(QLatin1Char('\n')));
}

} // namespace

MaintenanceResult recoverInterruptedRestore(const BookletFiles& files)
{
    QFile journal(journalPath(files));
    // Folders of restores cut short before their journal hold only copies
    // of an archive's files.
    const auto removeLeftovers = [&files]() {
        // Earlier versions unpacked into the Backup folder.
        for (const QString& parent : {stagingParent(files), files.workFolder})
            for (const QString& name : QDir(parent).entryList({QStringLiteral("restauration-*")},
                                                              QDir::Dirs | QDir::NoDotAndDotDot))
                QDir(parent + QLatin1Char('/') + name).removeRecursively();
    };
    if (!journal.exists()) {
        removeLeftovers();
        return packPendingSetAside(files);
    }
    QVector<QStringList> records;
    if (!readJournal(journal.fileName(), &records))
        return MaintenanceResult::failure(
            fr("Le journal de restauration « %1 » ne peut pas être lu.").arg(journal.fileName()));
    QString stagedDatabase;
    QVector<QPair<QString, QString>> moves;
    for (const QStringList& parts : std::as_const(records)) {
        if (parts.value(0) == QLatin1String("MOVE") && parts.size() == 3)
            moves.append({parts.at(1), parts.at(2)});
        else if (parts.value(0) == QLatin1String("DATABASE"))
            stagedDatabase = parts.value(1);
    }
    // The database not yet replaced: the restore did not happen, every
    // move is undone. Replaced: it happened, every move was made before.
    if (!stagedDatabase.isEmpty() && QFileInfo::exists(stagedDatabase)) {
        for (auto it = moves.crbegin(); it != moves.crend(); ++it)
            if (QFileInfo::exists(it->second) && !QFileInfo::exists(it->first))
                renameFile(it->second, it->first);
    }
    QFile::remove(journalPath(files));
    removeLeftovers();
    return packPendingSetAside(files);
}

MaintenanceResult writeBackupArchive(const BookletFiles& files, const QString& archive,
                                     const BackupProgress& progress)
{
    if (progress)
        progress(fr("Sauvegarde de la base"), 0, 1);
    if (const MaintenanceResult compacted = compactDatabaseInPlace(files.databaseFile);
        !compacted.ok)
        return compacted;
    return pack(archive, entriesOf(files), progress);
}

MaintenanceResult restoreBackupArchive(const BookletFiles& files, const QString& archive,
                                       const QString& safetyArchive, const BackupProgress& progress,
                                       const RestoredCheck& opens, SetAsideBooklet* setAside)
{
    // 1. Everything from the archive lands in a folder of its own first.
    const QString staging = stagingParent(files) + QStringLiteral("/restauration-") +
                            Clock::now().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    if (!QDir().mkpath(staging))
        return MaintenanceResult::failure(
            fr("Impossible de créer le dossier « %1 ».").arg(staging));
    const auto cleanUp = [&staging]() {
        QDir(staging).removeRecursively();
    };
    if (progress)
        progress(fr("Décompression des fichiers ..."), 0, 1);
    if (const CabinetResult r = extractCabinet(archive, staging); !r.ok) {
        cleanUp();
        return MaintenanceResult::failure(r.error);
    }
    if (progress)
        progress(fr("Vérification de la base restaurée"), 0, 1);
    if (const QString problem = databaseProblem(staging + QLatin1Char('/') + kDatabaseEntry);
        !problem.isEmpty()) {
        cleanUp();
        return MaintenanceResult::failure(
            fr("La sauvegarde « %1 » ne peut pas être restaurée : %2").arg(archive, problem));
    }

    // Without a caller to pack it later, what is there now is archived
    // first, so that a safety archive that cannot be written changes
    // nothing.
    if (!setAside) {
        if (progress)
            progress(fr("Sauvegarde des données actuelles"), 0, 1);
        if (const MaintenanceResult kept = pack(safetyArchive, entriesOf(files), {}); !kept.ok) {
            cleanUp();
            return MaintenanceResult::failure(
                fr("Les données actuelles n'ont pas pu être mises de côté ; rien n'a été "
                   "restauré.\n%1")
                    .arg(kept.error));
        }
    }

    // 2. The current pictures, files and database step aside, the
    // archive's pictures and files take their place, then its database in
    // one rename: that rename is the moment the restore is done. What
    // stepped aside is packed into the safety archive afterwards, so that
    // the user does not wait for it; it stays until that archive is whole.
    if (progress)
        progress(fr("Restauration de la base"), 0, 1);
    const SetAsideBooklet kept{stagingParent(files) + QLatin1Char('/') + kSetAsidePrefix +
                                   Clock::now().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")),
                               safetyArchive};
    const QString aside = kept.folder;
    if (!QDir().mkpath(aside) || !writeSetAsideNote(kept)) {
        QDir(aside).removeRecursively();
        cleanUp();
        return MaintenanceResult::failure(
            fr("Impossible de créer le dossier « %1 » ; rien n'a été restauré.").arg(aside));
    }
    QVector<QPair<QString, QString>> planned;
    const std::pair<QString, QString> kinds[] = {{files.imagesFolder, QStringLiteral("*.jpg")},
                                                 {files.filesFolder, QStringLiteral("*.f")}};
    for (const auto& [folder, pattern] : kinds) {
        QDir().mkpath(folder);
        for (const QString& name : listed(folder, pattern))
            planned.append({folder + QLatin1Char('/') + name, aside + QLatin1Char('/') + name});
        for (const QString& name : listed(staging, pattern))
            planned.append({staging + QLatin1Char('/') + name, folder + QLatin1Char('/') + name});
    }
    // Kept whole, so that a restored database that does not open can be
    // taken back at once.
    if (QFileInfo::exists(files.databaseFile))
        planned.append({files.databaseFile, aside + QLatin1Char('/') + kDatabaseEntry});
    const QString stagedDatabase = staging + QLatin1Char('/') + kDatabaseEntry;
    if (!writeRestoreJournal(files, staging, planned, stagedDatabase)) {
        removeSetAside(aside);
        cleanUp();
        return MaintenanceResult::failure(
            fr("Impossible d'écrire le journal de la restauration ; rien n'a été restauré."));
    }
    Moves moves;
    bool ok = true;
    const int renames = int(planned.size()) + 1;
    for (const auto& [from, to] : std::as_const(planned)) {
        if (progress)
            progress(fr("Restauration de la base"), int(moves.done.size()), renames);
        if (!moves.move(from, to)) {
            ok = false;
            break;
        }
    }
    if (ok && progress)
        progress(fr("Restauration de la base"), renames - 1, renames);
    ok = ok && renameFile(stagedDatabase, files.databaseFile);
    QString unusable;
    if (ok) {
        unusable = opens ? opens() : opensAsAtStart(files.databaseFile);
        // The archive's database goes back first: the journal then says
        // that the restore did not happen, should the undoing be cut short.
        if (!unusable.isEmpty())
            renameFile(files.databaseFile, stagedDatabase);
    }
    if (!ok || !unusable.isEmpty()) {
        moves.undo();
        QFile::remove(journalPath(files));
        cleanUp();
        // Whatever could not be put back stays aside, to be archived.
        if (setAsideEntries(aside).isEmpty())
            removeSetAside(aside);
        const QString before = fr("Les données d'avant la restauration sont restées en place.");
        return MaintenanceResult::failure(
            unusable.isEmpty()
                ? fr("La restauration a échoué.\n") + before
                : fr("La base de données restaurée ne peut pas être ouverte : %1\n").arg(unusable) +
                      before);
    }
    QFile::remove(journalPath(files));
    cleanUp();
    if (setAside) {
        *setAside = kept;
        if (progress)
            progress(QString(), 1, 1);
        return {};
    }
    removeSetAside(aside);
    if (progress)
        progress(QString(), 1, 1);
    return {};
}

} // namespace tav
