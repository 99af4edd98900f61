#pragma once

#include <QDate>
#include <QString>

namespace tav {

// True when a falls on or before b.
bool dateOnOrBefore(const QDate& a, const QDate& b);

// Completed years from birth to now: one less than the difference of the
// years until the birthday is reached. 0 when a date is invalid.
int ageInYears(const QDate& now, const QDate& birth);

// (year of a - year of b) x 12 + month of a - month of b; days ignored.
// 0 when a date is invalid.
int monthsBetween(const QDate& a, const QDate& b);

// 28 to 31 by the Gregorian calendar; 0 for a month outside 1..12.
int daysInMonth(int month, int year);

// True only for exactly "dd/mm/yyyy" with digits in place, a day that
// exists in that month and a year from 1900 to 2099.
bool isValidDateText(const QString& text);

// The date of an exact "dd/mm/yyyy" text (any year); an invalid QDate when
// the text is not one.
QDate parseDateText(const QString& text);

// "dd/mm/yyyy"; empty for an invalid date.
QString formatDateText(const QDate& date);

} // namespace tav
