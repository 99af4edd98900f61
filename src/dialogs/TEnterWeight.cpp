#include "dialogs/TEnterWeight.h"

#include "core/DateRoutines.h"
#include "db/DataSet.h"
#include "db/DateInput.h"
#include "db/DbError.h"
#include "db/MeasureStore.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/DatePicker.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterWeight.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace tav {

namespace {

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TEnterWeight::TEnterWeight(DataSet& measures, MeasureKind measureKind, QWidget* parent)
    : QDialog(parent), m_row(measures), m_kind(measureKind)
{
    Ui::TEnterWeight form;
    form.setupUi(this);
    m_date = form.Ed_Date;
    m_value = form.Ed_Weight;
    m_ok = form.Btn_Ok;
    // The OK rule runs before anything is bound: a new measure starts
    // without a value, so OK starts disabled.
    connect(m_value, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ok->setEnabled(!text.isEmpty()); });
    m_ok->setEnabled(!m_value->text().isEmpty());

    FieldBinding::bind(m_date, m_row, dateColumn());
    FieldBinding::bind(m_value, m_row, valueColumn());
    FieldBinding::bind(form.Memo_Remark1, m_row, QStringLiteral("Remark"));
    form.Memo_Remark1->setReadOnly(false);

    connect(m_ok, &QPushButton::clicked, this, &TEnterWeight::Btn_OkClick);
    connect(form.Btn_Cancel, &QPushButton::clicked, this, &TEnterWeight::reject);
    connect(form.Btn_Date, &QToolButton::clicked, this,
            [this]() { showDatePicker(m_date, &m_row); });
    m_date->installEventFilter(this);
    prepareWindow(this, false);
}

QString TEnterWeight::dateColumn() const
{
    return measureColumns(m_kind).date;
}

QString TEnterWeight::valueColumn() const
{
    return measureColumns(m_kind).value;
}

bool TEnterWeight::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_date && isEnter(event)) {
        showDatePicker(m_date, &m_row);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QString TEnterWeight::decimalsProblem(const QString& typed, int decimals, const QString& caption)
{
    const QString text = typed.trimmed();
    qsizetype separator = text.indexOf(QLatin1Char(','));
    if (separator < 0)
        separator = text.indexOf(QLatin1Char('.'));
    if (separator < 0)
        return {};
    qsizetype digits = text.size() - separator - 1;
    // Zeros after the last significant digit change nothing.
    while (digits > decimals && text.at(separator + digits) == QLatin1Char('0'))
        --digits;
    if (digits <= decimals)
        return {};
    return QStringLiteral("La valeur « %1 » de « %2 » a plus de %3 décimales.")
        .arg(text, caption)
        .arg(decimals);
}

QString TEnterWeight::problem() const
{
    const QString value = valueColumn();
    const QVariant typed = m_row.value(value);
    // A value read back from the row has no more decimals than stored; one
    // being typed is held as its text until the row is written.
    if (typed.typeId() == QMetaType::QString) {
        const int index = m_row.fieldIndex(value);
        const QString caption = index >= 0 ? m_row.field(index).caption() : value;
        const QString reason = decimalsProblem(typed.toString(), m_kind == Size ? 2 : 3, caption);
        if (!reason.isEmpty())
            return reason;
    }
    if (m_birth.isValid()) {
        const QVariant when = m_row.value(dateColumn());
        QDate date;
        if (when.typeId() == QMetaType::QDate)
            date = when.toDate();
        else {
            try {
                date = checkedDate(when.toString());
            } catch (const DbError&) {
                // The data layer names what is wrong with the date itself.
                return {};
            }
        }
        if (date.isValid() && date < m_birth)
            return QStringLiteral("La date de la mesure (%1) précède la date de naissance (%2).")
                .arg(formatDateText(date), formatDateText(m_birth));
    }
    return {};
}

void TEnterWeight::Btn_OkClick()
{
    if (!m_ok->isEnabled())
        return;
    const QString reason = problem();
    if (!reason.isEmpty()) {
        showError(this, reason);
        return;
    }
    try {
        if (!m_row.isEditing())
            m_row.edit();
        m_row.post();
    } catch (const DbError& e) {
        // The row keeps its state and everything typed, to be mended.
        showError(this, e.message());
        return;
    }
    accept();
}

void TEnterWeight::reject()
{
    if (m_row.isEditing())
        m_row.cancel();
    QDialog::reject();
}

} // namespace tav
