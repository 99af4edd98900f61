#include "booklet/pages/TVaccinePage.h"

#include "booklet/AppContext.h"
#include "booklet/pages/VaccineGridModel.h"
#include "core/Clock.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dialogs/TCareEntry.h"
#include "ui/MessageBox.h"
#include "ui_TVaccinePage.h"

#include <QTableView>
#include <QToolButton>

namespace tav {

TVaccinePage::TVaccinePage(AppContext& context, int index, QWidget* parent)
    : GridPage(context, "VaccineQuery", index, QStringLiteral("Vaccins"), parent)
{
    Ui::TVaccinePage form;
    form.setupUi(this);
    setUpGrid(form.Grid_Vaccine, context.module1 ? new VaccineGridModel(display(), this) : nullptr);
    setRowCommands("Vaccine");
    connect(form.Btn_Vaccine_Add, &QToolButton::clicked, this, &TVaccinePage::Btn_Vaccine_AddClick);
    connect(form.Btn_Vaccine_Edit, &QToolButton::clicked, this,
            &TVaccinePage::Btn_Vaccine_EditClick);
    connect(form.Btn_Vaccine_Delete, &QToolButton::clicked, this,
            &TVaccinePage::Btn_Vaccine_DeleteClick);
    connect(form.Grid_Vaccine, &QAbstractItemView::doubleClicked, this, [this]() {
        if (findChild<QToolButton*>(QStringLiteral("Btn_Vaccine_Edit"))->isEnabled())
            Btn_Vaccine_EditClick();
    });
}

QVector<DataSet::FilterTerm> TVaccinePage::filter(qint64 animalId) const
{
    return {{QStringLiteral("Vaccine.Id_Ref"), animalId}};
}

void TVaccinePage::Btn_Vaccine_AddClick()
{
    if (!hasAnimal())
        return;
    withTableRow(QStringLiteral("Vaccine"), -1, [this](DataSet& vaccine) {
        vaccine.append();
        vaccine.setValue(QStringLiteral("Id_Ref"), animalId());
        vaccine.setValue(QStringLiteral("Date_Vaccine"), Clock::today());
        TEnterVaccineExe window(vaccine, this);
        window.offerAddingReferences(*m_context.module1);
        window.exec();
    });
    load(-1);
    emit controlsChanged();
}

void TVaccinePage::Btn_Vaccine_EditClick()
{
    const qint64 id = currentId();
    if (id < 0)
        return;
    withTableRow(QStringLiteral("Vaccine"), id, [this](DataSet& vaccine) {
        vaccine.edit();
        TEnterVaccineExe window(vaccine, this);
        window.offerAddingReferences(*m_context.module1);
        window.exec();
    });
    load(id);
    emit controlsChanged();
}

void TVaccinePage::Btn_Vaccine_DeleteClick()
{
    const qint64 id = currentId();
    if (id < 0 ||
        !MessageBox::question(this, QString::fromUtf8("Désirez-vous supprimer ce vaccin ?")))
        return;
    withTableRow(QStringLiteral("Vaccine"), id, [](DataSet& vaccine) { vaccine.remove(); });
    load(-1);
    emit controlsChanged();
}

QString TVaccinePage::exportFileName() const
{
    return fileNameFor(QStringLiteral("Vaccins"), animalName());
}

} // namespace tav
