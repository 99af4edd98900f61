#include "db/ReminderStore.h"

#include "core/DateRoutines.h"
#include "core/VaccineReminders.h"
#include "db/CalcFields.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/VaccinationJoin.h"

#include <QMap>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace tav {

namespace {

void run(QSqlQuery& q, const QString& text, const QVariantList& values, const QString& file)
{
    q.setForwardOnly(true);
    if (!q.prepare(text))
        throw DbError(databaseErrorText(q.lastError(), file));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(databaseErrorText(q.lastError(), file));
}

// A vaccination names no vaccine when its key is NULL, empty or 0 (keys
// start at 1): all of these fall together, as one "no vaccine" group.
qint64 vaccineKey(const QVariant& value)
{
    return value.isNull() ? 0 : value.toLongLong();
}

} // namespace

QDate ReminderStore::storedDate(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return {};
    // Only the day counts: a time stored after the date is dropped.
    const QDate iso = QDate::fromString(text.left(10), Qt::ISODate);
    return iso.isValid() ? iso : parseDateText(text);
}

void ReminderStore::refreshVaccineReminders(qint64 animalId)
{
    const QString file = m_connection.filePath();
    QVector<Vaccination> shots;
    QHash<qint64, int> stored; // 1, 0, or -1 for anything else
    {
        QSqlQuery q(m_connection.database());
        run(q,
            QStringLiteral("SELECT Id, Id_Vaccine, Date_Vaccine, Repeat_Date, Repeat_Exe FROM "
                           "VACCINE WHERE Id_Ref=? ORDER BY Date_Vaccine"),
            {animalId}, file);
        while (q.next()) {
            const qint64 id = q.value(0).toLongLong();
            shots.append(
                {id, vaccineKey(q.value(1)), storedDate(q.value(2)), storedDate(q.value(3))});
            const QVariant flag = q.value(4);
            const qint64 value = flag.isNull() ? -1 : flag.toLongLong();
            stored.insert(id, value == 0 || value == 1 ? int(value) : -1);
        }
    }
    const QSet<qint64> due = tav::dueReminders(shots);
    // Flags already right are left alone, and without a change nothing is
    // written at all: the table of a booklet whose flags are current opens
    // even where its file cannot be written.
    QVector<qint64> changed;
    for (const Vaccination& v : std::as_const(shots)) {
        if (stored.value(v.id) != (due.contains(v.id) ? 1 : 0))
            changed.append(v.id);
    }
    if (changed.isEmpty())
        return;
    Transaction transaction(m_connection);
    QSqlQuery update(m_connection.database());
    if (!update.prepare(QStringLiteral("UPDATE VACCINE SET Repeat_Exe=? WHERE Id=?")))
        throw DbError(databaseErrorText(update.lastError(), file));
    for (const qint64 id : std::as_const(changed)) {
        update.addBindValue(due.contains(id) ? 1 : 0);
        update.addBindValue(id);
        if (!update.exec())
            throw DbError(databaseErrorText(update.lastError(), file));
    }
    transaction.commit();
}

QVector<DueReminder> ReminderStore::dueRemindersOfAllAnimals() const
{
    QSqlQuery q(m_connection.database());
    run(q,
        QStringLiteral(
            "SELECT VACCINE.Id, VACCINE.Id_Ref, VACCINE.Id_Vaccine, VACCINE.Date_Vaccine, "
            "VACCINE.Repeat_Date, ANIMAL.Name, ANIMAL.End_Date, LST_VACCINE.Title, "
            "LST_VACCINE.Category, LST_DOCTOR.Name, LST_DOCTOR.Category ") +
            vaccinationWithAnimalJoin() + QStringLiteral(" ORDER BY VACCINE.Id_Ref, VACCINE.Id"),
        {}, m_connection.filePath());
    // The rule runs on each animal's vaccinations alone.
    QMap<qint64, QVector<Vaccination>> shots;
    QHash<qint64, DueReminder> details;
    while (q.next()) {
        // A departed animal is no longer vaccinated here.
        if (!q.value(6).toString().trimmed().isEmpty())
            continue;
        DueReminder r;
        r.vaccinationId = q.value(0).toLongLong();
        r.animalId = q.value(1).toLongLong();
        r.vaccinationDate = storedDate(q.value(3));
        r.reminderDate = storedDate(q.value(4));
        r.animalName = q.value(5).toString();
        r.vaccineTitle = q.value(7).toString();
        r.vaccineCategory = q.value(8).toString();
        r.doctor = nameWithCategory(q.value(9).toString(), q.value(10).toString());
        shots[r.animalId].append(
            {r.vaccinationId, vaccineKey(q.value(2)), r.vaccinationDate, r.reminderDate});
        details.insert(r.vaccinationId, r);
    }
    QVector<DueReminder> out;
    for (auto it = shots.cbegin(); it != shots.cend(); ++it) {
        const QSet<qint64> due = tav::dueReminders(it.value());
        for (const Vaccination& v : it.value()) {
            if (due.contains(v.id))
                out.append(details.value(v.id));
        }
    }
    std::sort(out.begin(), out.end(), [](const DueReminder& a, const DueReminder& b) {
        if (a.reminderDate != b.reminderDate)
            return a.reminderDate < b.reminderDate;
        if (const int byName = compareFrench(a.animalName, b.animalName); byName != 0)
            return byName < 0;
        return a.vaccinationId < b.vaccinationId;
    });
    return out;
}

NoticedReminders ReminderStore::noticedReminders(const QDate& today, int days,
                                                 const std::atomic<bool>* stop) const
{
    QSqlQuery q(m_connection.database());
    run(q,
        QStringLiteral("SELECT VACCINE.Id, VACCINE.Id_Ref, VACCINE.Id_Vaccine, "
                       "VACCINE.Date_Vaccine, VACCINE.Repeat_Date, ANIMAL.Name, ANIMAL.End_Date, "
                       "LST_VACCINE.Title ") +
            vaccinationWithAnimalJoin() + QStringLiteral(" ORDER BY VACCINE.Id_Ref, VACCINE.Id"),
        {}, m_connection.filePath());
    NoticedReminders out;
    QHash<QString, qint32> titleIndex;
    // The rule runs on each animal's vaccinations alone, so only one
    // animal's rows are held at a time.
    qint64 animalId = 0;
    QString animalName;
    QVector<Vaccination> shots;
    QHash<qint64, QString> titles;
    const auto flush = [&]() {
        if (shots.isEmpty())
            return;
        const QSet<qint64> due = tav::dueReminders(shots);
        qint32 animal = -1;
        for (const Vaccination& v : std::as_const(shots)) {
            if (!due.contains(v.id) || !v.repeat.isValid() || today.daysTo(v.repeat) > days)
                continue;
            if (animal < 0) {
                animal = qint32(out.animalNames.size());
                out.animalNames.append(animalName);
                out.animalIds.append(animalId);
            }
            const QString title = titles.value(v.id);
            auto found = titleIndex.constFind(title);
            if (found == titleIndex.cend()) {
                found = titleIndex.insert(title, qint32(out.vaccineTitles.size()));
                out.vaccineTitles.append(title);
            }
            out.rows.append({v.id, v.repeat.toJulianDay(), animal, found.value()});
        }
        shots.clear();
        titles.clear();
    };
    while (q.next()) {
        if (stop && stop->load(std::memory_order_relaxed))
            break;
        // A departed animal is no longer vaccinated here.
        if (!q.value(6).toString().trimmed().isEmpty())
            continue;
        const qint64 owner = q.value(1).toLongLong();
        if (owner != animalId) {
            flush();
            animalId = owner;
            animalName = q.value(5).toString();
        }
        const qint64 id = q.value(0).toLongLong();
        const QDate repeat = storedDate(q.value(4));
        shots.append({id, vaccineKey(q.value(2)), storedDate(q.value(3)), repeat});
        if (repeat.isValid())
            titles.insert(id, q.value(7).toString());
    }
    flush();
    return out;
}

} // namespace tav
