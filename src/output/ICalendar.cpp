#include "output/ICalendar.h"

#include "core/DateRoutines.h"
#include "output/ReminderTexts.h"

#include <QSaveFile>

namespace tav {

namespace {

constexpr int kMaxOctets = 75;

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

QByteArray dateValue(const QDate& date)
{
    return date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
}

void addLine(QByteArray& out, const QByteArray& name, const QString& value)
{
    out += ical::foldLine(name + ':' + value.toUtf8());
}

} // namespace

namespace ical {

QString escapeText(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case ';':
            out += QLatin1String("\\;");
            break;
        case ',':
            out += QLatin1String("\\,");
            break;
        case '\r':
            // CR LF, a lone CR and a lone LF are each one line break.
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QLatin1String("\\n");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += c;
            break;
        default:
            // Other controls are not allowed in a TEXT value.
            if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
                out += c;
            break;
        }
    }
    return out;
}

QByteArray foldLine(const QByteArray& line)
{
    QByteArray out;
    qsizetype start = 0;
    int room = kMaxOctets;
    while (line.size() - start > room) {
        qsizetype cut = start + room;
        // A UTF-8 character stays whole on one line.
        while (cut > start && isContinuationByte(line.at(cut)))
            --cut;
        out += line.mid(start, cut - start);
        out += "\r\n ";
        start = cut;
        room = kMaxOctets - 1; // the leading space counts
    }
    out += line.mid(start);
    out += "\r\n";
    return out;
}

QByteArray calendarBytes(const QVector<CalendarEvent>& events, const QDateTime& stamp)
{
    const QByteArray dtstamp =
        stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
    QByteArray out;
    out += "BEGIN:VCALENDAR\r\n";
    out += "VERSION:2.0\r\n";
    out += "PRODID:-//Tavirune//Rappels de vaccination//FR\r\n";
    out += "CALSCALE:GREGORIAN\r\n";
    out += "METHOD:PUBLISH\r\n";
    addLine(out, "X-WR-CALNAME", escapeText(QString::fromUtf8("Rappels de vaccination")));
    for (const CalendarEvent& e : events) {
        if (!e.date.isValid())
            continue;
        out += "BEGIN:VEVENT\r\n";
        addLine(out, "UID", e.uid);
        out += "DTSTAMP:" + dtstamp + "\r\n";
        out += "DTSTART;VALUE=DATE:" + dateValue(e.date) + "\r\n";
        out += "DTEND;VALUE=DATE:" + dateValue(e.date.addDays(1)) + "\r\n";
        addLine(out, "SUMMARY", escapeText(e.summary));
        if (!e.description.isEmpty())
            addLine(out, "DESCRIPTION", escapeText(e.description));
        out += "TRANSP:TRANSPARENT\r\n";
        out += "END:VEVENT\r\n";
    }
    out += "END:VCALENDAR\r\n";
    return out;
}

} // namespace ical

QVector<CalendarEvent> reminderEvents(const QVector<DueReminder>& reminders)
{
    QVector<CalendarEvent> events;
    for (const DueReminder& r : reminders) {
        CalendarEvent e;
        e.uid = QStringLiteral("rappel-vaccin-%1@tavirune").arg(r.vaccinationId);
        e.date = r.reminderDate;
        const QString name = r.animalName.trimmed().isEmpty() ? QString::fromUtf8("Animal sans nom")
                                                              : r.animalName.trimmed();
        e.summary = QString::fromUtf8("Rappel de vaccin : ") + name + QString::fromUtf8(" — ") +
                    vaccineLabel(r);
        QString vaccine = vaccineLabel(r);
        if (!r.vaccineCategory.trimmed().isEmpty())
            vaccine += QStringLiteral(" (") + r.vaccineCategory.trimmed() + QLatin1Char(')');
        QString last = formatDateText(r.vaccinationDate);
        if (!r.doctor.isEmpty())
            last += QStringLiteral(" - ") + r.doctor;
        e.description = QString::fromUtf8("Vaccin : ") + vaccine +
                        QString::fromUtf8("\nDernière vaccination : ") + last;
        events.append(e);
    }
    return events;
}

Result writeCalendarFile(const QString& path, const QVector<CalendarEvent>& events,
                         const QDateTime& stamp)
{
    QSaveFile file(path);
    const QByteArray bytes = ical::calendarBytes(events, stamp);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Result::failure(QString::fromUtf8("Impossible d'écrire le fichier « %1 » : %2")
                                   .arg(path, file.errorString()),
                               file.errorString());
    return Result::success();
}

} // namespace tav
