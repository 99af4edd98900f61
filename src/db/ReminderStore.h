#pragma once

#include <QDate>
#include <QString>
#include <QVector>

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

    // The date of a stored date value: ISO text (a time after it is
    // ignored), "dd/mm/yyyy" text or a date; invalid when empty.
    static QDate storedDate(const QVariant& value);

private:
    Connection& m_connection;
};

} // namespace tav
