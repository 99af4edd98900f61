#pragma once

#include <QChar>
#include <QColor>
#include <QString>

namespace tav {

// "Name Forename", or the name alone when the forename is empty.
QString nameAndForename(const QString& name, const QString& forename);

// Lower-case French accented letters to their plain letter (é -> e, ç -> c...);
// capitals and every other character are left as they are.
QString stripAccents(const QString& text);

// Characters that cannot appear in a file name on Windows or Linux
// (/ \ : * ? " < > | and NUL) replaced by "_".
QString fileNameSafe(const QString& text);

// Removal of space characters only; tabs and other white space stay.
QString trim(const QString& text);
QString trimLeft(const QString& text);
QString trimRight(const QString& text);

// The decimal text left-padded with zeros to the width (7, width 3 -> "007").
// The width is taken within 1..8; a number already wider is unchanged. A
// negative number keeps its sign in front and counts it in the width
// (-7, width 3 -> "-07"), like printf's "%03d".
QString zeroPad(int value, int width);

// Empty when count <= 0, else "." followed by count zeros.
QString decimalsMask(int count);

// The number with that many decimals (point as separator), right-aligned in
// a field of width + decimals + 1 characters (just width without decimals).
QString fixedNumberText(double value, int width, int decimals);

// Folder path with "/" appended when it does not end with one. An empty
// path stays empty: turning it into "/" would name the root folder.
QString trailingSeparator(const QString& path);

// A path written with "\" separators, converted to "/".
QString nativePath(const QString& path);

// True when, after its first comma is read as a point, the whole text
// (surrounding spaces aside) is a decimal number: optional sign, digits,
// optional fraction. No exponent, no thousands separators.
bool isNumber(const QString& text);
// The value of such a text; *ok false (and 0) when isNumber() is false.
double parseNumber(const QString& text, bool* ok = nullptr);

// The first comma, or when there is none the first point, replaced by the
// decimal separator of the default locale (or the one given).
QString localDecimal(const QString& text);
QString localDecimal(const QString& text, QChar separator);

// A French sentence for the user followed, when there is one, by a library's
// own text on a line of its own ("…\rDétail : Connection refused"): the
// user reads French, the support still gets the exact cause.
QString withDetailLine(const QString& sentence, const QString& libraryText);

// Each of red, green and blue moved by the amount, kept within 1..254.
QColor shadeColour(const QColor& colour, int amount);

} // namespace tav
