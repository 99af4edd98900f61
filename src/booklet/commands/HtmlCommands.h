#pragma once

#include <QImage>
#include <QObject>

class QWidget;

namespace tav {

struct AppContext;
class SettingsCommands;

// The "Html" menu: one page of the current animal's booklet or tables
// written as HTML and shown in the viewer, which prints on the printer
// chosen in the session.
class HtmlCommands : public QObject
{
    Q_OBJECT
public:
    enum class Page { Booklet, Consultations, Medicines, Reminders };

    HtmlCommands(AppContext& context, QWidget* window, const SettingsCommands& settings);

    // Writes the page for the current animal, with what is being typed on
    // the card, and shows it. A failure is shown and no viewer opens.
    void show(Page page);

private:
    AppContext& m_context;
    QWidget* m_window;
    const SettingsCommands& m_settings;
    QImage m_silhouette;
};

} // namespace tav
