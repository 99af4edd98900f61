#include "booklet/pages/TVaccinePage.h"

#include "booklet/AppContext.h"
#include "booklet/pages/StripedGrid.h"
#include "booklet/pages/VaccineGridModel.h"
#include "core/Clock.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/TCareEntry.h"
#include "ui/MessageBox.h"
#include "ui_TVaccinePage.h"

#include <QTableView>
#include <QToolButton>

namespace tav {

TVaccinePage::TVaccinePage(AppContext& context, int index, QWidget* parent)
    : BookletPage(index, QStringLiteral("Vaccins"), parent), m_context(context)
{
    Ui::TVaccinePage form;
    form.setupUi(this);
    m_grid = form.Grid_Vaccine;
    styleStripedGrid(m_grid);
    connect(form.Btn_Vaccine_Add, &QToolButton::clicked, this, &TVaccinePage::Btn_Vaccine_AddClick);
    connect(form.Btn_Vaccine_Edit, &QToolButton::clicked, this,
            &TVaccinePage::Btn_Vaccine_EditClick);
    connect(form.Btn_Vaccine_Delete, &QToolButton::clicked, this,
            &TVaccinePage::Btn_Vaccine_DeleteClick);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this]() {
        if (findChild<QToolButton*>(QStringLiteral("Btn_Vaccine_Edit"))->isEnabled())
            Btn_Vaccine_EditClick();
    });
    if (!m_context.module1)
        return;
    m_model = new VaccineGridModel(display(), this);
    m_grid->setModel(m_model);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                DataSet& d = display();
                if (current.isValid() && d.isOpen() && current.row() != d.recNo())
                    d.moveTo(current.row());
                emit controlsChanged();
            });
}

DataSet& TVaccinePage::display() const
{
    return m_context.module1->dataSet(QStringLiteral("VaccineQuery"));
}

bool TVaccinePage::hasAnimal() const
{
    return m_context.module1 && m_context.module1->animal().isOpen() &&
           !m_context.module1->animal().isEmpty();
}

qint64 TVaccinePage::animalId() const
{
    return hasAnimal() ? m_context.module1->animal().value(QStringLiteral("Id")).toLongLong() : -1;
}

qint64 TVaccinePage::currentId() const
{
    const DataSet& d = display();
    return d.isOpen() && !d.isEmpty() ? d.value(QStringLiteral("Id")).toLongLong() : -1;
}

void TVaccinePage::refresh()
{
    load(-1);
}

void TVaccinePage::load(qint64 selectId)
{
    if (!m_context.module1)
        return;
    DataSet& d = display();
    try {
        d.close();
        d.replaceWhereLine(QStringLiteral("WHERE Vaccine.Id_Ref=") + QString::number(animalId()));
        d.open();
        if (selectId < 0 || !d.locateId(selectId))
            d.first();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    applyDesignWidths(m_grid);
    if (m_model && d.isOpen() && !d.isEmpty()) {
        const QModelIndex index = m_model->index(d.recNo(), 0);
        m_grid->setCurrentIndex(index);
        m_grid->scrollTo(index);
    }
}

void TVaccinePage::Btn_Vaccine_AddClick()
{
    if (!hasAnimal())
        return;
    DataSet& vaccine = m_context.module1->dataSet(QStringLiteral("Vaccine"));
    try {
        vaccine.open();
        vaccine.append();
        vaccine.setValue(QStringLiteral("Id_Ref"), animalId());
        vaccine.setValue(QStringLiteral("Date_Vaccine"), Clock::today());
        TEnterVaccineExe window(vaccine, this);
        window.exec();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    if (vaccine.isEditing())
        vaccine.cancel();
    load(-1);
    emit controlsChanged();
    vaccine.close();
}

void TVaccinePage::Btn_Vaccine_EditClick()
{
    const qint64 id = currentId();
    if (id < 0)
        return;
    DataSet& vaccine = m_context.module1->dataSet(QStringLiteral("Vaccine"));
    try {
        vaccine.open();
        if (vaccine.locateId(id)) {
            vaccine.edit();
            TEnterVaccineExe window(vaccine, this);
            window.exec();
        }
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    if (vaccine.isEditing())
        vaccine.cancel();
    vaccine.close();
    load(id);
    emit controlsChanged();
}

void TVaccinePage::Btn_Vaccine_DeleteClick()
{
    const qint64 id = currentId();
    if (id < 0 ||
        !MessageBox::question(this, QString::fromUtf8("Désirez-vous supprimer ce vaccin ?")))
        return;
    DataSet& vaccine = m_context.module1->dataSet(QStringLiteral("Vaccine"));
    try {
        vaccine.open();
        if (vaccine.locateId(id))
            vaccine.remove();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    vaccine.close();
    load(-1);
    emit controlsChanged();
}

QString TVaccinePage::exportFileName() const
{
    return fileNameFor(QStringLiteral("Vaccins"),
                       hasAnimal() ? m_context.module1->animal().asString(QStringLiteral("Name"))
                                   : QString());
}

CsvTable TVaccinePage::exportTable() const
{
    if (!m_context.module1 || !display().isOpen())
        return {};
    return csvTableFromDataSet(display());
}

} // namespace tav
