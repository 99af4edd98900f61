#include "booklet/ReminderNoticeModel.h"

#include "db/Connection.h"
#include "output/ReminderTexts.h"

#include <QColor>

#include <algorithm>
#include <limits>
#include <numeric>

namespace tav {

namespace {

const QColor kLate(200, 0, 0);

} // namespace

void ReminderNoticeModel::arrange(NoticedReminders& reminders)
{
    const int animals = int(reminders.animalNames.size());
    // Each animal's place: by its earliest reminder, then its name the
    // French way, then the order it was entered in.
    QVector<qint64> earliest(animals, std::numeric_limits<qint64>::max());
    for (const NoticedReminders::Row& r : std::as_const(reminders.rows))
        earliest[r.animal] = std::min(earliest[r.animal], r.reminderDay);
    QVector<int> byName(animals);
    std::iota(byName.begin(), byName.end(), 0);
    std::stable_sort(byName.begin(), byName.end(), [&reminders](int a, int b) {
        return compareFrench(reminders.animalNames.at(a), reminders.animalNames.at(b)) < 0;
    });
    QVector<int> nameRank(animals);
    for (int i = 0; i < animals; ++i)
        nameRank[byName.at(i)] = i;
    std::sort(
        reminders.rows.begin(), reminders.rows.end(),
        [&earliest, &nameRank](const NoticedReminders::Row& a, const NoticedReminders::Row& b) {
            if (a.animal != b.animal) {
                if (earliest.at(a.animal) != earliest.at(b.animal))
                    return earliest.at(a.animal) < earliest.at(b.animal);
                return nameRank.at(a.animal) < nameRank.at(b.animal);
            }
            if (a.reminderDay != b.reminderDay)
                return a.reminderDay < b.reminderDay;
            return a.vaccinationId < b.vaccinationId;
        });
}

void ReminderNoticeModel::setReminders(NoticedReminders reminders, const QDate& today)
{
    beginResetModel();
    m_reminders = std::move(reminders);
    m_today = today;
    m_todayDay = today.toJulianDay();
    m_late = m_lateAnimals = m_coming = m_comingAnimals = 0;
    QVector<quint8> seen(m_reminders.animalNames.size(), 0); // 1 late, 2 coming
    for (const NoticedReminders::Row& r : std::as_const(m_reminders.rows)) {
        const quint8 kind = r.reminderDay < m_todayDay ? 1 : 2;
        (kind == 1 ? m_late : m_coming)++;
        if (!(seen[r.animal] & kind)) {
            seen[r.animal] |= kind;
            (kind == 1 ? m_lateAnimals : m_comingAnimals)++;
        }
    }
    endResetModel();
}

int ReminderNoticeModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_reminders.rows.size());
}

QVariant ReminderNoticeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_reminders.rows.size())
        return {};
    const NoticedReminders::Row& r = m_reminders.rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return reminderNoticeLine(m_reminders.animalNames.at(r.animal),
                                  m_reminders.vaccineTitles.at(r.vaccine),
                                  QDate::fromJulianDay(r.reminderDay), m_today);
    case Qt::ForegroundRole:
        return r.reminderDay < m_todayDay ? QVariant(kLate) : QVariant();
    default:
        return {};
    }
}

QString ReminderNoticeModel::summary() const
{
    return reminderNoticeSummary(m_late, m_lateAnimals, m_coming, m_comingAnimals);
}

} // namespace tav
