#pragma once

#include <QString>

namespace tav {

// The statements of the booklet are written in the Jet dialect. This turns
// one of them into the SQLite dialect, leaving string literals alone:
//  - "text" string literals become 'text';
//  - #m/d/yyyy# and #yyyy-mm-dd# date literals become 'yyyy-MM-dd';
//  - & concatenation becomes ||;
//  - in the pattern literal that follows LIKE, * becomes % and ? becomes _;
//  - Jet column types in DDL (COUNTER, BIT...) keep their declared names,
//    except COUNTER which becomes the auto-increment key.
// Square-bracketed names, nested LEFT JOINs, True/False and Sum() are
// understood by SQLite as they are; Year() and the other Jet functions are
// registered on the connection. A text literal that is never closed is
// refused with a DbError, never closed on the statement's behalf.
QString adaptJetSql(const QString& jet);

// A text value written as an SQL literal, quotes doubled.
QString quoteSqlText(const QString& value);

} // namespace tav
