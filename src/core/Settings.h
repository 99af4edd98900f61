#pragma once

#include <QString>

namespace tav {

// The user's preferences, held in memory for the whole process and stored in
// the settings INI file of the data folder. Members carry the defaults used
// for anything missing or unreadable in the file.
struct Settings
{
    // [Properties]
    bool firstLaunch = true;
    bool testMdac = false;
    bool splash = true;
    bool showUI = true;
    bool showCalendar = false;
    bool hideBigFontMsg = false;
    int animalSort = 1;
    bool animalEnd = false;
    // The notice of due vaccination reminders shown at start-up.
    bool reminderNotice = true;

    // [Scan]
    QString twainSource;
    bool showTwainUI = false;
    int maxWidth = 5000;
    int jpegQuality = 100;

    // [SMTP]
    QString smtpName;
    QString smtpEmail;
    QString smtpHost;
    int smtpPort = 25;
    // Added to the design's plain sending: 0 none, 1 STARTTLS, 2 TLS from
    // the first byte; a user name asks for authentication (the password
    // lives in the desktop's secret store); a CA file replaces the system's
    // certificates. Written only when set, so a plain set-up keeps its file.
    int smtpSecurity = 0;
    QString smtpUser;
    QString smtpCaFile;

    // [Windows]: the main window's client placement; winWidth -1 means no
    // position was ever stored.
    int winLeft = -1;
    int winTop = -1;
    int winWidth = -1;
    int winHeight = -1;
    QString winState;
    bool winStyle = false;

    static constexpr int smtpTextMaxLength = 255;

    // Resets every value, then reads the file; a missing file, section or
    // key, or an unreadable number, leaves the default.
    void load(const QString& iniPath);
    // Writes every key in a fixed order into the file, keeping any other key
    // already there. Returns false when the file cannot be written.
    bool save(const QString& iniPath) const;

    // Name of the settings file for a program file: its name in lower case,
    // with ".exe" replaced by ".ini" (or ".ini" appended when the program
    // has no ".exe" extension).
    static QString fileNameFor(const QString& programFilePath);
    // The same for the running program.
    static QString fileName();
};

} // namespace tav
