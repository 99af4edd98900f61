#include "migration/JetArchive.h"

#include "core/FrenchText.h"
#include "media/Cabinet.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <utility>

namespace tav {

namespace {

// Where an entry lands, relative to the folder; empty when refused.
QString placeOf(const QString& entry)
{
    QString name = entry;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 2 || !isSafeEntryName(parts.last()))
        return {};
    const QString bare = parts.last();
    QString folder;
    if (parts.size() == 2) {
        if (parts.first().compare(QLatin1String("Images"), Qt::CaseInsensitive) == 0)
            folder = QStringLiteral("Images");
        else if (parts.first().compare(QLatin1String("Files"), Qt::CaseInsensitive) == 0)
            folder = QStringLiteral("Files");
        else
            return {};
    } else if (bare.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
               bare.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive)) {
        folder = QStringLiteral("Images");
    } else if (bare.endsWith(QLatin1String(".f"), Qt::CaseInsensitive)) {
        folder = QStringLiteral("Files");
    }
    return folder.isEmpty() ? bare : folder + QLatin1Char('/') + bare;
}

} // namespace

bool isCabinetFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(4) == "MSCF";
}

QString extractJetArchive(const QString& archive, const QString& folder, bool databaseOnly)
{
    QStringList names;
    if (const CabinetResult r = listCabinet(archive, &names); !r.ok)
        return r.error;
    QHash<QString, QString> places; // entry name -> place
    QHash<QString, QString> seen;
    for (const QString& name : std::as_const(names)) {
        const QString place = placeOf(name);
        if (place.isEmpty())
            return fr("L'archive « %1 » contient un nom de fichier refusé : « %2 »")
                .arg(archive, name);
        if (seen.contains(place.toCaseFolded()))
            return fr("L'archive « %1 » contient deux fois le fichier « %2 ».").arg(archive, name);
        seen.insert(place.toCaseFolded(), name);
        if (!databaseOnly || place.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive))
            places.insert(name, place);
    }
    QDir().mkpath(folder + QStringLiteral("/Images"));
    QDir().mkpath(folder + QStringLiteral("/Files"));
    if (const CabinetResult r = extractCabinetEntries(archive, folder, places); !r.ok)
        return r.error;
    return {};
}

} // namespace tav
