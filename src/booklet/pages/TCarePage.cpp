#include "booklet/pages/TCarePage.h"

#include "booklet/AppContext.h"
#include "booklet/pages/StripedGrid.h"
#include "core/Clock.h"
#include "db/CareTotals.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DataSetModel.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "dialogs/TCareEntry.h"
#include "dialogs/TEnterRepayment.h"
#include "ui/MessageBox.h"
#include "ui_TConsultPage.h"
#include "ui_TPharmacyPage.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QToolButton>

namespace tav {

namespace {

// The reimbursement button opens its menu up and to the left of itself.
const QPoint kMenuOffset(-120, -42);

} // namespace

TCarePage::TCarePage(AppContext& context, const Definition& definition, int index,
                     const QString& caption, QWidget* parent)
    : BookletPage(index, caption, parent), m_context(context), m_definition(definition)
{}

TCarePage::~TCarePage() = default;

QString TCarePage::name(const char* suffix) const
{
    return QStringLiteral("Btn_") + QLatin1String(m_definition.prefix) + QLatin1Char('_') +
           QLatin1String(suffix);
}

void TCarePage::setUp()
{
    m_grid = findChild<QTableView*>(QStringLiteral("Grid_") + QLatin1String(m_definition.prefix));
    m_totals = findChild<QLabel*>(QStringLiteral("Lab_") + QLatin1String(m_definition.prefix) +
                                  QStringLiteral("_Totals"));
    m_pin = findChild<QToolButton*>(name("Pin"));
    styleStripedGrid(m_grid);

    connect(findChild<QToolButton*>(name("Add")), &QToolButton::clicked, this,
            &TCarePage::addClick);
    connect(findChild<QToolButton*>(name("Edit")), &QToolButton::clicked, this,
            &TCarePage::editClick);
    connect(findChild<QToolButton*>(name("Delete")), &QToolButton::clicked, this,
            &TCarePage::deleteClick);
    connect(m_pin, &QToolButton::clicked, this, &TCarePage::pinClick);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this]() {
        if (findChild<QToolButton*>(name("Edit"))->isEnabled())
            editClick();
    });
    m_grid->viewport()->installEventFilter(this);

    const QString menuName =
        QStringLiteral("Popup_") + QLatin1String(m_definition.prefix) + QStringLiteral("Repayment");
    m_menu = new QMenu(this);
    m_menu->setObjectName(menuName);
    QAction* secu = m_menu->addAction(QString::fromUtf8("Sécurité sociale"));
    secu->setObjectName(menuName + QStringLiteral("_Secu"));
    QAction* comp = m_menu->addAction(QString::fromUtf8("Caisse complémentaire"));
    comp->setObjectName(menuName + QStringLiteral("_Comp"));
    connect(secu, &QAction::triggered, this, [this]() { recordRepayment(1); });
    connect(comp, &QAction::triggered, this, [this]() { recordRepayment(2); });
    connect(m_menu, &QMenu::aboutToShow, this, &TCarePage::prepareMenu);

    if (!m_context.module1)
        return;
    m_model = new DataSetModel(&display(), this);
    m_grid->setModel(m_model);
    // The grid and the display query share one current row; the commands
    // that depend on it follow.
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                DataSet& d = display();
                if (current.isValid() && d.isOpen() && current.row() != d.recNo())
                    d.moveTo(current.row());
                emit controlsChanged();
            });
}

DataSet& TCarePage::display() const
{
    return m_context.module1->dataSet(QString::fromLatin1(m_definition.display));
}

bool TCarePage::hasAnimal() const
{
    return m_context.module1 && m_context.module1->animal().isOpen() &&
           !m_context.module1->animal().isEmpty();
}

qint64 TCarePage::animalId() const
{
    return hasAnimal() ? m_context.module1->animal().value(QStringLiteral("Id")).toLongLong() : -1;
}

qint64 TCarePage::currentId() const
{
    const DataSet& d = display();
    return d.isOpen() && !d.isEmpty() ? d.value(QStringLiteral("Id")).toLongLong() : -1;
}

bool TCarePage::currentRowOpen() const
{
    if (!m_context.module1)
        return false;
    const DataSet& d = display();
    if (!d.isOpen() || d.isEmpty())
        return false;
    return !(d.asBool(QStringLiteral("Repayment")) && d.asBool(QStringLiteral("Repayment_Comp")));
}

void TCarePage::refresh()
{
    load(-1);
}

void TCarePage::load(qint64 selectId)
{
    if (!m_context.module1)
        return;
    DataSet& d = display();
    try {
        d.close();
        d.replaceWhereLine(QStringLiteral("WHERE Tag=") + QString::number(m_definition.tag) +
                           QStringLiteral(" AND Action.Id_Ref=") + QString::number(animalId()));
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
    showTotals();
}

void TCarePage::showTotals()
{
    if (!m_totals)
        return;
    if (!hasAnimal()) {
        m_totals->clear();
        return;
    }
    QString format;
    const DataSet& d = display();
    if (const int price = d.fieldIndex(QStringLiteral("Price")); price >= 0)
        format = d.field(price).def.displayFormat;
    if (format.isEmpty())
        format = moneyFormat(QLocale().currencySymbol(QLocale::CurrencySymbol));
    try {
        m_totals->setText(careTotalsText(
            careTotals(*m_context.connection, animalId(), m_definition.tag, Clock::today().year()),
            format));
    } catch (const DbError& e) {
        m_totals->clear();
        showError(this, e.message());
    }
}

bool TCarePage::runEntry(DataSet& action)
{
    DataSet& combo = m_context.module1->dataSet(QStringLiteral("ComboItems"));
    if (m_definition.tag == 1) {
        TEnterConsult window(action, combo, this);
        return window.exec() == QDialog::Accepted;
    }
    TEnterDrugPharmacy window(action, this);
    return window.exec() == QDialog::Accepted;
}

void TCarePage::addClick()
{
    if (!hasAnimal())
        return;
    DataSet& action = m_context.module1->dataSet(QStringLiteral("Action"));
    try {
        action.open();
        action.append();
        action.setValue(QStringLiteral("Tag"), m_definition.tag);
        runEntry(action);
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    if (action.isEditing())
        action.cancel();
    action.close();
    load(-1);
    emit controlsChanged();
}

void TCarePage::editClick()
{
    const qint64 id = currentId();
    if (id < 0)
        return;
    DataSet& action = m_context.module1->dataSet(QStringLiteral("Action"));
    try {
        action.open();
        if (action.locateId(id)) {
            action.edit();
            runEntry(action);
        }
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    if (action.isEditing())
        action.cancel();
    action.close();
    load(id);
    emit controlsChanged();
}

void TCarePage::deleteClick()
{
    const qint64 id = currentId();
    if (id < 0 ||
        !MessageBox::question(this, QString::fromUtf8("Désirez-vous supprimer cet acte ?")))
        return;
    DataSet& action = m_context.module1->dataSet(QStringLiteral("Action"));
    try {
        action.open();
        if (action.locateId(id))
            action.remove();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    action.close();
    load(-1);
    emit controlsChanged();
}

void TCarePage::prepareMenu()
{
    const DataSet& d = display();
    const bool row = m_context.module1 && d.isOpen() && !d.isEmpty();
    const auto actions = m_menu->actions();
    actions.at(0)->setEnabled(row && !d.asBool(QStringLiteral("Repayment")));
    actions.at(1)->setEnabled(row && !d.asBool(QStringLiteral("Repayment_Comp")));
}

void TCarePage::pinClick()
{
    if (!currentRowOpen())
        return;
    m_menu->popup(m_pin->mapToGlobal(QPoint(0, 0)) + kMenuOffset);
}

bool TCarePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A row paid back by both payers has nothing left to record.
        if (mouse->button() == Qt::RightButton && currentRowOpen())
            m_menu->popup(mouse->globalPosition().toPoint());
    }
    return BookletPage::eventFilter(watched, event);
}

void TCarePage::recordRepayment(int kind)
{
    const qint64 id = currentId();
    if (id < 0)
        return;
    confirmRepayment(this, m_context.module1->dataSet(QStringLiteral("Action")), id, kind);
    load(id);
    emit controlsChanged();
}

QString TCarePage::exportFileName() const
{
    return fileNameFor(QString::fromUtf8(m_definition.exportName),
                       hasAnimal() ? m_context.module1->animal().asString(QStringLiteral("Name"))
                                   : QString());
}

CsvTable TCarePage::exportTable() const
{
    if (!m_context.module1 || !display().isOpen())
        return {};
    return csvTableFromDataSet(display());
}

TConsultPage::TConsultPage(AppContext& context, int index, QWidget* parent)
    : TCarePage(context, {1, "Consult", "ConsultQuery", "Actes"}, index, QStringLiteral("Actes"),
                parent)
{
    Ui::TConsultPage form;
    form.setupUi(this);
    setUp();
}

TPharmacyPage::TPharmacyPage(AppContext& context, int index, QWidget* parent)
    : TCarePage(context, {2, "Pharmacy", "PharmacyQuery", "Médicaments"}, index,
                QString::fromUtf8("Médicaments"), parent)
{
    Ui::TPharmacyPage form;
    form.setupUi(this);
    setUp();
}

} // namespace tav
