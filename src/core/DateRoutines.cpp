#include "core/DateRoutines.h"

namespace tav {

namespace {

int digitsValue(const QString& text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

bool dateOnOrBefore(const QDate& a, const QDate& b)
{
    return a <= b;
}

int ageInYears(const QDate& now, const QDate& birth)
{
    if (!now.isValid() || !birth.isValid())
        return 0;
    int age = now.year() - birth.year();
    if (birth.month() > now.month() || (birth.month() == now.month() && birth.day() > now.day()))
        --age;
    return age;
}

int monthsBetween(const QDate& a, const QDate& b)
{
    if (!a.isValid() || !b.isValid())
        return 0;
    return (a.year() - b.year()) * 12 + a.month() - b.month();
}

int daysInMonth(int month, int year)
{
    if (month < 1 || month > 12)
        return 0;
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && QDate::isLeapYear(year))
        return 29;
    return days[month - 1];
}

QDate parseDateText(const QString& text)
{
    if (text.size() != 10 || text.at(2) != u'/' || text.at(5) != u'/')
        return {};
    const int day = digitsValue(text, 0, 2);
    const int month = digitsValue(text, 3, 2);
    const int year = digitsValue(text, 6, 4);
    if (day < 1 || month < 1 || month > 12 || year < 0 || day > daysInMonth(month, year))
        return {};
    return {year, month, day};
}

bool isValidDateText(const QString& text)
{
    const QDate date = parseDateText(text);
    return date.isValid() && date.year() >= 1900 && date.year() <= 2099;
}

QString formatDateText(const QDate& date)
{
    if (!date.isValid())
        return {};
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace tav
