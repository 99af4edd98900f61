#pragma once

#include <QString>

namespace tav::appinfo {

// Fixed facts about the program, quoted in messages, file names and the
// warning file written into new data folders.
QString productName();    // "Tavirune"
QString programVersion(); // "1.14"
QString makerName();      // "Orvandel", also the folder holding the maker's data
QString contactEmail();
QString supportEmail();
QString webSite();

// Name of the schema update script of a version: "BD_" and the first, third
// and fourth characters of the version text, then ".maj" ("1.13" gives
// "BD_113.maj"). Characters missing from a short version are left out.
QString updateScriptName(const QString& version = programVersion());

} // namespace tav::appinfo
