#include "media/PackedFile.h"

#include "core/FrenchText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace tav {

namespace {

// A bare name the cabinet can carry: the file's own when it may stand in a
// folder as it is, else a neutral one.
QString entryNameFor(const QString& source)
{
    const QString name = QFileInfo(source).fileName();
    return isSafeEntryName(name) ? name : QStringLiteral("fichier");
}

} // namespace

CabinetResult packFile(const QString& source, const QString& archive)
{
    return writeCabinet(archive, {{entryNameFor(source), source}});
}

CabinetResult unpackFile(const QString& archive, const QString& target)
{
    QStringList names;
    if (CabinetResult r = listCabinet(archive, &names); !r.ok)
        return r;
    if (names.isEmpty())
        return {false, fr("L'archive « %1 » est vide.").arg(archive)};
    // Extracted beside the target, so that the final rename stays on one disk.
    QTemporaryDir work(QFileInfo(target).absolutePath() + QStringLiteral("/.extraction-XXXXXX"));
    if (!work.isValid())
        return {false, fr("Impossible d'écrire dans le dossier de « %1 ».").arg(target)};
    if (CabinetResult r = extractCabinet(archive, work.path()); !r.ok)
        return r;
    const QString extracted = work.filePath(names.first());
    if (std::rename(QFile::encodeName(extracted).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return {false, fr("Impossible d'écrire le fichier « %1 ».").arg(target)};
    return {};
}

} // namespace tav
