#include "TestText.h"

#include "output/ICalendar.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

namespace {

// Reads a calendar file with Python's icalendar package, as a calendar
// program would import it: one object per event, or an "error" text.
QJsonArray readWithPython(const QString& path, QString* error)
{
    QProcess python;
    python.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import icalendar, json, sys\n"
                        "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                        "out = []\n"
                        "for e in cal.walk('VEVENT'):\n"
                        "    out.append({'uid': str(e['UID']),\n"
                        "        'start': e.decoded('DTSTART').isoformat(),\n"
                        "        'end': e.decoded('DTEND').isoformat(),\n"
                        "        'allday': e['DTSTART'].params.get('VALUE') == 'DATE',\n"
                        "        'summary': str(e['SUMMARY']),\n"
                        "        'description': str(e.get('DESCRIPTION', ''))})\n"
                        "print(json.dumps({'version': str(cal['VERSION']), 'events': out}))\n"),
         path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        *error = QString::fromUtf8(python.readAllStandardError());
        return {};
    }
    const QJsonObject doc = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    if (doc.value(QStringLiteral("version")).toString() != QLatin1String("2.0"))
        *error = QStringLiteral("no VERSION 2.0");
    return doc.value(QStringLiteral("events")).toArray();
}

// The content lines of a file with folding undone, after checking every
// physical line: CR LF at its end, at most 75 octets, whole UTF-8.
QStringList unfoldedLines(const QByteArray& bytes, QString* fault)
{
    QStringList lines;
    if (!bytes.endsWith("\r\n"))
        *fault = QStringLiteral("no CR LF at the end");
    const QList<QByteArray> physical = bytes.chopped(2).split('\n');
    QByteArray current;
    for (const QByteArray& raw : physical) {
        if (!raw.endsWith('\r') && &raw != &physical.last()) {
            *fault = QStringLiteral("a bare LF");
            return {};
        }
        const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
        if (line.size() > 75)
            *fault = QStringLiteral("a line of %1 octets").arg(line.size());
        if (QString::fromUtf8(line).toUtf8() != line)
            *fault = QStringLiteral("a line cut inside a character: ") + QString::fromLatin1(line);
        if (line.startsWith(' ')) {
            current += line.mid(1);
        } else {
            if (!current.isEmpty())
                lines << QString::fromUtf8(current);
            current = line;
        }
    }
    lines << QString::fromUtf8(current);
    return lines;
}

} // namespace

class TestICalendar : public QObject
{
    Q_OBJECT
private slots:
    void textValuesAreEscaped();
    void longLinesFoldOnCharacterBoundaries();
    void aCalendarProgramReadsTheEventsBack();
    void remindersBecomeStableAllDayEvents();
    void aFileThatCannotBeWrittenIsSaidAndNothingIsLeft();
};

void TestICalendar::textValuesAreEscaped()
{
    QCOMPARE(ical::escapeText(u("a\\b;c,d")), u("a\\\\b\\;c\\,d"));
    QCOMPARE(ical::escapeText(u("un\r\ndeux\rtrois\nquatre")), u("un\\ndeux\\ntrois\\nquatre"));
    QCOMPARE(ical::escapeText(u("bip\x07 \"ok\":\ttab")), u("bip \"ok\":\ttab"));
}

void TestICalendar::longLinesFoldOnCharacterBoundaries()
{
    // "é" takes octets 75 and 76: it moves whole to the next line.
    const QByteArray accented = QByteArray(74, 'a') + u("éb").toUtf8();
    QCOMPARE(ical::foldLine(accented), QByteArray(74, 'a') + "\r\n " + u("éb").toUtf8() + "\r\n");
    QCOMPARE(ical::foldLine(QByteArray(75, 'x')), QByteArray(75, 'x') + "\r\n");
    QCOMPARE(ical::foldLine(QByteArray(76, 'x')), QByteArray(75, 'x') + "\r\n x\r\n");

    // Four-octet characters across many lines, continuation lines full.
    QString pets;
    for (int i = 0; i < 60; ++i)
        pets += u("🐕é");
    const QByteArray line = "SUMMARY:" + pets.toUtf8();
    const QByteArray folded = ical::foldLine(line);
    QString fault;
    const QStringList back = unfoldedLines(folded, &fault);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(back, QStringList{QString::fromUtf8(line)});
    for (const QByteArray& physical : folded.split('\n').mid(1, 3))
        QVERIFY(physical.size() >= 72); // no line cut shorter than needed
}

void TestICalendar::aCalendarProgramReadsTheEventsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rappels.ics"));
    const QString remark = u("Vaccin \"Nobivac\"; lot 4411B, injecté par le Dr L'Hôte\\"
                             "clinique\r\ndeuxième ligne d'une remarque assez longue pour "
                             "être repliée plusieurs fois — éèàùç");
    const QVector<CalendarEvent> events = {
        {u("rappel-vaccin-7@tavirune"), QDate(2026, 11, 28), u("Rappel : Médor — Rage"), remark},
        {u("rappel-vaccin-9@tavirune"), QDate(2026, 12, 31), u("Caramel, le chat"), QString()},
        {u("sans-date"), QDate(), u("ignored"), QString()}};
    const Result written =
        writeCalendarFile(path, events, QDateTime(QDate(2026, 12, 9), QTime(16, 5), Qt::UTC));
    QVERIFY(written.ok);
    QVERIFY(written.error.isEmpty());

    const QByteArray bytes = readBytes(path);
    QString fault;
    const QStringList lines = unfoldedLines(bytes, &fault);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(lines.first(), u("BEGIN:VCALENDAR"));
    QCOMPARE(lines.count(u("BEGIN:VEVENT")), 2);
    QVERIFY(lines.contains(u("DTSTAMP:20261209T160500Z")));

    QString error;
    const QJsonArray read = readWithPython(path, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(read.size(), 2);
    const QJsonObject first = read.at(0).toObject();
    QCOMPARE(first.value(QStringLiteral("uid")).toString(), u("rappel-vaccin-7@tavirune"));
    QCOMPARE(first.value(QStringLiteral("start")).toString(), u("2026-11-28"));
    QCOMPARE(first.value(QStringLiteral("end")).toString(), u("2026-11-29"));
    QVERIFY(first.value(QStringLiteral("allday")).toBool());
    QCOMPARE(first.value(QStringLiteral("summary")).toString(), u("Rappel : Médor — Rage"));
    QCOMPARE(first.value(QStringLiteral("description")).toString(),
             QString(remark).replace(u("\r\n"), u("\n")));
    const QJsonObject second = read.at(1).toObject();
    QCOMPARE(second.value(QStringLiteral("summary")).toString(), u("Caramel, le chat"));
    QCOMPARE(second.value(QStringLiteral("start")).toString(), u("2026-12-31"));
    QCOMPARE(second.value(QStringLiteral("end")).toString(), u("2027-01-01"));
}

void TestICalendar::remindersBecomeStableAllDayEvents()
{
    DueReminder r;
    r.vaccinationId = 42;
    r.animalName = u("Médor");
    r.vaccineTitle = u("Rage");
    r.vaccineCategory = u("Chien");
    r.doctor = u("Dr Lenoir (Vétérinaire)");
    r.vaccinationDate = QDate(2025, 5, 1);
    r.reminderDate = QDate(2026, 5, 1);
    DueReminder unnamed;
    unnamed.vaccinationId = 43;
    unnamed.reminderDate = QDate(2026, 6, 1);
    const QVector<CalendarEvent> events = reminderEvents({r, unnamed});
    QCOMPARE(events.size(), 2);
    QCOMPARE(events.at(0).uid, u("rappel-vaccin-42@tavirune"));
    QCOMPARE(events.at(0).date, QDate(2026, 5, 1));
    QCOMPARE(events.at(0).summary, u("Rappel de vaccin : Médor — Rage"));
    QCOMPARE(events.at(0).description,
             u("Vaccin : Rage (Chien)\nDernière vaccination : 01/05/2025 - Dr Lenoir "
               "(Vétérinaire)"));
    QCOMPARE(events.at(1).summary, u("Rappel de vaccin : Animal sans nom — vaccin non précisé"));
    // The same reminder gives the same event at the next export.
    QCOMPARE(reminderEvents({r}).at(0).uid, events.at(0).uid);
}

void TestICalendar::aFileThatCannotBeWrittenIsSaidAndNothingIsLeft()
{
    QTemporaryDir dir;
    const QDateTime stamp(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    const QVector<CalendarEvent> events = {{u("a"), QDate(2026, 1, 1), u("A"), QString()}};
    const Result noFolder =
        writeCalendarFile(dir.filePath(QStringLiteral("none/rappels.ics")), events, stamp);
    QVERIFY(!noFolder.ok);
    QVERIFY(noFolder.error.startsWith(u("Impossible d'écrire le fichier « ") +
                                      dir.filePath(QStringLiteral("none/rappels.ics"))));

    // A folder in the way is left alone.
    const QString taken = dir.filePath(QStringLiteral("taken.ics"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.ics")));
    const Result inTheWay = writeCalendarFile(taken, events, stamp);
    QVERIFY(!inTheWay.ok);
    QVERIFY(!inTheWay.error.isEmpty());
    QVERIFY(QFileInfo(taken).isDir());

    // An older file is replaced whole, and no temporary file stays behind.
    const QString path = dir.filePath(QStringLiteral("rappels.ics"));
    QVERIFY(writeBytes(path, QByteArray(5000, 'x')));
    QVERIFY(writeCalendarFile(path, events, stamp).ok);
    QVERIFY(readBytes(path).startsWith("BEGIN:VCALENDAR\r\n"));
    QVERIFY(!readBytes(path).contains('x'));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u("rappels.ics")});
}

QTEST_GUILESS_MAIN(TestICalendar)
#include "tst_icalendar.moc"
