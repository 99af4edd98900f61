#pragma once

#include "db/ReminderStore.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ReminderNotice;
}

namespace tav {

class Connection;
class ReminderNoticeModel;
struct Settings;

// The non-modal notice, at start-up, of the vaccination reminders of every
// animal that are past or come within a week: a summary, then one line per
// reminder, grouped by animal. It leaves the main window active; its box
// turns the notice off for the next start-ups.
class ReminderNotice : public QDialog
{
    Q_OBJECT
public:
    // When the settings allow it, reads the reminders away from the
    // window's thread, from a connection of its own to the same booklet,
    // and shows the notice over `owner` once they are read, if some
    // reminder is worth it, dated by the program's clock. The reading
    // stops when `owner` goes first; the notice deletes itself when closed.
    static void showIfDue(QWidget* owner, Connection& connection, Settings& settings);
    // The booklet is about to be closed to be replaced (restore, import,
    // compaction): reminders still being read for a notice over `owner`
    // belong to the booklet going, and are dropped unread.
    static void cancelPendingRead(QWidget* owner);

    ReminderNotice(NoticedReminders reminders, const QDate& today, Settings& settings,
                   QWidget* parent = nullptr);
    ReminderNotice(const QVector<DueReminder>& reminders, const QDate& today, Settings& settings,
                   QWidget* parent = nullptr);
    ~ReminderNotice() override;

    // The lines shown, one per reminder, as the list's model gives them.
    QStringList lines() const;

private:
    std::unique_ptr<Ui::ReminderNotice> m_ui;
    ReminderNoticeModel* m_model = nullptr;
};

} // namespace tav
