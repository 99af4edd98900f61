#include "core/TextLookup.h"

#include "core/AppInfo.h"

#include <QLocale>

namespace tav {

namespace {

QString withFileName(QString text, const QString& fileName)
{
    return text.replace(QLatin1String("%1"), fileName);
}

// Texts A, B and C share their second line.
QString pictureMessage(const char* firstLine)
{
    return QString::fromUtf8(firstLine) +
           QStringLiteral("{CR}Le fichier \"%1\" a sans doute été supprimé manuellement et "
                          "n'est plus accessible.");
}

} // namespace

QString lookupText(const QString& section, const QString& key, const QString& defaultText)
{
    Q_UNUSED(section)
    Q_UNUSED(key)
    QString text = defaultText;
    return text.replace(QLatin1String("{CR}"), QLatin1String("\r"));
}

namespace texts {

QString minimizeWindows()
{
    return lookupText(QStringLiteral("Common"), QStringLiteral("MinimizeWindows"),
                      QStringLiteral("Réduire"));
}

QString maximizeWindows()
{
    return lookupText(QStringLiteral("Common"), QStringLiteral("MaximizeWindows"),
                      QStringLiteral("Agrandir"));
}

QString webSite()
{
    return lookupText(QStringLiteral("Common"), QStringLiteral("WebSite"), appinfo::webSite());
}

QString helpFileMissing()
{
    return lookupText(QStringLiteral("CommonLib"), QStringLiteral("String1"),
                      QStringLiteral("Le fichier d'aide est introuvable !"));
}

QString pictureSaveFilter()
{
    return lookupText(QStringLiteral("Lib_Bd_Gfx"), QStringLiteral("String1"),
                      QStringLiteral("Image Jpeg|*.jpg"));
}

QString pictureSaveTitle()
{
    return lookupText(QStringLiteral("Lib_Bd_Gfx"), QStringLiteral("String2"),
                      QStringLiteral("Enregistrer l'image sous ..."));
}

QString pictureMissing(const QString& fileName)
{
    return withFileName(lookupText(QStringLiteral("Lib_Bd_Gfx"), QStringLiteral("Message1"),
                                   pictureMessage("IMPOSSIBLE DE TROUVER L'IMAGE !")),
                        fileName);
}

QString pictureNotShown(const QString& fileName)
{
    return withFileName(lookupText(QStringLiteral("Lib_Bd_Gfx"), QStringLiteral("Message1"),
                                   pictureMessage("IMPOSSIBLE DE VISUALISER L'IMAGE !")),
                        fileName);
}

QString pictureNotPrinted(const QString& fileName)
{
    return withFileName(lookupText(QStringLiteral("PreviewImage"), QStringLiteral("Message1"),
                                   pictureMessage("IMPOSSIBLE D'IMPRIMER L'IMAGE !")),
                        fileName);
}

QString updateBackupTitle()
{
    return lookupText(QStringLiteral("Lib_Bd_Maj"), QStringLiteral("String1"),
                      QStringLiteral("MISE A JOUR (Sauvegarde)"));
}

QString updateProgressTitle()
{
    return lookupText(QStringLiteral("Lib_Bd_Maj"), QStringLiteral("String2"),
                      QStringLiteral("MISE A JOUR (Base de données)"));
}

QString updatePreparing()
{
    return lookupText(QStringLiteral("Lib_Bd_Maj"), QStringLiteral("String3"),
                      QStringLiteral("Mise à jour (préparation) ..."));
}

QString updateTesting()
{
    return lookupText(QStringLiteral("Lib_Bd_Maj"), QStringLiteral("String4"),
                      QStringLiteral("Test de la mise à jour ..."));
}

QString updateRunning()
{
    return lookupText(QStringLiteral("Lib_Bd_Maj"), QStringLiteral("String5"),
                      QStringLiteral("Mise à jour de la base de données ..."));
}

QString updateCompacting()
{
    return lookupText(QStringLiteral("Lib_Bd_Maj"), QStringLiteral("String6"),
                      QStringLiteral("Compactage de la base de données"));
}

QString printEmptyList()
{
    return lookupText(QStringLiteral("Lib_Prt"), QStringLiteral("Message1"),
                      QStringLiteral("Il n'y a pas d'enregistrements dans cette liste."));
}

QString purgeBackupHistory()
{
    return lookupText(QStringLiteral("BackupList"), QStringLiteral("Message1"),
                      QStringLiteral("Désirez-vous purger l'historique des sauvegardes ?"));
}

QString newImageTitle()
{
    return lookupText(QStringLiteral("EnterDocument"), QStringLiteral("String1"),
                      QStringLiteral("Image"));
}

QString selectPictureTitle()
{
    return lookupText(QStringLiteral("EnterDocument"), QStringLiteral("String2"),
                      QStringLiteral("Sélectionnez une image"));
}

QString selectPictureFilter()
{
    return lookupText(QStringLiteral("EnterDocument"), QStringLiteral("String3"),
                      QStringLiteral("Tout (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|"
                                     "Fichier image JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|"
                                     "Bitmaps (*.bmp)|*.bmp"));
}

QString scannerNotLoaded()
{
    return lookupText(
        QStringLiteral("EnterDocument"), QStringLiteral("Message1"),
        QStringLiteral(
            "Chargement Twain impossible.|Vérifiez que les pilotes Twain ont bien été installés."));
}

QString saveHtmlTitle()
{
    return lookupText(QStringLiteral("HtmlView"), QStringLiteral("String1"),
                      QStringLiteral("Enregistrer la page html sous ..."));
}

QString sendingMessage()
{
    return lookupText(QStringLiteral("-"), QStringLiteral("-"),
                      QStringLiteral("Envoie du message ..."));
}

} // namespace texts

int languageIndex(const QString& name)
{
    static const char* const names[] = {"laDefault", "laEnglish", "laGerman",
                                        "laFrench",  "laItalian", "laSpanish"};
    for (int i = 0; i < 6; ++i) {
        if (name == QLatin1String(names[i]))
            return i == 0 ? systemLanguageIndex() : i;
    }
    return 1;
}

int languageIndexFromCode(const QString& code)
{
    const QString prefix = code.left(2).toUpper();
    if (prefix == QLatin1String("DE"))
        return 2;
    if (prefix == QLatin1String("ES"))
        return 5;
    if (prefix == QLatin1String("FR"))
        return 3;
    if (prefix == QLatin1String("IT"))
        return 4;
    return 1;
}

int systemLanguageIndex()
{
    return languageIndexFromCode(QLocale::system().name());
}

QString monthName(int month, int language)
{
    static const char* const months[5][12] = {
        {"January", "February", "March", "April", "May", "June", "July", "August", "September",
         "October", "November", "December"},
        {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
         "Oktober", "November", "Dezember"},
        {"Janvier", "Février", "Mars", "Avril", "Mai", "Juin", "Juillet", "Août", "Septembre",
         "Octobre", "Novembre", "Décembre"},
        {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto",
         "Settembre", "Ottobre", "Novembre", "Dicembre"},
        {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre",
         "Octubre", "Noviembre", "Diciembre"},
    };
    if (month < 1 || month > 12)
        return {};
    int index = language == 0 ? systemLanguageIndex() : language;
    if (index < 1 || index > 5)
        index = 1;
    return QString::fromUtf8(months[index - 1][month - 1]);
}

} // namespace tav
