#pragma once

#include <QString>
#include <QStringList>

namespace tav {

// Statements are kept as lists of lines with one clause per line, so that a
// clause can be swapped by replacing its line.

// Index of the first line whose upper-cased text contains the keyword (a
// plain substring: "SOMEWHERE_X" counts as a WHERE line); -1 when none.
int findClauseLine(const QStringList& lines, const QString& keyword);
int findFromLine(const QStringList& lines);
int findWhereLine(const QStringList& lines);
int findHavingLine(const QStringList& lines);
int findOrderByLine(const QStringList& lines);

// Replaces the WHERE line with a new line (the whole "WHERE ..." text).
// Returns false, leaving the lines untouched, when there is no WHERE line,
// so that a filter is never silently dropped.
bool replaceWhereLine(QStringList& lines, const QString& newLine);

// Clause texts for rewriteQueryClauses(); an empty text leaves its clause
// alone.
struct QueryClauses
{
    QString from;
    QString where;
    QString having;
    QString orderBy;
};

// Rewrites a statement: each given clause replaces its line ("FROM " + text
// and so on). A missing HAVING line is inserted before a final ORDER BY line,
// or appended. With dropFirstLine the first line goes first. Returns false,
// leaving the lines untouched, when a FROM, WHERE or ORDER BY text is given
// but the statement has no such line.
bool rewriteQueryClauses(QStringList& lines, bool dropFirstLine, const QueryClauses& clauses);

// The same on the lines of a statement file; false when the file cannot be
// read or a clause line is missing.
bool rewriteQueryFile(const QString& path, bool dropFirstLine, const QueryClauses& clauses,
                      QStringList* result);

} // namespace tav
