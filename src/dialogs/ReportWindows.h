#pragma once

#include <QString>

#include <functional>

class QImage;
class QWidget;

namespace tav {

struct ReportOutcome;
class DataModuleReport;
class ReportRunner;

// Runs a report command under the wait cursor, then shows what it ended
// with: the preview window (modal), the empty-list information, or the
// error. True when the preview was shown.
bool runReport(QWidget* parent, const std::function<ReportOutcome()>& command);

// Prints a chart already drawn (at ReportRunner::statSize) through the
// chart report, titled with the first line of the chart's title and the
// subtitle (the animal).
bool printChart(QWidget* parent, ReportRunner& runner, const QImage& chart,
                const QString& chartTitle, const QString& subtitle);
// The same for the chart pages, which know the report module and folder.
bool printChart(QWidget* parent, DataModuleReport& module, const QString& reportFolder,
                const QImage& chart, const QString& chartTitle, const QString& subtitle);

} // namespace tav
