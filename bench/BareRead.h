#pragma once

#include <QByteArray>
#include <QElapsedTimer>

#include <sqlite3.h>

// The honest floor of a page's load: the same statement stepped through the
// SQLite C API, every column read the way its type asks. Returns the time
// in ms and the number of rows.
inline double bareRead(sqlite3* db, const QByteArray& sql, int* rows)
{
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    int n = 0;
    double sink = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                sink += double(sqlite3_column_int64(stmt, c));
                break;
            case SQLITE_FLOAT:
                sink += sqlite3_column_double(stmt, c);
                break;
            case SQLITE_TEXT:
                sink += sqlite3_column_bytes(stmt, c);
                break;
            default:
                break;
            }
        }
        ++n;
    }
    sqlite3_finalize(stmt);
    // The sum keeps the reads from being optimised away.
    *rows = n + (sink < 0 ? 1 : 0);
    return double(t.nsecsElapsed()) / 1e6;
}
