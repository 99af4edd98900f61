#include "report/ReportRunner.h"

#include "core/FrenchText.h"
#include "core/TextLookup.h"
#include "core/TextRoutines.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/MeasureStore.h"
#include "db/ReportQueries.h"
#include "db/TableFilters.h"
#include "report/ReportData.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLocale>

#include <memory>
#include <vector>

namespace tav {

namespace {

// A statement file must keep its WHERE line, which the data set's filter
// then replaces with the animal's key bound: the rewriting checks the line
// is there, so that a broken file is named, and puts a condition matching
// nothing in its place meanwhile.
const QueryClauses kFilterPlace{QString(), QStringLiteral("1=0"), QString(), QString()};

// The template's names of the module's data sets.
const std::pair<const char*, const char*> kSources[] = {
    {"frDBDataSet", "ReportQuery"},          {"frDSConsult", "ReportQueryConsult"},
    {"frDSPharmacy", "ReportQueryPharmacy"}, {"frDSVaccine", "ReportQueryVaccine"},
    {"frDSWeight", "ReportQueryWeight"},     {"frDSEvent", "ReportQueryEvent"}};

QString& titleStore()
{
    static QString title;
    return title;
}

ReportOutcome failed(const QString& message)
{
    ReportOutcome outcome;
    outcome.status = ReportOutcome::Status::Failed;
    outcome.message = message;
    return outcome;
}

// Closes the module's data sets when the report is done, whatever happened.
struct CloseQueries
{
    DataModuleReport& module;
    ~CloseQueries() { reportqueries::closeAll(module); }
};

} // namespace

Result buildReportSql(const QString& path, bool dropFirstLine, const QueryClauses& clauses,
                      QStringList* sql)
{
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo::exists(path))
        return Result::failure(fr("La requête du rapport « %1 » est introuvable.").arg(name));
    if (!rewriteQueryFile(path, dropFirstLine, clauses, sql))
        return Result::failure(
            fr("La requête du rapport « %1 » ne peut pas être lue, ou il lui manque la ligne "
               "FROM, WHERE ou ORDER BY à remplacer.")
                .arg(name));
    return Result::success();
}

ReportRunner::ReportRunner(DataModuleReport& module, Settings settings)
    : m_module(module), m_settings(std::move(settings))
{}

QString ReportRunner::titleText()
{
    return titleStore();
}

void ReportRunner::setTitleText(const QString& title)
{
    titleStore() = stripAccents(title).toUpper();
}

void ReportRunner::clearTitleText()
{
    titleStore().clear();
}

ReportInput ReportRunner::input() const
{
    ReportInput in;
    const QString symbol = m_settings.currencySymbol;
    in.variable = [symbol, animal = m_animalTitle](const QString& name, QString* value) {
        const QString upper = name.toUpper();
        if (upper == QLatin1String("TITLE")) {
            *value = titleStore();
            return true;
        }
        if (upper == QLatin1String("ANIMAL")) {
            *value = animal;
            return true;
        }
        if (upper == QLatin1String("CURRENCYSYMBOL")) {
            *value = symbol.isEmpty() ? QLocale().currencySymbol(QLocale::CurrencySymbol) : symbol;
            return true;
        }
        return false;
    };
    return in;
}

ReportOutcome ReportRunner::prepare(const QString& name, const QString& title,
                                    const ReportInput& extra)
{
    ReportTemplate layout;
    QString error;
    if (!layout.load(m_settings.reportFolder + name + QStringLiteral(".frf"), &error))
        return failed(error);
    std::vector<std::unique_ptr<DataSetSource>> sources;
    ReportInput in = extra;
    for (const auto& [templateName, dataSet] : kSources) {
        sources.push_back(
            std::make_unique<DataSetSource>(m_module.dataSet(QString::fromLatin1(dataSet))));
        in.addDataSet(QString::fromLatin1(templateName), sources.back().get());
    }
    ReportOutcome outcome;
    outcome.report.title = title;
    if (!prepareReport(layout, in, &outcome.report, &error))
        return failed(error);
    outcome.status = ReportOutcome::Status::Ready;
    return outcome;
}

ReportOutcome ReportRunner::listReport(const QString& name, const TableFilter& filter,
                                       const QString& title)
{
    setTitleText(title);
    CloseQueries closer{m_module};
    try {
        reportqueries::closeAll(m_module);
        const QString rpt = m_settings.reportFolder + name + QStringLiteral(".rpt");
        // Without a statement file the template shows the closed data set.
        if (QFileInfo::exists(rpt)) {
            QStringList sql;
            if (const Result built = buildReportSql(rpt, true, kFilterPlace, &sql); !built)
                return failed(built.error);
            reportqueries::openMain(m_module, sql, filter);
            if (m_module.dataSet(QStringLiteral("ReportQuery")).isEmpty()) {
                ReportOutcome empty;
                empty.status = ReportOutcome::Status::Empty;
                empty.message = texts::printEmptyList();
                return empty;
            }
        }
        return prepare(name, title, input());
    } catch (const DbError& e) {
        return failed(e.message());
    }
}

void ReportRunner::nameAnimal(int animalId)
{
    m_animalTitle.clear();
    try {
        m_animalTitle = MeasureStore(m_module.connection())
                            .animal(animalId, MeasureKind::Weight)
                            .title.trimmed();
    } catch (const DbError&) {
        // The report itself reads the same database and says what fails.
    }
}

ReportOutcome ReportRunner::consultHistory(int animalId)
{
    nameAnimal(animalId);
    return listReport(QStringLiteral("ConsultList"), tablefilters::actsOf(animalId, 1),
                      QStringLiteral("Historique des actes"));
}

ReportOutcome ReportRunner::pharmacyHistory(int animalId)
{
    nameAnimal(animalId);
    return listReport(QStringLiteral("PharmacyList"), tablefilters::actsOf(animalId, 2),
                      fr("Historique des médicaments"));
}

ReportOutcome ReportRunner::booklet(int animalId)
{
    CloseQueries closer{m_module};
    try {
        reportqueries::closeAll(m_module);
        QStringList sql;
        if (const Result built = buildReportSql(
                m_settings.reportFolder + QStringLiteral("Fich.rpt"), true, kFilterPlace, &sql);
            !built)
            return failed(built.error);
        reportqueries::openMain(m_module, sql, tablefilters::animal(animalId));
        reportqueries::openBookletDetails(m_module, animalId);

        ReportInput in = input();
        // The curves are drawn in the modes stored for this animal, whatever
        // page the main window shows; an empty mode reads as 0.
        const DataSet& animal = m_module.dataSet(QStringLiteral("ReportQuery"));
        const auto storedMode = [&animal](MeasureKind kind) {
            const QString& name = measureColumns(kind).mode;
            return curveModeFromStored(
                animal.isEmpty() || !animal.hasField(name) ? 0 : animal.asInt(name));
        };
        if (m_settings.chartRenderer) {
            in.addPicture(QStringLiteral("Img_Chart_Weight"),
                          m_settings.chartRenderer(animalId, MeasureKind::Weight,
                                                   storedMode(MeasureKind::Weight), chartSize));
            in.addPicture(QStringLiteral("Img_Chart_Size"),
                          m_settings.chartRenderer(animalId, MeasureKind::Size,
                                                   storedMode(MeasureKind::Size), chartSize));
        }
        // A photo removed by hand leaves its box empty.
        QImageReader photo(m_settings.databaseFolder + QStringLiteral("Images/Animal") +
                           QString::number(animalId) + QStringLiteral(".jpg"));
        // A phone's photo is stored as taken: printed the right way up.
        photo.setAutoTransform(true);
        if (photo.canRead()) {
            const QSize size = photo.size();
            if (size.isValid() && (size.width() > 1200 || size.height() > 1200))
                photo.setScaledSize(size.scaled(1200, 1200, Qt::KeepAspectRatio));
            in.addPicture(QStringLiteral("Img_Photo"), photo.read());
        }
        return prepare(QStringLiteral("Fich"), fr("Carnet de santé"), in);
    } catch (const DbError& e) {
        return failed(e.message());
    }
}

ReportOutcome ReportRunner::reminderTables(int animalId)
{
    nameAnimal(animalId);
    CloseQueries closer{m_module};
    try {
        if (m_settings.refreshReminders)
            m_settings.refreshReminders(animalId);
        reportqueries::closeAll(m_module);
        reportqueries::openReminderDetails(m_module, animalId);
        return prepare(QStringLiteral("TableList"), QStringLiteral("Tableaux de rappel"), input());
    } catch (const DbError& e) {
        return failed(e.message());
    }
}

ReportOutcome ReportRunner::chart(const QImage& chart, const QString& chartTitle,
                                  const QString& subtitle)
{
    const QString title = chartTitle.section(QLatin1Char('\n'), 0, 0) + QStringLiteral(" (") +
                          subtitle + QLatin1Char(')');
    setTitleText(title);
    // The picture goes to the engine in memory: no file to leave behind.
    ReportInput in = input();
    in.addPicture(QStringLiteral("Img_Stat"), chart);
    return prepare(QStringLiteral("Stat"), title, in);
}

} // namespace tav
