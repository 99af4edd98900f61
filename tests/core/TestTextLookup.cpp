#include "core/AppInfo.h"
#include "core/TextLookup.h"

#include <QLocale>
#include <QTest>

using namespace tav;

// Run with LC_ALL=de_DE.UTF-8 (see CMakeLists.txt) so that the system
// language is known and is not the default one.
class TestTextLookup : public QObject
{
    Q_OBJECT

private slots:
    void lookupReplacesOnlyTheLineBreakMarker_data();
    void lookupReplacesOnlyTheLineBreakMarker();
    void catalogueHoldsTheFrenchTexts_data();
    void catalogueHoldsTheFrenchTexts();
    void fileNameMessagesInsertTheNameVerbatim();

    void languageIndexFromName_data();
    void languageIndexFromName();
    void languageIndexFromCode_data();
    void languageIndexFromCode();
    void monthNames_data();
    void monthNames();
    void systemLanguageComesFromTheLocale();

    void appInfo();
};

void TestTextLookup::lookupReplacesOnlyTheLineBreakMarker_data()
{
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << QStringLiteral("Réduire") << QStringLiteral("Réduire");
    QTest::newRow("one marker") << QStringLiteral("A{CR}B") << QStringLiteral("A\rB");
    QTest::newRow("two markers") << QStringLiteral("{CR}A{CR}{CR}") << QStringLiteral("\rA\r\r");
    QTest::newRow("other case kept") << QStringLiteral("A{cr}B") << QStringLiteral("A{cr}B");
    QTest::newRow("placeholder kept") << QStringLiteral("%1{CR}%1") << QStringLiteral("%1\r%1");
    QTest::newRow("empty") << QString() << QString();
}

void TestTextLookup::lookupReplacesOnlyTheLineBreakMarker()
{
    QFETCH(QString, defaultText);
    QFETCH(QString, text);
    QCOMPARE(lookupText(QStringLiteral("Any"), QStringLiteral("Key"), defaultText), text);
}

void TestTextLookup::catalogueHoldsTheFrenchTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* name, const QString& text, const char* expected) {
        QTest::newRow(name) << text << QString::fromUtf8(expected);
    };
    row("MinimizeWindows", texts::minimizeWindows(), "Réduire");
    row("MaximizeWindows", texts::maximizeWindows(), "Agrandir");
    row("WebSite", texts::webSite(), "https://www.tavirune.org/");
    row("CommonLib String1", texts::helpFileMissing(), "Le fichier d'aide est introuvable !");
    row("Gfx String1", texts::pictureSaveFilter(), "Image Jpeg|*.jpg");
    row("Gfx String2", texts::pictureSaveTitle(), "Enregistrer l'image sous ...");
    row("Maj String1", texts::updateBackupTitle(), "MISE A JOUR (Sauvegarde)");
    row("Maj String2", texts::updateProgressTitle(), "MISE A JOUR (Base de données)");
    row("Maj String3", texts::updatePreparing(), "Mise à jour (préparation) ...");
    row("Maj String4", texts::updateTesting(), "Test de la mise à jour ...");
    row("Maj String5", texts::updateRunning(), "Mise à jour de la base de données ...");
    row("Maj String6", texts::updateCompacting(), "Compactage de la base de données");
    row("Lib_Prt", texts::printEmptyList(), "Il n'y a pas d'enregistrements dans cette liste.");
    row("BackupList", texts::purgeBackupHistory(),
        "Désirez-vous purger l'historique des sauvegardes ?");
    row("EnterDocument String1", texts::newImageTitle(), "Image");
    row("EnterDocument String2", texts::selectPictureTitle(), "Sélectionnez une image");
    row("EnterDocument String3", texts::selectPictureFilter(),
        "Tout (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|Fichier image JPEG "
        "(*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp");
    row("EnterDocument Message1", texts::scannerNotLoaded(),
        "Chargement Twain impossible.|Vérifiez que les pilotes Twain ont bien été installés.");
    row("HtmlView", texts::saveHtmlTitle(), "Enregistrer la page html sous ...");
    row("sending", texts::sendingMessage(), "Envoie du message ...");
    row("text A", texts::pictureMissing(QStringLiteral("Doc12.jpg")),
        "IMPOSSIBLE DE TROUVER L'IMAGE !\rLe fichier \"Doc12.jpg\" a sans doute été supprimé "
        "manuellement et n'est plus accessible.");
    row("text B", texts::pictureNotShown(QStringLiteral("Doc12.jpg")),
        "IMPOSSIBLE DE VISUALISER L'IMAGE !\rLe fichier \"Doc12.jpg\" a sans doute été "
        "supprimé manuellement et n'est plus accessible.");
    row("text C", texts::pictureNotPrinted(QStringLiteral("Doc12.jpg")),
        "IMPOSSIBLE D'IMPRIMER L'IMAGE !\rLe fichier \"Doc12.jpg\" a sans doute été supprimé "
        "manuellement et n'est plus accessible.");
}

void TestTextLookup::catalogueHoldsTheFrenchTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestTextLookup::fileNameMessagesInsertTheNameVerbatim()
{
    const QString name = QStringLiteral("a{CR}b %1 c.jpg");
    const QString text = texts::pictureMissing(name);
    QVERIFY(text.contains(u'"' + name + u'"'));
    QCOMPARE(text.count(u'\r'), 1);
}

void TestTextLookup::languageIndexFromName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");

    QTest::newRow("default is the system's") << QStringLiteral("laDefault") << 2;
    QTest::newRow("english") << QStringLiteral("laEnglish") << 1;
    QTest::newRow("german") << QStringLiteral("laGerman") << 2;
    QTest::newRow("french") << QStringLiteral("laFrench") << 3;
    QTest::newRow("italian") << QStringLiteral("laItalian") << 4;
    QTest::newRow("spanish") << QStringLiteral("laSpanish") << 5;
    QTest::newRow("other case") << QStringLiteral("LAFRENCH") << 1;
    QTest::newRow("trailing space") << QStringLiteral("laFrench ") << 1;
    QTest::newRow("empty") << QString() << 1;
}

void TestTextLookup::languageIndexFromName()
{
    if (systemLanguageIndex() != 2)
        QSKIP("needs a German system locale");
    QFETCH(QString, name);
    QFETCH(int, index);
    QCOMPARE(languageIndex(name), index);
}

void TestTextLookup::languageIndexFromCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("index");

    QTest::newRow("de") << QStringLiteral("de") << 2;
    QTest::newRow("DE_ch") << QStringLiteral("DE_ch") << 2;
    QTest::newRow("fr_FR") << QStringLiteral("fr_FR") << 3;
    QTest::newRow("it") << QStringLiteral("it_IT") << 4;
    QTest::newRow("es") << QStringLiteral("Es") << 5;
    QTest::newRow("en") << QStringLiteral("en_US") << 1;
    QTest::newRow("C") << QStringLiteral("C") << 1;
    QTest::newRow("one letter") << QStringLiteral("d") << 1;
    QTest::newRow("empty") << QString() << 1;
}

void TestTextLookup::languageIndexFromCode()
{
    QFETCH(QString, code);
    QFETCH(int, index);
    QCOMPARE(tav::languageIndexFromCode(code), index);
}

void TestTextLookup::monthNames_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("name");

    QTest::newRow("february french") << 2 << 3 << QStringLiteral("Février");
    QTest::newRow("august french") << 8 << 3 << QStringLiteral("Août");
    QTest::newRow("december french") << 12 << 3 << QStringLiteral("Décembre");
    QTest::newRow("march german") << 3 << 2 << QStringLiteral("März");
    QTest::newRow("january english") << 1 << 1 << QStringLiteral("January");
    QTest::newRow("june italian") << 6 << 4 << QStringLiteral("Giugno");
    QTest::newRow("september spanish") << 9 << 5 << QStringLiteral("Septiembre");
    QTest::newRow("system language") << 2 << 0 << QStringLiteral("Februar");
    QTest::newRow("unknown language") << 2 << 9 << QStringLiteral("February");
    QTest::newRow("negative language") << 2 << -1 << QStringLiteral("February");
    QTest::newRow("month 0") << 0 << 3 << QString();
    QTest::newRow("month 13") << 13 << 3 << QString();
}

void TestTextLookup::monthNames()
{
    if (systemLanguageIndex() != 2)
        QSKIP("needs a German system locale");
    QFETCH(int, month);
    QFETCH(int, language);
    QFETCH(QString, name);
    QCOMPARE(monthName(month, language), name);
}

void TestTextLookup::systemLanguageComesFromTheLocale()
{
    QCOMPARE(systemLanguageIndex(), tav::languageIndexFromCode(QLocale::system().name()));
}

void TestTextLookup::appInfo()
{
    QCOMPARE(appinfo::updateScriptName(), QStringLiteral("BD_114.maj"));
    QCOMPARE(appinfo::updateScriptName(QStringLiteral("2.05")), QStringLiteral("BD_205.maj"));
    QCOMPARE(appinfo::updateScriptName(QStringLiteral("2")), QStringLiteral("BD_2.maj"));
    QCOMPARE(appinfo::productName(), QStringLiteral("Tavirune"));
    QCOMPARE(appinfo::makerName(), QStringLiteral("Orvandel"));
}

QTEST_GUILESS_MAIN(TestTextLookup)
#include "TestTextLookup.moc"
