#pragma once

#include <QDate>
#include <QPoint>
#include <QString>

class QLineEdit;
class TSelectDate;

namespace tav {

class DataSet;

// Height reserved under a field for the picker when it is placed, whatever
// its final size.
inline constexpr int datePickerReservedHeight = 312;

// Top-left corner of the picker, in global coordinates, for a field whose
// top-left corner is targetTopLeft. screenBottom is the bottom edge of the
// work area of the field's screen (its height for a screen starting at 0).
// Keeps the picker above the bottom of the screen when the field is low.
QPoint datePickerPosition(QPoint targetTopLeft, int screenBottom);

// The date the calendar opens on: that of dateText when it is a valid date
// text (see isValidDateText()), else today.
QDate datePickerDate(const QString& dateText, const QDate& today);

// Opens the date picker under a date field: a field bound to a date column,
// or a plain or masked edit. The calendar opens on the field's date (its
// first ten characters), or on today when they hold none. " &Ok" writes the
// chosen date into the field and, for a bound field, into its row; "Effacer
// la date" empties the field or the bound column.
//
// A record that is not being edited is put in edit state first; when that
// fails, the error is shown and no picker opens (nullptr). Only the latest
// picker stays open. The picker is not modal and deletes itself when it
// closes; the returned pointer is valid until then.
TSelectDate* showDatePicker(QLineEdit* target, DataSet* record = nullptr);

// The picker now open, or nullptr.
TSelectDate* openDatePicker();

} // namespace tav
