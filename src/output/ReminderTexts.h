#pragma once

#include "db/ReminderStore.h"

#include <QDate>
#include <QString>
#include <QVector>

namespace tav {

// Days ahead that a coming reminder is worth the start-up notice.
inline constexpr int kNoticeDays = 7;

// The due reminders whose date is past, today or within `days` of today,
// in the order given.
QVector<DueReminder> remindersToNotice(const QVector<DueReminder>& due, const QDate& today,
                                       int days = kNoticeDays);

// The vaccine's title, or a word for a vaccination that names none.
QString vaccineLabel(const DueReminder& reminder);

// Where the reminder stands against today: "en retard de 12 jours",
// "en retard de 13 ans et 10 mois" once a whole month late, "à faire
// aujourd'hui", "à faire demain", "à faire dans 5 jours".
QString reminderDelayText(const QDate& reminderDate, const QDate& today);

// "Médor — Rage, en retard de 12 jours".
QString reminderNoticeLine(const DueReminder& reminder, const QDate& today);
QString reminderNoticeLine(const QString& animalName, const QString& vaccineTitle,
                           const QDate& reminderDate, const QDate& today);

// A count with its thousands apart: "53 920".
QString groupedCount(qint64 n);

// The head of the notice: "Rappels en retard : 5 392 pour 812 animaux",
// then on a line of its own the reminders coming within `days`; a part
// with no reminder is left out.
QString reminderNoticeSummary(int late, int lateAnimals, int coming, int comingAnimals,
                              int days = kNoticeDays);

} // namespace tav
