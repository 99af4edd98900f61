#pragma once

#include <QObject>

class QWidget;

namespace tav {

struct AppContext;
class ReportRunner;
struct ReportOutcome;

// The "Impression" menu: each report reads the current animal's rows as
// stored and shows its pages in the preview window.
class PrintCommands : public QObject
{
    Q_OBJECT
public:
    using Report = ReportOutcome (ReportRunner::*)(int);

    PrintCommands(AppContext& context, QWidget* window);

    // Runs the report on the current animal; nothing without one.
    void print(Report report);

private:
    AppContext& m_context;
    QWidget* m_window;
};

} // namespace tav
