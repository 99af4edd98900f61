#include "output/ReminderTexts.h"

#include <QStringList>

#include <algorithm>

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

namespace {

// Whole calendar months from `from` to `to` (to after from): a month is
// complete once the same day of the month is reached again, or the last
// day of a shorter month.
int wholeMonths(const QDate& from, const QDate& to)
{
    int months = (to.year() - from.year()) * 12 + (to.month() - from.month());
    if (to.day() < from.day() && to.day() < to.daysInMonth())
        --months;
    return std::max(0, months);
}

// "un an", "13 ans et 10 mois", "2 mois".
QString yearsAndMonths(int months)
{
    const int years = months / 12;
    const int rest = months % 12;
    QStringList parts;
    if (years > 0)
        parts << (years == 1 ? QStringLiteral("un an") : QStringLiteral("%1 ans").arg(years));
    if (rest > 0)
        parts << (rest == 1 ? QStringLiteral("un mois") : QStringLiteral("%1 mois").arg(rest));
    return parts.join(QStringLiteral(" et "));
}

} // namespace

QString reminderDelayText(const QDate& reminderDate, const QDate& today)
{
    const qint64 ahead = today.daysTo(reminderDate);
    if (const int months = ahead < 0 ? wholeMonths(reminderDate, today) : 0; months > 0) {
        const QString span = yearsAndMonths(months);
        return (span.startsWith(QStringLiteral("un ")) ? QStringLiteral("en retard d'")
                                                       : QStringLiteral("en retard de ")) +
               span;
    }
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
    return reminderNoticeLine(reminder.animalName, reminder.vaccineTitle, reminder.reminderDate,
                              today);
}

QString reminderNoticeLine(const QString& animalName, const QString& vaccineTitle,
                           const QDate& reminderDate, const QDate& today)
{
    const QString name = animalName.trimmed();
    const QString title = vaccineTitle.trimmed();
    return (name.isEmpty() ? QString::fromUtf8("Animal sans nom") : name) +
           QString::fromUtf8(" — ") +
           (title.isEmpty() ? QString::fromUtf8("vaccin non précisé") : title) +
           QStringLiteral(", ") + reminderDelayText(reminderDate, today);
}

QString groupedCount(qint64 n)
{
    // Written out here rather than through the locale, whose separator
    // changes with the machine's settings and Qt's version.
    QString digits = QString::number(n < 0 ? -n : n);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return n < 0 ? QStringLiteral("-") + digits : digits;
}

QString reminderNoticeSummary(int late, int lateAnimals, int coming, int comingAnimals, int days)
{
    const auto part = [](const QString& one, const QString& many, int count,
                         int animals) -> QString {
        return (count == 1 ? one : many) + QStringLiteral(" : ") + groupedCount(count) +
               QStringLiteral(" pour ") + groupedCount(animals) +
               (animals == 1 ? QStringLiteral(" animal") : QStringLiteral(" animaux"));
    };
    QStringList lines;
    if (late > 0)
        lines << part(QStringLiteral("Rappel en retard"), QStringLiteral("Rappels en retard"), late,
                      lateAnimals);
    if (coming > 0)
        lines << part(QString::fromUtf8("Rappel à faire d'ici %1 jours").arg(days),
                      QString::fromUtf8("Rappels à faire d'ici %1 jours").arg(days), coming,
                      comingAnimals);
    return lines.join(QLatin1Char('\n'));
}

} // namespace tav
