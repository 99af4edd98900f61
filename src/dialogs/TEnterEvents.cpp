#include "dialogs/TEnterEvents.h"

#include "db/DataSet.h"
#include "db/DateInput.h"
#include "db/DbError.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/DatePicker.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterEvents.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace tav {

TEnterEvents::TEnterEvents(DataSet& event, QWidget* parent) : QDialog(parent), m_row(event)
{
    Ui::TEnterEvents form;
    form.setupUi(this);
    m_date = form.Ed_Event_Date;
    m_time = form.Ed_Event_Time;
    m_description = form.Ed_Description;
    m_ok = form.Btn_Ok;
    const auto okRule = [this]() {
        m_ok->setEnabled(!m_description->toPlainText().isEmpty());
    };
    connect(m_description, &QPlainTextEdit::textChanged, this, okRule);
    okRule();

    FieldBinding::bind(m_date, m_row, QStringLiteral("Date_Event"));
    FieldBinding::bind(m_time, m_row, QStringLiteral("Time_Event"));
    FieldBinding::bind(m_description, m_row, QStringLiteral("Description"));

    connect(m_ok, &QPushButton::clicked, this, &TEnterEvents::Btn_OkClick);
    connect(form.Btn_Cancel, &QPushButton::clicked, this, &TEnterEvents::reject);
    connect(form.Btn_Event_Date, &QToolButton::clicked, this,
            [this]() { showDatePicker(m_date, &m_row); });
    m_date->installEventFilter(this);
    prepareWindow(this, false);
}

bool TEnterEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_date && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            showDatePicker(m_date, &m_row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString TEnterEvents::checkedTime(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || text == QLatin1String(":"))
        return {};
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QString hours = colon < 0 ? text : text.left(colon).trimmed();
    const QString minutes = colon < 0 ? QString() : text.mid(colon + 1).trimmed();
    const auto digits = [](const QString& s) {
        for (const QChar c : s) {
            if (!c.isDigit())
                return false;
        }
        return true;
    };
    if (hours.isEmpty() || hours.size() > 2 || minutes.size() != 2 || !digits(hours) ||
        !digits(minutes))
        throw DbError(incompleteDateMessage());
    const int h = hours.toInt();
    const int m = minutes.toInt();
    if (h > 23 || m > 59)
        throw DbError(QStringLiteral("'%1' n'est pas une heure correcte").arg(text));
    return QStringLiteral("%1:%2").arg(h, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'));
}

void TEnterEvents::Btn_OkClick()
{
    if (!m_ok->isEnabled())
        return;
    try {
        if (!m_row.isEditing())
            m_row.edit();
        const QString time = checkedTime(m_row.asString(QStringLiteral("Time_Event")));
        m_row.setValue(QStringLiteral("Time_Event"), time.isEmpty() ? QVariant() : time);
        m_row.post();
    } catch (const DbError& e) {
        // The row keeps its state and everything typed, to be mended.
        showError(this, e.message());
        return;
    }
    accept();
}

void TEnterEvents::reject()
{
    if (m_row.isEditing())
        m_row.cancel();
    QDialog::reject();
}

} // namespace tav
