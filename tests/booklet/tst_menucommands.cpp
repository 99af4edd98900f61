#include "AppFixture.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "booklet/TMainForm.h"
#include "dialogs/TReferenceList.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>
#include <QtTest>

using namespace tav;

// Receives the addresses that the program asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class TestMenuCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void documentationOpensTheHelpPagesOfTheProgramFolder();
    void missingHelpIsSaidInFrench();
    void helpPagesAreFrenchAndCoverTheBasics();
    void windowCarriesTheProgramsIcon();
    void listsMenuOpensEachReferenceList();

private:
    QAction* item(const char* name) const
    {
        return m_app->startup()->mainForm()->findChild<QAction*>(QString::fromLatin1(name));
    }
    std::unique_ptr<AppFixture> m_app;
    UrlCatcher m_catcher;
};

void TestMenuCommands::init()
{
    MessageBox::clearShownMessages();
    m_catcher.opened.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_catcher, "open");
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
}

void TestMenuCommands::cleanup()
{
    m_app.reset();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void TestMenuCommands::documentationOpensTheHelpPagesOfTheProgramFolder()
{
    const QByteArray help =
        readBytes(qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") + QStringLiteral("/doc/index.html"));
    QVERIFY(!help.isEmpty());
    m_app->writeProgramFile(QStringLiteral("doc/index.html"), help);
    QVERIFY(m_app->start());
    item("Item_Documentation")->trigger();
    QCOMPARE(m_catcher.opened.size(), 1);
    const QString opened = m_catcher.opened.at(0).toLocalFile();
    QCOMPARE(
        QFileInfo(opened).canonicalFilePath(),
        QFileInfo(m_app->programFolder() + QStringLiteral("/doc/index.html")).canonicalFilePath());
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestMenuCommands::missingHelpIsSaidInFrench()
{
    QVERIFY(m_app->start());
    item("Item_Documentation")->trigger();
    QVERIFY(m_catcher.opened.isEmpty());
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().at(0).text, u("Le fichier d'aide est introuvable !"));
}

void TestMenuCommands::helpPagesAreFrenchAndCoverTheBasics()
{
    const QString help = QString::fromUtf8(readBytes(qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") +
                                                     QStringLiteral("/doc/index.html")));
    QVERIFY(help.contains(QStringLiteral("lang=\"fr\"")));
    for (const char* heading :
         {"Démarrer", "Les pages du carnet", "Sauvegarder et restaurer", "Où sont vos données"})
        QVERIFY2(help.contains(u(heading)), heading);
    // Every page of the booklet is explained.
    for (const char* page : {"Général", "Poids &amp; taille", "Personnalisé", "Actes",
                             "Médicaments", "Analyses", "Vaccins", "Documents", "Evénements"})
        QVERIFY2(help.contains(u(page)), page);
}

void TestMenuCommands::windowCarriesTheProgramsIcon()
{
    QVERIFY(m_app->start());
    const QIcon icon = m_app->startup()->mainForm()->windowIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(QSize(48, 48)).size(), QSize(48, 48));
    QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    // The desktop matches the window to its entry by this name.
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.tavirune.Tavirune"));
}

void TestMenuCommands::listsMenuOpensEachReferenceList()
{
    QVERIFY(m_app->start());
    const std::pair<const char*, const char*> items[] = {{"Item_Pathologies", "TIllnessList"},
                                                         {"Item_Vaccins", "TVaccineList"},
                                                         {"Item_Medicaments", "TDrugList"},
                                                         {"Item_Praticiens", "TDoctorList"},
                                                         {"Item_Pharmacie", "TPharmacyList"}};
    for (const auto& [name, windowClass] : items) {
        QVERIFY2(item(name)->isEnabled(), name);
        QByteArray shown;
        const auto answer = tav::test::ModalAnswer::when<TReferenceList>(
            [&shown](TReferenceList* list) { shown = list->metaObject()->className(); });
        item(name)->trigger();
        QVERIFY2(answer.seen(), name);
        QCOMPARE(shown, QByteArray(windowClass));
        // Closing the list leaves its query closed for the pick lists.
        QVERIFY(AppFixture::findWindow(windowClass) == nullptr);
    }
}

QTEST_MAIN(TestMenuCommands)
#include "tst_menucommands.moc"
