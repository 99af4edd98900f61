#include "maintenance/Compaction.h"

#include "core/Clock.h"
#include "core/FrenchText.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/DbError.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <cstdio>
#include <unistd.h>

namespace tav {

namespace {

constexpr int kPathColumnSize = 255;

// Row counts of every table of a database, to compare a copy with its
// original.
QMap<QString, qint64> rowCounts(Connection& c)
{
    QMap<QString, qint64> counts;
    for (const QString& table : c.tableNames())
        counts.insert(
            table, c.scalar(QStringLiteral("SELECT COUNT(*) FROM [") + table + QStringLiteral("]"))
                       .toLongLong());
    return counts;
}

// Forces a written file to the disk, so that a rename cannot outlive its
// content after a power cut.
bool flushToDisk(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    return ::fsync(f.handle()) == 0;
}

void syncFolderOf(const QString& path)
{
    QFile dir(QFileInfo(path).absolutePath());
    if (dir.open(QIODevice::ReadOnly))
        ::fsync(dir.handle());
}

} // namespace

MaintenanceResult compactDatabaseFile(const QString& source, const QString& destination)
{
    if (!QFileInfo::exists(source))
        return MaintenanceResult::failure(
            fr("La base de données « %1 » est introuvable.").arg(source));
    const QString temporary = destination + QStringLiteral(".tmp");
    QFile::remove(temporary);
    try {
        QMap<QString, qint64> before;
        {
            Connection original;
            original.open(source);
            before = rowCounts(original);
            original.exec(QStringLiteral("VACUUM INTO ?"), {temporary});
        }
        Connection copy;
        copy.open(temporary);
        const QString integrity = copy.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (integrity != QLatin1String("ok"))
            throw DbError(fr("La copie compactée est endommagée : %1").arg(integrity));
        if (rowCounts(copy) != before)
            throw DbError(fr("La copie compactée ne contient pas toutes les données."));
        copy.close();
    } catch (const DbError& e) {
        QFile::remove(temporary);
        return MaintenanceResult::failure(
            fr("Le compactage de la base de données « %1 » a échoué.\n%2")
                .arg(source, e.message()));
    }
    if (!flushToDisk(temporary) || std::rename(QFile::encodeName(temporary).constData(),
                                               QFile::encodeName(destination).constData()) != 0) {
        QFile::remove(temporary);
        return MaintenanceResult::failure(
            fr("Impossible d'écrire la base de données compactée « %1 ».").arg(destination));
    }
    syncFolderOf(destination);
    return {};
}

MaintenanceResult compactDatabaseInPlace(const QString& databaseFile)
{
    const QString temporary =
        QFileInfo(databaseFile).absolutePath() + QStringLiteral("/TAVIRUNE~.MDB");
    if (QFileInfo::exists(temporary))
        return MaintenanceResult::failure(
            fr("Le fichier « %1 » existe déjà : il peut contenir les données d'un compactage "
               "interrompu. Déplacez-le avant de compacter la base de données.")
                .arg(temporary));
    MaintenanceResult result = compactDatabaseFile(databaseFile, temporary);
    if (!result.ok)
        return result;
    // One rename replaces the file: at every moment the database is whole
    // under its own name.
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(databaseFile).constData()) != 0) {
        QFile::remove(temporary);
        return MaintenanceResult::failure(
            fr("Impossible de remplacer la base de données « %1 » par sa copie compactée.")
                .arg(databaseFile));
    }
    syncFolderOf(databaseFile);
    return {};
}

void addBackupHistory(DataSet& backup, const QString& description, const QString& path)
{
    const QDateTime now = Clock::now();
    backup.open();
    try {
        backup.append();
        backup.setValue(QStringLiteral("DateSav"), now.date());
        backup.setValue(QStringLiteral("TimeSav"), now.toString(QStringLiteral("hh:mm")));
        backup.setValue(QStringLiteral("Description"), description);
        backup.setValue(QStringLiteral("Path"), path.left(kPathColumnSize));
        backup.post();
    } catch (...) {
        if (backup.isEditing())
            backup.cancel();
        backup.close();
        throw;
    }
    backup.close();
}

} // namespace tav
