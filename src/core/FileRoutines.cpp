#include "core/FileRoutines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tav {

namespace {

// QSaveFile writes under a temporary name and renames over the destination
// only once everything was written.
bool copyReplacing(const QString& source, const QString& destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    constexpr qint64 chunkSize = qint64(256) * 1024;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace

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

bool copyFiles(const QString& sourceFolder, const QString& destinationFolder,
               const QString& pattern)
{
    const QDir source(sourceFolder);
    const QDir destination(destinationFolder);
    bool allCopied = true;
    const QStringList names = listFiles(sourceFolder, pattern);
    for (const QString& name : names) {
        if (!copyReplacing(source.filePath(name), destination.filePath(name)))
            allCopied = false;
    }
    return allCopied;
}

bool copyFileIfMissing(const QString& source, const QString& destination)
{
    if (QFileInfo::exists(destination) || !QFileInfo(source).isFile())
        return false;
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

} // namespace tav
