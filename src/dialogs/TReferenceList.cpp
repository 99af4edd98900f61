#include "dialogs/TReferenceList.h"

#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DataSetModel.h"
#include "db/DbError.h"
#include "dialogs/ReferenceLists.h"
#include "dialogs/TReferenceEntry.h"
#include "ui/FramedWindow.h"
#include "ui/GridLook.h"
#include "ui/MessageBox.h"
#include "ui_TReferenceList.h"

#include <QHeaderView>
#include <QPushButton>

using namespace tav;

TReferenceList::TReferenceList(ReferenceKind kind, DataModule1& module, QWidget* parent)
    : TReferenceList(referenceListDefinition(kind), module, parent)
{}

TReferenceList::TReferenceList(const ReferenceListDefinition& definition, DataModule1& module,
                               QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TReferenceList>()), m_definition(definition),
      m_module(module), m_dataSet(module.dataSet(QString::fromLatin1(m_definition.dataSet)))
{
    m_ui->setupUi(this);
    m_ui->Title->setText(QString::fromUtf8(m_definition.listTitle));

    // The selection stays as visible while the buttons have the focus.
    QPalette palette = m_ui->Grid_List->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    m_ui->Grid_List->setPalette(palette);

    connect(m_ui->Btn_Add, &QPushButton::clicked, this, &TReferenceList::Btn_AddClick);
    connect(m_ui->Btn_Edit, &QPushButton::clicked, this, &TReferenceList::Btn_EditClick);
    connect(m_ui->Btn_Delete, &QPushButton::clicked, this, &TReferenceList::Btn_DeleteClick);
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Grid_List, &QAbstractItemView::doubleClicked, this, [this]() {
        if (m_ui->Btn_Edit->isEnabled())
            Btn_EditClick();
    });
    prepareWindow(this, false);
}

TReferenceList::~TReferenceList()
{
    m_dataSet.close();
}

QTableView* TReferenceList::grid() const
{
    return m_ui->Grid_List;
}

void TReferenceList::open()
{
    m_dataSet.open();
    m_model = new DataSetModel(&m_dataSet, this);
    m_ui->Grid_List->setModel(m_model);
    applyDesignWidths(m_ui->Grid_List);
    // The grid and the query share one current row.
    connect(m_ui->Grid_List->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() != m_dataSet.recNo() &&
                    !m_dataSet.isEditing())
                    m_dataSet.moveTo(current.row());
            });
    connect(&m_dataSet, &DataSet::currentChanged, this, &TReferenceList::selectCurrentRow);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TReferenceList::selectCurrentRow);
    selectCurrentRow();
    applyButtonRule();
}

void TReferenceList::done(int result)
{
    if (m_dataSet.isEditing())
        m_dataSet.cancel();
    m_dataSet.close();
    QDialog::done(result);
}

void TReferenceList::applyButtonRule()
{
    const bool empty = !m_dataSet.isOpen() || m_dataSet.isEmpty();
    m_ui->Btn_Edit->setEnabled(!empty);
    m_ui->Btn_Delete->setEnabled(!empty);
}

void TReferenceList::selectCurrentRow()
{
    const int row = m_dataSet.isOpen() ? m_dataSet.recNo() : -1;
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    if (m_ui->Grid_List->currentIndex().row() != row)
        m_ui->Grid_List->setCurrentIndex(index);
    m_ui->Grid_List->scrollTo(index);
}

std::unique_ptr<QDialog> TReferenceList::makeEntry()
{
    return makeReferenceEntry(m_definition.kind, m_dataSet, m_module, this);
}

void TReferenceList::showEntry()
{
    const std::unique_ptr<QDialog> entry = makeEntry();
    if (entry->exec() == QDialog::Accepted) {
        m_changed = true;
        try {
            // The stored row takes its place in the order of the names.
            m_dataSet.refreshKeepRow();
        } catch (const DbError& e) {
            showError(this, e.message());
        }
    }
    applyButtonRule();
    selectCurrentRow();
}

void TReferenceList::Btn_AddClick()
{
    try {
        m_dataSet.append();
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    showEntry();
}

void TReferenceList::Btn_EditClick()
{
    if (m_dataSet.isEmpty())
        return;
    try {
        m_dataSet.edit();
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    showEntry();
}

void TReferenceList::Btn_DeleteClick()
{
    if (m_dataSet.isEmpty())
        return;
    QString question = QString::fromUtf8(m_definition.deleteQuestion);
    try {
        // Say what still names the row before the question, so that the
        // answer is given knowingly.
        const QString usage = referenceUsageText(
            m_definition.kind,
            countReferenceUsage(m_dataSet.connection(), m_definition.kind,
                                m_dataSet.value(QStringLiteral("Id")).toLongLong()));
        if (!usage.isEmpty())
            question = usage + QLatin1Char('\r') + question;
        if (!MessageBox::question(this, question))
            return;
        m_dataSet.remove();
        m_changed = true;
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    applyButtonRule();
    selectCurrentRow();
}

TDoctorList::TDoctorList(DataModule1& module, QWidget* parent)
    : TReferenceList(ReferenceKind::Doctor, module, parent)
{
    setObjectName(QStringLiteral("TDoctorList"));
}

TPharmacyList::TPharmacyList(DataModule1& module, QWidget* parent)
    : TReferenceList(ReferenceKind::Pharmacy, module, parent)
{
    setObjectName(QStringLiteral("TPharmacyList"));
}

TDrugList::TDrugList(DataModule1& module, QWidget* parent)
    : TReferenceList(ReferenceKind::Drug, module, parent)
{
    setObjectName(QStringLiteral("TDrugList"));
}

TVaccineList::TVaccineList(DataModule1& module, QWidget* parent)
    : TReferenceList(ReferenceKind::Vaccine, module, parent)
{
    setObjectName(QStringLiteral("TVaccineList"));
}

TIllnessList::TIllnessList(DataModule1& module, QWidget* parent)
    : TReferenceList(ReferenceKind::Illness, module, parent)
{
    setObjectName(QStringLiteral("TIllnessList"));
}
