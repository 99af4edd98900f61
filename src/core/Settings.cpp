#include "core/Settings.h"

#include "core/FileRoutines.h"
#include "core/IniFile.h"

#include <QFileInfo>

namespace tav {

namespace {

const QString kProperties = QStringLiteral("Properties");
const QString kScan = QStringLiteral("Scan");
const QString kSmtp = QStringLiteral("SMTP");
const QString kWindows = QStringLiteral("Windows");

// At most max UTF-16 units, without splitting a surrogate pair in two.
QString cut(const QString& text, int max)
{
    if (text.size() <= max)
        return text;
    qsizetype size = max;
    if (size > 0 && text.at(size - 1).isHighSurrogate())
        --size;
    return text.left(size);
}

} // namespace

void Settings::load(const QString& iniPath)
{
    *this = Settings();
    const IniFile ini(iniPath);

    firstLaunch = ini.readBool(kProperties, QStringLiteral("FirstLaunch"), firstLaunch);
    testMdac = ini.readBool(kProperties, QStringLiteral("TestMdac"), testMdac);
    splash = ini.readBool(kProperties, QStringLiteral("Splash"), splash);
    showUI = ini.readBool(kProperties, QStringLiteral("ShowUI"), showUI);
    showCalendar = ini.readBool(kProperties, QStringLiteral("ShowCalendar"), showCalendar);
    hideBigFontMsg = ini.readBool(kProperties, QStringLiteral("HideBigFontMsg"), hideBigFontMsg);
    animalSort = ini.readInt(kProperties, QStringLiteral("AnimalSort"), animalSort);
    animalEnd = ini.readBool(kProperties, QStringLiteral("AnimalEnd"), animalEnd);
    reminderNotice = ini.readBool(kProperties, QStringLiteral("ReminderNotice"), reminderNotice);

    twainSource = ini.readString(kScan, QStringLiteral("TwainSource"), twainSource);
    showTwainUI = ini.readBool(kScan, QStringLiteral("ShowTwainUI"), showTwainUI);
    maxWidth = ini.readInt(kScan, QStringLiteral("MaxWidth"), maxWidth);
    jpegQuality = ini.readInt(kScan, QStringLiteral("JpegQuality"), jpegQuality);

    smtpName = cut(ini.readString(kSmtp, QStringLiteral("Name"), smtpName), smtpTextMaxLength);
    smtpEmail = cut(ini.readString(kSmtp, QStringLiteral("Email"), smtpEmail), smtpTextMaxLength);
    smtpHost = cut(ini.readString(kSmtp, QStringLiteral("Host"), smtpHost), smtpTextMaxLength);
    smtpPort = ini.readInt(kSmtp, QStringLiteral("Port"), smtpPort);
    smtpSecurity = ini.readInt(kSmtp, QStringLiteral("Security"), smtpSecurity);
    if (smtpSecurity < 0 || smtpSecurity > 2)
        smtpSecurity = 0;
    smtpUser = cut(ini.readString(kSmtp, QStringLiteral("User"), smtpUser), smtpTextMaxLength);
    smtpCaFile = ini.readString(kSmtp, QStringLiteral("CaFile"), smtpCaFile);

    winLeft = ini.readInt(kWindows, QStringLiteral("Left"), winLeft);
    winTop = ini.readInt(kWindows, QStringLiteral("Top"), winTop);
    winWidth = ini.readInt(kWindows, QStringLiteral("Width"), winWidth);
    winHeight = ini.readInt(kWindows, QStringLiteral("Height"), winHeight);
    winState = ini.readString(kWindows, QStringLiteral("State"), winState);
    winStyle = ini.readBool(kWindows, QStringLiteral("Style"), winStyle);
}

bool Settings::save(const QString& iniPath) const
{
    IniFile ini(iniPath);

    ini.writeBool(kProperties, QStringLiteral("FirstLaunch"), firstLaunch);
    ini.writeBool(kProperties, QStringLiteral("TestMdac"), testMdac);
    ini.writeBool(kProperties, QStringLiteral("Splash"), splash);
    ini.writeBool(kProperties, QStringLiteral("ShowUI"), showUI);
    ini.writeBool(kProperties, QStringLiteral("ShowCalendar"), showCalendar);
    ini.writeBool(kProperties, QStringLiteral("HideBigFontMsg"), hideBigFontMsg);
    ini.writeInt(kProperties, QStringLiteral("AnimalSort"), animalSort);
    ini.writeBool(kProperties, QStringLiteral("AnimalEnd"), animalEnd);
    // Written only once turned off, like the other keys the first versions
    // did not have: a settings file stays as those versions wrote it.
    if (!reminderNotice)
        ini.writeBool(kProperties, QStringLiteral("ReminderNotice"), reminderNotice);
    else
        ini.removeKey(kProperties, QStringLiteral("ReminderNotice"));

    ini.writeString(kScan, QStringLiteral("TwainSource"), twainSource);
    ini.writeBool(kScan, QStringLiteral("ShowTwainUI"), showTwainUI);
    ini.writeInt(kScan, QStringLiteral("MaxWidth"), maxWidth);
    ini.writeInt(kScan, QStringLiteral("JpegQuality"), jpegQuality);

    ini.writeString(kSmtp, QStringLiteral("Name"), smtpName);
    ini.writeString(kSmtp, QStringLiteral("Email"), smtpEmail);
    ini.writeString(kSmtp, QStringLiteral("Host"), smtpHost);
    ini.writeInt(kSmtp, QStringLiteral("Port"), smtpPort);
    // A value back to its default leaves the file, rather than staying
    // behind as the one read next time.
    if (smtpSecurity != 0)
        ini.writeInt(kSmtp, QStringLiteral("Security"), smtpSecurity);
    else
        ini.removeKey(kSmtp, QStringLiteral("Security"));
    if (!smtpUser.isEmpty())
        ini.writeString(kSmtp, QStringLiteral("User"), smtpUser);
    else
        ini.removeKey(kSmtp, QStringLiteral("User"));
    if (!smtpCaFile.isEmpty())
        ini.writeString(kSmtp, QStringLiteral("CaFile"), smtpCaFile);
    else
        ini.removeKey(kSmtp, QStringLiteral("CaFile"));

    ini.writeInt(kWindows, QStringLiteral("Left"), winLeft);
    ini.writeInt(kWindows, QStringLiteral("Top"), winTop);
    ini.writeInt(kWindows, QStringLiteral("Width"), winWidth);
    ini.writeInt(kWindows, QStringLiteral("Height"), winHeight);
    ini.writeString(kWindows, QStringLiteral("State"), winState);
    ini.writeBool(kWindows, QStringLiteral("Style"), winStyle);

    return ini.save().ok;
}

QString Settings::fileNameFor(const QString& programFilePath)
{
    QString name = QFileInfo(programFilePath).fileName().toLower();
    if (name.endsWith(QLatin1String(".exe")))
        name.chop(4);
    return name + QLatin1String(".ini");
}

QString Settings::fileName()
{
    return fileNameFor(programPath());
}

} // namespace tav
