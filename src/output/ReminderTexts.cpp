#include "output/ReminderTexts.h"

namespace tav {

QVector<DueReminder> remindersToNotice(const QVector<DueReminder>& due, const QDate& today,
                                       int days)
{
    QVector<DueReminder> out;
    for (const DueReminder& r : due) {
        if (r.reminderDate.isValid() && today.daysTo(r.reminderDate) <= days)
            out.append(r);
    }
    return out;
}

QString vaccineLabel(const DueReminder& reminder)
{
    const QString title = reminder.vaccineTitle.trimmed();
    return title.isEmpty() ? QString::fromUtf8("vaccin non précisé") : title;
}

QString reminderDelayText(const QDate& reminderDate, const QDate& today)
{
    const qint64 ahead = today.daysTo(reminderDate);
    if (ahead < -1)
        return QString::fromUtf8("en retard de %1 jours").arg(-ahead);
    if (ahead == -1)
        return QString::fromUtf8("en retard d'un jour");
    if (ahead == 0)
        return QString::fromUtf8("à faire aujourd'hui");
    if (ahead == 1)
        return QString::fromUtf8("à faire demain");
    return QString::fromUtf8("à faire dans %1 jours").arg(ahead);
}

QString reminderNoticeLine(const DueReminder& reminder, const QDate& today)
{
    const QString name = reminder.animalName.trimmed().isEmpty()
                             ? QString::fromUtf8("Animal sans nom")
                             : reminder.animalName.trimmed();
    return name + QString::fromUtf8(" — ") + vaccineLabel(reminder) + QStringLiteral(", ") +
           reminderDelayText(reminder.reminderDate, today);
}

} // namespace tav
