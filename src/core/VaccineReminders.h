#pragma once

#include <QDate>
#include <QSet>
#include <QString>
#include <QVector>

namespace tav {

// One vaccination of an animal as the reminder rule reads it.
struct Vaccination
{
    qint64 id = 0;
    qint64 vaccineId = 0;
    QDate date;   // of the injection
    QDate repeat; // of the reminder; invalid when none
};

// The vaccinations whose reminder is still due: those with a reminder date
// and no other vaccination with the same vaccine later, nor on the same day
// with a higher key. The reminder date itself is never compared with today.
QSet<qint64> dueReminders(const QVector<Vaccination>& vaccinations);

// Where a due reminder stands against today.
struct ReminderStatus
{
    enum class Kind { Later, Soon, Late };
    Kind kind = Kind::Later;
    int days = 0; // until the reminder (Soon), since it (Late)

    // "En retard de 3 jours", "Dans 1 jour", "Aujourd'hui"; empty for Later.
    QString text() const;
};

// Late once the reminder date has passed, Soon from today to 30 days ahead.
ReminderStatus reminderStatus(const QDate& repeat, const QDate& today);

} // namespace tav
