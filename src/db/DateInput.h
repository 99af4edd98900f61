#pragma once

#include <QDate>
#include <QString>

namespace tav {

// Dates typed by the user through the mask "dd/mm/yyyy" (blanks shown as
// "_" or spaces), or written by the program as "yyyy-mm-dd". A date is
// whole or refused: nothing half-typed reaches a row.

// Text of an incomplete masked date (the year not fully typed).
QString incompleteDateMessage();
// Text of a date that does not exist, with the value as typed.
QString invalidDateMessage(const QString& typed);

// A date kept as text "dd/mm/yyyy" (the animal's card): the four year
// digits are required, day and month may be left blank. Returns the text
// to store, blanks as spaces; an empty mask gives an empty text. Throws
// DbError.
QString checkedTextDate(const QString& typed);

// A date of a date column: day, month and four-digit year. An empty mask
// gives a null date. Throws DbError.
QDate checkedDate(const QString& typed);

} // namespace tav
