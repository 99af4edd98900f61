#include "dialogs/TEnterRepayment.h"

#include "core/Clock.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/DatePicker.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterRepayment.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

using namespace tav;

TEnterRepayment::TEnterRepayment(DataSet& action, int repaymentKind, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TEnterRepayment>()), m_action(action),
      m_kind(repaymentKind)
{
    m_ui->setupUi(this);
    FieldBinding::bind(m_ui->Ed_Date_Repayment, action, QStringLiteral("Date_Repayment"));
    FieldBinding::bind(m_ui->Ed_Price_Repayment, action, QStringLiteral("Price_Repayment"));
    FieldBinding::bind(m_ui->Ed_Date_Repayment_Comp, action, QStringLiteral("Date_Repayment_Comp"));
    FieldBinding::bind(m_ui->Ed_Price_Repayment_Comp, action,
                       QStringLiteral("Price_Repayment_Comp"));
    FieldBinding::captionsFromLabels(this);
    // The two sets of controls stand at the same place; one shows.
    m_ui->Pan_Set->setVisible(m_kind == 1);
    m_ui->Pan_Set_Comp->setVisible(m_kind != 1);
    for (QLineEdit* date : {m_ui->Ed_Date_Repayment, m_ui->Ed_Date_Repayment_Comp})
        date->installEventFilter(this);
    connect(m_ui->Btn_Date_Repayment, &QToolButton::clicked, this,
            [this]() { showDatePicker(m_ui->Ed_Date_Repayment, &m_action); });
    connect(m_ui->Btn_Date_Repayment_Comp, &QToolButton::clicked, this,
            [this]() { showDatePicker(m_ui->Ed_Date_Repayment_Comp, &m_action); });
    connect(m_ui->Btn_Ok, &QPushButton::clicked, this, &TEnterRepayment::Btn_OkClick);
    connect(m_ui->Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(width(), sizeHint().height());
    prepareWindow(this, false);
}

TEnterRepayment::~TEnterRepayment() = default;

void TEnterRepayment::Btn_OkClick()
{
    try {
        if (!m_action.isEditing())
            m_action.edit();
        m_action.setValue(
            m_kind == 1 ? QStringLiteral("Repayment") : QStringLiteral("Repayment_Comp"), true);
        m_action.post();
    } catch (const DbError& e) {
        // The act keeps its state and everything typed, to be mended or
        // abandoned with Annuler.
        showError(this, e.message());
        return;
    }
    accept();
}

bool TEnterRepayment::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            (watched == m_ui->Ed_Date_Repayment || watched == m_ui->Ed_Date_Repayment_Comp)) {
            showDatePicker(static_cast<QLineEdit*>(watched), &m_action);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

namespace tav {

bool confirmRepayment(QWidget* parent, DataSet& action, qint64 actId, int repaymentKind)
{
    const bool primary = repaymentKind == 1;
    bool stored = false;
    try {
        action.open();
        if (!action.locateId(actId)) {
            action.close();
            return false;
        }
        action.edit();
        action.setValue(primary ? QStringLiteral("Date_Repayment")
                                : QStringLiteral("Date_Repayment_Comp"),
                        Clock::today());
        TEnterRepayment window(action, repaymentKind, parent);
        if (window.exec() == QDialog::Accepted)
            stored = true;
        else if (action.isEditing())
            action.cancel();
    } catch (const DbError& e) {
        if (action.isEditing())
            action.cancel();
        showError(parent, e.message());
    }
    action.close();
    return stored;
}

} // namespace tav
