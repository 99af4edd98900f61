#include "AppFixture.h"
#include "DyingRestore.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "booklet/AnimalList.h"
#include "booklet/DatabaseCommands.h"
#include "booklet/TMainForm.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dialogs/TBackupList.h"
#include "maintenance/BackupArchive.h"
#include "media/Cabinet.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tav;

class TestDatabaseCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void backupThenRestoreBringsTheBookletBack();
    void anArchiveThatIsNotOneChangesNothing();
    void aRestoredBookletThatDoesNotOpenIsTakenBack();
    void aBackupRightAfterARestoreWaitsForItsSafetyArchive();
    void closingWhileTheSafetyArchiveIsWrittenWaitsForIt();
    void aRestoreCutShortIsUndoneBeforeTheStartLooksForADatabase();
    void compactionKeepsTheCurrentAnimalAndWritesHistory();
    void historyCanBePurged();
    void aFailedBackupTakesBackItsHistoryRow();
    void aFailedCompactionTakesBackItsHistoryRow();
    void aBackupCutShortIsNotListedAfterTheNextStart();
    void anOlderRestoredDatabaseRunsTheUpdateScript();

private:
    TMainForm* form() const { return m_app->startup()->mainForm(); }
    void trigger(const char* item) const
    {
        form()->findChild<QAction*>(QString::fromLatin1(item))->trigger();
    }
    QStringList history() const;
    QStringList animals() const;
    QString lastMessage() const { return MessageBox::shownMessages().last().text; }
    void restoreOverManyPictures(const QString& archive);

    std::unique_ptr<Clock::Fixed> m_clock;
    std::unique_ptr<AppFixture> m_app;
};

void TestDatabaseCommands::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    FileDialog::clearNextFileNames();
    FileDialog::clearRequests();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 9), QTime(15, 4)));
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    m_app->stop();
    {
        Connection c;
        c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"), {u("Médor")});
    }
    QVERIFY(writeBytes(m_app->dataFolder() + QStringLiteral("Data/Images/Animal1.jpg"), "photo"));
    QVERIFY(m_app->start());
    MessageBox::clearShownMessages();
}

void TestDatabaseCommands::cleanup()
{
    m_app.reset();
    m_clock.reset();
}

QStringList TestDatabaseCommands::history() const
{
    QStringList out;
    form()->context().connection->forEachRow(
        QStringLiteral("SELECT DateSav, TimeSav, Description, Path FROM BACKUP"),
        [&out](const QVariantList& r) {
            QStringList fields;
            for (const QVariant& v : r)
                fields << v.toString();
            out << fields.join(QLatin1Char('|'));
        });
    return out;
}

QStringList TestDatabaseCommands::animals() const
{
    QStringList out;
    for (const QString& row : form()->animalRows())
        if (AnimalRow::keyOfRowString(row) > 0)
            out << AnimalRow::fieldOfRowString(row, 1);
    return out;
}

void TestDatabaseCommands::backupThenRestoreBringsTheBookletBack()
{
    const QString backupFolder = m_app->dataFolder() + QStringLiteral("Backup/");
    FileDialog::setNextFileName(backupFolder + QStringLiteral("carnets"));
    trigger("Item_Sauvegarde");
    QCOMPARE(FileDialog::requests().last().dir,
             backupFolder + QStringLiteral("TAVIRUNE_ACCESS_BACKUP_09_12_2026.bkp"));
    QCOMPARE(lastMessage(), u("Sauvegarde effectuée."));
    const QString archive = backupFolder + QStringLiteral("carnets.bkp");
    QStringList entries;
    QVERIFY(listCabinet(archive, &entries).ok);
    QCOMPARE(entries, strings({"TAVIRUNE.MDB", "Animal1.jpg"}));
    QCOMPARE(history(),
             QStringList{u("2026-12-09|15:04|Sauvagarde de la base de données|") + archive});
    QVERIFY(form()->isEnabled());
    QCOMPARE(animals(), strings({"Médor"}));

    // Later: another animal, the photo gone.
    form()->context().connection->exec(
        QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Minette')"));
    form()->buildAnimalList(-1);
    QFile::remove(m_app->dataFolder() + QStringLiteral("Data/Images/Animal1.jpg"));
    QCOMPARE(animals().size(), 2);

    // Answered No, the question changes nothing.
    FileDialog::setNextFileName(archive);
    trigger("Item_Restauration");
    // The archive's date is that of the database it holds.
    QVector<CabinetEntryInfo> infos;
    QVERIFY(listCabinetEntries(archive, &infos).ok);
    const QDateTime made = infos.at(0).modified;
    QCOMPARE(lastMessage(),
             u("Restaurer la sauvegarde du %1 à %2 ?\rLes données actuelles seront remplacées ; "
               "elles seront d'abord gardées dans une sauvegarde de sécurité.")
                 .arg(made.toString(QStringLiteral("dd/MM/yyyy")),
                      made.toString(QStringLiteral("hh:mm"))));
    QCOMPARE(animals().size(), 2);

    FileDialog::setNextFileName(archive);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    trigger("Item_Restauration");
    QVERIFY2(lastMessage().startsWith(u("Sauvegarde restaurée.")), qPrintable(lastMessage()));
    QCOMPARE(animals(), strings({"Médor"}));
    QCOMPARE(readBytes(m_app->dataFolder() + QStringLiteral("Data/Images/Animal1.jpg")),
             QByteArray("photo"));
    // The history of the archive, then the restore itself.
    QCOMPARE(history().size(), 2);
    QVERIFY(history().last().endsWith(u("|Restauration de la base de données|") + archive));
    // What the restore replaced was kept, once its archive is written.
    form()->findChild<DatabaseCommands*>()->waitForSafetyArchive();
    const QStringList kept = QDir(backupFolder).entryList({QStringLiteral("TAVIRUNE_AVANT_*")});
    QCOMPARE(kept.size(), 1);
    QVERIFY(lastMessage().contains(kept.first()));
}

void TestDatabaseCommands::anArchiveThatIsNotOneChangesNothing()
{
    const QString fake = m_app->dataFolder() + QStringLiteral("Backup/photo.bkp");
    QVERIFY(writeBytes(fake, "JFIF not an archive"));
    FileDialog::setNextFileName(fake);
    trigger("Item_Restauration");
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY2(lastMessage().contains(u("n'est pas une archive de sauvegarde lisible")),
             qPrintable(lastMessage()));
    // The library's English text is only a detail line under the French one.
    const QStringList lines = lastMessage().split(QLatin1Char('\r'));
    for (const QString& line : lines) {
        QVERIFY2(!line.contains(QStringLiteral("cabinet format")) ||
                     line.startsWith(u("Détail : ")),
                 qPrintable(lastMessage()));
    }
    QVERIFY(history().isEmpty());
    QCOMPARE(animals(), strings({"Médor"}));
    QVERIFY(form()->isEnabled());
    QCOMPARE(form()->context().module1->animal().asString(QStringLiteral("Name")), u("Médor"));
}

void TestDatabaseCommands::aRestoredBookletThatDoesNotOpenIsTakenBack()
{
    // A sound file with every table, whose animal table lacks a column that
    // the window reads: only opening the booklet tells.
    QTemporaryDir other;
    const QString database = other.filePath(QStringLiteral("TAVIRUNE.MDB"));
    QVERIFY(
        QFile::copy(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"), database));
    {
        Connection c;
        c.open(database);
        c.execScript(QStringLiteral("ALTER TABLE ANIMAL DROP COLUMN Custom00144243"));
    }
    const QString backupFolder = m_app->dataFolder() + QStringLiteral("Backup/");
    const QString archive = backupFolder + QStringLiteral("sans-taille.bkp");
    QVERIFY(writeCabinet(archive, {{QStringLiteral("TAVIRUNE.MDB"), database}}).ok);

    FileDialog::setNextFileName(archive);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    trigger("Item_Restauration");
    // Nothing was replaced, so nothing needed archiving.
    form()->findChild<DatabaseCommands*>()->waitForSafetyArchive();
    QVERIFY(QDir(backupFolder).entryList({QStringLiteral("TAVIRUNE_AVANT_*")}).isEmpty());
    QVERIFY2(lastMessage().contains(u("sont restées en place")), qPrintable(lastMessage()));
    QVERIFY(!lastMessage().startsWith(u("Sauvegarde restaurée.")));
    // Everything as before, and usable.
    QCOMPARE(animals(), strings({"Médor"}));
    QCOMPARE(form()->context().module1->animal().asString(QStringLiteral("Name")), u("Médor"));
    QCOMPARE(readBytes(m_app->dataFolder() + QStringLiteral("Data/Images/Animal1.jpg")),
             QByteArray("photo"));
    QVERIFY(history().isEmpty());
    QVERIFY(form()->isEnabled());
    QCOMPARE(QDir(m_app->dataFolder() + QStringLiteral("Data"))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             strings({"Access", "Files", "Images"}));
}

// Backs today's booklet up into the archive, then adds 200 pictures to
// today's files, enough for their safety archive to outlast the restore,
// and restores the archive through the menu.
void TestDatabaseCommands::restoreOverManyPictures(const QString& archive)
{
    const QString data = m_app->dataFolder() + QStringLiteral("Data/");
    m_app->stop();
    QVERIFY(writeBackupArchive({data + QStringLiteral("Access/TAVIRUNE.MDB"),
                                data + QStringLiteral("Images"), data + QStringLiteral("Files"),
                                m_app->dataFolder() + QStringLiteral("Backup/")},
                               archive)
                .ok);
    for (int i = 0; i < 200; ++i)
        QVERIFY(writeBytes(data + QStringLiteral("Images/Doc%1.jpg").arg(i),
                           QByteArray::number(i).repeated(20000)));
    QVERIFY(m_app->start());
    FileDialog::setNextFileName(archive);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    trigger("Item_Restauration");
    QVERIFY2(lastMessage().startsWith(u("Sauvegarde restaurée.")), qPrintable(lastMessage()));
}

void TestDatabaseCommands::aBackupRightAfterARestoreWaitsForItsSafetyArchive()
{
    const QString backupFolder = m_app->dataFolder() + QStringLiteral("Backup/");
    restoreOverManyPictures(backupFolder + QStringLiteral("carnets.bkp"));
    if (QTest::currentTestFailed())
        return;
    // Usable at once, the packing shown in the window's status.
    QCOMPARE(animals(), strings({"Médor"}));
    QVERIFY(form()->isEnabled());
    const auto* status = form()->findChild<QLabel*>(QStringLiteral("SafetyArchiveStatus"));
    QVERIFY(status);
    QVERIFY2(status->text().startsWith(u("Archive de sécurité : ")), qPrintable(status->text()));

    // The backup waits for the packing: both archives are whole.
    const QString second = backupFolder + QStringLiteral("ensuite.bkp");
    FileDialog::setNextFileName(second);
    trigger("Item_Sauvegarde");
    QCOMPARE(lastMessage(), u("Sauvegarde effectuée."));
    const QStringList kept = QDir(backupFolder).entryList({QStringLiteral("TAVIRUNE_AVANT_*")});
    QCOMPARE(kept.size(), 1);
    QTemporaryDir out;
    QVERIFY(extractCabinet(backupFolder + kept.first(), out.path()).ok);
    QCOMPARE(QDir(out.path()).entryList({QStringLiteral("Doc*.jpg")}).size(), 200);
    QCOMPARE(readBytes(out.filePath(QStringLiteral("Doc7.jpg"))), QByteArray("7").repeated(20000));
    QStringList entries;
    QVERIFY(listCabinet(second, &entries).ok);
    QCOMPARE(entries, strings({"TAVIRUNE.MDB", "Animal1.jpg"}));
    QTemporaryDir out2;
    QVERIFY(extractCabinet(second, out2.path()).ok);
    // Nothing left aside once archived.
    QCOMPARE(QDir(m_app->dataFolder() + QStringLiteral("Data"))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             strings({"Access", "Files", "Images"}));
}

void TestDatabaseCommands::closingWhileTheSafetyArchiveIsWrittenWaitsForIt()
{
    const QString backupFolder = m_app->dataFolder() + QStringLiteral("Backup/");
    const QString data = m_app->dataFolder() + QStringLiteral("Data/");
    restoreOverManyPictures(backupFolder + QStringLiteral("carnets.bkp"));
    if (QTest::currentTestFailed())
        return;

    form()->close();
    // By the time the window is closed, the archive is whole and the
    // set-aside files are gone.
    const QStringList kept = QDir(backupFolder).entryList({QStringLiteral("TAVIRUNE_AVANT_*")});
    QCOMPARE(kept.size(), 1);
    QStringList entries;
    QVERIFY(listCabinet(backupFolder + kept.first(), &entries).ok);
    QCOMPARE(entries.size(), 202);
    QCOMPARE(QDir(data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             strings({"Access", "Files", "Images"}));
}

void TestDatabaseCommands::aRestoreCutShortIsUndoneBeforeTheStartLooksForADatabase()
{
    m_app->stop();
    const QString data = m_app->dataFolder() + QStringLiteral("Data/");
    const BookletFiles files{data + QStringLiteral("Access/TAVIRUNE.MDB"),
                             data + QStringLiteral("Images"), data + QStringLiteral("Files"),
                             m_app->dataFolder() + QStringLiteral("Backup")};
    const QString archive = files.workFolder + QStringLiteral("/vide.bkp");
    {
        Connection c;
        c.open(files.databaseFile);
        c.exec(QStringLiteral("DELETE FROM ANIMAL"));
    }
    QVERIFY(writeBackupArchive(files, archive).ok);
    {
        Connection c;
        c.open(files.databaseFile);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"), {u("Médor")});
    }

    // The process dies once today's database is aside, before the
    // archive's takes its place: for a moment there is no database.
    QVERIFY2(restoreDiesBeforeItsLastRename(files, archive,
                                            files.workFolder + QStringLiteral("/avant.bkp")),
             "the restore ran to its end");

    // The next start puts today's booklets back, rather than taking the
    // missing database for a first run.
    QVERIFY(m_app->start());
    QCOMPARE(animals(), strings({"Médor"}));
    QCOMPARE(readBytes(data + QStringLiteral("Images/Animal1.jpg")), QByteArray("photo"));
}

void TestDatabaseCommands::compactionKeepsTheCurrentAnimalAndWritesHistory()
{
    trigger("Item_Compacter");
    // Answered No: nothing happens.
    QCOMPARE(lastMessage(), u("Confirmez-vous le compactage de la base de données ?"));
    QVERIFY(history().isEmpty());
    // A name being typed on the card is written, not lost.
    form()->context().module1->animal().setValue(QStringLiteral("Name"), u("Médor II"));
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    trigger("Item_Compacter");
    QCOMPARE(lastMessage(), u("Compactage effectué."));
    QCOMPARE(
        form()->context().connection->scalar(QStringLiteral("SELECT Name FROM ANIMAL")).toString(),
        u("Médor II"));
    QCOMPARE(history(),
             QStringList{u("2026-12-09|15:04|Compactage de la base de données|") +
                         m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB")});
    QCOMPARE(form()->context().module1->animal().asString(QStringLiteral("Name")), u("Médor II"));
    QVERIFY(!QFile::exists(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE~.MDB")));
}

void TestDatabaseCommands::historyCanBePurged()
{
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    trigger("Item_Compacter");
    int before = -1;
    int after = -1;
    bool purgeAfter = true;
    const auto answer = test::ModalAnswer::when<TBackupList>([&](TBackupList* w) {
        before = w->grid()->model()->rowCount();
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        w->findChild<QPushButton*>(QStringLiteral("Btn_Delete"))->click();
        after = w->grid()->model()->rowCount();
        purgeAfter = w->findChild<QPushButton*>(QStringLiteral("Btn_Delete"))->isEnabled();
        w->findChild<QPushButton*>(QStringLiteral("Btn_Close"))->click();
    });
    trigger("Item_Historique");
    QVERIFY(answer.seen());
    QCOMPARE(before, 1);
    QCOMPARE(after, 0);
    QVERIFY(!purgeAfter);
    QCOMPARE(lastMessage(), u("Désirez-vous purger l'historique des sauvegardes ?"));
    QVERIFY(history().isEmpty());
}

void TestDatabaseCommands::aFailedBackupTakesBackItsHistoryRow()
{
    // A folder stands where the archive should go: it cannot be written.
    const QString blocked = m_app->dataFolder() + QStringLiteral("Backup/occupe.bkp");
    QVERIFY(QDir().mkpath(blocked + QStringLiteral("/dedans")));
    FileDialog::setNextFileName(blocked);
    trigger("Item_Sauvegarde");
    QVERIFY(lastMessage() != u("Sauvegarde effectuée."));
    QVERIFY(history().isEmpty());
    QVERIFY(form()->isEnabled());
    QCOMPARE(animals(), strings({"Médor"}));
    QVERIFY(QFileInfo(blocked).isDir());
}

void TestDatabaseCommands::aFailedCompactionTakesBackItsHistoryRow()
{
    // What an interrupted compaction left: the compaction refuses to run.
    QVERIFY(writeBytes(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE~.MDB"), "copy"));
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    trigger("Item_Compacter");
    QVERIFY2(lastMessage().contains(u("TAVIRUNE~.MDB")), qPrintable(lastMessage()));
    QVERIFY(history().isEmpty());
    QVERIFY(form()->isEnabled());
    QCOMPARE(animals(), strings({"Médor"}));
}

void TestDatabaseCommands::aBackupCutShortIsNotListedAfterTheNextStart()
{
    const QString archive = m_app->dataFolder() + QStringLiteral("Backup/carnets.bkp");
    FileDialog::setNextFileName(archive);
    trigger("Item_Sauvegarde");
    QCOMPARE(lastMessage(), u("Sauvegarde effectuée."));

    // The same archive again, now with a picture larger than the process
    // may write: packing it ends the process at once, as a power cut
    // would, after the history row and the compacted database were written.
    QVERIFY(writeBytes(m_app->dataFolder() + QStringLiteral("Data/Images/Doc1.jpg"),
                       noise(3000000, 8)));
    const pid_t child = fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        const rlimit small{2000000, 2000000};
        setrlimit(RLIMIT_FSIZE, &small);
        FileDialog::setNextFileName(archive);
        trigger("Item_Sauvegarde");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ, "the backup was cut short");
    QStringList entries;
    QVERIFY(listCabinet(archive, &entries).ok);
    QCOMPARE(entries, strings({"TAVIRUNE.MDB", "Animal1.jpg"}));

    // The next start lists the backup that exists, once.
    m_app->stop();
    QVERIFY(m_app->start());
    QCOMPARE(history(),
             QStringList{u("2026-12-09|15:04|Sauvagarde de la base de données|") + archive});
}

void TestDatabaseCommands::anOlderRestoredDatabaseRunsTheUpdateScript()
{
    m_app->writeProgramFile(QStringLiteral("Maj/BD_114.maj"),
                            "NotFieldExists(ANIMAL.Tattoo)\r\n"
                            "SqlExe{ALTER TABLE ANIMAL ADD COLUMN Tattoo TEXT(50)}\r\n"
                            "END\r\n");
    // An archive of an older version: its database says 1.2.
    form()->context().connection->exec(
        QStringLiteral("UPDATE OBJECT_VAL_STR SET VALUE='1.2' WHERE ID_CLASS=-99"));
    const QString archive = m_app->dataFolder() + QStringLiteral("Backup/ancienne.bkp");
    FileDialog::setNextFileName(archive);
    trigger("Item_Sauvegarde");
    QCOMPARE(lastMessage(), u("Sauvegarde effectuée."));
    form()->context().connection->exec(
        QStringLiteral("UPDATE OBJECT_VAL_STR SET VALUE='1.14' WHERE ID_CLASS=-99"));

    FileDialog::setNextFileName(archive);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    trigger("Item_Restauration");
    QVERIFY2(lastMessage().startsWith(u("Sauvegarde restaurée.")), qPrintable(lastMessage()));
    Connection& c = *form()->context().connection;
    QCOMPARE(
        c.scalar(QStringLiteral("SELECT VALUE FROM OBJECT_VAL_STR WHERE ID_CLASS=-99")).toString(),
        QStringLiteral("1.14"));
    QVERIFY(c.scalar(QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('ANIMAL') WHERE "
                                    "name='Tattoo'"))
                .toInt() == 1);
    // The delivered script stays in the program folder.
    QVERIFY(QFile::exists(m_app->programFolder() + QStringLiteral("/Maj/BD_114.maj")));
}

QTEST_MAIN(TestDatabaseCommands)
#include "tst_databasecommands.moc"
