#include "core/TextRoutines.h"

#include <QLocale>

#include <algorithm>

namespace tav {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int shiftedChannel(int channel, int amount)
{
    return static_cast<int>(std::clamp<qint64>(qint64(channel) + amount, 1, 254));
}

} // namespace

QString nameAndForename(const QString& name, const QString& forename)
{
    if (forename.isEmpty())
        return name;
    return name + u' ' + forename;
}

QString stripAccents(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        switch (c.unicode()) {
        case u'é':
        case u'è':
        case u'ê':
        case u'ë':
            c = u'e';
            break;
        case u'à':
        case u'â':
        case u'ä':
            c = u'a';
            break;
        case u'ù':
        case u'û':
        case u'ü':
            c = u'u';
            break;
        case u'ô':
        case u'ö':
            c = u'o';
            break;
        case u'î':
        case u'ï':
            c = u'i';
            break;
        case u'ç':
            c = u'c';
            break;
        default:
            break;
        }
    }
    return result;
}

QString fileNameSafe(const QString& text)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString result = text;
    for (QChar& c : result) {
        if (forbidden.contains(c) || c.isNull())
            c = u'_';
    }
    return result;
}

QString trimLeft(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == u' ')
        ++start;
    return text.mid(start);
}

QString trimRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

QString trim(const QString& text)
{
    return trimLeft(trimRight(text));
}

QString zeroPad(int value, int width)
{
    const int w = qBound(1, width, 8);
    // Work on the magnitude in 64 bits so that INT_MIN has one too.
    const qint64 v = value;
    const QString digits = QString::number(v < 0 ? -v : v);
    const bool negative = v < 0;
    const qsizetype padding = w - digits.size() - (negative ? 1 : 0);
    QString result;
    if (negative)
        result += u'-';
    if (padding > 0)
        result += QString(padding, u'0');
    return result + digits;
}

QString decimalsMask(int count)
{
    if (count <= 0)
        return {};
    return u'.' + QString(count, u'0');
}

QString fixedNumberText(double value, int width, int decimals)
{
    const int d = qMax(0, decimals);
    const int field = width + (d > 0 ? d + 1 : 0);
    return QString::number(value, 'f', d).rightJustified(field, u' ');
}

QString trailingSeparator(const QString& path)
{
    if (path.isEmpty() || path.endsWith(u'/'))
        return path;
    return path + u'/';
}

QString nativePath(const QString& path)
{
    QString result = path;
    result.replace(u'\\', u'/');
    return result;
}

bool isNumber(const QString& text)
{
    bool ok = false;
    parseNumber(text, &ok);
    return ok;
}

double parseNumber(const QString& text, bool* ok)
{
    if (ok)
        *ok = false;
    QString t = trim(text);
    const qsizetype comma = t.indexOf(u',');
    if (comma >= 0)
        t[comma] = u'.';

    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-'))
        ++i;
    int digits = 0;
    while (i < t.size() && isAsciiDigit(t.at(i))) {
        ++i;
        ++digits;
    }
    if (i < t.size() && t.at(i) == u'.') {
        ++i;
        while (i < t.size() && isAsciiDigit(t.at(i))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != t.size())
        return 0;

    bool converted = false;
    const double value = QLocale::c().toDouble(t, &converted);
    if (!converted)
        return 0;
    if (ok)
        *ok = true;
    return value;
}

QString localDecimal(const QString& text)
{
    const QString point = QLocale().decimalPoint();
    return localDecimal(text, point.isEmpty() ? QChar(u'.') : point.at(0));
}

QString localDecimal(const QString& text, QChar separator)
{
    QString result = text;
    qsizetype index = result.indexOf(u',');
    if (index < 0)
        index = result.indexOf(u'.');
    if (index >= 0)
        result[index] = separator;
    return result;
}

QColor shadeColour(const QColor& colour, int amount)
{
    QColor result = colour.toRgb();
    result.setRgb(shiftedChannel(result.red(), amount), shiftedChannel(result.green(), amount),
                  shiftedChannel(result.blue(), amount), result.alpha());
    return result;
}

QString withDetailLine(const QString& sentence, const QString& libraryText)
{
    const QString detail = libraryText.trimmed();
    if (detail.isEmpty())
        return sentence;
    return sentence + QStringLiteral("\rDétail : ") + detail;
}

} // namespace tav
