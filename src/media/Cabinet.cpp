#include "media/Cabinet.h"

#include "core/FileRoutines.h"
#include "core/FrenchText.h"
#include "media/CabinetWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

// GLib names a structure member "signals", which Qt defines as a keyword.
#undef signals
#include <gio/gio.h>
#include <libgcab.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace tav {

namespace {

// Owners of the GLib objects, released whatever way a function leaves.
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
    // The French sentence, then the library's own English text on a line
    // of its own, kept as a detail for the support.
    QString told(const QString& sentence) const
    {
        if (!error || !error->message || !*error->message)
            return sentence;
        // The system's own errors are said in French in the sentence itself.
        if (error->domain == G_IO_ERROR) {
            const int number = error->code == G_IO_ERROR_NO_SPACE            ? ENOSPC
                               : error->code == G_IO_ERROR_PERMISSION_DENIED ? EACCES
                               : error->code == G_IO_ERROR_READ_ONLY         ? EROFS
                               : error->code == G_IO_ERROR_NOT_FOUND         ? ENOENT
                                                                             : 0;
            if (const QString reason = systemErrorReason(number); !reason.isEmpty()) {
                QString said = sentence;
                if (said.endsWith(QLatin1Char('.')))
                    said.chop(1);
                return said + QStringLiteral(" : ") + reason + QLatin1Char('.');
            }
        }
        return sentence + QStringLiteral("\rDétail : ") + QString::fromUtf8(error->message);
    }
};

CabinetResult failure(const QString& why)
{
    return {false, why};
}

GPtr<GFile> fileOf(const QString& path)
{
    return GPtr<GFile>(g_file_new_for_path(QFile::encodeName(path).constData()));
}

// The files of every folder of a loaded cabinet, in archive order.
QList<GCabFile*> filesOf(GCabCabinet* cabinet)
{
    QList<GCabFile*> files;
    GPtrArray* folders = gcab_cabinet_get_folders(cabinet);
    for (guint i = 0; folders && i < folders->len; ++i) {
        auto* folder = static_cast<GCabFolder*>(g_ptr_array_index(folders, i));
        GSList* list = gcab_folder_get_files(folder);
        for (GSList* l = list; l; l = l->next)
            files << static_cast<GCabFile*>(l->data);
        g_slist_free(list);
    }
    return files;
}

// Cabinet names use "\" between folders.
QString entryName(GCabFile* file)
{
    return QString::fromUtf8(gcab_file_get_name(file));
}

CabinetResult load(const QString& path, GPtr<GCabCabinet>& cabinet)
{
    GPtr<GFile> file = fileOf(path);
    ErrorHolder e;
    GPtr<GFileInputStream> in(g_file_read(file.get(), nullptr, &e.error));
    if (!in)
        return failure(e.told(fr("Impossible de lire le fichier « %1 ».").arg(path)));
    cabinet.reset(gcab_cabinet_new());
    if (!gcab_cabinet_load(cabinet.get(), G_INPUT_STREAM(in.get()), nullptr, &e.error))
        return failure(
            e.told(fr("Le fichier « %1 » n'est pas une archive de sauvegarde lisible.").arg(path)));
    return {};
}

struct ExtractState
{
    const CabinetProgress* progress = nullptr;
    // Where each entry lands, relative to the folder; without it every
    // entry lands under its own name.
    const QHash<QString, QString>* places = nullptr;
    int index = 0;
};

gboolean onExtract(GCabFile* file, gpointer data)
{
    auto* state = static_cast<ExtractState*>(data);
    if (state->progress && *state->progress)
        (*state->progress)(state->index, entryName(file));
    ++state->index;
    if (state->places) {
        const QString place = state->places->value(entryName(file));
        if (place.isEmpty())
            return FALSE;
        gcab_file_set_extract_name(file, place.toUtf8().constData());
        return TRUE;
    }
    // Every name was checked before: it lands in the folder as it stands.
    gcab_file_set_extract_name(file, gcab_file_get_name(file));
    return TRUE;
}

CabinetResult extractAs(const QString& path, const QString& folder, ExtractState& state)
{
    // The loaded cabinet reads its data from the stream it was loaded from:
    // load it again for the extraction itself.
    GPtr<GFile> source = fileOf(path);
    ErrorHolder e;
    GPtr<GFileInputStream> in(g_file_read(source.get(), nullptr, &e.error));
    GPtr<GCabCabinet> reader(gcab_cabinet_new());
    if (!in || !gcab_cabinet_load(reader.get(), G_INPUT_STREAM(in.get()), nullptr, &e.error))
        return failure(
            e.told(fr("Le fichier « %1 » n'est pas une archive de sauvegarde lisible.").arg(path)));
    GPtr<GFile> target = fileOf(folder);
    if (!gcab_cabinet_extract_simple(reader.get(), target.get(), onExtract, &state, nullptr,
                                     &e.error))
        return failure(e.told(fr("Impossible d'extraire l'archive « %1 ».").arg(path)));
    return {};
}

} // namespace

QString archiveWriteError(const QString& path, int errorNumber)
{
    QString reason = systemErrorReason(errorNumber);
    if (reason.isEmpty())
        reason =
            errorNumber != 0 ? fr("erreur système %1").arg(errorNumber) : fr("erreur inconnue");
    return fr("Impossible d'écrire l'archive « %1 » : %2.").arg(path, reason);
}

bool isSafeEntryName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QLatin1Char(':')))
        return false;
    // Tabs and line breaks have no place in a file's name, and lists of
    // names (journals, messages) would be broken by them.
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return false;
    // The names Windows keeps for its devices, whatever their extension.
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return !device.match(name).hasMatch();
}

CabinetResult writeCabinet(const QString& path, const QVector<CabinetEntry>& entries,
                           const CabinetProgress& progress, QVector<QByteArray>* digests)
{
    QSet<QString> names;
    for (const CabinetEntry& entry : entries) {
        if (!isSafeEntryName(entry.name))
            return failure(fr("Nom de fichier incorrect dans l'archive : « %1 »").arg(entry.name));
        // Two entries of one name could not both be extracted.
        if (names.contains(entry.name.toCaseFolded()))
            return failure(
                fr("Le fichier « %1 » figure deux fois dans l'archive.").arg(entry.name));
        names.insert(entry.name.toCaseFolded());
        if (!QFileInfo(entry.sourcePath).isFile())
            return failure(fr("Le fichier « %1 » est introuvable.").arg(entry.sourcePath));
    }
    const QString temporary = path + QStringLiteral(".tmp");
    QFile::remove(temporary);
    CabinetResult written =
        writeCabinetFile(temporary, entries, progress, CabinetLayout(), digests);
    if (!written.ok) {
        QFile::remove(temporary);
        // The temporary name means nothing to the user.
        if (written.errorNumber != 0)
            written.error = archiveWriteError(path, written.errorNumber);
        return written;
    }
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        const int why = errno;
        QFile::remove(temporary);
        return {false, archiveWriteError(path, why), why};
    }
    return {};
}

CabinetResult listCabinet(const QString& path, QStringList* names)
{
    QVector<CabinetEntryInfo> entries;
    const CabinetResult r = listCabinetEntries(path, &entries);
    names->clear();
    for (const CabinetEntryInfo& e : std::as_const(entries))
        *names << e.name;
    return r;
}

CabinetResult listCabinetEntries(const QString& path, QVector<CabinetEntryInfo>* entries)
{
    GPtr<GCabCabinet> cabinet;
    if (CabinetResult r = load(path, cabinet); !r.ok)
        return r;
    entries->clear();
    for (GCabFile* file : filesOf(cabinet.get())) {
        CabinetEntryInfo info{entryName(file), gcab_file_get_size(file), {}};
        if (GDateTime* when = gcab_file_get_date_time(file)) {
            info.modified =
                QDateTime(QDate(g_date_time_get_year(when), g_date_time_get_month(when),
                                g_date_time_get_day_of_month(when)),
                          QTime(g_date_time_get_hour(when), g_date_time_get_minute(when),
                                g_date_time_get_second(when)));
            g_date_time_unref(when);
        }
        entries->append(info);
    }
    return {};
}

CabinetResult extractCabinet(const QString& path, const QString& folder,
                             const CabinetProgress& progress)
{
    GPtr<GCabCabinet> cabinet;
    if (CabinetResult r = load(path, cabinet); !r.ok)
        return r;
    QSet<QString> seen;
    for (GCabFile* file : filesOf(cabinet.get())) {
        const QString name = entryName(file);
        // A name that is not valid UTF-8 would be written as bytes no
        // program of this desktop could name again.
        if (!isSafeEntryName(name) || name.toUtf8() != QByteArray(gcab_file_get_name(file)))
            return failure(
                fr("L'archive « %1 » contient un nom de fichier refusé : « %2 »").arg(path, name));
        // Two entries of one name: which one is meant cannot be told.
        if (seen.contains(name.toCaseFolded()))
            return failure(
                fr("L'archive « %1 » contient deux fois le fichier « %2 ».").arg(path, name));
        seen.insert(name.toCaseFolded());
    }
    ExtractState state;
    state.progress = &progress;
    return extractAs(path, folder, state);
}

CabinetResult extractCabinetEntries(const QString& path, const QString& folder,
                                    const QHash<QString, QString>& places)
{
    ExtractState state;
    state.places = &places;
    return extractAs(path, folder, state);
}

} // namespace tav
