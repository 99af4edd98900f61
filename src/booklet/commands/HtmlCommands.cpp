#include "booklet/commands/HtmlCommands.h"

#include "booklet/AnimalSilhouette.h"
#include "booklet/AppContext.h"
#include "booklet/commands/CurrentAnimal.h"
#include "booklet/commands/SettingsCommands.h"
#include "charts/MeasureChartPicture.h"
#include "core/AppInfo.h"
#include "core/TextLookup.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "db/HtmlBookletStore.h"
#include "db/ReminderStore.h"
#include "dialogs/THtmlView.h"
#include "output/HtmlBooklet.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QLocale>
#include <QWidget>

namespace tav {

HtmlCommands::HtmlCommands(AppContext& context, QWidget* window, const SettingsCommands& settings)
    : QObject(window), m_context(context), m_window(window), m_settings(settings),
      m_silhouette(animalSilhouette())
{}

void HtmlCommands::show(Page page)
{
    const int animalId = currentAnimalId(m_context);
    if (animalId < 0 || !postAnimalBeingTyped(m_window, m_context))
        return;
    QString error;
    const QString folder = prepareHtmlFolders(m_context.dataFolder, &error);
    if (folder.isEmpty()) {
        showError(m_window, error);
        return;
    }
    HtmlOutputOptions options;
    options.databaseFolder = m_context.databaseFolder();
    options.currencySymbol = moneySymbol(m_context.currencySymbol.isEmpty()
                                             ? QLocale().currencySymbol(QLocale::CurrencySymbol)
                                             : m_context.currencySymbol);
    options.silhouette = m_silhouette;
    Connection* connection = m_context.connection;
    options.chart = [connection](int animalId, MeasureKind kind, CurveMode mode, QSize size) {
        return renderMeasureChart(*connection, animalId, kind, mode, size);
    };
    options.makerName = appinfo::makerName();
    options.webSite =
        lookupText(QStringLiteral("Common"), QStringLiteral("WebSite"), appinfo::webSite());
    HtmlResult result;
    QString title = QStringLiteral(" Tableaux");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        HtmlBookletStore store(*connection);
        TablesPageData tables;
        switch (page) {
        case Page::Booklet:
            title = QStringLiteral(" Fiche de santé");
            result = writeBookletPage(store.booklet(animalId), folder, options);
            break;
        case Page::Consultations:
            tables.consultTitle = QStringLiteral("HISTORIQUE DES ACTES");
            tables.consultations = store.consultations(animalId, HtmlBookletStore::Acts::All);
            result = writeTablesPage(tables, folder, options);
            break;
        case Page::Medicines:
            tables.medicineTitle = QStringLiteral("HISTORIQUE DES MEDICAMENTS");
            tables.medicines = store.medicines(animalId, HtmlBookletStore::Acts::All);
            result = writeTablesPage(tables, folder, options);
            break;
        case Page::Reminders:
            ReminderStore(*connection).refreshVaccineReminders(animalId);
            tables.consultTitle = QStringLiteral("ACTES NON REMBOURSEES");
            tables.medicineTitle = QStringLiteral("MEDICAMENTS NON REMBOURSES");
            tables.reminderTitle = QStringLiteral("RAPPELS DE VACCINATION");
            tables.consultations =
                store.consultations(animalId, HtmlBookletStore::Acts::NotReimbursed);
            tables.medicines = store.medicines(animalId, HtmlBookletStore::Acts::NotReimbursed);
            tables.reminders = store.dueReminders(animalId);
            result = writeTablesPage(tables, folder, options);
            break;
        }
    } catch (const DbError& e) {
        result.ok = false;
        result.error = e.message();
    }
    QApplication::restoreOverrideCursor();
    if (!result.ok) {
        showError(m_window, result.error);
        return;
    }
    THtmlView view(result.pagePath, title, m_window);
    view.setSaveFolder(m_context.dataFolder);
    view.setPrinter(m_settings.chosenPrinter());
    view.exec();
}

} // namespace tav
