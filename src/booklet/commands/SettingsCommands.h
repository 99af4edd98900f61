#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace tav {

struct AppContext;

// "Fichier › Imprimante" and "Fichier › Propriétés": the printer the
// outputs print on and the program's preferences.
class SettingsCommands : public QObject
{
    Q_OBJECT
public:
    SettingsCommands(AppContext& context, QWidget* window);
    ~SettingsCommands() override;

    void choosePrinter();
    void editPreferences();
    // The printer chosen in this session; none until one is.
    QPrinter* chosenPrinter() const { return m_printer.get(); }
    // Lists the scanners that the preferences offer as source.
    void setScanSourceLister(std::function<QStringList()> lister);

signals:
    // The preferences were stored: what depends on them is judged again.
    void settingsChanged();

private:
    AppContext& m_context;
    QWidget* m_window;
    std::unique_ptr<QPrinter> m_printer;
    std::function<QStringList()> m_scanSources;
};

} // namespace tav
