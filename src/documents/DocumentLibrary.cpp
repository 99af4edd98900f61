#include "documents/DocumentLibrary.h"

#include "core/FileRoutines.h"
#include "core/FrenchText.h"
#include "core/TextLookup.h"
#include "core/TextRoutines.h"
#include "db/DbError.h"
#include "media/BitmapRoutines.h"
#include "media/JpegFile.h"
#include "media/PackedFile.h"
#include "media/Placement.h"
#include "media/Thumbnail.h"

#include <QAbstractFileIconProvider>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>

// Outside any namespace: the macro declares the resources' own function.
static void initDocumentResources()
{
    Q_INIT_RESOURCE(documents);
}

namespace tav {

namespace {

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The messages of a stored file that someone removed by hand.
QString storedFileMissing(const QString& heading, const QString& path)
{
    return heading + QStringLiteral("\r\r") + fr("Le fichier ") +
           quoted(QDir::toNativeSeparators(path)) +
           fr(" a sans doute été supprimé manuellement et n'est plus accessible.");
}

QString cannotOpen()
{
    return fr("IMPOSSIBLE D'EXECUTER CE FICHIER !");
}
QString cannotSend()
{
    return fr("IMPOSSIBLE D'ENVOYER CE FICHIER !");
}
QString cannotFind()
{
    return fr("IMPOSSIBLE DE TROUVER CE FICHIER !");
}

DocumentResult fromDbError(const DbError& e)
{
    return DocumentResult::failure(e.message());
}

// Copies a file in place of target, whole or not at all: through a
// temporary file of the target's folder renamed over it.
QString copyReplacing(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fr("Impossible de lire le fichier « %1 » : %2.")
            .arg(QDir::toNativeSeparators(source), systemErrorReason(errno));
    QTemporaryFile out(QFileInfo(target).absolutePath() + QStringLiteral("/.copie-XXXXXX"));
    if (!out.open())
        return fr("Impossible d'écrire dans le dossier de « %1 ».")
            .arg(QDir::toNativeSeparators(target));
    QByteArray block;
    while (!(block = in.read(1 << 20)).isEmpty()) {
        if (out.write(block) != block.size())
            return fr("Impossible d'écrire le fichier « %1 » : le disque est peut-être plein.")
                .arg(QDir::toNativeSeparators(target));
    }
    if (in.error() != QFileDevice::NoError || !out.flush())
        return fr("Impossible de copier le fichier « %1 ».").arg(QDir::toNativeSeparators(source));
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (std::rename(QFile::encodeName(out.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return fr("Impossible d'écrire le fichier « %1 ».").arg(QDir::toNativeSeparators(target));
    out.setAutoRemove(false);
    return {};
}

// Makes room for a new copy of the same name: an earlier one may be
// read-only.
void removeEarlierCopy(const QString& path)
{
    if (!QFileInfo::exists(path))
        return;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path);
}

// The program's own picture of a file, for types the desktop has no icon
// for and for sessions without icons at all.
QImage genericFileIcon()
{
    static const QImage icon = [] {
        initDocumentResources();
        return QImage(QStringLiteral(":/documents/generic-file.xpm"));
    }();
    return icon;
}

// The desktop's icon of the file's type, else the generic one: every
// attached file gets a picture, whatever the desktop offers.
QImage iconOf(const QFileInfo& info)
{
    QImage drawn;
    // The desktop's icons exist only in a graphical session.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QAbstractFileIconProvider provider;
        QIcon icon = provider.icon(info);
        if (icon.isNull())
            icon = QIcon::fromTheme(QMimeDatabase().mimeTypeForFile(info).genericIconName());
        if (!icon.isNull())
            drawn = icon.pixmap(32, 32).toImage();
    }
    QImage canvas(32, 32, QImage::Format_RGB888);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    if (!drawn.isNull())
        painter.drawImage(QRect(0, 0, 32, 32), drawn);
    else
        painter.drawImage(0, 0, genericFileIcon());
    return canvas;
}

} // namespace

QString fileTypeName(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (type.isValid() && !type.isDefault() && !type.comment().isEmpty())
        return type.comment();
    return QFileInfo(path).suffix().toUpper() + QStringLiteral(" file");
}

QString safeFileName(const QString& name)
{
    // Separators become underscores too: the name stays one name.
    const QString bare = fileNameSafe(name).trimmed();
    if (bare.isEmpty() || bare == QLatin1String(".") || bare == QLatin1String(".."))
        return QStringLiteral("fichier");
    return bare;
}

FileDescription describeFile(const QString& path)
{
    const QFileInfo info(path);
    FileDescription d;
    d.path = info.absoluteFilePath();
    d.name = info.fileName();
    d.type = fileTypeName(path);
    d.size = info.size();
    d.sizeText = sizeInKo(d.size);
    d.icon = iconOf(info);
    return d;
}

DocumentLibrary::DocumentLibrary(Connection& connection, const QString& databaseFolder)
    : m_store(connection, databaseFolder)
{}

DocumentLibrary::~DocumentLibrary() = default;

void DocumentLibrary::setPictureLimits(int maxWidth, int jpegQuality)
{
    m_maxWidth = std::max(1, maxWidth);
    m_jpegQuality = std::clamp(jpegQuality, 1, 100);
}

QString DocumentLibrary::privateFolder()
{
    if (!m_private) {
        // mkdtemp makes the folder for its owner alone (0700).
        auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                   QStringLiteral("/tavirune-documents-XXXXXX"));
        if (!dir->isValid())
            return {};
        QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_private = std::move(dir);
    }
    return m_private->path() + QLatin1Char('/');
}

namespace {

// The picture as it is stored: 24 bits (or grey), no side above maxWidth.
ContentWriter jpegWriter(const QImage& picture, int maxWidth, int quality)
{
    return [picture, maxWidth, quality](const QString& path) -> QString {
        QImage stored = picture.format() == QImage::Format_Grayscale8
                            ? picture
                            : picture.convertToFormat(QImage::Format_RGB888);
        if (stored.isNull())
            return fr("L'image ne peut pas être enregistrée : la mémoire est insuffisante.");
        if (stored.width() > maxWidth || stored.height() > maxWidth) {
            const Placement p = fitInBox(maxWidth, maxWidth, stored.width(), stored.height());
            if (!resizeBitmap(stored, p.width, p.height))
                return fr("L'image est trop grande pour être réduite.");
        }
        const JpegResult r = writeJpegFile(stored, path, quality);
        return r.ok ? QString() : r.error;
    };
}

} // namespace

DocumentResult DocumentLibrary::addImage(int animalId, const QString& title, const QImage& picture)
{
    if (picture.isNull() || picture.width() <= 0)
        return DocumentResult::failure(fr("Aucune image n'a été choisie."));
    try {
        const QByteArray thumbnail =
            bmpFile(makeThumbnail(picture, kDocumentThumbnailSide, kDocumentThumbnailSide));
        DocumentResult r;
        r.id = m_store.addImage(animalId, title, thumbnail,
                                jpegWriter(picture, m_maxWidth, m_jpegQuality));
        r.path = m_store.imagePath(r.id);
        return r;
    } catch (const DbError& e) {
        return fromDbError(e);
    }
}

DocumentResult DocumentLibrary::updateImage(int id, const QString& title, const QImage& picture)
{
    try {
        if (picture.isNull()) {
            m_store.updateImage(id, title);
        } else {
            m_store.updateImage(
                id, title,
                bmpFile(makeThumbnail(picture, kDocumentThumbnailSide, kDocumentThumbnailSide)),
                jpegWriter(picture, m_maxWidth, m_jpegQuality));
        }
        DocumentResult r;
        r.id = id;
        r.path = m_store.imagePath(id);
        return r;
    } catch (const DbError& e) {
        return fromDbError(e);
    }
}

DocumentResult DocumentLibrary::removeImage(int id)
{
    try {
        m_store.removeImage(id);
        return {};
    } catch (const DbError& e) {
        return fromDbError(e);
    }
}

DocumentResult DocumentLibrary::saveImageAs(int id, const QString& target)
{
    const QString source = m_store.imagePath(id);
    if (!QFileInfo::exists(source))
        return DocumentResult::failure(texts::pictureMissing(QDir::toNativeSeparators(source)));
    if (const QString error = copyReplacing(source, target); !error.isEmpty())
        return DocumentResult::failure(error);
    DocumentResult r;
    r.path = target;
    return r;
}

DocumentResult DocumentLibrary::copyImageForSending(int id, const QString& title)
{
    const QString source = m_store.imagePath(id);
    if (!QFileInfo::exists(source))
        return DocumentResult::failure(storedFileMissing(cannotSend(), source));
    const QString folder = privateFolder();
    if (folder.isEmpty())
        return DocumentResult::failure(fr("Impossible de créer un dossier temporaire."));
    const QString copy = folder + safeFileName(title + QStringLiteral(".jpg"));
    removeEarlierCopy(copy);
    if (const QString error = copyReplacing(source, copy); !error.isEmpty())
        return DocumentResult::failure(error);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    DocumentResult r;
    r.id = id;
    r.path = copy;
    return r;
}

DocumentResult DocumentLibrary::attachFile(int animalId, const QString& path)
{
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!info.exists())
        return DocumentResult::failure(fr("Fichier ") + quoted(info.fileName()) +
                                       fr(" introuvable."));
    if (!info.isFile())
        return DocumentResult::failure(
            fr("« %1 » n'est pas un fichier : seuls les fichiers peuvent être joints.").arg(shown));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return DocumentResult::failure(
            fr("Le fichier « %1 » ne peut pas être lu : %2.").arg(shown, systemErrorReason(errno)));
    probe.close();
    if (info.size() > kCabinetContentLimit)
        return DocumentResult::failure(
            fr("Le fichier « %1 » est trop volumineux (%2 Mo) : un fichier joint ne peut pas "
               "dépasser %3 Mo.")
                .arg(shown)
                .arg(info.size() / (1024 * 1024))
                .arg(kCabinetContentLimit / (1024 * 1024)));
    const FileDescription d = describeFile(path);
    AttachedFileRow row;
    row.fileName = d.name;
    row.fileType = d.type;
    row.fileSize = d.sizeText;
    row.icon = bmpFile(d.icon);
    try {
        DocumentResult r;
        r.id = m_store.addFile(animalId, row, [path](const QString& archive) -> QString {
            const CabinetResult packed = packFile(path, archive);
            return packed.ok ? QString() : packed.error;
        });
        r.path = m_store.filePath(r.id);
        return r;
    } catch (const DbError& e) {
        return fromDbError(e);
    }
}

DocumentResult DocumentLibrary::removeFile(int id)
{
    try {
        m_store.removeFile(id);
        return {};
    } catch (const DbError& e) {
        return fromDbError(e);
    }
}

DocumentResult DocumentLibrary::unpackStored(int id, const QString& missingHeading,
                                             const QString& target)
{
    const QString stored = m_store.filePath(id);
    if (!QFileInfo::exists(stored))
        return DocumentResult::failure(storedFileMissing(missingHeading, stored));
    const CabinetResult r = unpackFile(stored, target);
    if (!r.ok)
        return DocumentResult::failure(r.error);
    DocumentResult done;
    done.id = id;
    done.path = target;
    return done;
}

DocumentResult DocumentLibrary::copyIntoPrivate(int id, const QString& heading,
                                                QFile::Permissions mode)
{
    std::optional<AttachedFileRow> row;
    try {
        row = m_store.file(id);
    } catch (const DbError& e) {
        return fromDbError(e);
    }
    if (!row)
        return DocumentResult::failure(fr("Ce fichier n'existe plus."));
    if (!QFileInfo::exists(m_store.filePath(id)))
        return DocumentResult::failure(storedFileMissing(heading, m_store.filePath(id)));
    const QString folder = privateFolder();
    if (folder.isEmpty())
        return DocumentResult::failure(fr("Impossible de créer un dossier temporaire."));
    // The name shown in the row, never the one stored in the archive.
    const QString copy = folder + safeFileName(row->fileName);
    removeEarlierCopy(copy);
    DocumentResult r = unpackStored(id, heading, copy);
    if (r.ok)
        QFile::setPermissions(copy, mode);
    return r;
}

DocumentResult DocumentLibrary::copyFileForOpening(int id)
{
    return copyIntoPrivate(id, cannotOpen(), QFile::ReadOwner);
}

DocumentResult DocumentLibrary::copyFileForSending(int id)
{
    return copyIntoPrivate(id, cannotSend(), QFile::ReadOwner | QFile::WriteOwner);
}

DocumentResult DocumentLibrary::saveFileAs(int id, const QString& target)
{
    return unpackStored(id, cannotFind(), target);
}

} // namespace tav
