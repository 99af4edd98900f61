#include "TestText.h"

#include "core/Clock.h"
#include "db/Connection.h"
#include "db/Schema.h"
#include "maintenance/UpdateScript.h"
#include "media/JpegFile.h"
#include "media/Thumbnail.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

namespace {

struct Folders
{
    QTemporaryDir root;
    Connection connection;
    UpdateScriptContext context;

    Folders()
    {
        const QString data = root.path() + QLatin1Char('/');
        QDir().mkpath(data + QStringLiteral("Data/Access"));
        QDir().mkpath(data + QStringLiteral("Program"));
        connection.open(data + QStringLiteral("Data/Access/TAVIRUNE.MDB"), true);
        createSchema(connection);
        context.connection = &connection;
        context.dataFolder = data;
        context.programFolder = data + QStringLiteral("Program/");
        context.databaseFolder = data + QStringLiteral("Data/");
    }
    QString script(const QByteArray& text) const
    {
        const QString path = context.dataFolder + QStringLiteral("BD_113.maj");
        writeBytes(path, text);
        return path;
    }
    QStringList log() const
    {
        return QString::fromUtf8(readBytes(context.dataFolder + QStringLiteral("Maj.Log")))
            .split(QStringLiteral("\r\n"));
    }
};

const char* const kGuarded = "// Version 1.13\r\n"
                             "NotFieldExists(ANIMAL.Tattoo)\r\n"
                             "SqlExe{ALTER TABLE ANIMAL ADD COLUMN Tattoo TEXT(50)}\r\n"
                             "END\r\n"
                             "NotTableExists(VISIT)\r\n"
                             "SqlExe{CREATE TABLE VISIT (Id INTEGER)}\r\n"
                             "END\r\n";

} // namespace

class TestUpdateScript : public QObject
{
    Q_OBJECT
private slots:
    void aGuardedScriptRunsOnceThenSkipsItsBlocks();
    void actionsLogTheirResultAndGoOn();
    void aStatementCutInsideATextIsRefused();
    void namesCannotCarrySql();
    void theBackupOfferCopiesTheDatabaseAndTheScriptGoes();
    void pictureCommandsMoveAndReshapePictures();
};

void TestUpdateScript::aGuardedScriptRunsOnceThenSkipsItsBlocks()
{
    Folders f;
    const Clock::Fixed clock(QDateTime(QDate(2026, 12, 9), QTime(8, 30, 5)));
    const QString script = f.script(kGuarded);
    QVERIFY(runUpdateScript(f.context, script, false).ok);
    QVERIFY(f.connection.tableNames().contains(QStringLiteral("VISIT")));
    QVERIFY(runUpdateScript(f.context, script, false).ok);
    const QString stamp = QStringLiteral("09/12/2026-08:30:05 : ");
    QCOMPARE(f.log(),
             QStringList(
                 {stamp + QStringLiteral(" Version 1.13"),
                  stamp + QStringLiteral("SQL:ALTER TABLE ANIMAL ADD COLUMN Tattoo TEXT(50) (Ok)"),
                  stamp + QStringLiteral("SQL:CREATE TABLE VISIT (Id INTEGER) (Ok)"),
                  stamp + QStringLiteral(
                              "********************* MISE A JOUR TERMINE *********************"),
                  QString(), stamp + QStringLiteral(" Version 1.13"),
                  stamp + u("*** Mise à jour déjà effectuée ***"),
                  stamp + u("*** Mise à jour déjà effectuée ***"),
                  stamp + QStringLiteral(
                              "********************* MISE A JOUR TERMINE *********************"),
                  QString(), QString()}));
    // Without the backup flag the script stays.
    QVERIFY(QFile::exists(script));
}

void TestUpdateScript::actionsLogTheirResultAndGoOn()
{
    Folders f;
    f.connection.exec(QStringLiteral("INSERT INTO SQL_QUERY (Id_Tree, Query) VALUES (1, 'SELECT "
                                     "* FROM ANIMAL WHERE Id_Species=1')"));
    // Only the first 255 characters of a statement run.
    QByteArray longStatement = "UPDATE ANIMAL SET ForeName='coupé' WHERE Name='Rex'";
    longStatement += QByteArray(255 - QString::fromUtf8(longStatement).size(), ' ');
    longStatement += " OR Name='Felix'";
    const QString script =
        f.script("SqlExe{INSERT INTO NOWHERE VALUES (1)}\r\n"
                 "SqlExe{INSERT INTO ANIMAL (Name) VALUES ('Rex'), ('Felix')} and what follows\r\n"
                 "ReplaceStringInQueryScript('Id_Species=1'){'Id_Species=2'}\r\n"
                 "SqlExe{" +
                 longStatement +
                 "}\r\n"
                 "CompactDataBase(TAVIRUNE.MDB)\r\n");
    QVERIFY(runUpdateScript(f.context, script, false).ok);
    const QStringList log = f.log();
    QVERIFY2(log.at(0).contains(QStringLiteral("SQL:INSERT INTO NOWHERE VALUES (1) (error : ")),
             qPrintable(log.at(0)));
    QVERIFY(log.at(1).endsWith(
        QStringLiteral("SQL:INSERT INTO ANIMAL (Name) VALUES ('Rex'), ('Felix') (Ok)")));
    QVERIFY(log.at(2).endsWith(u("MODIFICATION:Requêtes(Id_Species=1) (Ok)")));
    QVERIFY(log.at(3).endsWith(QStringLiteral(" (Ok)")));
    QCOMPARE(f.connection
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL WHERE ForeName IS NOT NULL"))
                 .toInt(),
             1);
    QVERIFY(log.at(4).endsWith(u("Compactage de la base de données (Ok)")));
    QCOMPARE(f.connection.scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL")).toInt(), 2);
    QCOMPARE(f.connection.scalar(QStringLiteral("SELECT Query FROM SQL_QUERY")).toString(),
             QStringLiteral("SELECT * FROM ANIMAL WHERE Id_Species=2"));
    // The engine's detail comes after a line break of its own: the log
    // still holds one line per message, every CR followed by its LF.
    const QByteArray bytes = readBytes(f.context.dataFolder + QStringLiteral("Maj.Log"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
}

void TestUpdateScript::aStatementCutInsideATextIsRefused()
{
    Folders f;
    f.connection.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Rex'), ('Felix')"));
    // The cut at 255 characters falls inside the new name: what is left
    // must never run as "rename every animal".
    QByteArray script;
    for (const char quote : {'\'', '"'})
        script += "SqlExe{UPDATE ANIMAL SET Name=" + QByteArray(1, quote) + QByteArray(300, 'x') +
                  QByteArray(1, quote) + " WHERE Id=-5}\r\n";
    QVERIFY(runUpdateScript(f.context, f.script(script), false).ok);
    QCOMPARE(f.connection
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL WHERE Name IN "
                                        "('Rex', 'Felix')"))
                 .toInt(),
             2);
    const QStringList log = f.log();
    for (int i = 0; i < 2; ++i) {
        QVERIFY2(log.at(i).contains(QStringLiteral(" (error : ")), qPrintable(log.at(i)));
        QVERIFY2(!log.at(i).contains(QStringLiteral("(Ok)")), qPrintable(log.at(i)));
    }
}

void TestUpdateScript::namesCannotCarrySql()
{
    Folders f;
    const QString script = f.script("TableEmpty(ANIMAL;DELETE FROM ANIMAL)\r\nEND\r\n");
    f.connection.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Rex')"));
    const MaintenanceResult r = runUpdateScript(f.context, script, false);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(QStringLiteral("ligne 1")), qPrintable(r.error));
    QCOMPARE(f.connection.scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL")).toInt(), 1);
    QVERIFY(f.log().at(0).contains(u("refusé")));
}

void TestUpdateScript::theBackupOfferCopiesTheDatabaseAndTheScriptGoes()
{
    Folders f;
    const Clock::Fixed clock(QDateTime(QDate(2008, 12, 25), QTime(14, 30, 5)));
    const QString script = f.script(kGuarded);
    bool asked = false;
    f.context.askBackup = [&asked]() {
        asked = true;
        return true;
    };
    QStringList titles;
    f.context.progress = [&titles](const QString& title, int, int) {
        if (titles.isEmpty() || titles.last() != title)
            titles << title;
    };
    QVERIFY(runUpdateScript(f.context, script, true).ok);
    QVERIFY(asked);
    // While the copy is made the window names the database being copied.
    const QString database = f.context.databaseFolder + QStringLiteral("Access/TAVIRUNE.MDB");
    QCOMPARE(titles, (QStringList{QStringLiteral("MISE A JOUR (Base de données)"),
                                  QStringLiteral("MISE A JOUR (Sauvegarde)"), database,
                                  QStringLiteral("MISE A JOUR (Base de données)")}));
    const QString copy = f.context.dataFolder +
                         QStringLiteral("Backup/Maj/TAVIRUNE_ACCESS_BACKUP_MAJ_25122008143005.bkp");
    QVERIFY(QFile::exists(copy));
    Connection c;
    c.open(copy);
    // The copy was taken before the update.
    QVERIFY(!c.tableNames().contains(QStringLiteral("VISIT")));
    QVERIFY(!QFile::exists(script));
    QVERIFY(f.connection.tableNames().contains(QStringLiteral("VISIT")));
}

void TestUpdateScript::pictureCommandsMoveAndReshapePictures()
{
    Folders f;
    const Clock::Fixed clock(QDateTime(QDate(2026, 12, 9), QTime(9, 0)));
    QImage photo(30, 20, QImage::Format_RGB888);
    photo.fill(QColor(200, 30, 30));
    const QString jpegFile = f.root.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(writeJpegFile(photo, jpegFile, 90).ok);
    const QByteArray jpeg = readBytes(jpegFile);
    QImage wide(200, 100, QImage::Format_RGB888);
    wide.fill(QColor(10, 120, 10));
    f.connection.exec(
        QStringLiteral("INSERT INTO ANIMAL (Name, Img1, ImgMini1) VALUES ('Rex', ?, ?)"),
        {jpeg, bmpFile(wide)});
    const QString script = f.script("ExtractJpegImage('ANIMAL','Img1','Animal')\r\n"
                                    "ResizeBitmapInDataBase('ANIMAL','ImgMini1','115','115') "
                                    "ResizeBitmapDataBaseInWhiteRect\r\n"
                                    "ExtractImageToJpeg('ANIMAL','ImgMini2','Mini')\r\n"
                                    "ExtractJpegImage('ANIMAL','ImgMini1','../evil')\r\n");
    QVERIFY(runUpdateScript(f.context, script, false).ok);

    const QString images = f.context.databaseFolder + QStringLiteral("Images/");
    QCOMPARE(readBytes(images + QStringLiteral("Animal1.jpg")), jpeg);
    QVERIFY(f.connection.scalar(QStringLiteral("SELECT Img1 FROM ANIMAL")).isNull());
    QImage thumbnail;
    QVERIFY(thumbnail.loadFromData(
        f.connection.scalar(QStringLiteral("SELECT ImgMini1 FROM ANIMAL")).toByteArray()));
    QCOMPARE(thumbnail.size(), QSize(115, 115));
    // Fitted 115 x 57 and centred on white.
    QCOMPARE(thumbnail.pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(thumbnail.pixelColor(57, 57), QColor(10, 120, 10));
    QVERIFY(!QFile::exists(f.context.databaseFolder + QStringLiteral("evil1.jpg")));

    const QString stamp = QStringLiteral("09/12/2026-09:00:00 : ");
    const QStringList log = f.log();
    QCOMPARE(
        log.mid(0, 8),
        QStringList(
            {stamp + QStringLiteral("OPTIMISATION:Extraction des images jpeg de la table ANIMAL"),
             stamp + QStringLiteral("Extraction de l'image : ") + images +
                 QStringLiteral("Animal1.jpg"),
             QString(),
             stamp +
                 QStringLiteral("OPTIMISATION:Redimensionne les images Bitmap de la table ANIMAL"),
             stamp + QStringLiteral("Redimensionnement de l'image : 1.jpg"), QString(),
             stamp + QStringLiteral(
                         "OPTIMISATION:Extraction des images au format jpeg de la table ANIMAL"),
             stamp + QStringLiteral("Pas d'images dans la base")}));
    QVERIFY2(log.at(9).contains(u("préfixe de fichier refusé")), qPrintable(log.at(9)));
}

QTEST_GUILESS_MAIN(TestUpdateScript)
#include "tst_updatescript.moc"
