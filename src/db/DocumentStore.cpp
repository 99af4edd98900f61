#include "db/DocumentStore.h"

#include "core/FrenchText.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <cstdio>

namespace tav {

namespace {

bool renameFile(const QString& from, const QString& to)
{
    // std::rename replaces an existing target in one step, as QFile::rename
    // does not.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// A document's content on its way to its final name. Until keep() is
// called the destructor puts everything back as it was: the temporary file
// goes, and a content already installed is replaced by the one it took
// the place of (a leftover of an earlier row, say).
class ContentSwap
{
public:
    explicit ContentSwap(const QString& target) : m_target(target) {}
    ContentSwap(const ContentSwap&) = delete;
    ContentSwap& operator=(const ContentSwap&) = delete;

    ~ContentSwap()
    {
        if (!m_temp.isEmpty())
            QFile::remove(m_temp);
        if (m_kept)
            return;
        if (m_installed)
            QFile::remove(m_target);
        if (!m_backup.isEmpty())
            renameFile(m_backup, m_target);
    }

    void write(const ContentWriter& writer)
    {
        const QString folder = QFileInfo(m_target).absolutePath();
        QTemporaryFile temp(folder + QStringLiteral("/.document-XXXXXX"));
        temp.setAutoRemove(false);
        if (!temp.open())
            throw DbError(fr("Impossible d'écrire dans le dossier « %1 ».").arg(folder));
        m_temp = temp.fileName();
        temp.close();
        const QString error = writer(m_temp);
        if (!error.isEmpty())
            throw DbError(error);
    }

    void install()
    {
        if (QFileInfo::exists(m_target)) {
            m_backup = m_target + QStringLiteral(".ancien");
            QFile::remove(m_backup);
            if (!renameFile(m_target, m_backup)) {
                m_backup.clear();
                throw DbError(fr("Impossible de remplacer le fichier « %1 ».").arg(m_target));
            }
        }
        if (!renameFile(m_temp, m_target))
            throw DbError(fr("Impossible d'écrire le fichier « %1 ».").arg(m_target));
        m_temp.clear();
        m_installed = true;
    }

    void keep()
    {
        m_kept = true;
        if (!m_backup.isEmpty())
            QFile::remove(m_backup);
    }

private:
    QString m_target;
    QString m_temp;
    QString m_backup;
    bool m_installed = false;
    bool m_kept = false;
};

QSqlQuery run(Connection& connection, const QString& sql, const QVariantList& values)
{
    QSqlQuery q(connection.database());
    if (!q.prepare(sql))
        throw DbError(databaseErrorText(q.lastError(), connection.filePath()));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(databaseErrorText(q.lastError(), connection.filePath()));
    return q;
}

ImageDocumentRow imageRow(const QSqlQuery& q)
{
    return {q.value(0).toInt(), q.value(1).toString(), q.value(2).toByteArray()};
}

AttachedFileRow fileRow(const QSqlQuery& q)
{
    return {q.value(0).toInt(),    q.value(1).toString(),    q.value(2).toString(),
            q.value(3).toString(), q.value(4).toByteArray(), q.value(5).toString()};
}

const char* const kImageColumns = "SELECT Id, Title, ImgMini FROM DOCUMENTIMG ";
const char* const kFileColumns =
    "SELECT Id, FileName, FileType, FileSize, FileIcon, Remark FROM DOCUMENTFILE ";

} // namespace

DocumentStore::DocumentStore(Connection& connection, const QString& databaseFolder)
    : m_connection(connection), m_folder(databaseFolder)
{
    if (!m_folder.isEmpty() && !m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
}

QString DocumentStore::imagePath(int id) const
{
    return m_folder + QStringLiteral("Images/Doc") + QString::number(id) + QStringLiteral(".jpg");
}

QString DocumentStore::filePath(int id) const
{
    return m_folder + QStringLiteral("Files/File") + QString::number(id) + QStringLiteral(".f");
}

QVector<ImageDocumentRow> DocumentStore::images(int animalId) const
{
    QSqlQuery q = run(m_connection,
                      QLatin1String(kImageColumns) +
                          QStringLiteral("WHERE DoType=1 AND Id_Ref=? ORDER BY Id"),
                      {animalId});
    QVector<ImageDocumentRow> rows;
    while (q.next())
        rows.append(imageRow(q));
    return rows;
}

std::optional<ImageDocumentRow> DocumentStore::image(int id) const
{
    QSqlQuery q =
        run(m_connection, QLatin1String(kImageColumns) + QStringLiteral("WHERE DoType=1 AND Id=?"),
            {id});
    if (!q.next())
        return std::nullopt;
    return imageRow(q);
}

QVector<AttachedFileRow> DocumentStore::files(int animalId) const
{
    QSqlQuery q =
        run(m_connection,
            QLatin1String(kFileColumns) + QStringLiteral("WHERE DoType=1 AND Id_Ref=? ORDER BY Id"),
            {animalId});
    QVector<AttachedFileRow> rows;
    while (q.next())
        rows.append(fileRow(q));
    return rows;
}

std::optional<AttachedFileRow> DocumentStore::file(int id) const
{
    QSqlQuery q =
        run(m_connection, QLatin1String(kFileColumns) + QStringLiteral("WHERE DoType=1 AND Id=?"),
            {id});
    if (!q.next())
        return std::nullopt;
    return fileRow(q);
}

int DocumentStore::insertWithContent(const QString& finalPathPattern, const ContentWriter& write,
                                     const std::function<void()>& insertRow)
{
    Transaction tx(m_connection);
    insertRow();
    const int id = int(m_connection.lastInsertId());
    ContentSwap content(QString(finalPathPattern).arg(id));
    content.write(write);
    content.install();
    tx.commit();
    content.keep();
    return id;
}

int DocumentStore::addImage(int animalId, const QString& title, const QByteArray& thumbnail,
                            const ContentWriter& write)
{
    return insertWithContent(m_folder + QStringLiteral("Images/Doc%1.jpg"), write, [&]() {
        run(m_connection,
            QStringLiteral("INSERT INTO DOCUMENTIMG (Id_File, Id_Ref, DoType, Title, ImgMini) "
                           "VALUES (0, ?, 1, ?, ?)"),
            {animalId, title.left(kTitleLength), thumbnail});
    });
}

void DocumentStore::updateImage(int id, const QString& title, const QByteArray& thumbnail,
                                const ContentWriter& write)
{
    Transaction tx(m_connection);
    if (!write) {
        run(m_connection, QStringLiteral("UPDATE DOCUMENTIMG SET Title=? WHERE DoType=1 AND Id=?"),
            {title.left(kTitleLength), id});
        tx.commit();
        return;
    }
    if (!image(id))
        throw DbError(fr("Ce document n'existe plus."));
    ContentSwap content(imagePath(id));
    content.write(write);
    // In place before the row changes, so that a refused row puts the
    // earlier picture back.
    content.install();
    run(m_connection,
        QStringLiteral("UPDATE DOCUMENTIMG SET Title=?, ImgMini=? WHERE DoType=1 AND Id=?"),
        {title.left(kTitleLength), thumbnail, id});
    tx.commit();
    content.keep();
}

int DocumentStore::addFile(int animalId, const AttachedFileRow& file, const ContentWriter& write)
{
    return insertWithContent(m_folder + QStringLiteral("Files/File%1.f"), write, [&]() {
        run(m_connection,
            QStringLiteral("INSERT INTO DOCUMENTFILE (Id_File, Id_Ref, DoType, FileName, FileType, "
                           "FileSize, FileIcon, Remark) VALUES (0, ?, 1, ?, ?, ?, ?, ?)"),
            {animalId, file.fileName.left(kFileNameLength), file.fileType.left(kFileTypeLength),
             file.fileSize, file.icon.isNull() ? QByteArray("") : file.icon,
             file.remark.left(255)});
    });
}

void DocumentStore::removeImage(int id)
{
    {
        Transaction tx(m_connection);
        run(m_connection, QStringLiteral("DELETE FROM DOCUMENTIMG WHERE DoType=1 AND Id=?"), {id});
        tx.commit();
    }
    // A file that cannot be removed does not bring its row back.
    QFile::remove(imagePath(id));
}

void DocumentStore::removeFile(int id)
{
    {
        Transaction tx(m_connection);
        run(m_connection, QStringLiteral("DELETE FROM DOCUMENTFILE WHERE DoType=1 AND Id=?"), {id});
        tx.commit();
    }
    QFile::remove(filePath(id));
}

} // namespace tav
