#include "core/FileRoutines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

namespace tav {

namespace {

// "Le fichier « … » ne peut pas être lu : accès refusé."
FileResult failed(const QString& what, const QString& path, int errorNumber)
{
    const QString reason = systemErrorReason(errorNumber);
    return FileResult::failure(what.arg(QDir::toNativeSeparators(path)) +
                               (reason.isEmpty() ? QString() : QStringLiteral(" : ") + reason) +
                               QLatin1Char('.'));
}

// QSaveFile writes under a temporary name and renames over the destination
// only once everything was written.
FileResult copyReplacing(const QString& source, const QString& destination)
{
    QFile in(source);
    errno = 0;
    if (!in.open(QIODevice::ReadOnly))
        return failed(QStringLiteral("Le fichier « %1 » ne peut pas être lu"), source, errno);
    QSaveFile out(destination);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly))
        return failed(QStringLiteral("Le fichier « %1 » ne peut pas être créé"), destination,
                      errno);
    constexpr qint64 chunkSize = qint64(256) * 1024;
    while (!in.atEnd()) {
        errno = 0;
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty()) {
            const int why = errno;
            out.cancelWriting();
            return failed(QStringLiteral("La lecture du fichier « %1 » a échoué"), source, why);
        }
        if (out.write(chunk) != chunk.size()) {
            const int why = errno;
            out.cancelWriting();
            return failed(QStringLiteral("L'écriture du fichier « %1 » a échoué"), destination,
                          why);
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return failed(QStringLiteral("La lecture du fichier « %1 » a échoué"), source, 0);
    }
    errno = 0;
    if (!out.commit())
        return failed(QStringLiteral("Le fichier « %1 » ne peut pas être enregistré"), destination,
                      errno);
    return FileResult::success();
}

} // namespace

QString systemErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return QStringLiteral("accès refusé");
    case ENOENT:
        return QStringLiteral("fichier ou dossier introuvable");
    case ENOTDIR:
        return QStringLiteral("le chemin passe par un fichier et non par un dossier");
    case EISDIR:
        return QStringLiteral("c'est un dossier");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("le disque est plein");
    case EFBIG:
        return QStringLiteral("le fichier est trop grand pour ce disque");
    case EROFS:
        return QStringLiteral("le disque est en lecture seule");
    case EIO:
        return QStringLiteral("erreur de lecture ou d'écriture du disque");
    case ENAMETOOLONG:
        return QStringLiteral("le nom est trop long");
    default:
        return QString();
    }
}

qint64 fileSize(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : 0;
}

QStringList listFiles(const QString& folder, const QString& pattern)
{
    QDir dir(folder);
    dir.setNameFilters({pattern});
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

FileResult copyFiles(const QString& sourceFolder, const QString& destinationFolder,
                     const QString& pattern)
{
    const QDir source(sourceFolder);
    const QDir destination(destinationFolder);
    FileResult result;
    const QStringList names = listFiles(sourceFolder, pattern);
    for (const QString& name : names) {
        const FileResult one = copyReplacing(source.filePath(name), destination.filePath(name));
        if (!one && result)
            result = one;
    }
    return result;
}

FileResult copyFileIfMissing(const QString& source, const QString& destination)
{
    if (QFileInfo::exists(destination)) {
        return FileResult::failure(QStringLiteral("Le fichier « %1 » existe déjà.")
                                       .arg(QDir::toNativeSeparators(destination)));
    }
    if (!QFileInfo(source).isFile()) {
        return FileResult::failure(QStringLiteral("Le fichier « %1 » est introuvable.")
                                       .arg(QDir::toNativeSeparators(source)));
    }
    // A copy cut short (a full disk, the power) must not leave a partial
    // file that the next start would take for a complete one.
    return copyReplacing(source, destination);
}

QString programPath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString sizeInKo(qint64 bytes)
{
    return QString::number(std::max<qint64>(bytes, 0) / 1000) + QStringLiteral(" Ko");
}

QString dataSubFolder(const QString& dataFolder, const QString& name)
{
    QString base = dataFolder;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QString folder = base + name + QLatin1Char('/');
    return QDir().mkpath(folder) ? folder : base;
}

} // namespace tav
