#pragma once

#include <QString>

namespace tav {

// Every message that is not a fixed caption goes through this lookup, keyed
// by section and key, so that each text keeps one identity. No language file
// is read: the result is the caller's default, with every "{CR}" turned into
// one carriage return. "%1" placeholders are left for the caller.
QString lookupText(const QString& section, const QString& key, const QString& defaultText);

// The catalogue of looked-up texts. Each helper passes its own section, key
// and French default to lookupText(); helpers taking a file name replace
// every "%1" with it after the lookup, so a name containing "{CR}" stays
// as it is.
namespace texts {

QString minimizeWindows();   // Common/MinimizeWindows
QString maximizeWindows();   // Common/MaximizeWindows
QString webSite();           // Common/WebSite
QString helpFileMissing();   // CommonLib/String1
QString pictureSaveFilter(); // Lib_Bd_Gfx/String1, a file dialog filter
QString pictureSaveTitle();  // Lib_Bd_Gfx/String2
// Lib_Bd_Gfx/Message1 serves two messages with different defaults.
QString pictureMissing(const QString& fileName);    // Lib_Bd_Gfx/Message1
QString pictureNotShown(const QString& fileName);   // Lib_Bd_Gfx/Message1
QString pictureNotPrinted(const QString& fileName); // PreviewImage/Message1
QString updateBackupTitle();                        // Lib_Bd_Maj/String1
QString updateProgressTitle();                      // Lib_Bd_Maj/String2
QString updatePreparing();                          // Lib_Bd_Maj/String3
QString updateTesting();                            // Lib_Bd_Maj/String4
QString updateRunning();                            // Lib_Bd_Maj/String5
QString updateCompacting();                         // Lib_Bd_Maj/String6
QString printEmptyList();                           // Lib_Prt/Message1
QString purgeBackupHistory();                       // BackupList/Message1
QString newImageTitle();                            // EnterDocument/String1
QString selectPictureTitle();                       // EnterDocument/String2
QString selectPictureFilter();                      // EnterDocument/String3, a file dialog filter
QString scannerNotLoaded();                         // EnterDocument/Message1, shown with its bar
QString saveHtmlTitle();                            // HtmlView/String1
QString sendingMessage();                           // -/-

} // namespace texts

// Language names and indexes: laDefault 0 (the system's language),
// laEnglish 1, laGerman 2, laFrench 3, laItalian 4, laSpanish 5.
// Names are compared exactly; an unknown name gives 1. "laDefault" resolves
// to the system's language.
int languageIndex(const QString& name);

// Language index of a language code ("de", "fr_FR"...): its first two
// letters, upper-cased: DE 2, ES 5, FR 3, IT 4, anything else 1.
int languageIndexFromCode(const QString& code);
// The same for the system locale.
int systemLanguageIndex();

// Month name for month 1..12 in language 1..5, 0 meaning the system's
// language. Empty for a month out of range; an unknown language gives
// English.
QString monthName(int month, int language);

} // namespace tav
