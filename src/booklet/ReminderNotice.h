#pragma once

#include "db/ReminderStore.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ReminderNotice;
}

namespace tav {

class Connection;
struct Settings;

// The non-modal notice, at start-up, of the vaccination reminders of every
// animal that are past or come within a week. It leaves the main window
// active; its box turns the notice off for the next start-ups.
class ReminderNotice : public QDialog
{
    Q_OBJECT
public:
    // Shows the notice when the settings allow it and some reminder is
    // worth it, dated by the program's clock; nullptr when nothing is
    // shown. The notice deletes itself when closed.
    static ReminderNotice* showIfDue(QWidget* owner, Connection& connection, Settings& settings);

    ReminderNotice(const QVector<DueReminder>& reminders, const QDate& today, Settings& settings,
                   QWidget* parent = nullptr);
    ~ReminderNotice() override;

    // The lines shown, one per reminder.
    QStringList lines() const;

private:
    std::unique_ptr<Ui::ReminderNotice> m_ui;
};

} // namespace tav
