#include "PictureStore.h"

#include "BitmapRoutines.h"
#include "JpegFile.h"
#include "Orientation.h"
#include "Placement.h"
#include "Thumbnail.h"
#include "core/FrenchText.h"

#include "core/TextLookup.h"
#include "core/TextRoutines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>

namespace tav {

namespace {

// A name beside `path`, in its folder, that no file holds yet: the same
// folder keeps the final rename on one file system.
QString freeNameBeside(const QString& path, const char* purpose)
{
    const QFileInfo info(path);
    QTemporaryFile probe(info.absolutePath() + QLatin1String("/.") + info.fileName() +
                         QLatin1Char('.') + QLatin1String(purpose) + QLatin1String(".XXXXXX"));
    probe.setAutoRemove(false);
    if (!probe.open())
        return {};
    const QString name = probe.fileName();
    probe.close();
    return name;
}

// The earlier file of a name, moved aside while its replacement is put in
// place, and put back unless the whole change is kept.
class FileReplacement
{
public:
    explicit FileReplacement(QString target) : m_target(std::move(target)) {}
    ~FileReplacement()
    {
        if (m_kept)
            return;
        if (m_placed)
            QFile::remove(m_target);
        if (!m_aside.isEmpty())
            QFile::rename(m_aside, m_target);
    }
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Moves the earlier file aside (when there is one), then the staged
    // file to the target's name.
    QString place(const QString& staged)
    {
        if (QFileInfo::exists(m_target) || QFileInfo(m_target).isSymLink()) {
            m_aside = freeNameBeside(m_target, "old");
            if (m_aside.isEmpty() || !QFile::remove(m_aside) || !QFile::rename(m_target, m_aside)) {
                m_aside.clear();
                return fr("Impossible de remplacer le fichier « %1 ».").arg(m_target);
            }
        }
        if (!staged.isEmpty()) {
            if (!QFile::rename(staged, m_target))
                return fr("Impossible d'écrire le fichier « %1 ».").arg(m_target);
            m_placed = true;
        }
        return {};
    }
    // The change stands: the earlier file goes for good.
    void keep()
    {
        m_kept = true;
        if (!m_aside.isEmpty())
            QFile::remove(m_aside);
    }

private:
    QString m_target;
    QString m_aside;
    bool m_placed = false;
    bool m_kept = false;
};

// A staged file that is removed unless it was put in place.
struct StagedFile
{
    QString path;
    ~StagedFile()
    {
        if (!path.isEmpty())
            QFile::remove(path);
    }
};

// Copies the bytes of `source` to `staged`, checking every write.
QString copyBytes(const QString& source, const QString& staged)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fr("Impossible de lire le fichier « %1 » : %2").arg(source, in.errorString());
    QFile out(staged);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fr("Impossible d'écrire le fichier « %1 » : %2").arg(staged, out.errorString());
    QByteArray block;
    for (;;) {
        block = in.read(1 << 20);
        if (block.isEmpty())
            break;
        if (out.write(block) != block.size())
            return fr("Impossible d'écrire le fichier « %1 » : %2").arg(staged, out.errorString());
    }
    if (in.error() != QFileDevice::NoError)
        return fr("Impossible de lire le fichier « %1 » : %2").arg(source, in.errorString());
    if (!out.flush())
        return fr("Impossible d'écrire le fichier « %1 » : %2").arg(staged, out.errorString());
    out.close();
    if (out.error() != QFileDevice::NoError)
        return fr("Impossible d'écrire le fichier « %1 » : %2").arg(staged, out.errorString());
    return {};
}

QString checkSource(const QString& source)
{
    const QFileInfo info(source);
    if (source.isEmpty() || !info.exists())
        return fr("Le fichier « %1 » n'existe pas.").arg(source);
    if (info.isDir())
        return fr("« %1 » est un dossier, pas une image.").arg(source);
    return {};
}

QString checkTargetFolder(const QString& target)
{
    const QFileInfo info(target);
    if (info.isDir())
        return fr("« %1 » est un dossier.").arg(target);
    const QDir folder = info.absoluteDir();
    if (!folder.exists() && !QDir().mkpath(folder.absolutePath()))
        return fr("Impossible de créer le dossier « %1 ».").arg(folder.absolutePath());
    return {};
}

} // namespace

bool isJpegFileName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toUpper();
    return suffix == QLatin1String("JPG") || suffix == QLatin1String("JPEG");
}

QStringList otherPicturePatterns()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString f = QString::fromLatin1(format).toLower();
        if (f == QLatin1String("jpg") || f == QLatin1String("jpeg") || f == QLatin1String("bmp"))
            continue;
        // Formats that are not pictures a user would choose as a photo.
        if (f == QLatin1String("svg") || f == QLatin1String("svgz") || f == QLatin1String("pdf"))
            continue;
        patterns.append(QLatin1String("*.") + f);
    }
    patterns.sort();
    patterns.removeDuplicates();
    return patterns;
}

PictureResult storeImageAndThumbnail(const QString& source, const QString& target, QSize box,
                                     const PictureLimits& limits, const ThumbnailWriter& writeRow)
{
    if (const QString problem = checkSource(source); !problem.isEmpty())
        return {false, problem};
    if (box.isEmpty())
        return {false, fr("La taille de la vignette n'est pas valable.")};

    // Everything is read and checked before anything is written.
    QByteArray thumbnail;
    QImage converted;
    const bool copied = isJpegFileName(source);
    if (copied) {
        const ThumbnailResult made = thumbnailFromFile(source, box.width(), box.height());
        if (!made.ok)
            return {false, made.error};
        thumbnail = made.bmp;
    } else {
        const PictureRead read = readPictureFile(source);
        if (!read.ok)
            return {false, read.error};
        converted = read.picture.convertToFormat(QImage::Format_RGB888);
        if (converted.isNull())
            return {false, fr("Mémoire insuffisante pour ouvrir l'image « %1 ».").arg(source)};
        thumbnail = bmpFile(makeThumbnail(converted, box.width(), box.height()));
        if (thumbnail.isEmpty())
            return {false, fr("Impossible de construire la vignette de « %1 ».").arg(source)};
        const int side = std::max(1, limits.maxWidth);
        if (converted.width() > side || converted.height() > side) {
            const Placement p = fitInBox(side, side, converted.width(), converted.height());
            if (!resizeBitmap(converted, p.width, p.height))
                return {false, fr("Mémoire insuffisante pour réduire l'image « %1 ».").arg(source)};
        }
    }

    if (const QString problem = checkTargetFolder(target); !problem.isEmpty())
        return {false, problem};
    StagedFile staged{freeNameBeside(target, "new")};
    if (staged.path.isEmpty())
        return {false, fr("Impossible d'écrire dans le dossier « %1 ».")
                           .arg(QFileInfo(target).absolutePath())};
    if (copied) {
        if (const QString problem = copyBytes(source, staged.path); !problem.isEmpty())
            return {false, problem};
    } else {
        const int quality = std::clamp(limits.jpegQuality, 1, 100);
        const JpegResult written = writeJpegFile(converted, staged.path, quality);
        if (!written.ok)
            return {false, written.error};
    }

    FileReplacement replacement(target);
    if (const QString problem = replacement.place(staged.path); !problem.isEmpty())
        return {false, problem};
    staged.path.clear();
    if (writeRow) {
        if (const QString problem = writeRow(thumbnail); !problem.isEmpty())
            return {false, problem};
    }
    replacement.keep();
    return {};
}

PictureResult storePhotoAndThumbnail(const QString& source, const QString& target,
                                     const PictureLimits& limits, const ThumbnailWriter& writeRow)
{
    return storeImageAndThumbnail(source, target, QSize(kPhotoThumbnailSide, kPhotoThumbnailSide),
                                  limits, writeRow);
}

PictureResult clearImageColumns(const QString& file, const RowClearer& clearRow)
{
    if (QFileInfo(file).isDir())
        return {false, fr("« %1 » est un dossier, pas une image.").arg(file)};
    FileReplacement replacement(file);
    if (const QString problem = replacement.place({}); !problem.isEmpty())
        return {false, problem};
    if (clearRow) {
        if (const QString problem = clearRow(); !problem.isEmpty())
            return {false, problem};
    }
    replacement.keep();
    return {};
}

PictureResult deleteImageFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (info.isDir())
        return {false, fr("« %1 » est un dossier, pas une image.").arg(path)};
    QFile file(path);
    if (!file.remove())
        return {false,
                fr("Impossible de supprimer le fichier « %1 » : %2").arg(path, file.errorString())};
    return {};
}

PictureResult saveImageCopy(const QString& file, const QString& destination)
{
    const QFileInfo info(file);
    if (!info.exists() || info.isDir())
        return {false, texts::pictureMissing(file)};
    QString path = destination;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1String(".jpg");
    if (QFileInfo(path).isDir())
        return {false, fr("« %1 » est un dossier.").arg(path)};
    // Saving a picture onto itself would empty it.
    if (QFileInfo(path).canonicalFilePath() == info.canonicalFilePath())
        return {};
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {false, fr("Impossible de lire le fichier « %1 » : %2").arg(file, in.errorString())};
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return {false,
                fr("Impossible d'écrire le fichier « %1 » : %2").arg(path, out.errorString())};
    for (;;) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty())
            break;
        if (out.write(block) != block.size()) {
            out.cancelWriting();
            break;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return {false, fr("Impossible de lire le fichier « %1 » : %2").arg(file, in.errorString())};
    }
    if (!out.commit())
        return {false,
                fr("Impossible d'écrire le fichier « %1 » : %2").arg(path, out.errorString())};
    return {};
}

QString proposedPictureName(const QString& title)
{
    if (title.isEmpty())
        return QStringLiteral("*.jpg");
    return fileNameSafe(title + QLatin1String(".jpg"));
}

ShownPicture readShownPicture(const QString& path)
{
    if (const QString problem = checkSource(path); !problem.isEmpty())
        return {false, problem, {}};
    if (!isJpegFileName(path)) {
        const PictureRead read = readPictureFile(path);
        return {read.ok, read.error, read.picture};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false,
                fr("Impossible de lire le fichier « %1 » : %2").arg(path, file.errorString()),
                {}};
    const QByteArray data = file.readAll();
    QImage picture;
    const JpegResult read = readJpegData(picture, data, path);
    if (!read.ok)
        return {false, read.error, {}};
    if (!applyExifOrientation(picture, exifOrientation(data)))
        return {false, fr("Mémoire insuffisante pour tourner l'image « %1 ».").arg(path), {}};
    return {true, {}, picture};
}

QString pictureViewProblem(const QString& file)
{
    const QFileInfo info(file);
    if (file.isEmpty() || !info.exists() || info.isDir())
        return texts::pictureNotShown(file);
    return {};
}

} // namespace tav
