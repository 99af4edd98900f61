#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

namespace tav {

class Connection;

// A picture kept with an animal: its row, the picture itself lying in
// Images/Doc<Id>.jpg of the database folder.
struct ImageDocumentRow
{
    int id = 0;
    QString title;
    QByteArray thumbnail; // 90 x 90 BMP file, empty when never built
};

// A file kept with an animal: its row, the bytes lying packed in
// Files/File<Id>.f of the database folder.
struct AttachedFileRow
{
    int id = 0;
    QString fileName;
    QString fileType;
    QString fileSize; // as shown: "12 Ko"
    QByteArray icon;  // BMP file, 32 x 32; empty only in rows of older versions
    QString remark;
};

// Writes a document's content to the given path (a temporary name in the
// content's final folder). Returns an empty text on success, else the
// French reason.
using ContentWriter = std::function<QString(const QString& path)>;

// The documents of the animals: rows of DOCUMENTIMG and DOCUMENTFILE with
// their files. A row never exists without its file nor a file without its
// row: the content is written under a temporary name first, put in place
// inside the transaction that writes the row, and taken back out if that
// transaction does not commit. Only rows of an animal (DoType 1) are seen.
// Every method throws DbError with a French text.
class DocumentStore
{
public:
    DocumentStore(Connection& connection, const QString& databaseFolder);

    QString imagePath(int id) const;
    QString filePath(int id) const;

    QVector<ImageDocumentRow> images(int animalId) const;
    std::optional<ImageDocumentRow> image(int id) const;
    QVector<AttachedFileRow> files(int animalId) const;
    std::optional<AttachedFileRow> file(int id) const;

    // New image document; returns its Id.
    int addImage(int animalId, const QString& title, const QByteArray& thumbnail,
                 const ContentWriter& write);
    // New title; with a writer, a new picture and thumbnail too.
    void updateImage(int id, const QString& title, const QByteArray& thumbnail = {},
                     const ContentWriter& write = {});
    int addFile(int animalId, const AttachedFileRow& file, const ContentWriter& write);

    // The row goes first; its file follows once the deletion is committed.
    void removeImage(int id);
    void removeFile(int id);

    // Titles and names are cut to what their columns hold.
    static constexpr int kTitleLength = 128;
    static constexpr int kFileNameLength = 255;
    static constexpr int kFileTypeLength = 128;

private:
    int insertWithContent(const QString& finalPathPattern, const ContentWriter& write,
                          const std::function<void()>& insertRow);

    Connection& m_connection;
    QString m_folder;
};

} // namespace tav
