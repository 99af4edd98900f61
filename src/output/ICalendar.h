#pragma once

#include "core/Result.h"

#include "db/ReminderStore.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

namespace tav {

// One all-day event of a calendar file.
struct CalendarEvent
{
    QString uid; // the same event keeps it from one file to the next
    QDate date;
    QString summary;
    QString description;
};

namespace ical {

// A value of type TEXT: backslashes, semicolons and commas escaped, every
// line break written as "\n", other control characters dropped.
QString escapeText(const QString& text);

// One content line cut into lines of at most 75 octets, never inside a
// UTF-8 character, each continuation starting with a space; every line
// ends with CR LF.
QByteArray foldLine(const QByteArray& line);

// The whole calendar; stamp is the moment of writing.
QByteArray calendarBytes(const QVector<CalendarEvent>& events, const QDateTime& stamp);

} // namespace ical

// One event per reminder, on its reminder date, named after the animal and
// the vaccine; its UID follows the vaccination, so that importing a newer
// file updates the events instead of doubling them.
QVector<CalendarEvent> reminderEvents(const QVector<DueReminder>& reminders);

// Writes the file under a temporary name, then puts it in place. Fails with
// a French reason when it cannot be written; nothing is left half-written.
Result writeCalendarFile(const QString& path, const QVector<CalendarEvent>& events,
                         const QDateTime& stamp);

} // namespace tav
