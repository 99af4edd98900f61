// The main window's pages and the enabled state of its commands.
#include "booklet/AnimalListModel.h"
#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/BookletPage.h"
#include "booklet/pages/TAnalysisPage.h"
#include "booklet/pages/TCustomPage.h"
#include "booklet/pages/TGeneralPage.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "ui_TMainForm.h"

#include <QStackedWidget>

using namespace tav;

void TMainForm::addControlRule(const QString& objectName, ControlRule rule)
{
    m_controlRules.append({objectName, std::move(rule)});
}

void TMainForm::buildControlRules()
{
    auto always = []() {
        return true;
    };
    // The pages enable their own commands; these are the window's.
    addControlRule(QStringLiteral("Btn_Main_Delete"), always);
    addControlRule(QStringLiteral("Btn_Main_Prior"), [this]() { return selectedRow() > 0; });
    addControlRule(QStringLiteral("Btn_Main_Next"),
                   [this]() { return selectedRow() < m_listModel->rowCount() - 1; });
    // The commands that open outputs act on the current animal.
    for (const char* name :
         {"Menu_Impression", "Menu_Html", "Menu_Tableaux", "Btn_Table", "Btn_Imprimer", "Btn_Html"})
        addControlRule(QString::fromLatin1(name), always);
}

void TMainForm::updateControls()
{
    const bool empty = animalEmpty();
    if (auto* record = control(QStringLiteral("Btn_Main_Record")))
        record->setEnabled(m_context.module1 && animal().isEditing());
    for (BookletPage* page : std::as_const(m_pages))
        page->updateActions(!empty);
    for (const auto& [name, rule] : std::as_const(m_controlRules)) {
        const bool enabled = !empty && rule();
        if (QWidget* w = control(name)) {
            w->setEnabled(enabled);
        } else if (auto* menu = findChild<QMenu*>(name)) {
            menu->menuAction()->setEnabled(enabled);
        }
    }
}

void TMainForm::TabNoteBookTabChange(int newTab)
{
    // The page being left gives back its rows.
    if (m_context.module1) {
        if (auto* leaving = qobject_cast<BookletPage*>(m_ui->AANotebook1->currentWidget());
            leaving && m_ui->AANotebook1->currentIndex() != newTab)
            leaving->leavePage();
    }
    m_ui->AANotebook1->setCurrentIndex(newTab);
    if (!m_context.module1)
        return;
    if (auto* page = qobject_cast<BookletPage*>(m_ui->AANotebook1->currentWidget()))
        page->enterPage();
    updateControls();
}

void TMainForm::RefreshCurrentPage()
{
    if (auto* page = qobject_cast<BookletPage*>(m_ui->AANotebook1->currentWidget()))
        page->refresh();
}

void TMainForm::refreshSpeciesBreed()
{
    RefreshCurrentPage();
    for (BookletPage* page : std::as_const(m_pages))
        page->refreshFacts();
}

void TMainForm::titlesChanged()
{
    // The list's headers and the pages show the titles.
    buildAnimalList(animalEmpty() ? -1 : animal().asInt(QStringLiteral("Id")));
    refreshSpeciesBreed();
}

TGeneralPage* TMainForm::generalPage() const
{
    return page<TGeneralPage>();
}

TCustomPage* TMainForm::customPage() const
{
    return page<TCustomPage>();
}

int TMainForm::currentAnalysisId() const
{
    const TAnalysisPage* analyses = page<TAnalysisPage>();
    return analyses ? analyses->currentAnalysisId() : -1;
}
