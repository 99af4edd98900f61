#include "maintenance/Leftovers.h"

#include "core/Clock.h"
#include "core/FrenchText.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace tav {

namespace {

const char* const kJournalSuffixes[] = {"-journal", "-wal", "-shm"};

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool renameFile(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// A whole booklet database: it opens, the engine finds it sound and it
// holds every table of the booklet. Opening it lets the engine settle a
// journal it left beside the file.
bool isWholeBooklet(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0)
        return false;
    try {
        Connection c;
        c.open(path);
        return c.scalar(QStringLiteral("PRAGMA integrity_check")).toString() ==
                   QLatin1String("ok") &&
               missingTables(c).isEmpty();
    } catch (const DbError&) {
        return false;
    }
}

// A database file moved with its journal, so that the pair stays together.
bool moveDatabaseFile(const QString& from, const QString& to)
{
    if (!renameFile(from, to))
        return false;
    for (const char* suffix : kJournalSuffixes) {
        const QString journal = from + QLatin1String(suffix);
        if (exists(journal))
            renameFile(journal, to + QLatin1String(suffix));
    }
    return true;
}

// A name beside the database that nothing holds yet.
QString nameAside(const QString& folder, const QString& stem)
{
    const QString base =
        folder + QLatin1Char('/') + stem + Clock::now().toString(QStringLiteral("yyyyMMdd_hhmmss"));
    QString name = base + QStringLiteral(".MDB");
    for (int n = 2; exists(name); ++n)
        name = base + QStringLiteral("_%1.MDB").arg(n);
    return name;
}

void removeLeftover(const QString& path, QStringList* notes)
{
    if (QFile::remove(path))
        *notes << fr("Le fichier « %1 », laissé par une opération interrompue, a été supprimé.")
                      .arg(path);
    else
        *notes << fr("Le fichier « %1 », laissé par une opération interrompue, n'a pas pu être "
                     "supprimé : supprimez-le.")
                      .arg(path);
}

// The compacted copy that a compaction or a backup writes beside the
// database before it takes the database's place.
void settleCompactionCopy(const QString& database, QStringList* notes)
{
    const QString folder = QFileInfo(database).absolutePath();
    const QString copy = folder + QStringLiteral("/TAVIRUNE~.MDB");
    if (!exists(copy))
        return;
    if (isWholeBooklet(database)) {
        // The database is whole: the copy holds nothing that it lacks.
        if (!QFile::remove(copy)) {
            *notes << fr("Le fichier « %1 », laissé par un compactage ou une sauvegarde "
                         "interrompu, n'a pas pu être supprimé : supprimez-le avant de "
                         "compacter ou de sauvegarder la base de données.")
                          .arg(copy);
            return;
        }
        for (const char* suffix : kJournalSuffixes)
            QFile::remove(copy + QLatin1String(suffix));
        *notes << fr("Le fichier « %1 », laissé par un compactage ou une sauvegarde interrompu, "
                     "a été supprimé : la base de données « %2 » est intacte.")
                      .arg(copy, database);
        return;
    }
    if (isWholeBooklet(copy)) {
        // The data lie in the copy alone: it becomes the database, and a
        // damaged database is kept rather than overwritten.
        QString damaged;
        if (exists(database)) {
            damaged = nameAside(folder, QStringLiteral("TAVIRUNE_ENDOMMAGEE_"));
            if (!moveDatabaseFile(database, damaged)) {
                *notes << fr("La base de données « %1 » est endommagée et sa copie complète "
                             "« %2 » n'a pas pu prendre sa place.")
                              .arg(database, copy);
                return;
            }
        }
        // A journal of a database that is gone would be replayed into the
        // copy once it bears that name.
        for (const char* suffix : kJournalSuffixes)
            QFile::remove(database + QLatin1String(suffix));
        if (!moveDatabaseFile(copy, database)) {
            *notes << fr("La copie complète « %1 » de la base de données n'a pas pu prendre la "
                         "place de « %2 ».")
                          .arg(copy, database);
            return;
        }
        QString note = fr("La base de données « %1 » a été récupérée depuis le fichier « %2 » "
                          "laissé par un compactage ou une sauvegarde interrompu.")
                           .arg(database, copy);
        if (!damaged.isEmpty())
            note += fr(" L'ancien fichier, endommagé, est gardé sous le nom « %1 ».").arg(damaged);
        *notes << note;
        return;
    }
    // Neither is whole: the copy is kept for the support, out of the way of
    // the next compaction.
    const QString kept = nameAside(folder, QStringLiteral("TAVIRUNE~_ENDOMMAGEE_"));
    if (moveDatabaseFile(copy, kept))
        *notes << fr("Le fichier « %1 », laissé par un compactage ou une sauvegarde interrompu, "
                     "est endommagé : il est gardé sous le nom « %2 ».")
                      .arg(copy, kept);
    else
        *notes << fr("Le fichier « %1 », laissé par un compactage ou une sauvegarde interrompu, "
                     "est endommagé et n'a pas pu être déplacé.")
                      .arg(copy);
}

void removeMatching(const QString& folder, const QStringList& patterns, QStringList* notes)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(patterns, QDir::Files | QDir::Hidden, QDir::Name))
        removeLeftover(dir.filePath(name), notes);
}

// Journals whose database file is gone.
void removeStrayJournals(const QString& folder, QStringList* notes)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(
             {QStringLiteral("*-journal"), QStringLiteral("*-wal"), QStringLiteral("*-shm")},
             QDir::Files | QDir::Hidden, QDir::Name)) {
        for (const char* suffix : kJournalSuffixes) {
            if (name.endsWith(QLatin1String(suffix)) &&
                !exists(dir.filePath(name.chopped(int(qstrlen(suffix)))))) {
                removeLeftover(dir.filePath(name), notes);
                break;
            }
        }
    }
}

} // namespace

QStringList clearLeftovers(const BookletFiles& files)
{
    QStringList notes;
    const QString access = QFileInfo(files.databaseFile).absolutePath();
    const QString maj = files.workFolder + QStringLiteral("/Maj");
    settleCompactionCopy(files.databaseFile, &notes);
    removeMatching(access,
                   {QStringLiteral("TAVIRUNE~.MDB.tmp"),
                    QFileInfo(files.databaseFile).fileName() +
                        QStringLiteral(".copie-avant-conversion-texte*.tmp")},
                   &notes);
    removeMatching(maj, {QStringLiteral("*.bkp.tmp")}, &notes);
    removeMatching(files.workFolder,
                   {QStringLiteral("*.bkp.nouveau"), QStringLiteral("*.bkp.nouveau.tmp")}, &notes);
    removeMatching(files.imagesFolder, {QStringLiteral("temp.jpg")}, &notes);
    removeStrayJournals(access, &notes);
    removeStrayJournals(maj, &notes);
    return notes;
}

} // namespace tav
