#include "AppFixture.h"
#include "JetBooklet.h"
#include "TestText.h"
#include "booklet/AnimalList.h"
#include "booklet/TMainForm.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "media/CabinetWriter.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace tav;

// The import of a Windows booklet driven as the user drives it: from the
// "Fichier" menu, or by restoring such an archive, with the real program
// started again as the reading child.
class TestJetImportCommand : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        MessageBox::clearShownMessages();
        MessageBox::clearNextAnswers();
        FileDialog::clearNextFileNames();
        FileDialog::clearRequests();
        m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 10), QTime(5, 0)));
        m_app = std::make_unique<AppFixture>();
        m_app->installTemplate();
        QVERIFY(
            QFile::link(qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") + QStringLiteral("/tavirune"),
                        m_app->programFolder() + QStringLiteral("/tavirune")));
        QVERIFY(m_app->start());
        m_app->stop();
        {
            Connection c;
            c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
            c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"), {u("Rex")});
        }
        QVERIFY(m_app->start());
        MessageBox::clearShownMessages();
        m_windows = m_dir.filePath(QStringLiteral("windows"));
        m_mdb = test::writeSampleBooklet(m_windows);
    }

    void cleanup()
    {
        m_app.reset();
        m_clock.reset();
    }

    void importFromTheFileMenuReplacesTheBooklet()
    {
        FileDialog::setNextFileName(m_mdb);
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        trigger("Popup_File_Import");
        QVERIFY2(lastMessage().startsWith(u("Importation terminée.")), qPrintable(lastMessage()));
        QVERIFY(lastMessage().contains(u("Animaux : 3")));
        QVERIFY(lastMessage().contains(u("TAVIRUNE_AVANT_IMPORTATION_10_12_2026_05_00_00.bkp")));
        QCOMPARE(sorted(animals()), strings({"Médor", "Zoé", "Œdipe"}));
        QVERIFY(QFileInfo::exists(m_app->dataFolder() + QStringLiteral("Data/Images/Doc5.jpg")));
        QVERIFY(
            QFileInfo::exists(m_app->dataFolder() + QStringLiteral("Data/Access/Importation.log")));
    }

    void aWindowsArchiveThroughTheRestoreIsConverted()
    {
        const QString archive = m_dir.filePath(QStringLiteral("windows.bkp"));
        QVERIFY(writeCabinet(archive, {{QStringLiteral("TAVIRUNE.MDB"), m_mdb},
                                       {QStringLiteral("Doc5.jpg"),
                                        m_windows + QStringLiteral("/Images/doc5.JPG")}})
                    .ok);
        FileDialog::setNextFileName(archive);
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        trigger("Item_Restauration");
        QVERIFY2(lastMessage().startsWith(u("Importation terminée.")), qPrintable(lastMessage()));
        QCOMPARE(sorted(animals()), strings({"Médor", "Zoé", "Œdipe"}));
    }

    void cancelAndFailureLeaveTheBooklet()
    {
        // The cancel button of the progress window, pressed as soon as it
        // shows.
        QTimer press;
        connect(&press, &QTimer::timeout, this, []() {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("ImportProgress") && w->isVisible())
                    if (auto* b = w->findChild<QPushButton*>())
                        b->click();
        });
        press.start(0);
        FileDialog::setNextFileName(m_mdb);
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        trigger("Popup_File_Import");
        press.stop();
        QVERIFY2(lastMessage().contains(u("annulée")), qPrintable(lastMessage()));
        QCOMPARE(animals(), strings({"Rex"}));

        const QString broken = m_dir.filePath(QStringLiteral("coupe.mdb"));
        QVERIFY(writeBytes(broken, readBytes(m_mdb).left(5000)));
        FileDialog::setNextFileName(broken);
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        trigger("Popup_File_Import");
        QVERIFY2(lastMessage().startsWith(u("L'importation a échoué ; les données actuelles sont "
                                            "restées en place.")),
                 qPrintable(lastMessage()));
        QCOMPARE(animals(), strings({"Rex"}));
    }

private:
    TMainForm* form() const { return m_app->startup()->mainForm(); }
    void trigger(const char* item) const
    {
        form()->findChild<QAction*>(QString::fromLatin1(item))->trigger();
    }
    QString lastMessage() const { return MessageBox::shownMessages().last().text; }
    static QStringList sorted(QStringList names)
    {
        names.sort();
        return names;
    }
    QStringList animals() const
    {
        QStringList out;
        for (const QString& row : form()->animalRows())
            if (AnimalRow::keyOfRowString(row) > 0)
                out << AnimalRow::fieldOfRowString(row, 1);
        return out;
    }

    std::unique_ptr<Clock::Fixed> m_clock;
    std::unique_ptr<AppFixture> m_app;
    QTemporaryDir m_dir;
    QString m_windows;
    QString m_mdb;
};

QTEST_MAIN(TestJetImportCommand)
#include "tst_jetimportcommand.moc"
