#include "db/FieldFormat.h"

#include <QDate>
#include <QLocale>

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
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return format.left(first) + locale.toString(value, 'f', decimals) + format.mid(last + 1);
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
