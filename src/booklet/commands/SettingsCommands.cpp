#include "booklet/commands/SettingsCommands.h"

#include "booklet/AppContext.h"
#include "booklet/PrinterSetup.h"
#include "dialogs/TEnterProperties.h"
#include "mail/SecretStore.h"
#include "scan/SaneScanner.h"

#include <QPrinter>
#include <QWidget>

namespace tav {

SettingsCommands::SettingsCommands(AppContext& context, QWidget* window)
    : QObject(window), m_context(context), m_window(window)
{
    // Asked only when the preferences open their list: SANE looks for
    // scanners then, not at start.
    m_scanSources = []() {
        QStringList labels;
        for (const scan::Device& device : scan::listDevices().devices)
            labels << device.label();
        return labels;
    };
}

SettingsCommands::~SettingsCommands() = default;

void SettingsCommands::choosePrinter()
{
    // Made on first use: asking the print system for its printers takes
    // time that the start-up need not pay.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    PrinterSetup::exec(m_window, *m_printer);
}

void SettingsCommands::editPreferences()
{
    // The e-mail commands are enabled by the sending settings: their rules
    // are evaluated again once the settings have changed.
    if (editProperties(m_window, m_context.settings, m_context.settingsPath, mail::secretStore(),
                       m_scanSources))
        emit settingsChanged();
}

void SettingsCommands::setScanSourceLister(std::function<QStringList()> lister)
{
    m_scanSources = std::move(lister);
}

} // namespace tav
