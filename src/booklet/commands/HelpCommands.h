#pragma once

#include <QObject>

class QWidget;

namespace tav {

struct AppContext;

// The "Aide" menu: the documentation, the web site and the about window.
class HelpCommands : public QObject
{
    Q_OBJECT
public:
    HelpCommands(AppContext& context, QWidget* window);

    void openHelp();
    void openWebSite();
    void showAbout();

private:
    AppContext& m_context;
    QWidget* m_window;
};

} // namespace tav
