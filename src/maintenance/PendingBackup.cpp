#include "maintenance/PendingBackup.h"

#include "db/BackupHistory.h"
#include "db/DbError.h"
#include "maintenance/JournalFile.h"
#include "media/Cabinet.h"

#include <QFile>

#include <sys/stat.h>

namespace tav {

namespace {

QString notePath(const QString& workFolder)
{
    return workFolder + QStringLiteral("/sauvegarde-en-cours.journal");
}

// Which file lies at a path: an archive put in place is a new file there,
// whether or not an earlier archive had that name.
QString identityOf(const QString& path)
{
    struct stat info = {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    return QStringLiteral("%1:%2").arg(quint64(info.st_dev)).arg(quint64(info.st_ino));
}

} // namespace

bool notePendingBackup(const QString& workFolder, const QString& description,
                       const QString& archive)
{
    return writeJournal(notePath(workFolder),
                        {{QStringLiteral("BACKUP"), description, archive, identityOf(archive)}});
}

void forgetPendingBackup(const QString& workFolder)
{
    QFile::remove(notePath(workFolder));
}

MaintenanceResult settlePendingBackup(Connection& connection, const QString& workFolder)
{
    const QString note = notePath(workFolder);
    if (!QFile::exists(note))
        return {};
    QVector<QStringList> records;
    if (!readJournal(note, &records))
        return MaintenanceResult::failure(
            QStringLiteral("Le journal de sauvegarde « %1 » ne peut pas être lu.").arg(note));
    for (const QStringList& record : std::as_const(records)) {
        if (record.value(0) != QLatin1String("BACKUP") || record.size() != 4)
            continue;
        const QString& archive = record.at(2);
        QStringList entries;
        const bool inPlace = identityOf(archive) != record.at(3) &&
                             !identityOf(archive).isEmpty() && listCabinet(archive, &entries).ok;
        if (inPlace)
            continue;
        try {
            removeLastBackupHistory(connection, record.at(1), archive);
        } catch (const DbError& e) {
            // The note stays, to be settled at a start that can write.
            return MaintenanceResult::failure(e.message());
        }
    }
    forgetPendingBackup(workFolder);
    return {};
}

} // namespace tav
