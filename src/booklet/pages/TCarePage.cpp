#include "booklet/pages/TCarePage.h"

#include "booklet/AppContext.h"
#include "core/Clock.h"
#include "db/CareTotals.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
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
    : GridPage(context, definition.display, index, caption, parent), m_definition(definition)
{}

TCarePage::~TCarePage() = default;

QString TCarePage::name(const char* suffix) const
{
    return QStringLiteral("Btn_") + QLatin1String(m_definition.prefix) + QLatin1Char('_') +
           QLatin1String(suffix);
}

void TCarePage::setUp()
{
    auto* grid =
        findChild<QTableView*>(QStringLiteral("Grid_") + QLatin1String(m_definition.prefix));
    m_totals = findChild<QLabel*>(QStringLiteral("Lab_") + QLatin1String(m_definition.prefix) +
                                  QStringLiteral("_Totals"));
    m_pin = findChild<QToolButton*>(name("Pin"));
    setUpGrid(grid);
    setRowCommands(m_definition.prefix);
    if (DataModule1* module = m_context.module1) {
        // Amounts show with the currency symbol, in the grid and in the
        // entry window that writes through the table query.
        const QString format = moneyFormat(m_context.currencySymbol.isEmpty()
                                               ? QLocale().currencySymbol(QLocale::CurrencySymbol)
                                               : m_context.currencySymbol);
        for (DataSet* d : {&display(), &module->dataSet(QStringLiteral("Action"))}) {
            for (const char* f :
                 {"Price", "Price_Repayment", "Price_Repayment_Comp", "NoRepayment"})
                d->setDisplayFormat(QString::fromLatin1(f), format);
        }
        // The record rules tell when the current row can still be marked
        // reimbursed.
        connect(module,
                m_definition.tag == 1 ? &DataModule1::consultPinChanged
                                      : &DataModule1::pharmacyPinChanged,
                m_pin, &QWidget::setEnabled);
    }

    connect(findChild<QToolButton*>(name("Add")), &QToolButton::clicked, this,
            &TCarePage::addClick);
    connect(findChild<QToolButton*>(name("Edit")), &QToolButton::clicked, this,
            &TCarePage::editClick);
    connect(findChild<QToolButton*>(name("Delete")), &QToolButton::clicked, this,
            &TCarePage::deleteClick);
    connect(m_pin, &QToolButton::clicked, this, &TCarePage::pinClick);
    connect(grid, &QAbstractItemView::doubleClicked, this, [this]() {
        if (findChild<QToolButton*>(name("Edit"))->isEnabled())
            editClick();
    });
    grid->viewport()->installEventFilter(this);

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

void TCarePage::updateActions(bool animalPresent)
{
    GridPage::updateActions(animalPresent);
    if (m_pin)
        m_pin->setEnabled(animalPresent && currentRowOpen());
}

QVector<DataSet::FilterTerm> TCarePage::filter(qint64 animalId) const
{
    return {{QStringLiteral("Tag"), m_definition.tag}, {QStringLiteral("Action.Id_Ref"), animalId}};
}

void TCarePage::afterLoad()
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

void TCarePage::runEntry(DataSet& action)
{
    if (m_definition.tag == 1) {
        TEnterConsult window(action, m_context.module1->dataSet(QStringLiteral("ComboItems")),
                             this);
        window.offerAddingReferences(*m_context.module1);
        window.exec();
    } else {
        TEnterDrugPharmacy window(action, this);
        window.offerAddingReferences(*m_context.module1);
        window.exec();
    }
}

void TCarePage::addClick()
{
    if (!hasAnimal())
        return;
    withTableRow(QStringLiteral("Action"), -1, [this](DataSet& action) {
        action.append();
        action.setValue(QStringLiteral("Tag"), m_definition.tag);
        runEntry(action);
    });
    load(-1);
    emit controlsChanged();
}

void TCarePage::editClick()
{
    const qint64 id = currentId();
    if (id < 0)
        return;
    withTableRow(QStringLiteral("Action"), id, [this](DataSet& action) {
        action.edit();
        runEntry(action);
    });
    load(id);
    emit controlsChanged();
}

void TCarePage::deleteClick()
{
    const qint64 id = currentId();
    if (id < 0 ||
        !MessageBox::question(this, QString::fromUtf8("Désirez-vous supprimer cet acte ?")))
        return;
    withTableRow(QStringLiteral("Action"), id, [](DataSet& action) { action.remove(); });
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
    if (watched == grid()->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A row paid back by both payers has nothing left to record.
        if (mouse->button() == Qt::RightButton && currentRowOpen())
            m_menu->popup(mouse->globalPosition().toPoint());
    }
    return GridPage::eventFilter(watched, event);
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
    return fileNameFor(QString::fromUtf8(m_definition.exportName), animalName());
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
