#include "booklet/ReminderNotice.h"

#include "core/Clock.h"
#include "core/Settings.h"
#include "db/DbError.h"
#include "output/ReminderTexts.h"
#include "ui/FramedWindow.h"
#include "ui_ReminderNotice.h"

namespace tav {

namespace {

const QColor kLate(200, 0, 0);

} // namespace

ReminderNotice* ReminderNotice::showIfDue(QWidget* owner, Connection& connection,
                                          Settings& settings)
{
    if (!settings.reminderNotice)
        return nullptr;
    const QDate today = Clock::today();
    QVector<DueReminder> due;
    try {
        due = remindersToNotice(ReminderStore(connection).dueRemindersOfAllAnimals(), today);
    } catch (const DbError&) {
        // The notice is a courtesy: a booklet that cannot be read says so
        // through the commands the user runs, not at every start.
        return nullptr;
    }
    if (due.isEmpty())
        return nullptr;
    auto* notice = new ReminderNotice(due, today, settings, owner);
    notice->setAttribute(Qt::WA_DeleteOnClose);
    // The notice takes the keyboard as it opens, so that Escape or Enter
    // closes it without reaching for the mouse.
    notice->show();
    notice->raise();
    notice->activateWindow();
    notice->m_ui->Btn_Close->setFocus(Qt::ActiveWindowFocusReason);
    return notice;
}

ReminderNotice::ReminderNotice(const QVector<DueReminder>& reminders, const QDate& today,
                               Settings& settings, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ReminderNotice>())
{
    m_ui->setupUi(this);
    setModal(false);
    for (const DueReminder& r : reminders) {
        auto* item = new QListWidgetItem(reminderNoticeLine(r, today), m_ui->List_Reminders);
        if (today.daysTo(r.reminderDate) < 0)
            item->setForeground(kLate);
    }
    m_ui->Chk_NoNotice->setChecked(!settings.reminderNotice);
    connect(m_ui->Chk_NoNotice, &QCheckBox::toggled, this,
            [&settings](bool off) { settings.reminderNotice = !off; });
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    prepareWindow(this, false);
}

ReminderNotice::~ReminderNotice() = default;

QStringList ReminderNotice::lines() const
{
    QStringList out;
    for (int i = 0; i < m_ui->List_Reminders->count(); ++i)
        out << m_ui->List_Reminders->item(i)->text();
    return out;
}

} // namespace tav
