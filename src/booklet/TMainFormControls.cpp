// The main window's pages and the enabled state of its commands.
#include "booklet/AnimalListModel.h"
#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/BookletPage.h"
#include "booklet/pages/TCarePage.h"
#include "booklet/pages/TGeneralPage.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/VersionRow.h"
#include "dialogs/TAbout.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>

using namespace tav;

namespace {

QString pageCaption(QStackedWidget* notebook, int index)
{
    QWidget* page = notebook->widget(index);
    return page ? page->property("caption").toString() : QString();
}

} // namespace

void TMainForm::addControlRule(const QString& objectName, ControlRule rule)
{
    m_controlRules.append({objectName, std::move(rule)});
}

void TMainForm::buildControlRules()
{
    auto always = []() {
        return true;
    };
    // Fields and commands of the identity card and the list that need an
    // animal and nothing more.
    QStringList plain = {QStringLiteral("Ed_Name"),          QStringLiteral("Ed_Identification_No"),
                         QStringLiteral("Ed_BirthDay_Date"), QStringLiteral("Btn_BirthDay_Date"),
                         QStringLiteral("Ed_BirthDay_City"), QStringLiteral("Btn_BirthDay_City"),
                         QStringLiteral("Ed_Blood"),         QStringLiteral("Btn_Blood"),
                         QStringLiteral("Ed_Insurance"),     QStringLiteral("Ed_Previous"),
                         QStringLiteral("Memo_Divers11"),    QStringLiteral("Memo_Divers12"),
                         QStringLiteral("Btn_Select_Img"),   QStringLiteral("Btn_Delete_Img"),
                         QStringLiteral("Btn_Main_Delete")};
    for (int i = 1; i <= 10; ++i) {
        const QString n = QString::number(i).rightJustified(2, QLatin1Char('0'));
        plain << QStringLiteral("Ed_Misc") + n << QStringLiteral("Btn_Misc") + n;
    }
    for (const QString& name : std::as_const(plain))
        addControlRule(name, always);
    addControlRule(QStringLiteral("Btn_Main_Prior"), [this]() { return selectedRow() > 0; });
    addControlRule(QStringLiteral("Btn_Main_Next"),
                   [this]() { return selectedRow() < m_listModel->rowCount() - 1; });
    // The commands that open outputs act on the current animal.
    for (const char* name :
         {"Menu_Impression", "Menu_Html", "Menu_Tableaux", "Btn_Table", "Btn_Imprimer", "Btn_Html"})
        addControlRule(QString::fromLatin1(name), always);

    // The care pages: adding needs an animal, changing and deleting a row,
    // recording a reimbursement a row that a payer has still to pay back.
    const auto hasRow = [this](const char* query) {
        return [this, query]() {
            if (!m_context.module1)
                return false;
            const DataSet& d = m_context.module1->dataSet(QString::fromLatin1(query));
            return d.isOpen() && !d.isEmpty();
        };
    };
    for (const auto& [prefix, query] :
         {std::pair{"Consult", "ConsultQuery"}, std::pair{"Pharmacy", "PharmacyQuery"},
          std::pair{"Vaccine", "VaccineQuery"}}) {
        const QString buttons = QStringLiteral("Btn_") + QLatin1String(prefix);
        addControlRule(buttons + QStringLiteral("_Add"), always);
        addControlRule(buttons + QStringLiteral("_Edit"), hasRow(query));
        addControlRule(buttons + QStringLiteral("_Delete"), hasRow(query));
    }
    for (int index : {3, 4}) {
        addControlRule(index == 3 ? QStringLiteral("Btn_Consult_Pin")
                                  : QStringLiteral("Btn_Pharmacy_Pin"),
                       [this, index]() {
                           auto* page = qobject_cast<TCarePage*>(m_pages.value(index));
                           return page && page->currentRowOpen();
                       });
    }
}

void TMainForm::updateControls()
{
    const bool empty = animalEmpty();
    if (auto* record = control(QStringLiteral("Btn_Main_Record")))
        record->setEnabled(m_context.module1 && animal().isEditing());
    for (BookletPage* page : std::as_const(m_pages))
        page->setAnimalPresent(!empty);
    for (const auto& [name, rule] : std::as_const(m_controlRules)) {
        const bool enabled = !empty && rule();
        if (QWidget* w = control(name)) {
            w->setEnabled(enabled);
        } else if (auto* menu = findChild<QMenu*>(name)) {
            menu->menuAction()->setEnabled(enabled);
        }
    }
}

void TMainForm::setConsultPinEnabled(bool enabled)
{
    if (QWidget* w = control(QStringLiteral("Btn_Consult_Pin")))
        w->setEnabled(enabled);
}

void TMainForm::setPharmacyPinEnabled(bool enabled)
{
    if (QWidget* w = control(QStringLiteral("Btn_Pharmacy_Pin")))
        w->setEnabled(enabled);
}

void TMainForm::TabNoteBookTabChange(int newTab)
{
    if (!m_context.module1) {
        m_notebook->setCurrentIndex(newTab);
        return;
    }
    // The page being left gives back its rows.
    const QString leaving = pageCaption(m_notebook, m_notebook->currentIndex());
    const QHash<QString, QString> released = {
        {QStringLiteral("Actes"), QStringLiteral("ConsultQuery")},
        {QStringLiteral("Médicaments"), QStringLiteral("PharmacyQuery")},
        {QStringLiteral("Analyses"), QStringLiteral("Analysis")},
        {QStringLiteral("Vaccins"), QStringLiteral("VaccineQuery")},
        {QStringLiteral("Evénements"), QStringLiteral("Event")}};
    if (released.contains(leaving))
        m_context.module1->dataSet(released.value(leaving)).close();
    m_notebook->setCurrentIndex(newTab);
    RefreshCurrentPage();
    updateControls();
}

void TMainForm::RefreshCurrentPage()
{
    if (auto* page = qobject_cast<BookletPage*>(m_notebook->currentWidget()))
        page->refresh();
}

void TMainForm::refreshSpeciesBreed()
{
    RefreshCurrentPage();
    if (m_generalPage) {
        m_generalPage->refreshSpeciesBreed();
        m_generalPage->refreshTargetWeight();
    }
}

void TMainForm::showAbout()
{
    AboutFacts facts;
    facts.dataFolder = m_context.dataFolder;
    facts.databaseFile = m_context.dbConfig.databaseFilePath();
    facts.settingsFile = m_context.settingsPath;
    if (m_context.connection) {
        facts.schemaVersion = readDatabaseVersion(*m_context.connection);
        facts.sqliteVersion = sqliteVersion(*m_context.connection);
    }
    TAbout window(facts, this);
    window.exec();
}
