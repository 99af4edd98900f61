#include "TestDatabase.h"
#include "TestText.h"

#include "db/DbError.h"
#include "db/DocumentStore.h"

#include <QDir>
#include <QtTest>

using namespace tav;

namespace {

ContentWriter writing(const QByteArray& bytes)
{
    return [bytes](const QString& path) {
        return writeBytes(path, bytes) ? QString() : u("écriture impossible");
    };
}

ContentWriter failing(const QByteArray& partial)
{
    return [partial](const QString& path) {
        writeBytes(path, partial);
        return u("Le disque est plein.");
    };
}

} // namespace

class TestDocumentStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void anImageIsARowWithItsFile();
    void aFailedWriteLeavesNeitherRowNorFile();
    void aFailedRowLeavesNoFile();
    void aNewPictureReplacesTheOldOnlyWhenAllIsWritten();
    void removingTakesRowThenFileAndOnlyTheAnimalsDocuments();
    void attachedFilesKeepTheirDescription();

private:
    int count(const char* table) const;
    QStringList leftovers(const char* folder) const;

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DocumentStore> m_store;
};

void TestDocumentStore::init()
{
    m_db = std::make_unique<TestDatabase>();
    QDir(m_db->folder()).mkpath(QStringLiteral("Images"));
    QDir(m_db->folder()).mkpath(QStringLiteral("Files"));
    m_store = std::make_unique<DocumentStore>(m_db->connection, m_db->folder());
}

void TestDocumentStore::cleanup()
{
    m_store.reset();
    m_db.reset();
}

int TestDocumentStore::count(const char* table) const
{
    return m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table))
        .toInt();
}

QStringList TestDocumentStore::leftovers(const char* folder) const
{
    return QDir(m_db->folder() + QLatin1Char('/') + QLatin1String(folder))
        .entryList(QDir::Files | QDir::Hidden);
}

void TestDocumentStore::anImageIsARowWithItsFile()
{
    const QString title = u("Radio d'O'Malley ") + QString(200, QLatin1Char('x'));
    const int id = m_store->addImage(7, title, "BMthumb", writing("jpeg bytes"));
    QCOMPARE(readBytes(m_store->imagePath(id)), QByteArray("jpeg bytes"));
    QCOMPARE(m_store->imagePath(id), m_db->folder() + u("/Images/Doc%1.jpg").arg(id));
    QCOMPARE(leftovers("Images"), QStringList{u("Doc%1.jpg").arg(id)});
    const QVector<ImageDocumentRow> rows = m_store->images(7);
    QCOMPARE(rows.size(), 1);
    // A quote in the title is data, and the title is cut to its column.
    QCOMPARE(rows[0].title, title.left(DocumentStore::kTitleLength));
    QCOMPARE(rows[0].thumbnail, QByteArray("BMthumb"));
    QCOMPARE(
        m_db->connection.scalar(u("SELECT DoType*1000+Id_File FROM DOCUMENTIMG WHERE Id=?"), {id})
            .toInt(),
        1000);
    QVERIFY(m_store->images(8).isEmpty());
}

void TestDocumentStore::aFailedWriteLeavesNeitherRowNorFile()
{
    try {
        m_store->addImage(7, u("Radio"), "BM", failing("half a picture"));
        QFAIL("the failure was not reported");
    } catch (const DbError& e) {
        QCOMPARE(e.message(), u("Le disque est plein."));
    }
    QCOMPARE(count("DOCUMENTIMG"), 0);
    QVERIFY(leftovers("Images").isEmpty());

    QVERIFY_THROWS_EXCEPTION(
        DbError,
        m_store->addFile(7, AttachedFileRow{0, u("a.pdf"), {}, {}, {}, {}}, failing("part")));
    QCOMPARE(count("DOCUMENTFILE"), 0);
    QVERIFY(leftovers("Files").isEmpty());
}

void TestDocumentStore::aFailedRowLeavesNoFile()
{
    // The row cannot be written: nothing of the content may stay behind,
    // and a file left by an earlier row of that Id is not lost either.
    m_db->connection.exec(u("CREATE TRIGGER refuse BEFORE INSERT ON DOCUMENTFILE "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    QVERIFY_THROWS_EXCEPTION(
        DbError,
        m_store->addFile(7, AttachedFileRow{0, u("a.pdf"), {}, {}, {}, {}}, writing("content")));
    QCOMPARE(count("DOCUMENTFILE"), 0);
    QVERIFY(leftovers("Files").isEmpty());

    m_db->connection.exec(u("DROP TRIGGER refuse"));
    QVERIFY(writeBytes(m_store->filePath(1), "leftover of a deleted row"));
    m_db->connection.exec(u("CREATE TRIGGER refuse AFTER INSERT ON DOCUMENTFILE "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    QVERIFY_THROWS_EXCEPTION(
        DbError,
        m_store->addFile(7, AttachedFileRow{0, u("a.pdf"), {}, {}, {}, {}}, writing("content")));
    QCOMPARE(count("DOCUMENTFILE"), 0);
    QCOMPARE(leftovers("Files"), QStringList{u("File1.f")});
}

void TestDocumentStore::aNewPictureReplacesTheOldOnlyWhenAllIsWritten()
{
    const int id = m_store->addImage(7, u("Radio"), "BMold", writing("old picture"));
    QVERIFY_THROWS_EXCEPTION(DbError,
                             m_store->updateImage(id, u("Autre"), "BMnew", failing("new")));
    QCOMPARE(readBytes(m_store->imagePath(id)), QByteArray("old picture"));
    QCOMPARE(m_store->image(id)->title, u("Radio"));

    // The row's update fails after the new content is ready: the old
    // picture comes back.
    m_db->connection.exec(u("CREATE TRIGGER refuse BEFORE UPDATE ON DOCUMENTIMG "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    QVERIFY_THROWS_EXCEPTION(DbError,
                             m_store->updateImage(id, u("Autre"), "BMnew", writing("new")));
    QCOMPARE(readBytes(m_store->imagePath(id)), QByteArray("old picture"));
    m_db->connection.exec(u("DROP TRIGGER refuse"));

    m_store->updateImage(id, u("Autre"));
    QCOMPARE(readBytes(m_store->imagePath(id)), QByteArray("old picture"));
    QCOMPARE(m_store->image(id)->thumbnail, QByteArray("BMold"));
    m_store->updateImage(id, u("Face"), "BMnew", writing("new picture"));
    QCOMPARE(readBytes(m_store->imagePath(id)), QByteArray("new picture"));
    QCOMPARE(m_store->image(id)->title, u("Face"));
    QCOMPARE(m_store->image(id)->thumbnail, QByteArray("BMnew"));
    QCOMPARE(leftovers("Images"), QStringList{u("Doc%1.jpg").arg(id)});
}

void TestDocumentStore::removingTakesRowThenFileAndOnlyTheAnimalsDocuments()
{
    const int a = m_store->addImage(7, u("A"), "BM", writing("a"));
    const int b = m_store->addImage(7, u("B"), "BM", writing("b"));
    // A row of another kind of owner is neither listed nor removable here.
    m_db->connection.exec(u("INSERT INTO DOCUMENTIMG (Id_Ref, DoType, Title) VALUES (7, 2, 'x')"));
    const int other = int(m_db->connection.lastInsertId());
    QCOMPARE(m_store->images(7).size(), 2);
    QVERIFY(!m_store->image(other));

    m_store->removeImage(a);
    QVERIFY(!QFile::exists(m_store->imagePath(a)));
    QVERIFY(QFile::exists(m_store->imagePath(b)));
    QCOMPARE(m_store->images(7).size(), 1);
    m_store->removeImage(other);
    QCOMPARE(count("DOCUMENTIMG"), 2);

    const int f =
        m_store->addFile(7, AttachedFileRow{0, u("a.pdf"), {}, {}, {}, {}}, writing("cab"));
    QFile::remove(m_store->filePath(f));
    // A file already gone does not keep its row.
    m_store->removeFile(f);
    QCOMPARE(count("DOCUMENTFILE"), 0);
}

void TestDocumentStore::attachedFilesKeepTheirDescription()
{
    AttachedFileRow row{0, u("Compte rendu \"final\".pdf"), u("Document PDF"), u("12 Ko"), "BMicon",
                        {}};
    const int id = m_store->addFile(3, row, writing("packed"));
    const std::optional<AttachedFileRow> back = m_store->file(id);
    QVERIFY(back);
    QCOMPARE(back->fileName, row.fileName);
    QCOMPARE(back->fileType, row.fileType);
    QCOMPARE(back->fileSize, row.fileSize);
    QCOMPARE(back->icon, row.icon);
    QCOMPARE(back->remark, QString());
    QCOMPARE(m_store->files(3).size(), 1);
    QCOMPARE(readBytes(m_store->filePath(id)), QByteArray("packed"));
}

QTEST_GUILESS_MAIN(TestDocumentStore)
#include "tst_documentstore.moc"
