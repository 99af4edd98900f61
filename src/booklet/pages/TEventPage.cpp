#include "booklet/pages/TEventPage.h"

#include "booklet/AppContext.h"
#include "core/Clock.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/TEnterEvents.h"
#include "ui/MessageBox.h"
#include "ui_TEventPage.h"

#include <QTableView>
#include <QToolButton>

namespace tav {

TEventPage::TEventPage(AppContext& context, int index, QWidget* parent)
    : GridPage(context, "Event", index, QString::fromUtf8("Evénements"), parent)
{
    Ui::TEventPage form;
    form.setupUi(this);
    setUpGrid(form.Grid_Event);
    setRowCommands("Event");
    connect(form.Btn_Event_Add, &QToolButton::clicked, this, &TEventPage::Btn_Event_AddClick);
    connect(form.Btn_Event_Edit, &QToolButton::clicked, this, &TEventPage::Btn_Event_EditClick);
    connect(form.Btn_Event_Delete, &QToolButton::clicked, this, &TEventPage::Btn_Event_DeleteClick);
    connect(form.Grid_Event, &QAbstractItemView::doubleClicked, this,
            &TEventPage::Btn_Event_EditClick);
}

QVector<DataSet::FilterTerm> TEventPage::filter(qint64 animalId) const
{
    return {{QStringLiteral("Event.Id_Ref"), animalId}};
}

void TEventPage::showCurrentRow()
{
    const DataSet& d = display();
    if (d.isOpen() && !d.isEmpty() && d.recNo() >= 0)
        grid()->setCurrentIndex(grid()->model()->index(d.recNo(), 0));
}

void TEventPage::enter()
{
    DataSet& event = display();
    {
        TEnterEvents window(event, this);
        window.exec();
    }
    // A window closed without a decision leaves nothing half written.
    if (event.isEditing())
        event.cancel();
    showCurrentRow();
    emit controlsChanged();
}

void TEventPage::Btn_Event_AddClick()
{
    if (!hasAnimal())
        return;
    DataSet& event = display();
    try {
        if (!event.isOpen())
            load(-1);
        event.append();
        event.setValue(QStringLiteral("Id_Ref"), animalId());
        event.setValue(QStringLiteral("Date_Event"), Clock::today());
    } catch (const DbError& e) {
        if (event.isEditing())
            event.cancel();
        showError(this, e.message());
        return;
    }
    enter();
}

void TEventPage::Btn_Event_EditClick()
{
    auto* edit = findChild<QToolButton*>(QStringLiteral("Btn_Event_Edit"));
    DataSet& event = display();
    if (!edit->isEnabled() || !event.isOpen() || event.isEmpty())
        return;
    try {
        event.edit();
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    enter();
}

void TEventPage::Btn_Event_DeleteClick()
{
    DataSet& event = display();
    if (!event.isOpen() || event.isEmpty() ||
        !MessageBox::question(this, QString::fromUtf8("Désirez-vous supprimer cet événement ?")))
        return;
    try {
        event.remove();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    showCurrentRow();
    emit controlsChanged();
}

QString TEventPage::exportFileName() const
{
    return fileNameFor(QString::fromUtf8("Evénements"), animalName());
}

} // namespace tav
