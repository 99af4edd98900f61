// The due reminders of a whole booklet (the start-up notice's and the
// calendar export's), on a booklet made by the shared generator, against
// the floor of reading every vaccination once: the columns the reminder
// rule needs (key, animal, vaccine, date, reminder date) stepped through
// the SQLite C API. No program can apply the rule without reading those
// rows; the floor reads them the cheapest way and applies nothing.
// Medians of 9 alternating runs with their spread.
//
//   bench_reminders TEMPLATE [ANIMALS]
//
// TEMPLATE is the template database; the booklet is made from it in a
// temporary folder, 10,000 animals by default.
#include "BenchBooklet.h"
#include "BenchSupport.h"
#include "core/HeapTuning.h"
#include "db/Connection.h"
#include "db/ReminderStore.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

namespace {

constexpr int kRuns = 9;

double floorRead(sqlite3* db, int* rows)
{
    Stopwatch t;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT Id, Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date FROM VACCINE",
                       -1, &stmt, nullptr);
    int n = 0;
    qint64 sink = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        sink += sqlite3_column_int64(stmt, 0) + sqlite3_column_int64(stmt, 1) +
                sqlite3_column_int64(stmt, 2) + sqlite3_column_bytes(stmt, 3) +
                sqlite3_column_bytes(stmt, 4);
        ++n;
    }
    sqlite3_finalize(stmt);
    *rows = n + (sink < 0 ? 1 : 0);
    return t.wallMs();
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        out << "usage: bench_reminders TEMPLATE [ANIMALS]\n";
        return 2;
    }
    const int animals = args.size() > 2 ? args.at(2).toInt() : 10000;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TAVIRUNE.MDB"));
    QFile::copy(args.at(1), file);
    QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    tav::Connection c;
    c.open(file);
    if (fillBooklet(c, animals) < 0) {
        out << "writing the animals failed\n";
        return 1;
    }
    const QDate today(2026, 12, 1);
    std::vector<double> floor, notice, calendar, noticeRatio, calendarRatio;
    int rows = 0;
    qsizetype noticed = 0;
    qsizetype due = 0;
    for (int r = 0; r < kRuns; ++r) {
        double f = 0;
        if (r % 2 == 0)
            f = floorRead(c.sqliteHandle(), &rows);
        Stopwatch t;
        noticed = tav::ReminderStore(c).noticedReminders(today, 7).rows.size();
        notice.push_back(t.wallMs());
        t.start();
        due = tav::ReminderStore(c).dueRemindersOfAllAnimals().size();
        calendar.push_back(t.wallMs());
        if (r % 2 == 1)
            f = floorRead(c.sqliteHandle(), &rows);
        floor.push_back(f);
        noticeRatio.push_back(notice.back() / f);
        calendarRatio.push_back(calendar.back() / f);
    }
    out << animals << " animals, " << rows << " vaccinations, " << due << " due reminders, "
        << noticed << " in the notice\n";
    out << "  floor (every vaccination read once): " << spread(floor) << "\n";
    out << "  the notice's reminders:              " << spread(notice) << "; "
        << spread(noticeRatio, "x", 2) << "\n";
    out << "  the calendar's reminders:            " << spread(calendar) << "; "
        << spread(calendarRatio, "x", 2) << "\n";
    return 0;
}
