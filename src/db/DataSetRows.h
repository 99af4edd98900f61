#pragma once

#include "db/FieldDef.h"
#include "db/SqliteStatement.h"

#include <QDate>
#include <QLatin1String>
#include <QString>
#include <QVariant>

#include <utility>

class QSqlQuery;

namespace tav {

// What the reading and the writing halves of a data set share.
namespace datasetrows {

// The alias under which a writable data set reads each row's rowid.
inline const QLatin1String kRowIdAlias("__rowid__");

// The engine's failure of a query, in French, with the file it concerns.
QString sqlError(const QSqlQuery& q, const QString& filePath);

// Two values are the same when both are null, or equal as stored.
bool sameValue(const QVariant& a, const QVariant& b);

// "yyyy-MM-dd" read without a format parser: it runs for every date of
// every row fetched.
inline QDate isoDate(const QString& s)
{
    if (s.size() < 10 || s.at(4) != QLatin1Char('-') || s.at(7) != QLatin1Char('-'))
        return QDate();
    auto digits = [&s](int from, int count, bool* ok) {
        int n = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t c = s.at(i).unicode();
            if (c < u'0' || c > u'9') {
                *ok = false;
                return 0;
            }
            n = n * 10 + (c - u'0');
        }
        return n;
    };
    bool ok = true;
    const int y = digits(0, 4, &ok);
    const int m = digits(5, 2, &ok);
    const int d = digits(8, 2, &ok);
    return ok ? QDate(y, m, d) : QDate();
}

// Hands put() what makes the value of one result column as its field keeps
// it, so that a row's values are made in their place: rows are read by the
// thousand.
template <class Put>
inline void putValue(const SqliteStatement& stmt, int c, const Field& f, Put&& put)
{
    switch (stmt.type(c)) {
    case SqliteStatement::ColumnType::Integer: {
        const qlonglong n = stmt.int64(c);
        if (f.type == JetType::YesNo)
            put(n != 0);
        else if (f.type == JetType::Double || f.type == JetType::Currency)
            put(double(n));
        else
            put(n);
        break;
    }
    case SqliteStatement::ColumnType::Float:
        put(stmt.real(c));
        break;
    case SqliteStatement::ColumnType::Text: {
        QString s = stmt.text(c);
        if (f.type == JetType::DateTime) {
            const QDate d = isoDate(s);
            if (d.isValid())
                put(d);
            else
                put(std::move(s));
        } else {
            put(std::move(s));
        }
        break;
    }
    case SqliteStatement::ColumnType::Blob:
        put(stmt.blob(c));
        break;
    case SqliteStatement::ColumnType::Null:
        put();
        break;
    }
}

} // namespace datasetrows

} // namespace tav
