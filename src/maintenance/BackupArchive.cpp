#include "maintenance/BackupArchive.h"

#include "core/Clock.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "media/Cabinet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace tav {

namespace {

const QString kDatabaseEntry = QStringLiteral("TAVIRUNE.MDB");

QString tr(const char* text)
{
    return QString::fromUtf8(text);
}

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
        entries.append({name, files.imagesFolder + QLatin1Char('/') + name});
    for (const QString& name : listed(files.filesFolder, QStringLiteral("*.f")))
        entries.append({name, files.filesFolder + QLatin1Char('/') + name});
    return entries;
}

MaintenanceResult pack(const QString& archive, const QVector<CabinetEntry>& entries,
                       const BackupProgress& progress)
{
    const int total = int(entries.size());
    const CabinetResult written =
        writeCabinet(archive, entries, [&progress, total](int index, const QString& name) {
            if (progress)
                progress(tr("Compression : ") + name, index, total);
        });
    if (!written.ok)
        return MaintenanceResult::failure(written.error);
    // An archive is trusted only once it has been read back whole.
    QStringList names;
    if (const CabinetResult read = listCabinet(archive, &names); !read.ok)
        return MaintenanceResult::failure(read.error);
    QStringList expected;
    for (const CabinetEntry& e : entries)
        expected << e.name;
    if (names != expected)
        return MaintenanceResult::failure(
            tr("L'archive « %1 » ne contient pas tous les fichiers sauvegardés.").arg(archive));
    if (progress)
        progress(QString(), total, total);
    return {};
}

// A database file that the booklets can use.
QString databaseProblem(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return tr("L'archive ne contient pas de base de données (TAVIRUNE.MDB).");
    try {
        Connection c;
        c.open(path);
        const QString integrity = c.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (integrity != QLatin1String("ok"))
            return tr("La base de données de l'archive est endommagée : %1").arg(integrity);
        if (!c.tableNames().contains(QStringLiteral("ANIMAL"), Qt::CaseInsensitive))
            return tr("La base de données de l'archive n'est pas celle d'un carnet de santé.");
    } catch (const DbError& e) {
        return e.message();
    }
    return {};
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

} // namespace

MaintenanceResult writeBackupArchive(const BookletFiles& files, const QString& archive,
                                     const BackupProgress& progress)
{
    if (progress)
        progress(tr("Sauvegarde de la base"), 0, 1);
    if (const MaintenanceResult compacted = compactDatabaseInPlace(files.databaseFile);
        !compacted.ok)
        return compacted;
    return pack(archive, entriesOf(files), progress);
}

MaintenanceResult restoreBackupArchive(const BookletFiles& files, const QString& archive,
                                       const QString& safetyArchive, const BackupProgress& progress)
{
    // 1. Everything from the archive lands in a folder of its own first.
    const QString staging = files.workFolder + QStringLiteral("/restauration-") +
                            Clock::now().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    if (!QDir().mkpath(staging))
        return MaintenanceResult::failure(
            tr("Impossible de créer le dossier « %1 ».").arg(staging));
    const auto cleanUp = [&staging]() {
        QDir(staging).removeRecursively();
    };
    if (progress)
        progress(tr("Décompression des fichiers ..."), 0, 1);
    if (const CabinetResult r = extractCabinet(archive, staging); !r.ok) {
        cleanUp();
        return MaintenanceResult::failure(r.error);
    }
    if (const QString problem = databaseProblem(staging + QLatin1Char('/') + kDatabaseEntry);
        !problem.isEmpty()) {
        cleanUp();
        return MaintenanceResult::failure(
            tr("La sauvegarde « %1 » ne peut pas être restaurée : %2").arg(archive, problem));
    }

    // 2. What is there now is kept in an archive before it is replaced.
    if (progress)
        progress(tr("Sauvegarde des données actuelles"), 0, 1);
    if (const MaintenanceResult kept = pack(safetyArchive, entriesOf(files), {}); !kept.ok) {
        cleanUp();
        return MaintenanceResult::failure(
            tr("Les données actuelles n'ont pas pu être mises de côté ; rien n'a été "
               "restauré.\n%1")
                .arg(kept.error));
    }

    // 3. The current pictures and files step aside, the archive's take
    // their place, then the database is replaced in one rename.
    if (progress)
        progress(tr("Restauration de la base"), 0, 1);
    const QString aside = staging + QStringLiteral("/.actuels");
    QDir().mkpath(aside);
    Moves moves;
    bool ok = true;
    const std::pair<QString, QString> kinds[] = {{files.imagesFolder, QStringLiteral("*.jpg")},
                                                 {files.filesFolder, QStringLiteral("*.f")}};
    for (const auto& [folder, pattern] : kinds) {
        QDir().mkpath(folder);
        for (const QString& name : listed(folder, pattern))
            ok =
                ok && moves.move(folder + QLatin1Char('/') + name, aside + QLatin1Char('/') + name);
        for (const QString& name : listed(staging, pattern))
            ok = ok &&
                 moves.move(staging + QLatin1Char('/') + name, folder + QLatin1Char('/') + name);
    }
    ok = ok && renameFile(staging + QLatin1Char('/') + kDatabaseEntry, files.databaseFile);
    if (!ok) {
        moves.undo();
        cleanUp();
        return MaintenanceResult::failure(
            tr("La restauration a échoué ; les données actuelles sont restées en place."));
    }
    cleanUp();
    if (progress)
        progress(QString(), 1, 1);
    return {};
}

} // namespace tav
