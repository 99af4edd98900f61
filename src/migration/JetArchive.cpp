#include "migration/JetArchive.h"

#include "media/Cabinet.h"

#include <QDir>
#include <QFile>
#include <QHash>

// GLib names a structure member "signals", which Qt defines as a keyword.
#undef signals
#include <gio/gio.h>
#include <libgcab.h>

#include <memory>

namespace tav {

namespace {

QString tr(const char* text)
{
    return QString::fromUtf8(text);
}

struct GObjectDeleter
{
    void operator()(gpointer p) const
    {
        if (p)
            g_object_unref(p);
    }
};
template <typename T> using GPtr = std::unique_ptr<T, GObjectDeleter>;

struct ErrorHolder
{
    GError* error = nullptr;
    ~ErrorHolder()
    {
        if (error)
            g_error_free(error);
    }
    QString text() const
    {
        return error ? QString::fromUtf8(error->message) : tr("erreur inconnue");
    }
};

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

struct ExtractState
{
    QHash<QString, QString> places; // entry name -> place
};

gboolean onExtract(GCabFile* file, gpointer data)
{
    auto* state = static_cast<ExtractState*>(data);
    const QString place = state->places.value(QString::fromUtf8(gcab_file_get_name(file)));
    if (place.isEmpty())
        return FALSE;
    gcab_file_set_extract_name(file, place.toUtf8().constData());
    return TRUE;
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
    ExtractState state;
    QHash<QString, QString> seen;
    for (const QString& name : std::as_const(names)) {
        const QString place = placeOf(name);
        if (place.isEmpty())
            return tr("L'archive « %1 » contient un nom de fichier refusé : « %2 »")
                .arg(archive, name);
        if (seen.contains(place.toCaseFolded()))
            return tr("L'archive « %1 » contient deux fois le fichier « %2 ».").arg(archive, name);
        seen.insert(place.toCaseFolded(), name);
        if (!databaseOnly || place.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive))
            state.places.insert(name, place);
    }
    QDir().mkpath(folder + QStringLiteral("/Images"));
    QDir().mkpath(folder + QStringLiteral("/Files"));
    ErrorHolder e;
    GPtr<GFile> source(g_file_new_for_path(QFile::encodeName(archive).constData()));
    GPtr<GFileInputStream> in(g_file_read(source.get(), nullptr, &e.error));
    GPtr<GCabCabinet> cabinet(gcab_cabinet_new());
    if (!in || !gcab_cabinet_load(cabinet.get(), G_INPUT_STREAM(in.get()), nullptr, &e.error))
        return tr("Impossible de lire l'archive « %1 » : %2").arg(archive, e.text());
    GPtr<GFile> target(g_file_new_for_path(QFile::encodeName(folder).constData()));
    if (!gcab_cabinet_extract_simple(cabinet.get(), target.get(), onExtract, &state, nullptr,
                                     &e.error))
        return tr("Impossible d'extraire l'archive « %1 » : %2").arg(archive, e.text());
    return {};
}

} // namespace tav
