#include "booklet/commands/HelpCommands.h"

#include "booklet/AppContext.h"
#include "core/AppInfo.h"
#include "core/TextLookup.h"
#include "db/Connection.h"
#include "db/VersionRow.h"
#include "dialogs/TAbout.h"
#include "ui/MessageBox.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

namespace tav {

HelpCommands::HelpCommands(AppContext& context, QWidget* window)
    : QObject(window), m_context(context), m_window(window)
{}

void HelpCommands::openHelp()
{
    if (!QFileInfo::exists(m_context.helpFile)) {
        MessageBox::information(m_window,
                                lookupText(QStringLiteral("CommonLib"), QStringLiteral("String1"),
                                           QStringLiteral("Le fichier d'aide est introuvable !")));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_context.helpFile));
}

void HelpCommands::openWebSite()
{
    QDesktopServices::openUrl(
        QUrl(lookupText(QStringLiteral("Common"), QStringLiteral("WebSite"), appinfo::webSite())));
}

void HelpCommands::showAbout()
{
    AboutFacts facts;
    facts.dataFolder = m_context.dataFolder;
    facts.databaseFile = m_context.dbConfig.databaseFilePath();
    facts.settingsFile = m_context.settingsPath;
    if (m_context.connection) {
        facts.schemaVersion = readDatabaseVersion(*m_context.connection);
        facts.sqliteVersion = sqliteVersion(*m_context.connection);
    }
    TAbout window(facts, m_window);
    window.exec();
}

} // namespace tav
