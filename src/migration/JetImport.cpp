#include "migration/JetImport.h"

#include "core/FrenchText.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/RowInserter.h"
#include "db/Schema.h"
#include "media/Thumbnail.h"
#include "migration/JetArchive.h"
#include "migration/JetReader.h"
#include "migration/OlePicture.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>
#include <filesystem>
#include <memory>

namespace tav {

namespace {

const QString kDatabaseName = QStringLiteral("TAVIRUNE.MDB");

// The entries of a folder by case-folded name.
QHash<QString, QString> folderIndex(const QString& folder)
{
    QHash<QString, QString> index;
    if (folder.isEmpty())
        return index;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot))
        index.insert(name.toCaseFolded(), name);
    return index;
}

// A sub-folder whatever the case of its name; empty when there is none.
QString subFolder(const QString& parent, const QString& name)
{
    for (const QString& entry : QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return parent + QLatin1Char('/') + entry;
    return {};
}

bool isPictureColumn(const QString& name)
{
    return name.startsWith(QLatin1String("Img"), Qt::CaseInsensitive);
}

// A source value in the form the column of this program stores.
QVariant converted(const QVariant& v, JetColumnType from, JetType to)
{
    if (!v.isValid() || v.isNull())
        return {};
    const bool money = from == JetColumnType::Money;
    switch (to) {
    case JetType::AutoNumber:
    case JetType::Long:
    case JetType::Short:
        if (v.typeId() == QMetaType::Bool)
            return v.toBool() ? -1 : 0;
        if (money)
            return qint64(std::llround(double(v.toLongLong()) / 10000.0));
        if (v.typeId() == QMetaType::Double)
            return qint64(std::llround(v.toDouble()));
        return v.toLongLong();
    case JetType::Double:
    case JetType::Currency:
        if (money)
            return double(v.toLongLong()) / 10000.0;
        if (v.typeId() == QMetaType::QString) {
            QString s = v.toString().trimmed();
            s.replace(QLatin1Char(','), QLatin1Char('.'));
            bool ok = false;
            const double d = s.toDouble(&ok);
            return ok ? QVariant(d) : QVariant();
        }
        return v.toDouble();
    case JetType::YesNo:
        if (v.typeId() == QMetaType::QString)
            return v.toString().trimmed().isEmpty() ? 0 : 1;
        return v.toBool() || v.toLongLong() != 0 ? 1 : 0;
    case JetType::DateTime:
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        return {};
    case JetType::Text:
    case JetType::Memo:
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        if (money)
            return QString::number(double(v.toLongLong()) / 10000.0, 'f', 4);
        return v.toString();
    case JetType::Blob:
        return v.toByteArray();
    case JetType::Unknown:
        break;
    }
    return v;
}

struct Converter
{
    const JetImportProgress& progress;
    JetImportResult result;
    QString imagesIn;
    QString filesIn;
    QString target;
    QHash<QString, QString> images; // case-folded name -> name in imagesIn
    QHash<QString, QString> files;
    QSet<QString> expectedImages; // names as this program writes them
    QSet<QString> expectedFiles;

    bool tell(const QString& step, int done, int total)
    {
        if (progress && !progress(step, done, total)) {
            result.cancelled = true;
            result.error = fr("Importation annulée : le carnet actuel n'a pas été modifié.");
            return false;
        }
        return true;
    }

    void problem(const QString& text) { result.problems << text; }

    // The picture of an OLE column, unwrapped; a thumbnail that cannot be
    // decoded is made again from the photo file when there is one.
    QVariant picture(const QString& table, const QString& column, qint64 id,
                     const QByteArray& stored)
    {
        if (stored.isEmpty())
            return stored;
        const OlePicture found = unwrapOlePicture(stored);
        const bool thumbnail = column.startsWith(QLatin1String("ImgMini"), Qt::CaseInsensitive);
        if (found.source != OlePictureSource::None &&
            (!thumbnail || !decodeStoredThumbnail(found.bytes).isNull()))
            return found.bytes;
        QString photo;
        int side = 0;
        if (table == QLatin1String("ANIMAL") &&
            column.compare(QLatin1String("ImgMini1"), Qt::CaseInsensitive) == 0) {
            photo = QStringLiteral("Animal%1.jpg").arg(id);
            side = kPhotoThumbnailSide;
        } else if (table == QLatin1String("DOCUMENTIMG") &&
                   column.compare(QLatin1String("ImgMini"), Qt::CaseInsensitive) == 0) {
            photo = QStringLiteral("Doc%1.jpg").arg(id);
            side = kDocumentThumbnailSide;
        }
        const QString where = fr("%1 n° %2, %3").arg(table).arg(id).arg(column);
        if (!photo.isEmpty() && images.contains(photo.toCaseFolded())) {
            const ThumbnailResult made = thumbnailFromFile(
                imagesIn + QLatin1Char('/') + images.value(photo.toCaseFolded()), side, side);
            if (made.ok) {
                problem(
                    fr("%1 : image illisible, vignette refaite à partir de %2").arg(where, photo));
                return made.bmp;
            }
        }
        // Nothing is dropped: bytes this program cannot show are kept as
        // they were, for a later version or another program.
        problem(fr("%1 : image illisible, gardée telle quelle").arg(where));
        return stored;
    }

    bool copyTable(JetReader& reader, const TableDef& def, const QString& source, Connection& db,
                   int index, int total)
    {
        if (!tell(fr("Table %1").arg(def.name), index, total))
            return false;
        JetTableInfo info;
        QVector<int> from;      // source index of each target column, -1 if none
        QVector<JetType> types; // target types
        std::unique_ptr<RowInserter> insert;
        bool first = true;
        const bool version = def.name == QLatin1String("OBJECT_VAL_STR");
        int idColumn = -1;
        int tagColumn = -1;
        QString readError;
        QStringList notes;
        qint64 rows = 0;
        const bool ok = reader.readTable(
            source, &info,
            [&](const QVariantList& values) {
                if (first) {
                    first = false;
                    QSet<QString> used;
                    QStringList columnNames;
                    for (const ColumnDef& c : def.columns) {
                        int at = -1;
                        for (int i = 0; i < info.columns.size(); ++i) {
                            const QString& n = info.columns.at(i).name;
                            if (n.compare(c.name, Qt::CaseInsensitive) == 0 ||
                                (version && c.name == QLatin1String("VALUE") &&
                                 n.compare(QLatin1String("VAL"), Qt::CaseInsensitive) == 0 &&
                                 at < 0))
                                at = i;
                        }
                        if (at >= 0)
                            used.insert(info.columns.at(at).name);
                        from << at;
                        types << c.type;
                        columnNames << c.name;
                        if (c.name.compare(QLatin1String("Id"), Qt::CaseInsensitive) == 0)
                            idColumn = int(from.size()) - 1;
                        if (c.name.compare(QLatin1String("Tag"), Qt::CaseInsensitive) == 0)
                            tagColumn = int(from.size()) - 1;
                    }
                    for (const JetColumnInfo& c : std::as_const(info.columns))
                        if (!used.contains(c.name))
                            problem(fr("Colonne %1.%2 inconnue de ce programme, non reprise")
                                        .arg(source, c.name));
                    insert = std::make_unique<RowInserter>(db, def.name, columnNames);
                }
                QVariantList row;
                row.reserve(from.size());
                const qint64 id = idColumn >= 0 && from.at(idColumn) >= 0
                                      ? values.value(from.at(idColumn)).toLongLong()
                                      : rows + 1;
                for (int i = 0; i < from.size(); ++i) {
                    if (from.at(i) < 0) {
                        row << QVariant();
                        continue;
                    }
                    const JetColumnInfo& src = info.columns.at(from.at(i));
                    QVariant v = converted(values.value(from.at(i)), src.type, types.at(i));
                    if (types.at(i) == JetType::Blob && isPictureColumn(def.columns.at(i).name) &&
                        v.isValid())
                        v = picture(def.name, def.columns.at(i).name, id, v.toByteArray());
                    row << v;
                }
                insert->insert(row);
                ++rows;
                count(def.name, tagColumn >= 0 ? row.value(tagColumn).toLongLong() : 0, id, row,
                      def);
                if (rows % 200 == 0 && !tell(fr("Table %1").arg(def.name), index, total))
                    return false;
                return true;
            },
            &readError, &notes);
        for (const QString& n : std::as_const(notes))
            problem(n);
        if (!ok) {
            if (!result.cancelled)
                result.error = readError;
            return false;
        }
        return true;
    }

    void count(const QString& table, qint64 tag, qint64 id, const QVariantList& row,
               const TableDef& def)
    {
        JetImportCounts& c = result.counts;
        if (table == QLatin1String("ANIMAL")) {
            ++c.animals;
            for (int i = 0; i < def.columns.size(); ++i)
                if (def.columns.at(i).name == QLatin1String("ImgMini1") && row.value(i).isValid())
                    expectedImages.insert(QStringLiteral("Animal%1.jpg").arg(id));
        } else if (table == QLatin1String("ACTION")) {
            (tag == 2 ? c.medicines : c.acts)++;
        } else if (table == QLatin1String("VACCINE")) {
            ++c.vaccinations;
        } else if (table == QLatin1String("WEIGHT") || table == QLatin1String("SIZE")) {
            ++c.weighings;
        } else if (table == QLatin1String("ANALYSIS")) {
            ++c.analyses;
        } else if (table == QLatin1String("EVENT")) {
            ++c.events;
        } else if (table == QLatin1String("DOCUMENTIMG")) {
            ++c.documents;
            expectedImages.insert(QStringLiteral("Doc%1.jpg").arg(id));
        } else if (table == QLatin1String("DOCUMENTFILE")) {
            ++c.documents;
            expectedFiles.insert(QStringLiteral("File%1.f").arg(id));
        }
    }

    // Copies the files of a folder, under the names this program gives
    // them when the source spells them in another case.
    bool copyFolder(const QString& from, const QHash<QString, QString>& index,
                    const QSet<QString>& expected, const QString& to, int* counter,
                    const QString& folderName, bool ownCopies)
    {
        QDir().mkpath(to);
        QHash<QString, QString> names; // source name -> target name
        for (auto it = index.cbegin(); it != index.cend(); ++it)
            names.insert(it.value(), it.value());
        for (const QString& e : expected) {
            if (index.contains(e.toCaseFolded()))
                names.insert(index.value(e.toCaseFolded()), e);
            else
                problem(fr("Fichier %1 absent du dossier %2 : non repris").arg(e, folderName));
        }
        int done = 0;
        for (auto it = names.cbegin(); it != names.cend(); ++it) {
            if (!tell(fr("Copie de %1").arg(it.value()), done++, int(names.size())))
                return false;
            // Files extracted from an archive are this import's own: they
            // move. The user's folders beside a .MDB are only read.
            const std::string source =
                QFile::encodeName(from + QLatin1Char('/') + it.key()).toStdString();
            const std::string target =
                QFile::encodeName(to + QLatin1Char('/') + it.value()).toStdString();
            std::error_code failed;
            if (ownCopies)
                std::filesystem::rename(source, target, failed);
            if (!ownCopies || failed) {
                failed.clear();
                std::filesystem::copy_file(source, target, failed);
            }
            if (failed) {
                result.error = fr("Le fichier « %1 » n'a pas pu être copié.").arg(it.key());
                return false;
            }
            ++*counter;
        }
        return true;
    }
};

} // namespace

QString JetImportResult::report() const
{
    QStringList lines;
    if (ok)
        lines << fr("Importation terminée.");
    else
        lines << error;
    const JetImportCounts& c = counts;
    lines << fr("Animaux : %1").arg(c.animals) << fr("Consultations : %1").arg(c.acts)
          << fr("Achats de médicaments : %1").arg(c.medicines)
          << fr("Vaccinations : %1").arg(c.vaccinations)
          << fr("Pesées et mesures : %1").arg(c.weighings)
          << fr("Valeurs d'analyses : %1").arg(c.analyses) << fr("Événements : %1").arg(c.events)
          << fr("Documents : %1").arg(c.documents) << fr("Images : %1").arg(c.pictures)
          << fr("Fichiers joints : %1").arg(c.files);
    if (!problems.isEmpty()) {
        lines << QString() << fr("Non repris ou repris en partie :");
        for (const QString& p : problems)
            lines << QStringLiteral("- ") + p;
    }
    return lines.join(QLatin1Char('\n'));
}

QByteArray JetImportResult::toJson() const
{
    QJsonObject o;
    o[QStringLiteral("ok")] = ok;
    o[QStringLiteral("cancelled")] = cancelled;
    o[QStringLiteral("error")] = error;
    const int values[] = {counts.animals,   counts.acts,     counts.medicines, counts.vaccinations,
                          counts.weighings, counts.analyses, counts.events,    counts.documents,
                          counts.pictures,  counts.files};
    QJsonArray c;
    for (const int v : values)
        c.append(v);
    o[QStringLiteral("counts")] = c;
    o[QStringLiteral("problems")] = QJsonArray::fromStringList(problems);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

JetImportResult JetImportResult::fromJson(const QByteArray& json)
{
    JetImportResult r;
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    if (o.isEmpty()) {
        r.error = fr("L'importation s'est arrêtée sans rendre compte de son travail.");
        return r;
    }
    r.ok = o.value(QStringLiteral("ok")).toBool();
    r.cancelled = o.value(QStringLiteral("cancelled")).toBool();
    r.error = o.value(QStringLiteral("error")).toString();
    const QJsonArray c = o.value(QStringLiteral("counts")).toArray();
    int* fields[] = {&r.counts.animals,      &r.counts.acts,      &r.counts.medicines,
                     &r.counts.vaccinations, &r.counts.weighings, &r.counts.analyses,
                     &r.counts.events,       &r.counts.documents, &r.counts.pictures,
                     &r.counts.files};
    for (int i = 0; i < 10; ++i)
        *fields[i] = c.at(i).toInt();
    for (const QJsonValue& p : o.value(QStringLiteral("problems")).toArray())
        r.problems << p.toString();
    return r;
}

JetImportResult convertJetBooklet(const QString& source, const QString& targetFolder,
                                  const JetImportProgress& progress)
{
    Converter cv{progress, {}, {}, {}, targetFolder, {}, {}, {}, {}};
    JetImportResult& result = cv.result;
    const auto fail = [&result](const QString& why) {
        result.ok = false;
        if (result.error.isEmpty())
            result.error = why;
        return result;
    };
    if (QFileInfo::exists(targetFolder) || !QDir().mkpath(targetFolder))
        return fail(fr("Le dossier « %1 » ne peut pas être préparé.").arg(targetFolder));
    if (!QFileInfo(source).isFile())
        return fail(fr("Le fichier « %1 » est introuvable.").arg(source));

    QString database = source;
    QString sourceFolder = QFileInfo(source).absolutePath();
    const bool ownCopies = isCabinetFile(source);
    if (ownCopies) {
        if (!cv.tell(fr("Décompression de l'archive"), 0, 1))
            return result;
        sourceFolder = targetFolder + QStringLiteral("/.archive");
        if (const QString why = extractJetArchive(source, sourceFolder); !why.isEmpty())
            return fail(why);
        const QStringList databases =
            QDir(sourceFolder)
                .entryList(
                    {QStringLiteral("*.mdb"), QStringLiteral("*.MDB"), QStringLiteral("*.Mdb")},
                    QDir::Files);
        if (databases.size() != 1)
            return fail(fr("L'archive « %1 » ne contient pas une base Access (.MDB) et une seule.")
                            .arg(source));
        database = sourceFolder + QLatin1Char('/') + databases.first();
    }
    cv.imagesIn = subFolder(sourceFolder, QStringLiteral("Images"));
    cv.filesIn = subFolder(sourceFolder, QStringLiteral("Files"));
    cv.images = folderIndex(cv.imagesIn);
    cv.files = folderIndex(cv.filesIn);

    JetReader reader;
    QString error;
    if (!reader.open(database, &error))
        return fail(error);
    QHash<QString, QString> sourceTables; // upper-case name -> name
    for (const QString& t : reader.tableNames())
        sourceTables.insert(t.toUpper(), t);
    if (!sourceTables.contains(QStringLiteral("ANIMAL")))
        return fail(fr("La base « %1 » n'est pas un carnet de santé : elle n'a pas de table "
                       "ANIMAL.")
                        .arg(QFileInfo(database).fileName()));
    for (const QString& t : reader.tableNames())
        if (!schemaTable(t))
            cv.problem(fr("Table %1 inconnue de ce programme, non reprise").arg(t));

    const QString dbPath = targetFolder + QLatin1Char('/') + kDatabaseName;
    try {
        Connection db;
        db.open(dbPath, true);
        createSchema(db);
        Transaction tx(db);
        const QVector<TableDef>& tables = schemaTables();
        int index = 0;
        for (const TableDef& def : tables) {
            ++index;
            const QString src = sourceTables.value(def.name.toUpper());
            if (src.isEmpty())
                continue;
            if (!cv.copyTable(reader, def, src, db, index, int(tables.size())))
                return fail(error);
        }
        tx.commit();
        const QString integrity = db.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (integrity != QLatin1String("ok"))
            return fail(fr("Le carnet converti est endommagé : %1").arg(integrity));
        db.close();
    } catch (const DbError& e) {
        return fail(fr("Le carnet converti n'a pas pu être écrit : %1").arg(e.message()));
    }
    if (!cv.copyFolder(cv.imagesIn, cv.images, cv.expectedImages,
                       targetFolder + QStringLiteral("/Images"), &result.counts.pictures,
                       QStringLiteral("Images"), ownCopies) ||
        !cv.copyFolder(cv.filesIn, cv.files, cv.expectedFiles,
                       targetFolder + QStringLiteral("/Files"), &result.counts.files,
                       QStringLiteral("Files"), ownCopies))
        return fail(error);
    QDir(targetFolder + QStringLiteral("/.archive")).removeRecursively();
    result.ok = true;
    return result;
}

} // namespace tav
