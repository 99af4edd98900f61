#include "db/ReminderStore.h"

#include "core/DateRoutines.h"
#include "core/VaccineReminders.h"
#include "db/CalcFields.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

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

// StoredDay(value): the Julian day of a stored date as storedDate() reads
// it, NULL when it reads none. Plain ISO dates, nearly all of them, are
// read without going through a QString.
void storedDayFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int size = sqlite3_value_bytes(argv[0]);
    const auto digits = [text](int from, int count) {
        int n = 0;
        for (int i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            n = n * 10 + (text[i] - '0');
        }
        return n;
    };
    if (text && size >= 10 && text[4] == '-' && text[7] == '-') {
        const int year = digits(0, 4);
        const int month = digits(5, 2);
        const int day = digits(8, 2);
        if (year >= 0 && month >= 0 && day >= 0 && QDate::isValid(year, month, day)) {
            sqlite3_result_int64(context, QDate(year, month, day).toJulianDay());
            return;
        }
    }
    const QDate date =
        ReminderStore::storedDate(QString::fromUtf8(text ? text : "", text ? size : 0));
    if (date.isValid())
        sqlite3_result_int64(context, date.toJulianDay());
    else
        sqlite3_result_null(context);
}

void registerStoredDay(sqlite3* db)
{
    if (db)
        sqlite3_create_function_v2(db, "StoredDay", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   storedDayFunction, nullptr, nullptr, nullptr);
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

namespace {

// The rule, in the engine: a vaccination with a reminder date is due
// unless another one of the same animal and vaccine, with a date, comes
// later (on the same day, the higher key stands). Ranked by date then key
// within each animal's vaccine, the one ranked first is the only dated one
// left due; one without a date is renewed by none. Only the due rows of
// the animals still kept leave the engine, as S with ANIMAL joined.
QString dueVaccinations(const QString& columns, const QString& joins, const QString& more)
{
    return QStringLiteral("SELECT ") + columns +
           QStringLiteral(
               " FROM (SELECT *, ROW_NUMBER() OVER (PARTITION BY Id_Ref, Vaccine ORDER BY Day "
               "IS NULL, Day DESC, Id DESC) AS Rank FROM (SELECT Id, Id_Ref, Id_Vaccine, Id_Org, "
               "CAST(IFNULL(Id_Vaccine, 0) AS INTEGER) AS Vaccine, StoredDay(Date_Vaccine) AS "
               "Day, StoredDay(Repeat_Date) AS Repeat FROM VACCINE)) AS S "
               "JOIN ANIMAL ON ANIMAL.Id = S.Id_Ref ") +
           joins +
           QStringLiteral(" WHERE S.Repeat IS NOT NULL AND (S.Day IS NULL OR S.Rank = 1) "
                          // A departed animal is no longer vaccinated here.
                          "AND TRIM(IFNULL(ANIMAL.End_Date, ''), ' ' || CHAR(9, 10, 11, 12, 13)) "
                          "= ''") +
           more;
}

} // namespace

QVector<DueReminder> ReminderStore::dueRemindersOfAllAnimals() const
{
    registerStoredDay(m_connection.sqliteHandle());
    QSqlQuery q(m_connection.database());
    run(q,
        dueVaccinations(QStringLiteral("S.Id, S.Id_Ref, S.Day, S.Repeat, ANIMAL.Name, "
                                       "LST_VACCINE.Title, LST_VACCINE.Category, LST_DOCTOR.Name, "
                                       "LST_DOCTOR.Category"),
                        QStringLiteral("LEFT JOIN LST_VACCINE ON S.Id_Vaccine = LST_VACCINE.Id "
                                       "LEFT JOIN LST_DOCTOR ON S.Id_Org = LST_DOCTOR.Id"),
                        QString()),
        {}, m_connection.filePath());
    QVector<DueReminder> out;
    while (q.next()) {
        DueReminder r;
        r.vaccinationId = q.value(0).toLongLong();
        r.animalId = q.value(1).toLongLong();
        if (!q.value(2).isNull())
            r.vaccinationDate = QDate::fromJulianDay(q.value(2).toLongLong());
        r.reminderDate = QDate::fromJulianDay(q.value(3).toLongLong());
        r.animalName = q.value(4).toString();
        r.vaccineTitle = q.value(5).toString();
        r.vaccineCategory = q.value(6).toString();
        r.doctor = nameWithCategory(q.value(7).toString(), q.value(8).toString());
        out.append(r);
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
    registerStoredDay(m_connection.sqliteHandle());
    // Only the due reminders up to `days` ahead come out, by animal then
    // vaccination: at start-up the rest of the booklet is never held.
    QSqlQuery q(m_connection.database());
    run(q,
        dueVaccinations(QStringLiteral("S.Id, S.Id_Ref, S.Repeat, ANIMAL.Name, LST_VACCINE.Title"),
                        QStringLiteral("LEFT JOIN LST_VACCINE ON S.Id_Vaccine = LST_VACCINE.Id"),
                        QStringLiteral(" AND S.Repeat <= ? ORDER BY S.Id_Ref, S.Id")),
        {today.toJulianDay() + days}, m_connection.filePath());
    NoticedReminders out;
    QHash<QString, qint32> titleIndex;
    qint64 animalId = 0;
    while (q.next()) {
        if (stop && stop->load(std::memory_order_relaxed))
            break;
        const qint64 owner = q.value(1).toLongLong();
        if (out.animalIds.isEmpty() || owner != animalId) {
            animalId = owner;
            out.animalNames.append(q.value(3).toString());
            out.animalIds.append(owner);
        }
        const QString title = q.value(4).toString();
        auto found = titleIndex.constFind(title);
        if (found == titleIndex.cend()) {
            found = titleIndex.insert(title, qint32(out.vaccineTitles.size()));
            out.vaccineTitles.append(title);
        }
        out.rows.append({q.value(0).toLongLong(), q.value(2).toLongLong(),
                         qint32(out.animalNames.size() - 1), found.value()});
    }
    return out;
}

} // namespace tav
