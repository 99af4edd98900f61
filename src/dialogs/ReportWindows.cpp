#include "dialogs/ReportWindows.h"

#include "dialogs/TFreeReportPrintViewer.h"
#include "report/ReportRunner.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QImage>

namespace tav {

bool runReport(QWidget* parent, const std::function<ReportOutcome()>& command)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ReportOutcome outcome = command();
    QApplication::restoreOverrideCursor();
    switch (outcome.status) {
    case ReportOutcome::Status::Failed:
        showError(parent, outcome.message);
        return false;
    case ReportOutcome::Status::Empty:
        MessageBox::information(parent, outcome.message);
        return false;
    case ReportOutcome::Status::Ready:
        break;
    }
    TFreeReportPrintViewer viewer(std::move(outcome.report), parent);
    viewer.exec();
    return true;
}

bool printChart(QWidget* parent, ReportRunner& runner, const QImage& chart,
                const QString& chartTitle, const QString& subtitle)
{
    return runReport(parent, [&]() { return runner.chart(chart, chartTitle, subtitle); });
}

bool printChart(QWidget* parent, DataModuleReport& module, const QString& reportFolder,
                const QImage& chart, const QString& chartTitle, const QString& subtitle)
{
    ReportRunner::Settings settings;
    settings.reportFolder = reportFolder;
    ReportRunner runner(module, settings);
    return printChart(parent, runner, chart, chartTitle, subtitle);
}

} // namespace tav
