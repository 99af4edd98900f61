#include "db/FieldFormat.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace tav {

QString formatNumber(double value, const QString& format)
{
    if (format.isEmpty())
        return QLocale().toString(value, 'g', 15);
    int first = -1;
    int last = -1;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char('.') ||
            c == QLatin1Char(',')) {
            if (first < 0)
                first = i;
            last = i;
        } else if (first >= 0) {
            break;
        }
    }
    if (first < 0)
        return format;
    const QString pattern = format.mid(first, last - first + 1);
    const int point = pattern.indexOf(QLatin1Char('.'));
    int decimals = 0;
    if (point >= 0) {
        for (int i = point + 1; i < pattern.size() && pattern.at(i) == QLatin1Char('0'); ++i)
            ++decimals;
    }
    return format.left(first) + fixedDecimals(value, decimals) + format.mid(last + 1);
}

QString fixedDecimals(double value, int decimals)
{
    const QLocale locale;
    if (!std::isfinite(value))
        return locale.toString(value);
    // The shortest text that reads back as the same double is the value as
    // it was typed and stored (money keeps 4 decimals): rounding its digits
    // half away from zero gives 2.675 -> 2.68 where the binary value,
    // 2.67499999..., would give 2.67.
    QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    const int point = text.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? text : text.left(point);
    QString fraction = point < 0 ? QString() : text.mid(point + 1);
    const bool roundUp = fraction.size() > decimals && fraction.at(decimals) >= QLatin1Char('5');
    fraction = fraction.left(decimals).leftJustified(decimals, QLatin1Char('0'));
    QString digits = whole + fraction;
    if (roundUp) {
        int i = int(digits.size()) - 1;
        for (; i >= 0 && digits.at(i) == QLatin1Char('9'); --i)
            digits[i] = QLatin1Char('0');
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
        else
            digits[i] = QChar(digits.at(i).unicode() + 1);
    }
    const bool zero =
        std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == QLatin1Char('0'); });
    QString out = digits.left(digits.size() - decimals);
    if (decimals > 0)
        out += locale.decimalPoint() + digits.right(decimals);
    // A value that rounds to zero shows no sign.
    return negative && !zero ? locale.negativeSign() + out : out;
}

QString displayValue(const QVariant& value, JetType type, const QString& format)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (type) {
    case JetType::YesNo:
        return value.toBool() ? QStringLiteral("Oui") : QStringLiteral("Non");
    case JetType::DateTime:
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        return value.toString();
    case JetType::Double:
    case JetType::Currency:
        return formatNumber(value.toDouble(), format);
    case JetType::AutoNumber:
    case JetType::Long:
    case JetType::Short:
        if (!format.isEmpty())
            return formatNumber(value.toDouble(), format);
        return value.toString();
    case JetType::Blob:
        return QString();
    default:
        return value.toString();
    }
}

QString moneySymbol(const QString& systemSymbol)
{
    const QString s = systemSymbol.trimmed().toUpper();
    if (s == QLatin1String("F") || s == QLatin1String("FF") || s == QLatin1String("FR"))
        return QStringLiteral("€");
    return systemSymbol;
}

QString moneyFormat(const QString& systemSymbol)
{
    return QStringLiteral("#######0.00 ") + moneySymbol(systemSymbol);
}

} // namespace tav
