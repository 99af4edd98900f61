#include "booklet/commands/PrintCommands.h"

#include "booklet/AppContext.h"
#include "booklet/commands/CurrentAnimal.h"
#include "charts/MeasureChartPicture.h"
#include "core/TextRoutines.h"
#include "db/Connection.h"
#include "db/ReminderStore.h"
#include "dialogs/ReportWindows.h"
#include "report/ReportRunner.h"

#include <QWidget>

namespace tav {

namespace {

// Where the printed reports find their templates, pictures and flags.
ReportRunner::Settings reportSettings(AppContext& context)
{
    ReportRunner::Settings settings;
    settings.reportFolder = context.reportFolder;
    settings.databaseFolder = trailingSeparator(context.databaseFolder());
    settings.currencySymbol = context.currencySymbol;
    Connection* connection = context.connection;
    settings.refreshReminders = [connection](int animalId) {
        ReminderStore(*connection).refreshVaccineReminders(animalId);
    };
    settings.chartRenderer = [connection](int animalId, MeasureKind kind, CurveMode mode,
                                          const QSize& size) {
        return renderMeasureChart(*connection, animalId, kind, mode, size);
    };
    return settings;
}

} // namespace

PrintCommands::PrintCommands(AppContext& context, QWidget* window)
    : QObject(window), m_context(context), m_window(window)
{}

void PrintCommands::print(Report report)
{
    const int id = currentAnimalId(m_context);
    if (id < 0 || !m_context.moduleReport)
        return;
    ReportRunner runner(*m_context.moduleReport, reportSettings(m_context));
    runReport(m_window, [&runner, report, id]() { return (runner.*report)(id); });
}

} // namespace tav
