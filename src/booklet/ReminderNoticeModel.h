#pragma once

#include "db/ReminderStore.h"

#include <QAbstractListModel>
#include <QDate>

namespace tav {

// The lines of the start-up reminder notice, one row per reminder, grouped
// by animal: the animal whose reminder is the most overdue first, each
// animal's reminders by date. The texts are made when a row is drawn, so
// that the memory held does not grow with the lines shown.
class ReminderNoticeModel : public QAbstractListModel
{
public:
    explicit ReminderNoticeModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // Orders the rows for the notice; may run away from the window's thread.
    static void arrange(NoticedReminders& reminders);

    // Takes rows already arranged, dated against `today`.
    void setReminders(NoticedReminders reminders, const QDate& today);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // "Rappels en retard : 5 392 pour 812 animaux", and the coming ones.
    QString summary() const;

private:
    NoticedReminders m_reminders;
    QDate m_today;
    qint64 m_todayDay = 0;
    int m_late = 0;
    int m_lateAnimals = 0;
    int m_coming = 0;
    int m_comingAnimals = 0;
};

} // namespace tav
