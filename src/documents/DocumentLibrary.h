#pragma once

#include "core/FileRoutines.h"
#include "db/DocumentStore.h"

#include <QFile>
#include <QImage>
#include <QString>

#include <memory>

class QTemporaryDir;

namespace tav {

class Connection;

// What a command on a document gives back: success (with the Id or the
// path it made) or a French reason ready to be shown.
struct DocumentResult
{
    bool ok = true;
    QString error;
    int id = 0;
    QString path;

    static DocumentResult failure(const QString& why) { return {false, why, 0, {}}; }
};

// What the desktop says of a file about to be attached.
struct FileDescription
{
    QString path;
    QString name;     // without folder
    QString type;     // the MIME type's description, else "XYZ file"
    QString sizeText; // "12 Ko": thousands of bytes, truncated
    qint64 size = 0;
    QImage icon; // 32 x 32 on white: the desktop's icon, else the generic one
};

FileDescription describeFile(const QString& path);
// The MIME type's description of a file; for a type the desktop does not
// know, the upper-cased extension followed by " file".
QString fileTypeName(const QString& path);
// A name that can stand in a folder as it is: each of / \ : * ? " < > |
// becomes an underscore, and "." or ".." or nothing becomes "fichier".
QString safeFileName(const QString& name);

// The documents of the animals with their files, as the "Documents" page
// changes them. Copies made for opening or sending go to a folder private
// to the user (mode 0700, files 0600, or 0400 when opened read-only), made
// on first use and removed with this object.
class DocumentLibrary
{
public:
    DocumentLibrary(Connection& connection, const QString& databaseFolder);
    ~DocumentLibrary();
    DocumentLibrary(const DocumentLibrary&) = delete;
    DocumentLibrary& operator=(const DocumentLibrary&) = delete;

    DocumentStore& store() { return m_store; }
    // The settings of stored pictures: the largest side in pixels and the
    // JPEG quality, kept between 1 and 100 whatever the settings say.
    void setPictureLimits(int maxWidth, int jpegQuality);

    // The picture is stored as Images/Doc<Id>.jpg, no larger than the
    // largest side, with its 90 x 90 thumbnail in the row.
    DocumentResult addImage(int animalId, const QString& title, const QImage& picture);
    // A null picture keeps the stored one.
    DocumentResult updateImage(int id, const QString& title, const QImage& picture);
    DocumentResult removeImage(int id);
    DocumentResult saveImageAs(int id, const QString& target);
    DocumentResult copyImageForSending(int id, const QString& title);

    // Packs the file as Files/File<Id>.f with its description in the row.
    // Missing, unreadable and too large files are refused; an empty file
    // is kept as "0 Ko" with an empty entry in its cabinet.
    DocumentResult attachFile(int animalId, const QString& path);
    DocumentResult removeFile(int id);
    // A read-only copy under the file's own name, for the desktop's program.
    DocumentResult copyFileForOpening(int id);
    DocumentResult copyFileForSending(int id);
    DocumentResult saveFileAs(int id, const QString& target);

    // The private folder, made when first asked; empty when it cannot be.
    QString privateFolder();

private:
    DocumentResult unpackStored(int id, const QString& missingHeading, const QString& target);
    DocumentResult copyIntoPrivate(int id, const QString& heading, QFile::Permissions mode);

    DocumentStore m_store;
    int m_maxWidth = 5000;
    int m_jpegQuality = 100;
    std::unique_ptr<QTemporaryDir> m_private;
};

} // namespace tav
