#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tav {

class DataSet;

// The lines of a memo: CR LF, LF or CR end a line; a final line break
// does not start an empty last line, and an empty text has no line.
QStringList splitLines(const QString& text);

// Stable sort that ignores case, in French order.
QStringList sortedIgnoringCase(QStringList lines);
// The same, keeping only the first of the lines equal when case is
// ignored.
QStringList sortedUniqueIgnoringCase(const QStringList& lines);

// Remembered values live in the one row of COMBOITEMS, one memo column per
// key. A key must name one of those memo columns: anything else is refused
// with a DbError, so that no unknown name ever reaches a statement.
//
// The values of a key as stored (no row: none). Opens the data set afresh
// and closes it. Throws DbError.
QStringList rememberedValues(DataSet& comboItems, const QString& key);
// Writes the text of a key as given, lines ending in CR LF, creating the
// row when the table has none. Opens the data set afresh and closes it.
// Throws DbError; nothing is written then.
void storeRememberedValues(DataSet& comboItems, const QString& key, const QString& text);

// Lets the user edit the values of a key in TComboList, modally; stores the
// text as typed on OK. True when something was stored; a failure is shown
// and gives false.
bool editRememberedValues(QWidget* parent, const QString& title, const QString& key,
                          DataSet& comboItems);

} // namespace tav
