#pragma once

#include <QDate>
#include <QString>
#include <QVector>

#include <atomic>

namespace tav {

class Connection;

// A vaccination whose reminder is still due, with what the outputs say
// about it.
struct DueReminder
{
    qint64 vaccinationId = 0;
    qint64 animalId = 0;
    QString animalName;
    QString vaccineTitle;    // empty when the vaccination names no vaccine
    QString vaccineCategory; // of the vaccine
    QString doctor;          // "Name (Category)" of the practitioner, or empty
    QDate vaccinationDate;
    QDate reminderDate;
};

// The due reminders of a whole booklet that are past or coming within some
// days, held compactly: a booklet of 10,000 animals may have some 50,000
// of them, and each name is kept once.
struct NoticedReminders
{
    struct Row
    {
        qint64 vaccinationId = 0;
        qint64 reminderDay = 0; // Julian day of the reminder date
        qint32 animal = 0;      // index in animalNames
        qint32 vaccine = 0;     // index in vaccineTitles
    };
    QVector<QString> animalNames;   // one per animal with a row
    QVector<qint64> animalIds;      // alongside animalNames
    QVector<QString> vaccineTitles; // empty for a vaccination naming none
    QVector<Row> rows;              // by animal, then vaccination
};

// The reminder flags of the vaccinations and the due reminders of the
// whole booklet. Every value is bound; nothing typed by the user reaches
// the text of a statement.
class ReminderStore
{
public:
    explicit ReminderStore(Connection& connection) : m_connection(connection) {}

    // Stores in Repeat_Exe of every vaccination of the animal whether its
    // reminder is still due (1 or 0), all rows or none; a flag already
    // right is not written again. The rows of other animals are neither
    // read nor written. Throws DbError.
    void refreshVaccineReminders(qint64 animalId);

    // The due reminders of the animals still kept (no departure date), by
    // the same rule, ordered by reminder date, then animal name, then
    // vaccination. Reads only: the stored flags are left as they are.
    // Throws DbError.
    QVector<DueReminder> dueRemindersOfAllAnimals() const;

    // The due reminders of the animals still kept whose date is past, today
    // or within `days` of today, by the same rule. Reads only, and only
    // those reminders; gives up with what it has read when `stop` turns
    // true. Throws DbError.
    NoticedReminders noticedReminders(const QDate& today, int days,
                                      const std::atomic<bool>* stop = nullptr) const;

    // The date of a stored date value: ISO text (a time after it is
    // ignored), "dd/mm/yyyy" text or a date; invalid when empty.
    static QDate storedDate(const QVariant& value);

private:
    Connection& m_connection;
};

} // namespace tav
