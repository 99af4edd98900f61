#include "core/VaccineReminders.h"

namespace tav {

namespace {

constexpr int kSoonDays = 30;

QString dayCount(int n)
{
    return QString::number(n) + (n == 1 ? QStringLiteral(" jour") : QStringLiteral(" jours"));
}

} // namespace

QSet<qint64> dueReminders(const QVector<Vaccination>& vaccinations)
{
    QSet<qint64> due;
    for (const Vaccination& v : vaccinations) {
        if (!v.repeat.isValid())
            continue;
        bool renewed = false;
        for (const Vaccination& other : vaccinations) {
            if (other.id == v.id || other.vaccineId != v.vaccineId || !other.date.isValid() ||
                !v.date.isValid())
                continue;
            // On the same day the row entered last (the higher key) is the
            // one that stands: otherwise two same-day rows would each renew
            // the other and neither reminder would ever come due.
            if (other.date > v.date || (other.date == v.date && other.id > v.id)) {
                renewed = true;
                break;
            }
        }
        if (!renewed)
            due.insert(v.id);
    }
    return due;
}

QString ReminderStatus::text() const
{
    switch (kind) {
    case Kind::Late:
        return QStringLiteral("En retard de ") + dayCount(days);
    case Kind::Soon:
        return days == 0 ? QStringLiteral("Aujourd'hui") : QStringLiteral("Dans ") + dayCount(days);
    case Kind::Later:
        break;
    }
    return {};
}

ReminderStatus reminderStatus(const QDate& repeat, const QDate& today)
{
    ReminderStatus s;
    if (!repeat.isValid() || !today.isValid())
        return s;
    const qint64 ahead = today.daysTo(repeat);
    if (ahead < 0) {
        s.kind = ReminderStatus::Kind::Late;
        s.days = int(-ahead);
    } else if (ahead <= kSoonDays) {
        s.kind = ReminderStatus::Kind::Soon;
        s.days = int(ahead);
    }
    return s;
}

} // namespace tav
