#include "TestDatabase.h"
#include "TestText.h"

#include "documents/DocumentLibrary.h"
#include "media/Cabinet.h"
#include "media/JpegFile.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tav;

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 0777;
}

QByteArray noise(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator gen(42);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i % 3 == 0 ? gen.bounded(256) : i % 17);
    return bytes;
}

} // namespace

class TestDocumentLibrary : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void anAttachedFileComesBackByteForByte();
    void copiesForOpeningArePrivateAndGoWithTheLibrary();
    void filesThatCannotBeAttachedAreRefusedWithoutATrace();
    void anEmptyFileIsAttachedAsZeroKo();
    void everyAttachedFileGetsAnIcon();
    void anEntryNameNeverBecomesAPath();
    void missingStoredFilesAreReported();
    void picturesAreLimitedAndGetTheirThumbnail();
    void picturesSentAreCopiedUnderTheirTitle();
    void fileDescriptions();

private:
    QString write(const QString& name, const QByteArray& bytes);
    int rows(const char* table) const;

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DocumentLibrary> m_library;
    QTemporaryDir m_user;
};

void TestDocumentLibrary::init()
{
    m_db = std::make_unique<TestDatabase>();
    QDir(m_db->folder()).mkpath(QStringLiteral("Images"));
    QDir(m_db->folder()).mkpath(QStringLiteral("Files"));
    m_library = std::make_unique<DocumentLibrary>(m_db->connection, m_db->folder());
}

void TestDocumentLibrary::cleanup()
{
    m_library.reset();
    m_db.reset();
}

QString TestDocumentLibrary::write(const QString& name, const QByteArray& bytes)
{
    const QString path = m_user.filePath(name);
    writeBytes(path, bytes);
    return path;
}

int TestDocumentLibrary::rows(const char* table) const
{
    return m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table))
        .toInt();
}

void TestDocumentLibrary::anAttachedFileComesBackByteForByte()
{
    const QByteArray content = noise(700 * 1000 + 3);
    const QString source = write(u("Analyse été.pdf"), content);
    QFile::setPermissions(source, QFile::ReadOwner);
    const DocumentResult r = m_library->attachFile(4, source);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.path, m_db->folder() + u("/Files/File%1.f").arg(r.id));
    const AttachedFileRow row = *m_library->store().file(r.id);
    QCOMPARE(row.fileName, u("Analyse été.pdf"));
    QCOMPARE(row.fileSize, u("700 Ko"));

    // An independent reader finds the bytes in the cabinet.
    QTemporaryDir out;
    QProcess cab;
    cab.start(QStringLiteral("cabextract"),
              {QStringLiteral("-q"), QStringLiteral("-d"), out.path(), r.path});
    QVERIFY(cab.waitForFinished(60000));
    QCOMPARE(cab.exitCode(), 0);
    const QStringList extracted = QDir(out.path()).entryList(QDir::Files);
    QCOMPARE(extracted.size(), 1);
    QCOMPARE(readBytes(out.filePath(extracted.first())), content);

    const QString saved = m_user.filePath(QStringLiteral("copie.pdf"));
    QVERIFY(writeBytes(saved, "older"));
    QVERIFY(m_library->saveFileAs(r.id, saved).ok);
    QCOMPARE(readBytes(saved), content);
}

void TestDocumentLibrary::copiesForOpeningArePrivateAndGoWithTheLibrary()
{
    const QByteArray content = noise(5000);
    const DocumentResult added = m_library->attachFile(4, write(u("lettre.odt"), content));
    QVERIFY(added.ok);
    const DocumentResult first = m_library->copyFileForOpening(added.id);
    QVERIFY2(first.ok, qPrintable(first.error));
    const QString folder = QFileInfo(first.path).absolutePath();
    QCOMPARE(QFileInfo(first.path).fileName(), u("lettre.odt"));
    QVERIFY(!folder.startsWith(m_db->folder()));
    QCOMPARE(modeOf(folder), mode_t(0700));
    QCOMPARE(modeOf(first.path), mode_t(0400));
    QCOMPARE(readBytes(first.path), content);

    // Opened again: the earlier read-only copy is replaced.
    const DocumentResult again = m_library->copyFileForOpening(added.id);
    QVERIFY2(again.ok, qPrintable(again.error));
    QCOMPARE(again.path, first.path);
    const DocumentResult sent = m_library->copyFileForSending(added.id);
    QVERIFY(sent.ok);
    QCOMPARE(modeOf(sent.path), mode_t(0600));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u("lettre.odt")});

    m_library.reset();
    QVERIFY(!QFileInfo::exists(folder));
}

void TestDocumentLibrary::filesThatCannotBeAttachedAreRefusedWithoutATrace()
{
    DocumentResult r = m_library->attachFile(4, m_user.filePath(QStringLiteral("absent.pdf")));
    QVERIFY(!r.ok);
    QCOMPARE(r.error, u("Fichier \"absent.pdf\" introuvable."));

    // Two gigabytes are beyond what a cabinet holds: refused before a byte
    // is written (the file is sparse, it takes no room).
    const QString big = write(u("film.mkv"), "x");
    QVERIFY(QFile::resize(big, 2LL * 1024 * 1024 * 1024));
    r = m_library->attachFile(4, big);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(u("trop volumineux")), qPrintable(r.error));

    r = m_library->attachFile(4, m_user.path());
    QVERIFY(!r.ok);

    if (::geteuid() != 0) {
        const QString locked = write(u("secret.pdf"), "data");
        QFile::setPermissions(locked, {});
        r = m_library->attachFile(4, locked);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u("ne peut pas être lu")), qPrintable(r.error));
    }
    QCOMPARE(rows("DOCUMENTFILE"), 0);
    QVERIFY(QDir(m_db->folder() + u("/Files")).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestDocumentLibrary::anEmptyFileIsAttachedAsZeroKo()
{
    const DocumentResult r = m_library->attachFile(4, write(u("vide.txt"), {}));
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(m_library->store().file(r.id)->fileSize, u("0 Ko"));

    // An independent reader finds one entry, empty.
    QTemporaryDir out;
    QProcess cab;
    cab.start(QStringLiteral("cabextract"),
              {QStringLiteral("-q"), QStringLiteral("-d"), out.path(), r.path});
    QVERIFY(cab.waitForFinished(60000));
    QCOMPARE(cab.exitCode(), 0);
    const QStringList extracted = QDir(out.path()).entryList(QDir::Files);
    QCOMPARE(extracted.size(), 1);
    QCOMPARE(QFileInfo(out.filePath(extracted.first())).size(), 0);

    const QString saved = m_user.filePath(QStringLiteral("copie.txt"));
    QVERIFY(writeBytes(saved, "older"));
    QVERIFY(m_library->saveFileAs(r.id, saved).ok);
    QCOMPARE(QFileInfo(saved).size(), 0);
    const DocumentResult copy = m_library->copyFileForSending(r.id);
    QVERIFY2(copy.ok, qPrintable(copy.error));
    QCOMPARE(QFileInfo(copy.path).size(), 0);
}

void TestDocumentLibrary::everyAttachedFileGetsAnIcon()
{
    // A type no desktop knows, and one it may: each row holds a picture.
    for (const QString& name : {u("mesures.qqzz"), u("lettre.txt"), u("sans extension")}) {
        const DocumentResult r = m_library->attachFile(4, write(name, "abc"));
        QVERIFY2(r.ok, qPrintable(r.error));
        const QByteArray stored = m_library->store().file(r.id)->icon;
        QVERIFY2(stored.startsWith("BM"), qPrintable(name));
        const QImage icon = QImage::fromData(stored, "BMP");
        QCOMPARE(icon.size(), QSize(32, 32));
        int drawn = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                drawn += icon.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
        QVERIFY2(drawn > 50, qPrintable(name));
    }
}

void TestDocumentLibrary::anEntryNameNeverBecomesAPath()
{
    // A stored archive whose entry claims a path outside, and a row whose
    // name does: the copy stays in the private folder or is not made.
    const DocumentResult added = m_library->attachFile(4, write(u("a.txt"), "harmless"));
    QVERIFY(added.ok);
    const QString payload = write(u("payload"), "escaped");
    // The writer refuses such names: one of the same length is patched in.
    QVERIFY(writeCabinet(added.path, {{u("XX_XX_escaped.txt"), payload}}).ok);
    QByteArray cabinet = readBytes(added.path);
    QVERIFY(cabinet.contains("XX_XX_escaped.txt"));
    cabinet.replace("XX_XX_escaped.txt", "../../escaped.txt");
    QVERIFY(writeBytes(added.path, cabinet));
    m_db->connection.exec(u("UPDATE DOCUMENTFILE SET FileName='../../../evil.txt'"));
    const DocumentResult copy = m_library->copyFileForOpening(added.id);
    if (copy.ok) {
        QCOMPARE(QFileInfo(copy.path).absolutePath(),
                 QDir(m_library->privateFolder()).absolutePath());
        QCOMPARE(QFileInfo(copy.path).fileName(), u(".._.._.._evil.txt"));
    }
    const QString privateParent =
        QFileInfo(m_library->privateFolder() + u("x")).absoluteDir().absoluteFilePath(u(".."));
    QVERIFY(!QFileInfo::exists(QDir(privateParent).filePath(u("escaped.txt"))));
    QVERIFY(!QFileInfo::exists(QDir(privateParent).filePath(u("evil.txt"))));
    QVERIFY(!QFileInfo::exists(QDir(m_db->folder()).filePath(u("escaped.txt"))));
}

void TestDocumentLibrary::missingStoredFilesAreReported()
{
    const DocumentResult added = m_library->attachFile(4, write(u("a.txt"), "text"));
    QVERIFY(QFile::remove(added.path));
    const QString tail = u("\r\rLe fichier \"") + QDir::toNativeSeparators(added.path) +
                         u("\" a sans doute été supprimé manuellement et n'est plus accessible.");
    QCOMPARE(m_library->copyFileForOpening(added.id).error,
             u("IMPOSSIBLE D'EXECUTER CE FICHIER !") + tail);
    QCOMPARE(m_library->copyFileForSending(added.id).error,
             u("IMPOSSIBLE D'ENVOYER CE FICHIER !") + tail);
    QCOMPARE(m_library->saveFileAs(added.id, m_user.filePath(u("x"))).error,
             u("IMPOSSIBLE DE TROUVER CE FICHIER !") + tail);
    QVERIFY(!QFileInfo::exists(m_user.filePath(u("x"))));
    QCOMPARE(rows("DOCUMENTFILE"), 1);

    const DocumentResult image =
        m_library->addImage(4, u("Radio"), QImage(20, 10, QImage::Format_RGB888));
    QVERIFY(QFile::remove(image.path));
    QVERIFY(m_library->saveImageAs(image.id, m_user.filePath(u("y.jpg")))
                .error.startsWith(u("IMPOSSIBLE DE TROUVER L'IMAGE !")));
    QVERIFY(m_library->copyImageForSending(image.id, u("Radio"))
                .error.startsWith(u("IMPOSSIBLE D'ENVOYER CE FICHIER !")));
}

void TestDocumentLibrary::picturesAreLimitedAndGetTheirThumbnail()
{
    m_library->setPictureLimits(100, 500); // the quality is brought back to 100
    QImage picture(300, 200, QImage::Format_RGB888);
    picture.fill(QColor(200, 30, 30));
    const DocumentResult r = m_library->addImage(4, u("Radio"), picture);
    QVERIFY2(r.ok, qPrintable(r.error));
    QImage stored;
    QVERIFY(readJpegFile(stored, r.path).ok);
    QCOMPARE(stored.size(), QSize(100, 66));
    const QImage thumb = QImage::fromData(m_library->store().image(r.id)->thumbnail, "BMP");
    QCOMPARE(thumb.size(), QSize(90, 90));
    QCOMPARE(thumb.pixelColor(0, 0), QColor(Qt::white));
    QVERIFY(qAbs(thumb.pixelColor(45, 45).red() - 200) < 8);

    // A new title alone keeps the picture; a new picture replaces both.
    QVERIFY(m_library->updateImage(r.id, u("Face"), QImage()).ok);
    QVERIFY(readJpegFile(stored, r.path).ok);
    QCOMPARE(stored.size(), QSize(100, 66));
    QImage turned(50, 80, QImage::Format_RGB888);
    turned.fill(Qt::blue);
    QVERIFY(m_library->updateImage(r.id, u("Profil"), turned).ok);
    QVERIFY(readJpegFile(stored, r.path).ok);
    QCOMPARE(stored.size(), QSize(50, 80));
    QCOMPARE(m_library->store().image(r.id)->title, u("Profil"));

    QVERIFY(!m_library->addImage(4, u("Vide"), QImage()).ok);
    QVERIFY(m_library->removeImage(r.id).ok);
    QVERIFY(!QFileInfo::exists(r.path));
    QCOMPARE(rows("DOCUMENTIMG"), 0);
}

void TestDocumentLibrary::picturesSentAreCopiedUnderTheirTitle()
{
    QImage picture(30, 20, QImage::Format_RGB888);
    picture.fill(Qt::green);
    const DocumentResult a = m_library->addImage(4, u("Radio 12/03/2024"), picture);
    const DocumentResult b = m_library->addImage(4, u("Radio 12/03/2024"), picture);
    const DocumentResult first = m_library->copyImageForSending(a.id, u("Radio 12/03/2024"));
    QVERIFY2(first.ok, qPrintable(first.error));
    QCOMPARE(QFileInfo(first.path).fileName(), u("Radio 12_03_2024.jpg"));
    QCOMPARE(modeOf(first.path), mode_t(0600));
    const DocumentResult second = m_library->copyImageForSending(b.id, u("Radio 12/03/2024"));
    QCOMPARE(second.path, first.path);
    QCOMPARE(readBytes(second.path), readBytes(b.path));

    const QString target = m_user.filePath(u("choisi.jpg"));
    QVERIFY(writeBytes(target, "older"));
    QVERIFY(m_library->saveImageAs(a.id, target).ok);
    QCOMPARE(readBytes(target), readBytes(a.path));
}

void TestDocumentLibrary::fileDescriptions()
{
    QCOMPARE(sizeInKo(999), u("0 Ko"));
    QCOMPARE(sizeInKo(1999), u("1 Ko"));
    QCOMPARE(sizeInKo(3LL * 1000 * 1000 * 1000), u("3000000 Ko"));
    const QString odd = write(u("mesures.qqzz"), QByteArray("\x01\x02\x03\x00\xff", 5));
    QCOMPARE(fileTypeName(odd), u("QQZZ file"));
    QVERIFY(!fileTypeName(write(u("r.pdf"), "%PDF-1.4\n")).endsWith(u(" file")));
    QCOMPARE(safeFileName(u("..")), u("fichier"));
    QCOMPARE(safeFileName(u("a\\b/c:d.txt")), u("a_b_c_d.txt"));
    const FileDescription d = describeFile(odd);
    QCOMPARE(d.name, u("mesures.qqzz"));
    QCOMPARE(d.sizeText, u("0 Ko"));
}

QTEST_MAIN(TestDocumentLibrary)
#include "tst_documentlibrary.moc"
