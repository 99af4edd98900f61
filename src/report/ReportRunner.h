#pragma once

#include "core/MeasureKind.h"
#include "core/Result.h"
#include "core/SqlClauses.h"
#include "report/ReportEngine.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

namespace tav {

struct TableFilter;

class DataModuleReport;

// Draws the weight or size curve of an animal in a mode at a size; a null
// picture when there is nothing to draw.
using ChartRenderer =
    std::function<QImage(int animalId, MeasureKind kind, CurveMode mode, const QSize& size)>;

// The statement of a ".rpt" file with its clauses put in. Fails with a
// French message when the file is missing or lacks a line to replace.
Result buildReportSql(const QString& path, bool dropFirstLine, const QueryClauses& clauses,
                      QStringList* sql);

// What a report command ends with: prepared pages to show, an empty list
// to tell about, or a failure to show as an error.
struct ReportOutcome
{
    enum class Status { Ready, Empty, Failed };
    Status status = Status::Failed;
    QString message;
    PreparedReport report; // its title is the preview's caption
};

// Prepares the printed reports of the booklet from the report module's
// data sets and the templates of the report folder. The data sets are
// closed again once the pages are computed, whatever happened.
class ReportRunner
{
public:
    struct Settings
    {
        QString reportFolder;   // with its separator
        QString databaseFolder; // holds Images/, with its separator
        QString currencySymbol; // the system's when empty
        ChartRenderer chartRenderer;
        // Brings the reminder flags of an animal up to date; throws DbError.
        std::function<void(int animalId)> refreshReminders;
    };

    ReportRunner(DataModuleReport& module, Settings settings);

    ReportOutcome listReport(const QString& name, const TableFilter& filter, const QString& title);
    ReportOutcome consultHistory(int animalId);
    ReportOutcome pharmacyHistory(int animalId);
    ReportOutcome booklet(int animalId);
    ReportOutcome reminderTables(int animalId);
    // A chart already drawn, with the first line of its title and the
    // subtitle (the animal).
    ReportOutcome chart(const QImage& chart, const QString& chartTitle, const QString& subtitle);

    // The TITLE variable: the title of the last list or chart report, its
    // French accents removed and upper-cased; kept until the program ends.
    static QString titleText();
    static void setTitleText(const QString& title);
    static void clearTitleText();

    static constexpr QSize chartSize{1600, 420};
    static constexpr QSize statSize{1600, 1200};

private:
    ReportOutcome prepare(const QString& name, const QString& title, const ReportInput& extra);
    ReportInput input() const;
    // The ANIMAL variable of the next report: whose booklet it prints, so
    // that a printed page can be told from another animal's.
    void nameAnimal(int animalId);

    DataModuleReport& m_module;
    Settings m_settings;
    QString m_animalTitle;
};

} // namespace tav
